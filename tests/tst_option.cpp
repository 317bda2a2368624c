// The settings menu and the output menu: the grid and what each entry
// opens, the pictures per language, MODE from every page of these menus,
// the LED size line, and the USB drive that closes the settings menu.
#include "page_driver.h"
#include "testsupport.h"

#include "core/devicepath.h"
#include "core/global.h"
#include "core/para_write.h"
#include "core/ramblock.h"
#include "core/rynrampara.h"
#include "protocol/usbserver.h"
#include "scaler/c331_manage.h"
#include "ui/frame/keys.h"
#include "ui/frame/language.h"
#include "ui/frame/mainwindow.h"
#include "ui/frame/option.h"
#include "ui/frame/outputset.h"

#include <QDir>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include <atomic>
#include <functional>
#include <thread>

using testsupport::key;
using IntList = QVector<int>;

namespace {
RynRamPara* para() {
    return RynRamPara::pInstance();
}
const char* const kTiles[8] = {"output_set",    "input_cut",  "image_layout",  "link_set",
                               "image_quality", "test_chart", "smart_mapping", "AdvanceButton"};

// The ids of the open pages, bottom to front.
IntList open_pages() {
    IntList ids;
    for (int id = 0; id < PAGE_COUNT; ++id)
        if (pages::at(id))
            ids << id;
    return ids;
}
// `keys` pressed on the page in front, the last of them opening a modal
// page; `inside` then runs in that page's loop.
void press_then(const QString& keys, const std::function<void()>& inside) {
    testsupport::post(inside);
    press(keys);
}
QString info_line() {
    return g_outputset()->findChild<QLabel*>("label_info")->text();
}
} // namespace

class TstOption : public QObject {
    Q_OBJECT
    // The settings menu opened over the main menu; `body` runs inside its
    // loop.
    void run_menu(const std::function<void()>& body) {
        g_page_focus = PAGE_MAINWINDOW;
        QVERIFY2(testsupport::run_nested({[] { pages::open<Option>(); }}, PAGE_OPTION, body),
                 "the settings menu did not open");
    }

private slots:
    void initTestCase() {
        if (!g_mainwindow()) {
            auto* mw = new MainWindow(nullptr);
            pages::set(PAGE_MAINWINDOW, mw, PAGE_MAINWINDOW);
        }
        testsupport::run_fast_ticks(this);
    }
    void init() { testsupport::fresh_device(); }
    void cleanup() {
        QVERIFY(testsupport::close_all_pages());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        UsbServer::usb_mounted_hook = nullptr;
        g_delay_usbserver = 0;
    }

    void grid_wraps() {
        run_menu([] {
            press("l");
            QCOMPARE(g_option()->focused_entry(), 7);
            QVERIFY(look_of(g_option()->tile(7)).contains("255,171,84"));
            press("r");
            QCOMPARE(g_option()->focused_entry(), 0);
            press("rrrrrrr");
            QCOMPARE(g_option()->focused_entry(), 7);
        });
    }

    // OK on each entry opens its page one level down; its Back returns to
    // the menu with the same entry focused and the title re-texted. Touch
    // opens an entry as OK does, without moving the focus.
    void entries_open_their_pages_data() {
        QTest::addColumn<int>("entry");
        QTest::addColumn<int>("page");
        QTest::addColumn<bool>("touch");
        const int ids[8] = {PAGE_OUTPUTSET,    PAGE_INPUTCUT,     PAGE_IMAGELAYOUT,
                            PAGE_LINKOPTION,   PAGE_IMAGEQUALITY, PAGE_TEST_CHART,
                            PAGE_SMARTMAPPING, PAGE_ADVANCEDOPTION};
        for (int i = 0; i < 8; ++i)
            QTest::newRow(kTiles[i]) << i << ids[i] << false;
        QTest::newRow("test_chart by touch") << 5 << int(PAGE_TEST_CHART) << true;
    }
    void entries_open_their_pages() {
        QFETCH(int, entry);
        QFETCH(int, page);
        QFETCH(bool, touch);
        para()->RamParaBlock[blk::TEST_PATTERN] = 4;
        run_menu([&] {
            if (!touch)
                press(QString(entry, 'r'));
            IntList seen;
            testsupport::post([&] {
                seen = open_pages();
                // The language changes while the child is in front.
                g_language = LANG_RUSSIAN;
                press("b");
            });
            if (touch)
                g_option()->tile(entry)->click();
            else
                press("k");
            QCOMPARE(seen, (IntList{PAGE_MAINWINDOW, PAGE_OPTION, page}));
            QCOMPARE(g_page_focus, uint8_t(PAGE_OPTION));
            QCOMPARE(open_pages(), (IntList{PAGE_MAINWINDOW, PAGE_OPTION}));
            QCOMPARE(g_option()->focused_entry(), touch ? 0 : entry);
            QCOMPARE(g_option()->findChild<QLabel*>("label_title")->text(),
                     QString::fromUtf8("Настройки"));
        });
        // The test pattern ends when its page closes, and the change is
        // handed to the scaler; the other pages leave it.
        const bool chart = page == PAGE_TEST_CHART;
        QCOMPARE(int(para()->RamParaBlock[blk::TEST_PATTERN]), chart ? 0 : 4);
        QCOMPARE(int(c331_manage::pInstance()->para_update_flag), chart ? 1 : 0);
    }

    // Language n where offered, else English, whose advanced picture has a
    // name of its own.
    void pictures_per_language_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<uint32_t>("offered");
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<QString>("title");
        QTest::newRow("simplified Chinese") << 0 << 0x1Fu << "" << QString::fromUtf8("设置");
        QTest::newRow("English") << 1 << 0x1Fu << "en_" << "Setting";
        QTest::newRow("Russian") << 2 << 0x1Fu << "ru_" << QString::fromUtf8("Настройки");
        QTest::newRow("Vietnamese") << 3 << 0x1Fu << "vn_" << QString::fromUtf8("Cài đặt");
        QTest::newRow("traditional Chinese") << 4 << 0x1Fu << "tn_" << QString::fromUtf8("設置");
        QTest::newRow("Vietnamese not offered") << 3 << 0x17u << "en_" << "Setting";
        QTest::newRow("language 7") << 7 << 0x1Fu << "en_" << "Setting";
    }
    void pictures_per_language() {
        QFETCH(int, language);
        QFETCH(uint32_t, offered);
        QFETCH(QString, prefix);
        g_language = uint8_t(language);
        g_lcd_lang_valid = offered;
        run_menu([&] {
            QTEST(g_option()->findChild<QLabel*>("label_title")->text(), "title");
            for (int i = 0; i < 8; ++i) {
                QPushButton* tile = g_option()->tile(i);
                const QString name = i == 7 && prefix == "en_" ? "advance_option" : kTiles[i];
                const QImage want =
                    QIcon(":/png/" + prefix + name + ".png").pixmap(tile->iconSize()).toImage();
                QVERIFY2(!want.isNull(), qPrintable(prefix + name));
                QVERIFY2(tile->icon().pixmap(tile->iconSize()).toImage() == want,
                         qPrintable(QString("%1 does not show %2%3").arg(kTiles[i], prefix, name)));
            }
        });
    }

    void texts_fit_data() { language_rows(); }
    void texts_fit() {
        QFETCH(int, language);
        g_language = uint8_t(language);
        para()->set_u16(blk::LED_WIDTH, 8188);
        para()->set_u16(blk::LED_HEIGHT, 8188);
        QStringList overflow;
        run_menu([&] {
            overflow << texts_that_overflow(g_option());
            press_then("k", [&] {
                overflow << texts_that_overflow(g_outputset());
                press("b");
            });
        });
        QVERIFY2(overflow.isEmpty(), qPrintable(overflow.join("; ")));
    }

    // MODE closes the page in front and every menu under it and shows the
    // user-mode page; under the panel lock it does nothing at all.
    void mode_from_each_page_data() {
        QTest::addColumn<QString>("path"); // keys from the settings menu
        QTest::addColumn<IntList>("chain");
        QTest::addColumn<bool>("locked");
        const IntList option{PAGE_MAINWINDOW, PAGE_OPTION};
        const IntList output{PAGE_MAINWINDOW, PAGE_OPTION, PAGE_OUTPUTSET};
        const IntList led{PAGE_MAINWINDOW, PAGE_OPTION, PAGE_OUTPUTSET, PAGE_LEDSET};
        const IntList layout{PAGE_MAINWINDOW, PAGE_OPTION, PAGE_IMAGELAYOUT};
        for (bool locked : {false, true}) {
            const char* lock = locked ? ", locked" : "";
            QTest::newRow(qPrintable(QString("settings menu%1").arg(lock))) << "" << option << locked;
            QTest::newRow(qPrintable(QString("output menu%1").arg(lock))) << "k" << output << locked;
            QTest::newRow(qPrintable(QString("LED page%1").arg(lock))) << "kk" << led << locked;
            QTest::newRow(qPrintable(QString("layout view%1").arg(lock))) << "rrk" << layout << locked;
        }
    }
    void mode_from_each_page() {
        QFETCH(QString, path);
        QFETCH(IntList, chain);
        QFETCH(bool, locked);
        para()->set_u16(blk::PANEL_LOCK, locked ? 1 : 0);
        IntList before, after;
        uint8_t front = 0;
        run_menu([&] {
            // Each OK in the path opens a modal page: walk it from queued calls.
            std::function<void(int)> step = [&](int i) {
                if (i == path.size()) {
                    before = open_pages();
                    press("m");
                    key(PANEL_LETTER_MODE);
                    after = open_pages();
                    front = g_page_focus;
                    testsupport::close_all_pages(); // ends the modal loops
                    return;
                }
                if (path[i] == 'k')
                    press_then("k", [&step, i] { step(i + 1); });
                else {
                    press(QString(path[i]));
                    step(i + 1);
                }
            };
            step(0);
        });
        QCOMPARE(before, chain);
        if (locked) {
            QCOMPARE(after, chain);
            QCOMPARE(int(front), chain.back());
            QCOMPARE(int(g_mode_shortcut_key), 0);
        } else {
            QCOMPARE(after, (IntList{PAGE_MAINWINDOW, PAGE_CUSTOMMODE}));
            QCOMPARE(int(front), int(PAGE_CUSTOMMODE));
            QCOMPARE(int(g_mode_shortcut_key), 1);
        }
    }

    void output_menu_entries_and_line() {
        g_language = LANG_VIETNAMESE;
        run_menu([] {
            press_then("k", [] {
                OutputSet* menu = g_outputset();
                QCOMPARE(info_line(),
                         QString::fromUtf8("Gợi ý: Kích thước màn hình LED hiện tại::1920x1080"));
                press("l");
                QCOMPARE(menu->focused_entry(), 1);
                press("r");
                QCOMPARE(menu->focused_entry(), 0);
                press("r");
                IntList seen;
                press_then("k", [&] {
                    seen = open_pages();
                    press("b");
                });
                QCOMPARE(seen.back(), int(PAGE_NETSET));
                QCOMPARE(menu->focused_entry(), 1);
                press("b");
                QCOMPARE(g_page_focus, uint8_t(PAGE_OPTION));
                QVERIFY(!g_outputset());
            });
        });
    }

    // The LED line is read when the menu is re-texted: a size set by the PC
    // shows only once a child page has closed (or the language changed).
    void led_line_follows_the_block_only_when_retexted() {
        run_menu([] {
            press_then("k", [] {
                QCOMPARE(info_line(), QString("LED Screen can be set:1920x1080"));
                outside_change([](RynRamPara& p) {
                    p.set_u16(blk::LED_WIDTH, 1024);
                    p.set_u16(blk::LED_HEIGHT, 768);
                });
                QCOMPARE(info_line(), QString("LED Screen can be set:1920x1080"));
                press_then("rk", [] { press("b"); });
                QCOMPARE(info_line(), QString("LED Screen can be set:1024x768"));
                outside_change([](RynRamPara& p) {
                    p.set_u16(blk::LED_WIDTH, 800);
                    p.set_u16(blk::LCD_LANGUAGE, LANG_SCHINESE);
                });
                QCOMPARE(info_line(), QString::fromUtf8("当前设置LED屏宽高为: 800x768"));
                press("b");
            });
        });
    }

    // A mounted drive closes the settings menu when it is in front when the
    // queued close runs; with the output menu in front both stay open.
    void usb_drive_closes_the_menu_in_front_data() {
        QTest::addColumn<bool>("child");
        QTest::newRow("settings menu in front") << false;
        QTest::newRow("output menu in front") << true;
    }
    void usb_drive_closes_the_menu_in_front() {
        QFETCH(bool, child);
        UsbServer::usb_mounted_hook = &Option::usb_drive_mounted;
        g_delay_usbserver = 1;
        QVERIFY(QDir().mkpath(device_path("/proc/scsi/usb-storage")));
        UsbServer server;
        // The signal comes from the watcher's thread: a QSignalSpy would be
        // filled there while the test reads it here.
        std::atomic<int> mounted{0};
        QObject::connect(&server, &UsbServer::sig_usb_update, [&mounted](int code) { mounted = code; });
        std::thread watcher;
        IntList left;
        auto insert_and_wait = [&] {
            const QByteArray msg =
                QByteArray("add@/devices/usb1/1-1/host0/block/sda/sda1") + '\0' + "ACTION=add" + '\0';
            watcher = std::thread([&server, msg] { server.recvData(msg.constData(), msg.size()); });
            QTRY_COMPARE(mounted.load(), int(SYNC_USB_MOUNTED));
            // The close request is queued after the report: let it run.
            QTest::qWait(50);
            left = open_pages();
        };
        run_menu([&] {
            if (child)
                press_then("k", [&] {
                    insert_and_wait();
                    press("b");
                });
            else
                insert_and_wait();
        });
        watcher.join();
        if (child)
            QCOMPARE(left, (IntList{PAGE_MAINWINDOW, PAGE_OPTION, PAGE_OUTPUTSET}));
        else
            QCOMPARE(left, (IntList{PAGE_MAINWINDOW}));
    }

    // The queued close looks again when it runs: a menu no longer in front,
    // or none at all, is left alone.
    void usb_close_checks_again_when_it_runs() {
        Option::usb_drive_mounted(); // no menu open: nothing, no crash
        QCOMPARE(open_pages(), IntList{PAGE_MAINWINDOW});
        g_page_focus = PAGE_OPTION;  // the id without the page
        Option::usb_drive_mounted();
        g_page_focus = PAGE_MAINWINDOW;
        run_menu([] {
            press_then("k", [] {
                Option::usb_drive_mounted();
                QCOMPARE(open_pages(), (IntList{PAGE_MAINWINDOW, PAGE_OPTION, PAGE_OUTPUTSET}));
                press("b");
            });
            Option::usb_drive_mounted();
            QCOMPARE(open_pages(), IntList{PAGE_MAINWINDOW});
            QCOMPARE(g_page_focus, uint8_t(PAGE_MAINWINDOW));
        });
    }
};

QTEST_MAIN(TstOption)
#include "tst_option.moc"

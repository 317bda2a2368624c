// The three submenus of the settings menu: wrap-around and touch, the done
// notice on the link menu, the recovery tile and its re-text from the
// protocol side, and the ageing log's access code.
#include "page_driver.h"
#include "testsupport.h"

#include "core/devicepath.h"
#include "core/global.h"
#include "core/ramblock.h"
#include "core/rynrampara.h"
#include "fpga/fpga_manage.h"
#include "fpga/rcv_recovery_file.h"
#include "ui/frame/mainwindow.h"
#include "ui/frame/syncupdate.h"
#include "ui/frame/tip.h"
#include "ui/pages/advancedoption.h"
#include "ui/pages/factoryage.h"
#include "ui/pages/imagequality.h"
#include "ui/pages/linkoption.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

#include <functional>
#include <thread>

namespace {
bool greyed(QWidget* tile) { return testsupport::fill_colour(tile) == QColor(128, 128, 128); }

void open_page(int id) {
    switch (id) {
    case PAGE_IMAGEQUALITY: pages::open<ImageQuality>(); break;
    case PAGE_LINKOPTION: pages::open<LinkOption>(); break;
    default: pages::open<AdvancedOption>(); break;
    }
}
MenuPage* menu(int id) { return dynamic_cast<MenuPage*>(pages::at(id)); }
void store_packages(int count) {
    const QString dir = device_path(QStringLiteral("/data/rcvrecovery"));
    QVERIFY(QDir().mkpath(dir));
    for (int i = 0; i < count; ++i) {
        QFile f(dir + QStringLiteral("/card%1.rcv").arg(i));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
}
QPushButton* rcv_tile() { return g_advancedoption()->findChild<QPushButton*>("Button_rcv_recovery"); }
// The page in front after `act` on menu `page`; a child that opened is
// closed again with Back.
int front_after(int page, const std::function<void()>& act) {
    int seen = -1;
    testsupport::post([&] {
        if ((seen = g_page_focus) != page)
            press("b");
    });
    act();
    QCoreApplication::processEvents();
    return seen;
}
} // namespace

class TstSubmenus : public QObject {
    Q_OBJECT
    std::vector<int> notices;  // the kinds of notice shown, in turn

    // Menu `id` opened over the main menu; `body` runs inside its loop.
    void run_menu(int id, const std::function<void()>& body) {
        g_page_focus = PAGE_MAINWINDOW;
        QVERIFY2(testsupport::run_nested({[id] { open_page(id); }}, id, body),
                 "the submenu did not open");
    }

private slots:
    void initTestCase() {
        testsupport::fresh_device();
        if (!g_mainwindow()) {
            auto* mw = new MainWindow(nullptr);
            pages::set(PAGE_MAINWINDOW, mw, PAGE_MAINWINDOW);
        }
        fpga_manage::pInstance();
        testsupport::run_fast_ticks(this, [this](int kind) { notices.push_back(kind); });
    }
    void init() {
        testsupport::fresh_device();
        g_language = LANG_ENGLISH;
    }
    void cleanup() {
        QVERIFY(testsupport::close_all_pages());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // Touch on the second tile opens it on the image-quality and advanced
    // menus without moving the focus; on the link menu it reaches nothing.
    // The focus wraps over exactly the menu's entries.
    void focus_wraps_and_touch_data() {
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("touched");  // the page in front after the touch
        QTest::newRow("image quality") << int(PAGE_IMAGEQUALITY) << 2 << int(PAGE_TEMPERATURE);
        QTest::newRow("link") << int(PAGE_LINKOPTION) << 3 << int(PAGE_LINKOPTION);
        QTest::newRow("advanced") << int(PAGE_ADVANCEDOPTION) << 5 << int(PAGE_OTHERSETUP);
    }
    void focus_wraps_and_touch() {
        QFETCH(int, page);
        QFETCH(int, count);
        QFETCH(int, touched);
        run_menu(page, [&] {
            MenuPage* m = menu(page);
            QCOMPARE(front_after(page, [&] { QTest::mouseClick(m->tile(1), Qt::LeftButton); }), touched);
            QCOMPARE(int(g_page_focus), page);
            QCOMPARE(m->focused_entry(), 0);
            press("l");
            QCOMPARE(m->focused_entry(), count - 1);
            press("r");
            QCOMPARE(m->focused_entry(), 0);
        });
    }

    // Every refresh on the link menu ends with the done notice, and leaves
    // the menu in front.
    void link_done_after_every_refresh() {
        run_menu(PAGE_LINKOPTION, [this] {
            notices.clear();
            SyncUpdate::pInstance()->para_sync(SYNC_PARA);
            SyncUpdate::pInstance()->para_sync(SYNC_OUTPUT_LINK);
            QCOMPARE(notices, (std::vector<int>{TIP_DONE, TIP_DONE}));
            QCOMPARE(int(g_page_focus), int(PAGE_LINKOPTION));
        });
    }

    // No folder, an empty one, packages, and 256 of them (not 0 in 8 bits).
    void recovery_tile_data() {
        QTest::addColumn<int>("packages");  // -1: no folder
        QTest::addColumn<int>("count");
        QTest::newRow("no folder") << -1 << 0;
        QTest::newRow("empty folder") << 0 << 0;
        QTest::newRow("one") << 1 << 1;
        QTest::newRow("256") << 256 << 255;
    }
    void recovery_tile() {
        QFETCH(int, packages);
        QFETCH(int, count);
        if (packages >= 0)
            store_packages(packages);
        run_menu(PAGE_ADVANCEDOPTION, [&] {
            AdvancedOption* page = g_advancedoption();
            QCOMPARE(int(page->rcv_file_count), count);
            press("rr");
            QVERIFY(testsupport::looks_focused(rcv_tile()));
            QCOMPARE(greyed(rcv_tile()), count == 0);
            const int opens = count ? int(PAGE_RCV_RECOVERY) : int(PAGE_ADVANCEDOPTION);
            QCOMPARE(front_after(PAGE_ADVANCEDOPTION, [] { press("k"); }), opens);
            // Touch does the same as OK.
            QCOMPARE(front_after(PAGE_ADVANCEDOPTION, [] { QTest::mouseClick(rcv_tile(), Qt::LeftButton); }), opens);
            press("r");
            QCOMPARE(page->focused_entry(), 3);
            QCOMPARE(greyed(rcv_tile()), count == 0);
        });
    }

    // The PC stores a package while the page is in front: the protocol
    // thread's call re-texts it in the GUI thread; while a child is in
    // front the call does nothing, and after the page closed it is dropped.
    void recovery_retext_from_protocol_side() {
        run_menu(PAGE_ADVANCEDOPTION, [] {
            QVERIFY(greyed(rcv_tile()));
            store_packages(1);
            std::thread([] { AdvancedOption::recovery_files_changed(); }).join();
            QCOMPARE(int(g_advancedoption()->rcv_file_count), 0);  // not yet: queued
            QTRY_COMPARE(int(g_advancedoption()->rcv_file_count), 1);
            QVERIFY(!greyed(rcv_tile()));

            // A child in front when the call runs: no re-text under it.
            bool retexted = true;
            testsupport::post([&] {
                QDir(device_path(QStringLiteral("/data/rcvrecovery"))).removeRecursively();
                QDir().mkpath(device_path(QStringLiteral("/data/rcvrecovery")));
                std::thread([] { AdvancedOption::recovery_files_changed(); }).join();
                QCoreApplication::processEvents();
                retexted = g_advancedoption()->rcv_file_count == 0;
                press("b");
            });
            press("k");
            QVERIFY(!retexted);
            // The child's Back re-texted it.
            QCOMPARE(int(g_advancedoption()->rcv_file_count), 0);
            QVERIFY(greyed(rcv_tile()));
            std::thread([] { AdvancedOption::recovery_files_changed(); }).join();
            press("b");
        });
        // Queued on the page now gone: dropped.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
        QVERIFY(!g_advancedoption());
    }

    // The parser's list, changed from another thread while the GUI thread
    // counts it (a data race without the lock).
    void recovery_list_shared_between_threads() {
        rcvRecovery* parser = fpga_manage::pInstance()->recovery_parser;
        store_packages(3);
        std::thread other([parser] {
            for (int i = 0; i < 300; ++i)
                parser->set_files(i % 2 ? QStringList{"a", "b", "c", "d", "e"} : QStringList{"a"});
        });
        for (int i = 0; i < 300; ++i) {
            QCOMPARE(parser->count_dir_files(QStringLiteral("/data/rcvrecovery")), 3);
            const int now = parser->file_count();
            QVERIFY(now == 1 || now == 3 || now == 5);
        }
        other.join();
    }

    // The ageing tile's access code: only "6157" whole opens the ageing
    // page, and the code is asked again every time. The keypad shortens a
    // title wider than its box.
    void access_code_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("opens");
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("title");
        const int en = LANG_ENGLISH;
        QTest::newRow("right") << "6157K" << true << en << "key";
        QTest::newRow("nothing typed") << "K" << false << en << "key";
        QTest::newRow("one digit more") << "61571K" << false << en << "key";
        QTest::newRow("prefix") << "615K" << false << en << "key";
        QTest::newRow("cancel") << "6157N" << false << en << "key";
        QTest::newRow("back") << "6157B" << false << en << "key";
        QTest::newRow("russian title shortened") << "N" << false << int(LANG_RUSSIAN) << QString::fromUtf8("Пар");
    }
    void access_code() {
        QFETCH(QString, typed);
        QFETCH(bool, opens);
        QFETCH(int, language);
        QFETCH(QString, title);
        g_language = uint8_t(language);
        run_menu(PAGE_ADVANCEDOPTION, [&] {
            press("l");
            for (int round = 0; round < 2; ++round) {
                QString shown;
                int seen = -1;
                testsupport::post([&] {
                    shown = g_numberkeyboard->title() + ":" + g_numberkeyboard->value();
                    testsupport::post([&] {
                        if ((seen = g_page_focus) == PAGE_FACTORYAGE)
                            press("b");
                    });
                    keypad::type(typed);
                });
                press("k");
                QCoreApplication::processEvents();
                QVERIFY2(shown.startsWith(title) && shown.endsWith(":**********"), qPrintable(shown));
                QCOMPARE(seen, opens ? int(PAGE_FACTORYAGE) : int(PAGE_ADVANCEDOPTION));
                QCOMPARE(int(g_page_focus), int(PAGE_ADVANCEDOPTION));
                QVERIFY(!g_numberkeyboard->isVisible());
                QCOMPARE(int(g_advancedoption()->age_unlocked), 0);
            }
        });
    }

    // The ageing page lists the log and shows each step counter after its
    // own range.
    void ageing_page_shows_the_log() {
        factoryage_log = QStringList{"12-01 10:00 250 1 2", "12-01 10:03 3 1 2"};
        factoryage_log_diff3 = 1;
        factoryage_log_diff5 = 2;
        factoryage_log_diff10 = 3;
        factoryage_log_diff20 = 4;
        factoryage_log_diffmore = 5;
        g_page_focus = PAGE_MAINWINDOW;
        QString steps;
        int rows = 0;
        QVERIFY(testsupport::run_nested({[] { pages::open<factoryage>(); }}, PAGE_FACTORYAGE, [&] {
            steps = g_factoryage()->findChild<QLabel*>("label_steps")->text();
            rows = g_factoryage()->findChild<QListWidget*>("listWidget_log")->count();
        }));
        QCOMPARE(rows, 2);
        QCOMPARE(steps, QStringLiteral("1-2:1  3-4:2  5-9:3  10-19:4  20+:5"));
        factoryage_log.clear();
    }
};

QTEST_MAIN(TstSubmenus)
#include "tst_submenus.moc"

// The settings menu and the output menu: the grid, the entries' Back with
// the focus kept and the test pattern ended, the LED size line, and the USB
// drive that closes the settings menu.
#include "page_driver.h"

#include "ui/frame/language.h"
#include "ui/frame/mainwindow.h"
#include "ui/frame/option.h"
#include "ui/frame/outputset.h"

using IntList = QVector<int>;

namespace {
RynRamPara* para() { return RynRamPara::pInstance(); }
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
QString info_line() { return g_outputset()->findChild<QLabel*>("label_info")->text(); }
} // namespace

class TstOption : public QObject {
    Q_OBJECT
    void run_menu(const std::function<void()>& body) {
        g_page_focus = PAGE_MAINWINDOW;
        QVERIFY2(testsupport::run_nested({[] { pages::open<Option>(); }}, PAGE_OPTION, body),
                 "the settings menu did not open");
    }

private slots:
    void initTestCase() {
        new MainWindow(nullptr);  // registers itself
        testsupport::run_fast_ticks(this);
    }
    void init() { testsupport::fresh_device(); }
    void cleanup() {
        QVERIFY(testsupport::close_all_pages());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // The grid wraps both ways. An entry's Back returns to the menu with
    // the same entry focused and the title re-texted. Touch opens an entry
    // as OK does, without moving the focus.
    void entries_open_their_pages_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<int>("entry");
        QTest::addColumn<int>("page");
        QTest::newRow("smart mapping, over both wraps") << "lrrrrrrr" << 6 << int(PAGE_SMARTMAPPING);
        QTest::newRow("test chart by touch") << "" << 5 << int(PAGE_TEST_CHART);
    }
    void entries_open_their_pages() {
        QFETCH(QString, keys);
        QFETCH(int, entry);
        QFETCH(int, page);
        const bool touch = keys.isEmpty();
        para()->RamParaBlock[blk::TEST_PATTERN] = 4;
        run_menu([&] {
            press(keys);
            int seen = -1;
            testsupport::post([&] {
                seen = g_page_focus;
                g_language = LANG_RUSSIAN;  // changed while the child is in front
                press("b");
            });
            if (touch)
                g_option()->tile(entry)->click();
            else
                press("k");
            QCOMPARE(seen, page);
            QCOMPARE(open_pages(), (IntList{PAGE_MAINWINDOW, PAGE_OPTION}));
            QCOMPARE(g_option()->focused_entry(), touch ? 0 : entry);
            QCOMPARE(g_option()->findChild<QLabel*>("label_title")->text(),
                     QString::fromUtf8("Настройки"));
        });
        // The test pattern ends with its page, handed to the scaler.
        const bool chart = page == PAGE_TEST_CHART;
        QCOMPARE(int(para()->RamParaBlock[blk::TEST_PATTERN]), chart ? 0 : 4);
        QCOMPARE(int(c331_manage::pInstance()->para_update_flag), chart ? 1 : 0);
    }

    // The LED line is read when the menu is re-texted: a size set by the PC
    // shows only once a child page has closed (or the language changed).
    // The USB watcher's call (queued to this thread) closes the settings
    // menu only when it is in front: a menu under a child, or none at all,
    // is left alone.
    void led_line_and_usb_drive_on_the_output_menu() {
        Option::usb_drive_mounted(); // no menu open: nothing, no crash
        QCOMPARE(open_pages(), IntList{PAGE_MAINWINDOW});
        g_page_focus = PAGE_OPTION;  // the id without the page
        Option::usb_drive_mounted();
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

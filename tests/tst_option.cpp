// The settings menu and the output menu: the grid, an entry's Back, the LED
// size line, and the USB drive that closes the settings menu.
#include "page_driver.h"

#include "ui/frame/language.h"
#include "ui/frame/mainwindow.h"
#include "ui/frame/option.h"
#include "ui/frame/outputset.h"

namespace {
RynRamPara* para() { return RynRamPara::pInstance(); }
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

    // The grid wraps both ways; the test-chart entry's Back returns to the
    // menu with the same entry focused and the title re-texted, and ends
    // the test pattern, handed to the scaler.
    void entry_back_keeps_focus_and_ends_test_pattern() {
        para()->RamParaBlock[blk::TEST_PATTERN] = 4;
        run_menu([] {
            press("lrrrrrr");
            int seen = -1;
            testsupport::post([&] {
                seen = g_page_focus;
                g_language = LANG_RUSSIAN; // changed while the child is in front
                press("b");
            });
            press("k");
            QCOMPARE(seen, int(PAGE_TEST_CHART));
            QCOMPARE(g_page_focus, uint8_t(PAGE_OPTION));
            QCOMPARE(g_option()->focused_entry(), 5);
            QCOMPARE(g_option()->findChild<QLabel*>("label_title")->text(), QString::fromUtf8("Настройки"));
        });
        QCOMPARE(int(para()->RamParaBlock[blk::TEST_PATTERN]), 0);
        QCOMPARE(int(c331_manage::pInstance()->para_update_flag), 1);
    }

    // The LED line shows a size set by the PC only once a child page has
    // closed. The USB watcher's call (queued to this thread) closes the
    // settings menu only when it is in front.
    void led_line_and_usb_drive_on_the_output_menu() {
        g_page_focus = PAGE_OPTION; // the id without the page: nothing, no crash
        Option::usb_drive_mounted();
        run_menu([] {
            testsupport::post([] {
                outside_change([](RynRamPara& p) {
                    p.set_u16(blk::LED_WIDTH, 1024);
                    p.set_u16(blk::LED_HEIGHT, 768);
                });
                QCOMPARE(info_line(), QString("LED Screen can be set:1920x1080"));
                testsupport::post([] { press("b"); });
                press("rk");
                QCOMPARE(info_line(), QString("LED Screen can be set:1024x768"));
                Option::usb_drive_mounted();
                QVERIFY(g_option() && g_page_focus == PAGE_OUTPUTSET);
                press("b");
            });
            press("k");
            Option::usb_drive_mounted();
            QVERIFY(!g_option() && g_page_focus == PAGE_MAINWINDOW);
        });
    }
};

QTEST_MAIN(TstOption)
#include "tst_option.moc"

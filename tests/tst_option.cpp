// The settings menu and the output menu: the focus after an entry's Back,
// the LED size line, and the USB drive that closes the settings menu.
#include "page_driver.h"

#include "ui/frame/imagecache.h"
#include "ui/frame/language.h"
#include "ui/frame/mainwindow.h"
#include "ui/frame/option.h"
#include "ui/frame/outputset.h"

class TstOption : public QObject {
    Q_OBJECT
    static QString info() { return g_outputset()->findChild<QLabel*>("label_info")->text(); }

private slots:
    void initTestCase() {
        new MainWindow(nullptr);  // registers itself
        testsupport::run_fast_ticks(this);
        testsupport::fresh_device();
    }
    void cleanup() { QVERIFY(testsupport::close_all_pages()); }

    // The PC's LED size shows on the output menu's line only once a child
    // page has closed; the entry that opened it keeps the focus. The USB
    // watcher's call (queued to this thread) closes the settings menu only
    // when it is in front. The English advanced tile has a picture of its own.
    void output_menu_line_and_usb_drive() {
        g_page_focus = PAGE_MAINWINDOW;
        const auto open = [] { pages::open<Option>(); };
        QVERIFY(testsupport::run_nested({open, [] { press("k"); }}, PAGE_OUTPUTSET, [] {
            outside_change([](RynRamPara& p) {
                p.set_u16(blk::LED_WIDTH, 1024);
                p.set_u16(blk::LED_HEIGHT, 768);
            });
            QCOMPARE(info(), QString("LED Screen can be set:1920x1080"));
            const QIcon& advanced = cached_icon(png_lang("advance_option.png"));
            QCOMPARE(g_option()->tile(7)->icon().cacheKey(), advanced.cacheKey());
            int seen = -1;
            testsupport::post([&] {
                seen = g_page_focus;
                press("b");
            });
            press("rk");
            QCOMPARE(seen, int(PAGE_NETSET));
            QCOMPARE(info(), QString("LED Screen can be set:1024x768"));
            QCOMPARE(g_outputset()->focused_entry(), 1);
            Option::usb_drive_mounted();
            QCOMPARE(int(g_page_focus), int(PAGE_OUTPUTSET));
            press("b");
            Option::usb_drive_mounted();
            QVERIFY(!g_option() && g_page_focus == PAGE_MAINWINDOW);
        }));
    }
};

QTEST_MAIN(TstOption)
#include "tst_option.moc"

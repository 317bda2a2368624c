// The settings menu and the output menu: the wrap of their entries, the
// focus after an entry's Back, the LED size line, and the USB drive that
// closes the settings menu.
#include "page_driver.h"

#include "ui/frame/mainwindow.h"
#include "ui/frame/option.h"
#include "ui/frame/outputset.h"

namespace {
QString info_line() { return g_outputset()->findChild<QLabel*>("label_info")->text(); }

// The settings menu's `keys` (with `output`, the output menu's) open page
// `child`; after its Back the menu has entry `entry` focused.
struct Entry {
    bool output;
    QString keys;
    int child, entry;
};
} // namespace
Q_DECLARE_METATYPE(Entry)

class TstOption : public QObject {
    Q_OBJECT
    // The settings menu, or the output menu over it; `body` runs in it.
    void run_menu(bool output, const std::function<void()>& body) {
        g_page_focus = PAGE_MAINWINDOW;
        std::vector<std::function<void()>> open{[] { pages::open<Option>(); }};
        if (output)
            open.push_back([] { press("k"); });
        QVERIFY(testsupport::run_nested(open, output ? PAGE_OUTPUTSET : PAGE_OPTION, body));
    }

private slots:
    void initTestCase() {
        new MainWindow(nullptr); // registers itself
        testsupport::run_fast_ticks(this);
    }
    void init() { testsupport::fresh_device(); }
    void cleanup() {
        QVERIFY(testsupport::close_all_pages());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void entries_data() {
        QTest::addColumn<Entry>("e");
        QTest::newRow("Left on the first wraps to the last") << Entry{false, "lk", PAGE_ADVANCEDOPTION, 7};
        QTest::newRow("Right on the last wraps to the first") << Entry{false, "lrk", PAGE_OUTPUTSET, 0};
        QTest::newRow("the entry that opened stays focused") << Entry{false, "lllk", PAGE_TEST_CHART, 5};
        QTest::newRow("output menu: Left wraps") << Entry{true, "lk", PAGE_NETSET, 1};
        QTest::newRow("output menu: Right wraps") << Entry{true, "rrk", PAGE_LEDSET, 0};
    }
    // The PC's LED size shows on the output menu's line once a child page
    // has closed. The USB watcher's call (queued to this thread) closes the
    // settings menu only when it is in front.
    void entries() {
        QFETCH(Entry, e);
        run_menu(e.output, [&] {
            outside_change([](RynRamPara& p) {
                p.set_u16(blk::LED_WIDTH, 1024);
                p.set_u16(blk::LED_HEIGHT, 768);
            });
            const QString line = e.output ? info_line() : "";
            int seen = -1;
            testsupport::post([&] {
                seen = g_page_focus;
                press("b");
            });
            press(e.keys);
            QCOMPARE(seen, e.child);
            QCOMPARE(dynamic_cast<MenuPage*>(testsupport::front_page())->focused_entry(), e.entry);
            if (e.output)
                QCOMPARE(line + " " + info_line(), "LED Screen can be set:1920x1080 LED Screen can be set:1024x768");
            Option::usb_drive_mounted();
            QCOMPARE(int(g_page_focus), e.output ? int(PAGE_OUTPUTSET) : int(PAGE_MAINWINDOW));
        });
    }
};

QTEST_MAIN(TstOption)
#include "tst_option.moc"

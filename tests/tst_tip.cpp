// The notice popup: how long it shows, which kinds show nothing, and a
// second notice asked for while one shows. Its language follows the shared
// rule checked in tst_pageframe; its texts fit in tst_pagetexts.
#include "testsupport.h"

#include "ui/frame/mainwindow.h"
#include "ui/frame/tip.h"

class TstTip : public QObject {
    Q_OBJECT
    MainWindow* mw = nullptr;  // its 10 ms tick ends the notices; it makes g_tip
private slots:
    void initTestCase() { mw = new MainWindow(nullptr); }
    void init() { testsupport::fresh_device(); }

    // A refresh inside the notice's loop may ask for another notice: it
    // replaces the content and restarts the 300-tick count, not nest a
    // second loop; a kind without a notice (past the table) changes nothing.
    void second_notice_restarts_instead_of_nesting() {
        int ticks = 0, ticks_at_second = -1;
        QTimer clock;
        connect(&clock, &QTimer::timeout, [&] { ++ticks, mw->slot_update_timer_ticks(); });
        clock.start(0);
        QStringList texts;
        testsupport::post([&] {
            for (int i = 0; i < 100; ++i)
                g_tip->tip_outtime_deal();
            ticks_at_second = ticks;
            g_tip->tip_create(TIP_USB_READING);  // returns at once
            g_tip->tip_create(6);
            for (QLabel* l : g_tip->findChildren<QLabel*>())
                texts << l->text();
        });
        g_tip->tip_create(TIP_DONE);  // returns when the notice has gone
        QVERIFY(texts.contains("Reading the data,pls wait"));
        QCOMPARE(g_tip->shown_kind(), int(TIP_USB_READING));
        QCOMPARE(ticks - ticks_at_second, 300);
        QVERIFY(!g_tip_flag && !g_tip->isVisible());
    }
};

QTEST_MAIN(TstTip)
#include "tst_tip.moc"

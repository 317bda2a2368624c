// The notice popup: how long it shows, which kinds show nothing, and a
// second notice asked for while one shows. Its language follows the shared
// rule checked in tst_pageframe; its texts fit in tst_pagetexts.
#include "testsupport.h"

#include "core/global.h"
#include "ui/frame/tip.h"

#include <QLabel>
#include <QTimer>
#include <QtTest>

namespace {
// Counts turns of a 0 ms timer that ticks the notice like the 10 ms clock.
struct Clock {
    int ticks = 0;
    QTimer timer;
    Clock() {
        QObject::connect(&timer, &QTimer::timeout, [this] { ++ticks, g_tip_flag ? g_tip->tip_outtime_deal() : void(); });
        timer.start(0);
    }
};
}  // namespace

class TstTip : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { g_tip = new TIP(nullptr); }
    void init() { testsupport::fresh_device(); }

    // Kind 6 has no notice: nothing shows and no loop runs. The done notice
    // runs its loop for 300 ticks and then is gone.
    void shows_for_300_ticks_or_not_at_all() {
        Clock clock;
        g_tip->tip_create(6);
        QCOMPARE(clock.ticks, 0); // no loop ran
        QCoreApplication::processEvents(); // runs the look posted for a kind without a notice
        QVERIFY(!g_tip->isVisible());
        const int start = clock.ticks;
        bool shown = false;
        testsupport::post([&] { shown = g_tip->isVisible(); });
        g_tip->tip_create(TIP_DONE); // returns when the notice has gone
        QVERIFY(shown && !g_tip->isVisible() && !g_tip_flag);
        QCOMPARE(clock.ticks - start, 300);
    }

    // A refresh inside the notice's loop may ask for another notice: it
    // replaces the content and restarts the count, not nest a second loop.
    void second_notice_restarts_instead_of_nesting() {
        int ticks_at_second = -1;
        QStringList texts;
        Clock clock;
        testsupport::post([&] {
            for (int i = 0; i < 100; ++i)
                g_tip->tip_outtime_deal();
            ticks_at_second = clock.ticks;
            g_tip->tip_create(TIP_USB_READING); // returns at once
            g_tip->tip_create(2); // a kind without a notice leaves this one as it is
            for (QLabel* l : g_tip->findChildren<QLabel*>())
                texts << l->text();
        });
        g_tip->tip_create(TIP_DONE);
        QVERIFY(texts.contains("Reading the data,pls wait"));
        QCOMPARE(g_tip->shown_kind(), int(TIP_USB_READING));
        QCOMPARE(clock.ticks - ticks_at_second, 300);
        QCOMPARE(int(g_tip_flag), 0);
    }
};

QTEST_MAIN(TstTip)
#include "tst_tip.moc"

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
        QObject::connect(&timer, &QTimer::timeout, [this] {
            ++ticks;
            if (g_tip_flag)
                g_tip->tip_outtime_deal();
        });
        timer.start(0);
    }
};
}  // namespace

class TstTip : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { g_tip = new TIP(nullptr); }
    void init() { testsupport::fresh_device(); }

    void shows_for_300_ticks_or_not_at_all_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("ticks");
        QTest::newRow("done") << int(TIP_DONE) << 300;
        QTest::newRow("kind 6: none") << 6 << 0;
    }
    void shows_for_300_ticks_or_not_at_all() {
        QFETCH(int, kind);
        QFETCH(int, ticks);
        bool shown = false;
        testsupport::post([&] { shown = g_tip->isVisible(); });
        Clock clock;
        g_tip->tip_create(kind);  // returns when the notice has gone
        const int turned = clock.ticks;  // the clock only turns inside the notice's loop
        QCoreApplication::processEvents();  // runs the look posted for a kind without a notice
        QCOMPARE(turned, ticks);
        QCOMPARE(shown, ticks > 0);
        QVERIFY(!g_tip->isVisible());
        QCOMPARE(int(g_tip_flag), 0);
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
            g_tip->tip_create(TIP_USB_READING);  // returns at once
            g_tip->tip_create(2);  // a kind without a notice leaves this one as it is
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

// The sleep of the worker threads: a notice given before the wait or from
// another thread ends it and is taken by it, a wait without one ends at its
// time-out, and only a raised request flag wakes.
#include "core/wakeup.h"

#include <QElapsedTimer>
#include <QtTest>
#include <thread>

using namespace std::chrono;

class TstWakeup : public QObject {
    Q_OBJECT
private slots:
    void noticeEndsTheWaitOnce_data() {
        QTest::addColumn<bool>("from_thread");
        QTest::newRow("given before the wait") << false;
        QTest::newRow("from another thread") << true;
    }
    void noticeEndsTheWaitOnce() {
        QFETCH(bool, from_thread);
        Wakeup w;
        if (!from_thread)
            w.notify();
        std::thread other([&w, from_thread] {
            std::this_thread::sleep_for(milliseconds(20));
            if (from_thread)
                w.notify();
        });
        QElapsedTimer t;
        t.start();
        w.wait_for(seconds(5));
        other.join();
        QVERIFY2(t.elapsed() < 1000, qPrintable(QString("waited %1 ms").arg(t.elapsed())));
        t.restart();
        w.wait_for(milliseconds(50));  // taken by that wait: this one sleeps its time
        QVERIFY(t.elapsed() >= 40);
    }

    void flagWakesOnlyWhenRaised_data() {
        QTest::addColumn<int>("value");
        QTest::addColumn<bool>("wakes");
        QTest::newRow("raised") << 1 << true;
        QTest::newRow("cleared") << 0 << false;
    }
    void flagWakesOnlyWhenRaised() {
        QFETCH(int, value);
        QFETCH(bool, wakes);
        Wakeup w;
        WakingFlag flag(w, 2);
        flag = uint8_t(value);
        QElapsedTimer t;
        t.start();
        w.wait_for(milliseconds(wakes ? 5000 : 50));
        QCOMPARE(t.elapsed() < 40, wakes);
    }
};

QTEST_MAIN(TstWakeup)
#include "tst_wakeup.moc"

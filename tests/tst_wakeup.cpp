// The sleep of the worker threads: a notice given before the wait is not
// lost, a wait without one ends at its time-out, and only a raised request
// flag wakes.
#include "core/wakeup.h"

#include <QElapsedTimer>
#include <QtTest>
#include <thread>

using namespace std::chrono;

class TstWakeup : public QObject {
    Q_OBJECT
private slots:
    void noticeBeforeTheWaitIsKept() {
        Wakeup w;
        w.notify();
        QElapsedTimer t;
        t.start();
        w.wait_for(seconds(5));
        QVERIFY2(t.elapsed() < 1000, qPrintable(QString("waited %1 ms").arg(t.elapsed())));
        // Taken by that wait: the next one sleeps its time.
        t.restart();
        w.wait_for(milliseconds(50));
        QVERIFY(t.elapsed() >= 40);
    }

    void noticeFromAnotherThreadEndsTheWait() {
        Wakeup w;
        std::thread other([&w] {
            std::this_thread::sleep_for(milliseconds(20));
            w.notify();
        });
        QElapsedTimer t;
        t.start();
        w.wait_for(seconds(5));
        other.join();
        QVERIFY2(t.elapsed() < 1000, qPrintable(QString("waited %1 ms").arg(t.elapsed())));
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
        QCOMPARE(int(flag), value);
        QElapsedTimer t;
        t.start();
        w.wait_for(milliseconds(wakes ? 5000 : 50));
        QCOMPARE(t.elapsed() < 40, wakes);
    }
};

QTEST_MAIN(TstWakeup)
#include "tst_wakeup.moc"

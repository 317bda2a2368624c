// The sleep of the worker threads: a notice ends one wait, a wait without
// one ends at its time-out, and only a raised request flag wakes.
#include "core/wakeup.h"

#include <QElapsedTimer>
#include <QtTest>
#include <thread>

using namespace std::chrono;

class TstWakeup : public QObject {
    Q_OBJECT
private slots:
    void noticeFromAnotherThreadEndsTheWaitOnce() {
        Wakeup w;
        std::thread other([&w] { std::this_thread::sleep_for(milliseconds(20)), w.notify(); });
        QElapsedTimer t;
        t.start();
        w.wait_for(seconds(5));
        other.join();
        QVERIFY2(t.elapsed() < 1000, qPrintable(QString("waited %1 ms").arg(t.elapsed())));
        t.restart();
        w.wait_for(milliseconds(50)); // taken by that wait: this one sleeps its time
        QVERIFY(t.elapsed() >= 40);
    }

    void flagWakesOnlyWhenRaised() {
        Wakeup w;
        WakingFlag flag(w, 2);
        QElapsedTimer t;
        t.start();
        flag = 0;
        w.wait_for(milliseconds(50));
        QVERIFY(t.elapsed() >= 40);
        t.restart();
        flag = 1;
        w.wait_for(seconds(5));
        QVERIFY(t.elapsed() < 1000);
    }
};

QTEST_MAIN(TstWakeup)
#include "tst_wakeup.moc"

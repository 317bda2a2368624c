// The sleep of the worker threads: a notice ends one wait, a wait without
// one ends at its time-out, and only a raised request flag wakes.
#include "core/wakeup.h"

#include <QElapsedTimer>
#include <QtTest>
#include <thread>

using namespace std::chrono;

class TstWakeup : public QObject {
    Q_OBJECT
    // Milliseconds `wait` took.
    template <class F> static qint64 timed(F&& wait) {
        QElapsedTimer t;
        t.start();
        wait();
        return t.elapsed();
    }
private slots:
    void notices_and_flags() {
        Wakeup w;
        std::thread other([&w] { std::this_thread::sleep_for(milliseconds(20)), w.notify(); });
        QVERIFY(timed([&] { w.wait_for(seconds(5)); }) < 1000);  // a notice from another thread
        other.join();
        QVERIFY(timed([&] { w.wait_for(milliseconds(50)); }) >= 40);  // taken by that wait
        WakingFlag flag(w, 2);
        QVERIFY(timed([&] { flag = 0, w.wait_for(milliseconds(50)); }) >= 40);  // lowered: no notice
        QVERIFY(timed([&] { flag = 1, w.wait_for(seconds(5)); }) < 1000);       // raised
    }
};

QTEST_MAIN(TstWakeup)
#include "tst_wakeup.moc"

// The running panel with its threads and its 10 ms clock, measured in real
// time (never under callgrind, whose slowness would distort both):
// - idle: CPU time per wall time and wake-ups (context switches of every
//   thread) per second while the home screen shows and no key comes;
// - latency: a keypad letter (N, freeze) on the home screen until the
//   parameter file on disk has changed, the median of several; beside it
//   the same file written and synced alone (the disk's share).
// BENCH_IDLE_SECONDS (default 10) and BENCH_SAVES (default 21) set the
// counts; the results are printed as "BENCH <name>: <value> <unit>" lines
// and given to Qt Test.
#include "bench_common.h"
#include "floor.h"
#include "testsupport.h"

#include "core/devicepath.h"
#include "core/global.h"
#include "core/utils.h"
#include "scaler/c331_manage.h"
#include "ui/frame/keys.h"
#include "ui/frame/startup.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QKeyEvent>
#include <QSet>
#include <QTimer>
#include <QtTest>
#include <algorithm>
#include <sys/stat.h>
#include <time.h>
#include <vector>

namespace {
int env_count(const char* name, int fallback) {
    bool ok = false;
    const int v = qEnvironmentVariableIntValue(name, &ok);
    return ok && v > 0 ? v : fallback;
}

void run_loop(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

double cpu_seconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// Context switches of every thread of this process: each is a wake-up.
qint64 switches() {
    qint64 n = 0;
    const QDir tasks(QStringLiteral("/proc/self/task"));
    for (const QString& t : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile f(tasks.filePath(t) + "/status");
        if (!f.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray& line : f.readAll().split('\n'))
            if (line.startsWith("voluntary_ctxt_switches:") || line.startsWith("nonvoluntary_ctxt_switches:"))
                n += line.mid(line.indexOf(':') + 1).trimmed().toLongLong();
    }
    return n;
}

// The parameter file's identity: a rewrite replaces it (new inode) or at
// least moves its modification time.
struct Stamp {
    ino_t ino = 0;
    timespec mtime{};
    bool operator==(const Stamp& o) const {
        return ino == o.ino && mtime.tv_sec == o.mtime.tv_sec && mtime.tv_nsec == o.mtime.tv_nsec;
    }
};
Stamp stamp_of(const QByteArray& path) {
    struct stat st {};
    Stamp s;
    if (::stat(path.constData(), &st) == 0) {
        s.ino = st.st_ino;
        s.mtime = st.st_mtim;
    }
    return s;
}
}  // namespace

class BenchLive : public QObject {
    Q_OBJECT
    bool panel_started = false;
    QSet<QString> warmed;

    // Qt Test runs a benchmark once to warm up before the run it reports:
    // that first run is kept short.
    int count(const char* name, int fallback) {
        const QString tag = QString(QTest::currentTestFunction()) + QTest::currentDataTag();
        if (!warmed.contains(tag)) {
            warmed.insert(tag);
            return 1;
        }
        return env_count(name, fallback);
    }

    void start_panel_once() {
        if (panel_started)
            return;
        start_core();
        start_panel(*qApp, 0);
        panel_started = true;
        run_loop(1000);  // the threads' bring-up
    }

private slots:
    void initTestCase() {
        bench::plain_messages();
        testsupport::fresh_device();
        bench::device_in_use();
    }

    // The floor first: the panel's threads, once started, never stop. The
    // floor is what the 10 ms tick alone costs on this machine.
    void idle_data() {
        QTest::addColumn<bool>("is_floor");
        QTest::newRow("tick floor") << true;
        QTest::newRow("frontpanel") << false;
    }
    void idle() {
        QFETCH(bool, is_floor);
        bench::FloorWindow* floor = nullptr;
        if (is_floor) {
            floor = new bench::FloorWindow(false);
            floor->show();
            run_loop(200);
        } else {
            start_panel_once();
        }
        const int seconds = count("BENCH_IDLE_SECONDS", 10);
        QElapsedTimer wall;
        const double cpu0 = cpu_seconds();
        const qint64 sw0 = switches();
        wall.start();
        run_loop(seconds * 1000);
        const double elapsed = wall.nsecsElapsed() / 1e9;
        const double cpu_percent = 100.0 * (cpu_seconds() - cpu0) / elapsed;
        const double wakeups = double(switches() - sw0) / elapsed;
        delete floor;
        std::printf("BENCH idle %s: %.3f %% of a core, %.0f wake-ups/s\n", QTest::currentDataTag(), cpu_percent,
                    wakeups);
        std::fflush(stdout);
        QTest::setBenchmarkResult(wakeups, QTest::Events);
    }

    void latency() {
        start_panel_once();
        QVERIFY(testsupport::front_page());
        const QByteArray file = device_path(QStringLiteral("/data/ram_device_info")).toLocal8Bit();
        const int saves = count("BENCH_SAVES", 21);
        std::vector<double> ms;
        for (int i = 0; i < saves; ++i) {
            // Nothing pending: the last change is applied and saved.
            QTRY_VERIFY(c331_manage::pInstance()->para_update_flag == 0);
            run_loop(30);
            const Stamp before = stamp_of(file);
            QElapsedTimer t;
            t.start();
            QKeyEvent down(QEvent::KeyPress, USB_KEY_FREEZE, Qt::NoModifier, "N");
            QKeyEvent up(QEvent::KeyRelease, USB_KEY_FREEZE, Qt::NoModifier, "N");
            QApplication::sendEvent(testsupport::front_page(), &down);
            QApplication::sendEvent(testsupport::front_page(), &up);
            while (stamp_of(file) == before && t.elapsed() < 5000)
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
            QVERIFY2(!(stamp_of(file) == before), "the parameter file was not rewritten");
            ms.push_back(t.nsecsElapsed() / 1e6);
        }
        // The floor: the same file written and synced by itself, as often.
        std::vector<double> bare_ms;
        const std::vector<char> bytes(size_t(QFileInfo(QString::fromLocal8Bit(file)).size()), 0);
        const std::string scratch = file.toStdString() + ".bench";
        for (int i = 0; i < saves; ++i) {
            QElapsedTimer t;
            t.start();
            Utils::write_file_atomic(scratch, bytes.data(), bytes.size());
            bare_ms.push_back(t.nsecsElapsed() / 1e6);
        }
        QFile::remove(QString::fromStdString(scratch));
        std::sort(bare_ms.begin(), bare_ms.end());
        std::sort(ms.begin(), ms.end());
        const double median = ms[ms.size() / 2];
        std::printf("BENCH latency frontpanel: %.2f ms median of %d (min %.2f, max %.2f)\n", median, saves, ms.front(),
                    ms.back());
        std::printf("BENCH latency bare write: %.2f ms median of %d\n", bare_ms[bare_ms.size() / 2], saves);
        std::fflush(stdout);
        QTest::setBenchmarkResult(median, QTest::WalltimeMilliseconds);
    }
};

QTEST_MAIN(BenchLive)
#include "bench_live.moc"

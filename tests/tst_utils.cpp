// The shared helpers: shell commands on a PC, the console, and the guard
// that keeps every test inside its own folder.
#include "testsupport.h"

#include "core/devicepath.h"
#include "core/global.h"
#include "core/utils.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

// Started again with this variable set, the program only races a worker's
// write with Qt's copy of the same buffer (before any other thread runs).
const bool race_only = qEnvironmentVariableIsSet("TST_UTILS_RACE_ONLY") && [] {
    static char buffer[64];
    std::thread worker([] {
        for (char& c : buffer)
            c = 1;
    });
    // Qt copies the buffer while the worker may be writing it; ThreadSanitizer
    // turns the exit status into 66 when it saw the race.
    return QByteArray(buffer, sizeof buffer).size(), worker.join(), std::exit(0), true;
}();

class TstUtils : public QObject {
    Q_OBJECT
private slots:
    void init() { testsupport::fresh_device(); }

    // On a PC "rm" removes only relocated paths; paths that would leave the
    // device folder and every other command leave the host alone.
    void shellNeverTouchesHost() {
        QTemporaryDir outside(testsupport::test_root() + "/outside-XXXXXX");
        const QString victim = outside.path() + "/keep.txt", alias = device_path("/data/configs/alias.json");
        QVERIFY(QDir().mkpath(QFileInfo(alias).path()) && QFile(victim).open(QIODevice::WriteOnly) &&
                QFile(alias).open(QIODevice::WriteOnly));
        QCOMPARE(Utils::shell_exec("rm -rf /data/configs/alias.json"), 0);
        QVERIFY(!QFile::exists(alias));
        QVERIFY(Utils::shell_exec(("rm -rf /data" + QString("/..").repeated(20) + victim).toStdString()) != 0);
        Utils::shell_exec(("rm -rf $(echo /data) ; touch " + victim + "2").toStdString());
        QVERIFY(QFile::exists(victim) && !QFile::exists(victim + "2"));
    }

    // The core's console lines and Qt's share one console: in the order
    // written, none lost when the program ends as a kill would.
    void consoleLinesInOrder() {
        int status = 0;
        const auto lines = [] {
            qInstallMessageHandler(nullptr), debug_printf("core 1\n"), qDebug("qt 2"), debug_printf("core 3 ");
        };
        const QByteArray out = testsupport::run_forked(lines, true, &status);
        QCOMPARE(out, QByteArray("core 1\nqt 2\ncore 3 "));
    }

    // Under ThreadSanitizer a race of ours whose access lies inside Qt (a
    // copy of a buffer that a worker writes) still shows: the suppressions
    // name Qt's own hand-overs, not every call into Qt.
    void threadSanitizerSeesOurRaceThroughQt() {
#ifndef __SANITIZE_THREAD__
        QSKIP("a ThreadSanitizer build only");
#endif
        qputenv("TST_UTILS_RACE_ONLY", "1");
        QCOMPARE(QProcess::execute(QCoreApplication::applicationFilePath(), QStringList()), 66);
        qunsetenv("TST_UTILS_RACE_ONLY");
    }

    // A device root outside the test's folder ends the test at once.
    void testOutsideItsFolderEnds() {
        const QString outside = QDir::tempPath() + "/frontpanel-outside-" + QString::number(::getpid());
        int status = 0;
        testsupport::run_forked([outside] { qputenv("FRONTPANEL_ROOT", outside.toUtf8()), device_path("/data/x"); },
                                true, &status);
        QVERIFY2(WIFSIGNALED(status) && !QFile::exists(outside), qPrintable(QString("status %1").arg(status)));
    }

    // Started by hand without FRONTPANEL_ROOT, a PC build keeps its data in
    // the user's data folder.
    void pcBuildWithoutRootStaysInUserFolder() {
        const QString xdg = testsupport::data_root() + "/xdg";
        qputenv("XDG_DATA_HOME", xdg.toUtf8());
        qunsetenv("FRONTPANEL_ROOT");
        const QString path = device_path("/data/ram_device_info");
        qputenv("FRONTPANEL_ROOT", testsupport::data_root().toUtf8());
        qunsetenv("XDG_DATA_HOME");
        QCOMPARE(path, xdg + "/frontpanel/data/ram_device_info");
    }
};

QTEST_MAIN(TstUtils)
#include "tst_utils.moc"

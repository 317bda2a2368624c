// The shared helpers: tick arithmetic, shell commands on a PC and the
// atomic file write.
#include "testsupport.h"

#include "core/devicepath.h"
#include "core/global.h"
#include "core/utils.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/wait.h>
#include <unistd.h>

namespace {
void write_text(const QString& path, const QByteArray& text) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(text);
}
QByteArray read_text(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}
} // namespace

class TstUtils : public QObject {
    Q_OBJECT
private slots:
    void init() { testsupport::fresh_device(); }
    void cleanup() { Utils::test_interrupt_before_rename = false; }

    void timeSpace_data() {
        QTest::addColumn<uint>("now");
        QTest::addColumn<uint>("stamp");
        QTest::addColumn<uint>("expected");
        QTest::newRow("plain") << 1500u << 500u << 1000u;
        QTest::newRow("stamp at the last tick, now 0") << 0u << 0xFFFFFFFFu << 0u;
        QTest::newRow("wrapped by 10") << 5u << 0xFFFFFFFBu << 9u;
        QTest::newRow("now at the top") << 0xFFFFFFFFu << 0u << 0xFFFFFFFFu;
    }
    void timeSpace() {
        QFETCH(uint, now);
        QFETCH(uint, stamp);
        QFETCH(uint, expected);
        G_timeTicks = now;
        QCOMPARE(Utils::getTimeSpace(stamp), expected);
    }

    // On a PC "rm" removes only relocated paths; paths that would leave the
    // device folder and every other command leave the host alone.
    void shellNeverTouchesHost() {
        const QString root = testsupport::data_root();
        QCOMPARE(device_path(device_path("/data/x")), root + "/data/x");
        QTemporaryDir outside;
        const QString victim = outside.path() + "/keep.txt";
        write_text(victim, "host");
        for (const char* name : {"alias.json", "omenu.json"})
            write_text(root + "/data/configs/" + name, "{}");
        for (const char* name : {"a.bin", "b.bin", "c.txt"})
            write_text(root + "/data/rcvrecovery/" + name, "x");

        QCOMPARE(Utils::shell_exec("rm -rf /data/configs/alias.json"), 0);
        QVERIFY(!QFile::exists(root + "/data/configs/alias.json"));
        Utils::shell_exec("rm -f /data/rcvrecovery/*.bin; sync");
        QCOMPARE(QDir(root + "/data/rcvrecovery").entryList(QDir::Files), QStringList{"c.txt"});
        const QString escape = "rm -rf /data" + QString("/..").repeated(20) + victim;
        QVERIFY(Utils::shell_exec(escape.toStdString()) != 0);
        QVERIFY(Utils::shell_exec("rm -rf /") != 0);
        QVERIFY(Utils::shell_exec("rm -rf relative.txt") != 0);
        Utils::shell_exec(("rm -rf $(echo /data) ; touch " + victim + "2").toStdString());
        QVERIFY(QFile::exists(victim));
        QVERIFY(!QFile::exists(victim + "2"));
        QVERIFY(QFile::exists(root + "/data/configs/omenu.json"));
    }

    // "reboot" ends the program (a forked child here) with a console line.
    void shellRebootEndsProgram() {
        QVERIFY(device_is_simulated());
        std::fflush(stdout);
        int pipefd[2];
        QVERIFY(::pipe(pipefd) == 0);
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::dup2(pipefd[1], STDOUT_FILENO);
            Utils::shell_exec("sync; /sbin/reboot -f");
            ::_exit(3); // reached only when reboot did not end the program
        }
        ::close(pipefd[1]);
        QByteArray out;
        char buf[256];
        ssize_t n;
        while ((n = ::read(pipefd[0], buf, sizeof buf)) > 0)
            out.append(buf, int(n));
        ::close(pipefd[0]);
        int status = 0;
        QCOMPARE(::waitpid(pid, &status, 0), pid);
        QVERIFY(WIFEXITED(status));
        QCOMPARE(WEXITSTATUS(status), 0);
        QVERIFY2(out.contains("reboot"), out.constData());
    }

    // A power cut between writing and renaming leaves the old file whole.
    void atomicWrite() {
        const QString folder = testsupport::data_root() + "/data";
        const std::string path = (folder + "/file.bin").toStdString();
        const QStringList temps{"file.bin.tmp-*"};
        QCOMPARE(Utils::write_file_atomic(path, "old", 3), 1);
        QVERIFY(QDir(folder).entryList(temps, QDir::Files).isEmpty());
        Utils::test_interrupt_before_rename = true;
        QCOMPARE(Utils::write_file_atomic(path, "new content", 11), 0);
        QCOMPARE(read_text(folder + "/file.bin"), QByteArray("old"));
        QCOMPARE(QDir(folder).entryList(temps, QDir::Files).size(), 1);
        QCOMPARE(Utils::write_file_atomic((folder + "/none/x").toStdString(), "x", 1), 0);
    }
};

QTEST_MAIN(TstUtils)
#include "tst_utils.moc"

// The shared helpers: the tick arithmetic, device paths, shell commands on
// a PC and the atomic file write.
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
QStringList temp_files(const QString& folder) {
    return QDir(folder).entryList(QStringList{QStringLiteral("*.tmp-*")}, QDir::Files | QDir::Hidden);
}
}  // namespace

class TstUtils : public QObject {
    Q_OBJECT
private slots:
    void init() {
        testsupport::fresh_device();
        g_debugSwitch = 254;
    }
    void cleanup() { Utils::test_interrupt_before_rename = false; }

    void timeSpace_data() {
        QTest::addColumn<uint>("now");
        QTest::addColumn<uint>("stamp");
        QTest::addColumn<uint>("expected");
        QTest::newRow("same tick") << 500u << 500u << 0u;
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

    void devicePath() {
        const QString root = testsupport::data_root();
        QCOMPARE(device_path("/data/ram_device_info"), root + "/data/ram_device_info");
        // Handing on a path already relocated must not move it twice.
        QCOMPARE(device_path(device_path("/data/x")), root + "/data/x");
        qputenv("FRONTPANEL_ROOT", root.toUtf8() + "///");
        QCOMPARE(device_path("/data/x"), root + "/data/x");
        qunsetenv("FRONTPANEL_ROOT");
        QCOMPARE(device_path("/data/x"), QString("/data/x"));
        QVERIFY(!device_is_simulated());
        qputenv("FRONTPANEL_ROOT", root.toUtf8());
    }

    // On a PC "rm" removes only the relocated paths; a host path with the
    // same name, one outside the root and everything else stay.
    void shellRmRelocated() {
        const QString root = testsupport::data_root();
        QTemporaryDir outside;
        const QString victim = outside.path() + "/keep.txt";
        write_text(victim, "host");
        write_text(root + "/data/configs/alias.json", "{}");
        write_text(root + "/data/configs/omenu.json", "{}");
        write_text(root + "/data/rcvrecovery/a.bin", "a");
        write_text(root + "/data/rcvrecovery/b.bin", "b");
        write_text(root + "/data/rcvrecovery/c.txt", "c");

        QCOMPARE(Utils::shell_exec("rm -rf /data/configs/alias.json"), 0);
        QVERIFY(!QFile::exists(root + "/data/configs/alias.json"));
        QVERIFY(QFile::exists(root + "/data/configs/omenu.json"));

        Utils::shell_exec("rm -f /data/rcvrecovery/*.bin; sync");
        QCOMPARE(QDir(root + "/data/rcvrecovery").entryList(QDir::Files), QStringList{"c.txt"});

        QVERIFY(Utils::shell_exec(("rm -rf /data" + QString("/..").repeated(20) + victim).toStdString()) != 0);
        QVERIFY(Utils::shell_exec("rm -rf /") != 0);
        QVERIFY(Utils::shell_exec("rm -rf relative.txt") != 0);
        QVERIFY(QFile::exists(victim));
        QVERIFY(QFile::exists(root + "/data/configs/omenu.json"));

        Utils::shell_exec("rm -rf /data/rcvrecovery");
        QVERIFY(!QFileInfo::exists(root + "/data/rcvrecovery"));
    }

    void shellOtherCommandsOnlyLogged() {
        QTemporaryDir outside;
        const QString marker = outside.path() + "/made";
        const QByteArray out = testsupport::capture_stdout([&] {
            QCOMPARE(Utils::shell_exec(("touch " + marker).toStdString()), 0);
            QCOMPARE(Utils::shell_exec(("rm -rf $(echo /data) ; touch " + marker + "2").toStdString()), 0);
        });
        QVERIFY(!QFile::exists(marker));
        QVERIFY(!QFile::exists(marker + "2"));
        QVERIFY2(out.contains("touch"), out.constData());
    }

    // "reboot" ends the program (in a child here) with a console line.
    void shellRebootEndsProgram() {
        QVERIFY(device_is_simulated());
        std::fflush(stdout);
        int pipefd[2];
        QVERIFY(::pipe(pipefd) == 0);
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::dup2(pipefd[1], STDOUT_FILENO);
            Utils::shell_exec("sync;reboot");
            ::_exit(3);  // reached only when reboot did not end the program
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

    void atomicWrite() {
        const QString folder = testsupport::data_root() + "/data";
        const QString path = folder + "/file.bin";
        QCOMPARE(Utils::write_file_atomic(path.toStdString(), "first", 5), 1);
        QCOMPARE(read_text(path), QByteArray("first"));
        QCOMPARE(Utils::write_file_atomic(path.toStdString(), "second!", 7), 1);
        QCOMPARE(read_text(path), QByteArray("second!"));
        QVERIFY(temp_files(folder).isEmpty());
        // No folder to put the temporary file in: a failure, nothing made.
        QCOMPARE(Utils::write_file_atomic((folder + "/none/x.bin").toStdString(), "x", 1), 0);
    }

    // A power cut between writing and renaming leaves the old file whole.
    void atomicWriteInterrupted() {
        const QString folder = testsupport::data_root() + "/data";
        const QString path = folder + "/file.bin";
        QCOMPARE(Utils::write_file_atomic(path.toStdString(), "old", 3), 1);
        Utils::test_interrupt_before_rename = true;
        QCOMPARE(Utils::write_file_atomic(path.toStdString(), "new content", 11), 0);
        QCOMPARE(read_text(path), QByteArray("old"));
        QCOMPARE(temp_files(folder).size(), 1);
    }
};

QTEST_MAIN(TstUtils)
#include "tst_utils.moc"

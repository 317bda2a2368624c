// The shared helpers: tick arithmetic, shell commands on a PC, the console,
// and the guard that keeps every test inside its own folder.
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
void write_text(const QString& path) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly) && f.write("x") == 1);
}
} // namespace

class TstUtils : public QObject {
    Q_OBJECT
private slots:
    void init() { testsupport::fresh_device(); }

    void timeSpace_data() {
        QTest::addColumn<uint>("now");
        QTest::addColumn<uint>("stamp");
        QTest::addColumn<uint>("expected");
        QTest::newRow("plain") << 1500u << 500u << 1000u;
        QTest::newRow("stamp at the last tick, now 0") << 0u << 0xFFFFFFFFu << 0u;
        QTest::newRow("wrapped by 10") << 5u << 0xFFFFFFFBu << 9u;
    }
    void timeSpace() {
        QFETCH(uint, now);
        QFETCH(uint, stamp);
        G_timeTicks = now;
        QTEST(Utils::getTimeSpace(stamp), "expected");
    }

    // On a PC "rm" removes only relocated paths; paths that would leave the
    // device folder and every other command leave the host alone.
    void shellNeverTouchesHost() {
        const QString data = testsupport::data_root() + "/data/";
        QCOMPARE(device_path(device_path("/data/x")), data + "x");
        QTemporaryDir outside(testsupport::test_root() + "/outside-XXXXXX");
        const QString victim = outside.path() + "/keep.txt";
        write_text(victim);
        for (const char* name : {"configs/alias.json", "configs/omenu.json", "rcv/a.bin", "rcv/c.txt"})
            write_text(data + name);
        QCOMPARE(Utils::shell_exec("rm -rf /data/configs/alias.json"), 0);
        QVERIFY(!QFile::exists(data + "configs/alias.json"));
        Utils::shell_exec("rm -f /data/rcv/*.bin; sync");
        QCOMPARE(QDir(data + "rcv").entryList(QDir::Files), QStringList{"c.txt"});
        const QString escape = "rm -rf /data" + QString("/..").repeated(20) + victim;
        QVERIFY(Utils::shell_exec(escape.toStdString()) != 0);
        QVERIFY(Utils::shell_exec("rm -rf /") != 0);
        Utils::shell_exec(("rm -rf $(echo /data) ; touch " + victim + "2").toStdString());
        QVERIFY(QFile::exists(victim) && !QFile::exists(victim + "2"));
        QVERIFY(QFile::exists(data + "configs/omenu.json"));
    }

    // The core's console lines and Qt's share one console: in the order
    // written, none lost when the program ends as a kill would.
    void consoleLinesInOrder() {
        int status = 0;
        const QByteArray out = testsupport::run_forked(
            [] {
                qInstallMessageHandler(nullptr);
                debug_printf("core 1\n");
                qDebug("qt 2");
                debug_printf("core 3 ");
            },
            true, &status);
        QCOMPARE(out, QByteArray("core 1\nqt 2\ncore 3 "));
    }

    // A test that would reach a path outside its temporary folder (a device
    // root pointing elsewhere, a file written outside) ends at once instead.
    void testOutsideItsFolderEnds_data() {
        QTest::addColumn<bool>("file");
        QTest::newRow("device root outside") << false;
        QTest::newRow("file written outside") << true;
    }
    void testOutsideItsFolderEnds() {
        QFETCH(bool, file);
        const QString outside = QDir::tempPath() + "/frontpanel-outside-" + QString::number(::getpid());
        int status = 0;
        testsupport::run_forked(
            [file, outside] {
                if (file) {
                    Utils::write_file_atomic((outside + "-file").toStdString(), "x", 1);
                } else {
                    qputenv("FRONTPANEL_ROOT", outside.toUtf8());
                    device_path("/data/ram_device_info");
                }
            },
            true, &status);
        QVERIFY2(WIFSIGNALED(status), qPrintable(QString("status %1").arg(status)));
        QVERIFY(!QFile::exists(outside) && !QFile::exists(outside + "-file"));
    }

    // Started by hand without FRONTPANEL_ROOT, a PC build keeps its data in
    // the user's data folder, and no command reaches the host's shell.
    void pcBuildWithoutRootStaysInUserFolder() {
        const QString xdg = testsupport::data_root() + "/xdg";
        qputenv("XDG_DATA_HOME", xdg.toUtf8());
        qunsetenv("FRONTPANEL_ROOT");
        const QString path = device_path("/data/ram_device_info");
        const QString marker = testsupport::data_root() + "/ran";
        const int rc = Utils::shell_exec(("touch " + marker).toStdString());
        qputenv("FRONTPANEL_ROOT", testsupport::data_root().toUtf8());
        qunsetenv("XDG_DATA_HOME");
        QCOMPARE(path, xdg + "/frontpanel/data/ram_device_info");
        QVERIFY(device_is_simulated());
        QCOMPARE(rc, 0);
        QVERIFY(!QFile::exists(marker));
    }
};

QTEST_MAIN(TstUtils)
#include "tst_utils.moc"

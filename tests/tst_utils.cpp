// The shared helpers: tick arithmetic and shell commands on a PC.
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
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("x");
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
        QFETCH(uint, expected);
        G_timeTicks = now;
        QCOMPARE(Utils::getTimeSpace(stamp), expected);
    }

    // On a PC "rm" removes only relocated paths; paths that would leave the
    // device folder and every other command leave the host alone.
    void shellNeverTouchesHost() {
        const QString root = testsupport::data_root();
        QCOMPARE(device_path(device_path("/data/x")), root + "/data/x");
        QTemporaryDir outside(testsupport::test_root() + "/outside-XXXXXX");
        const QString victim = outside.path() + "/keep.txt";
        write_text(victim);
        for (const char* name : {"configs/alias.json", "configs/omenu.json", "rcv/a.bin", "rcv/c.txt"})
            write_text(root + "/data/" + name);
        QCOMPARE(Utils::shell_exec("rm -rf /data/configs/alias.json"), 0);
        QVERIFY(!QFile::exists(root + "/data/configs/alias.json"));
        Utils::shell_exec("rm -f /data/rcv/*.bin; sync");
        QCOMPARE(QDir(root + "/data/rcv").entryList(QDir::Files), QStringList{"c.txt"});
        const QString escape = "rm -rf /data" + QString("/..").repeated(20) + victim;
        QVERIFY(Utils::shell_exec(escape.toStdString()) != 0);
        QVERIFY(Utils::shell_exec("rm -rf /") != 0);
        Utils::shell_exec(("rm -rf $(echo /data) ; touch " + victim + "2").toStdString());
        QVERIFY(QFile::exists(victim));
        QVERIFY(!QFile::exists(victim + "2"));
        QVERIFY(QFile::exists(root + "/data/configs/omenu.json"));
    }

    // The core's console lines and Qt's debug lines share one console: in
    // the order written, and none lost when the program ends without exit.
    void consoleLinesInOrder() {
        int status = 0;
        const QByteArray out = testsupport::run_forked(
            [] {
                qInstallMessageHandler(nullptr);
                debug_printf("core 1\n");
                qDebug("qt 2");
                debug_printf("core 3 ");
                // ends as a kill would: nothing flushed at exit
            },
            true, &status);
        QCOMPARE(out, QByteArray("core 1\nqt 2\ncore 3 "));
    }

    // A test that would reach a path outside its temporary folder (a device
    // root pointing elsewhere, a file written outside) ends at once instead.
    void testOutsideItsFolderEnds_data() {
        QTest::addColumn<int>("reach");
        QTest::newRow("device root outside") << 0;
        QTest::newRow("file written outside") << 1;
    }
    void testOutsideItsFolderEnds() {
        QFETCH(int, reach);
        const QString outside = QDir::tempPath() + "/frontpanel-outside-" + QString::number(::getpid());
        int status = 0;
        testsupport::run_forked(
            [reach, outside] {
                if (reach == 0) {
                    qputenv("FRONTPANEL_ROOT", outside.toUtf8());
                    device_path("/data/ram_device_info");
                } else {
                    Utils::write_file_atomic((outside + "-file").toStdString(), "x", 1);
                }
                std::printf("reached\n");
            },
            true, &status);
        QVERIFY2(WIFSIGNALED(status), qPrintable(QString("status %1").arg(status)));
        QVERIFY(!QFile::exists(outside) && !QFile::exists(outside + "-file"));
    }

    // Started by hand without FRONTPANEL_ROOT, a PC build keeps its data in
    // the user's data folder, and "reboot" or any other command never
    // reaches the host's shell.
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

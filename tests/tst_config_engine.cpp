// The configuration store: defaults, kept keys and bad values.
#include "testsupport.h"

#include "core/config_engine.h"
#include "core/devicepath.h"
#include "core/global.h"

#include <QDir>
#include <QFile>
#include <QtTest>

namespace {
QString ini_path() { return device_path("/data/configs/tcpip.ini"); }
void write_ini(const QByteArray& text) {
    QFile f(ini_path());
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(text);
}
QByteArray read_ini() {
    QFile f(ini_path());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
ConfigEngine* config() { return ConfigEngine::pInstance(); }
} // namespace

class TstConfigEngine : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        testsupport::fresh_device(); // never the host's /data
        factoryage_log = QStringList{"old sample"};
        config();
        QVERIFY(factoryage_log.isEmpty());
    }
    void init() {
        testsupport::fresh_device();
        g_str_ip = g_str_barcode = "x";
        g_lcd_lang_valid = 7;
        g_debugSwitch = 254;
    }

    void missingFileGetsDefaults() {
        QFile::remove(ini_path());
        config()->load();
        QCOMPARE(g_str_ip, QString("192.168.1.199"));
        QCOMPARE(g_lcd_lang_valid, 31u);
        QVERIFY2(read_ini().contains("ip=192.168.1.199"), read_ini().constData());
        config()->load(); // the barcode's single space survives the file
        QCOMPARE(g_str_barcode, QString(" "));
    }

    void readsValuesAndKeepsOtherKeys() {
        write_ini("[config]\nip=10.1.1.255\nbarcode=SN123\nlcd_lang_valid=0x06\nwifi_name=panel\n"
                  "\n[other]\nx=1\n");
        config()->load();
        QCOMPARE(g_str_ip, QString("10.1.1.255"));  // 255: the highest octet
        QCOMPARE(g_str_barcode, QString("SN123"));
        QCOMPARE(g_lcd_lang_valid, 6u);
        const QByteArray text = read_ini();
        QVERIFY2(text.contains("wifi_name=panel") && text.contains("[other]") &&
                     text.contains("debug_switch=254"),
                 text.constData());
    }

    void badValueFallsBack_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::newRow("first octet 256") << "ip" << "256.1.1.1";
        QTest::newRow("last octet 256") << "ip" << "10.1.1.256";
        QTest::newRow("language mask too wide") << "lcd_lang_valid" << "32";
        QTest::newRow("debug switch above a byte") << "debug_switch" << "256";
    }
    void badValueFallsBack() {
        QFETCH(QString, key);
        QFETCH(QString, value);
        write_ini(QString("[config]\nip=10.0.0.9\nbarcode=B\nlcd_lang_valid=3\ndebug_switch=254\n%1=%2\n")
                      .arg(key, value).toUtf8());
        const QByteArray out = testsupport::capture_stdout([] { config()->load(); });
        QVERIFY2(out.contains("tcpip.ini"), out.constData());
        QCOMPARE(g_str_ip, key == "ip" ? QString("192.168.1.199") : QString("10.0.0.9"));
        QCOMPARE(g_lcd_lang_valid, key == "lcd_lang_valid" ? 31u : 3u);
        QCOMPARE(int(g_debugSwitch), 254);
        QCOMPARE(config()->value(key), value); // the file keeps what it had
    }

    // Qt reports a malformed line as an error of the sync that wrote the
    // defaults all the same; the console said they could not be written.
    void malformedLineSaysWhatHappened() {
        write_ini("[config]\nip=10.0.0.7\n\"unclosed\nbarcode=B\n");
        const QByteArray out = testsupport::capture_stdout([] { config()->load(); });
        QVERIFY2(out.contains("tcpip.ini: a malformed line"), out.constData());
        QVERIFY2(!out.contains("cannot write"), out.constData());
        QCOMPARE(g_str_ip, QString("10.0.0.7"));
        QCOMPARE(config()->value("debug_switch"), QString("254"));
        QCOMPARE(config()->value("lcd_lang_valid"), QString("31"));
    }

    // A folder where the file should be: nothing can be written.
    void unwritableFileStillSaysSo() {
        QFile::remove(ini_path());
        QVERIFY(QDir().mkpath(ini_path()));
        const QByteArray out = testsupport::capture_stdout([] { config()->load(); });
        QVERIFY2(out.contains("tcpip.ini: cannot write the defaults"), out.constData());
        QCOMPARE(g_str_ip, QString("192.168.1.199"));
    }
};

QTEST_MAIN(TstConfigEngine)
#include "tst_config_engine.moc"

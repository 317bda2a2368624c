// The configuration store: defaults, kept keys and bad values.
#include "testsupport.h"

#include "core/config_engine.h"
#include "core/devicepath.h"
#include "core/global.h"

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
void scramble_globals() {
    g_str_ip = "x";
    g_str_barcode = "x";
    g_lcd_lang_valid = 7;
    g_debugSwitch = 254;
}
}  // namespace

class TstConfigEngine : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        testsupport::fresh_device();  // never the host's /data
        factoryage_log = QStringList{"old sample", "older sample"};
        ConfigEngine::pInstance();
        QVERIFY(factoryage_log.isEmpty());
        factoryage_log << "new sample";
        ConfigEngine::pInstance();  // later calls keep the record
        QCOMPARE(factoryage_log.size(), 1);
    }
    void init() {
        testsupport::fresh_device();
        scramble_globals();
    }

    void missingFileGetsDefaults() {
        QFile::remove(ini_path());
        ConfigEngine::pInstance()->load();
        QCOMPARE(g_str_ip, QString("192.168.1.199"));
        QCOMPARE(g_str_barcode, QString(" "));
        QCOMPARE(g_lcd_lang_valid, 31u);
        QCOMPARE(int(g_debugSwitch), 254);
        const QByteArray text = read_ini();
        QVERIFY2(text.contains("[config]") && text.contains("ip=192.168.1.199") && text.contains("lcd_lang_valid=31") &&
                     text.contains("debug_switch=254"),
                 text.constData());
        scramble_globals();
        ConfigEngine::pInstance()->load();  // the barcode's single space survives the file
        QCOMPARE(g_str_barcode, QString(" "));
    }

    void readsValuesAndKeepsOtherKeys() {
        const QByteArray text = "[config]\nip=10.0.0.5\nbarcode=SN123\nlcd_lang_valid=0x06\n"
                                "debug_switch=0\ntcp_port=5005\n\n[other]\nx=1\n";
        write_ini(text);
        ConfigEngine::pInstance()->load();
        QCOMPARE(g_str_ip, QString("10.0.0.5"));
        QCOMPARE(g_str_barcode, QString("SN123"));
        QCOMPARE(g_lcd_lang_valid, 6u);
        QCOMPARE(int(g_debugSwitch), 0);
        QCOMPARE(read_ini(), text);  // complete: not rewritten
        QCOMPARE(ConfigEngine::pInstance()->value("tcp_port"), QString("5005"));

        write_ini("[config]\nip=10.1.1.1\nwifi_name=panel\n");
        ConfigEngine::pInstance()->load();
        QCOMPARE(g_lcd_lang_valid, 31u);
        const QByteArray added = read_ini();
        QVERIFY2(added.contains("wifi_name=panel") && added.contains("debug_switch=254") && added.contains("ip=10.1.1.1"),
                 added.constData());
    }

    void badValueFallsBack_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::newRow("ip out of range") << "ip" << "300.1.1.1";
        QTest::newRow("ip text") << "ip" << "panel";
        QTest::newRow("language mask too wide") << "lcd_lang_valid" << "32";
        QTest::newRow("language mask negative") << "lcd_lang_valid" << "-1";
        QTest::newRow("debug switch above a byte") << "debug_switch" << "256";
        QTest::newRow("debug switch text") << "debug_switch" << "on";
    }
    void badValueFallsBack() {
        QFETCH(QString, key);
        QFETCH(QString, value);
        write_ini(QString("[config]\nip=10.0.0.9\nbarcode=B\nlcd_lang_valid=3\ndebug_switch=254\n%1=%2\n")
                      .arg(key, value)
                      .toUtf8());
        const QByteArray out = testsupport::capture_stdout([] { ConfigEngine::pInstance()->load(); });
        QVERIFY2(out.contains("tcpip.ini"), out.constData());
        QCOMPARE(g_str_ip, key == "ip" ? QString("192.168.1.199") : QString("10.0.0.9"));
        QCOMPARE(g_lcd_lang_valid, key == "lcd_lang_valid" ? 31u : 3u);
        QCOMPARE(int(g_debugSwitch), 254);
        QCOMPARE(ConfigEngine::pInstance()->value(key), value);  // the file keeps what it had
    }

    void setValueKeepsTheRest() {
        ConfigEngine::pInstance()->load();
        ConfigEngine::pInstance()->setValue("tcp_port", "6000");
        ConfigEngine::pInstance()->setValue("ip", "10.2.2.2");
        QCOMPARE(ConfigEngine::pInstance()->value("tcp_port"), QString("6000"));
        QCOMPARE(ConfigEngine::pInstance()->value("missing", "fb"), QString("fb"));
        ConfigEngine::pInstance()->load();
        QCOMPARE(g_str_ip, QString("10.2.2.2"));
        QCOMPARE(g_lcd_lang_valid, 31u);
    }
};

QTEST_MAIN(TstConfigEngine)
#include "tst_config_engine.moc"

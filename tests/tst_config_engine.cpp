// The configuration store: defaults, kept keys and bad values.
#include "testsupport.h"

#include "core/config_engine.h"
#include "core/devicepath.h"
#include "core/global.h"

#include <QFile>
#include <QtTest>

namespace {
const QString kIni = QStringLiteral("/data/configs/tcpip.ini");
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

    // Written with the defaults when missing; read back with other keys kept.
    void defaultsThenValuesWithOtherKeysKept() {
        QFile::remove(device_path(kIni));
        config()->load();
        QCOMPARE(g_str_ip, QString("192.168.1.199"));
        QCOMPARE(g_lcd_lang_valid, 31u);
        config()->load(); // the barcode's single space survives the file
        QCOMPARE(g_str_barcode, QString(" "));
        QVERIFY(testsupport::write_file(kIni, "[config]\nip=10.1.1.255\nbarcode=SN123\nlcd_lang_valid=0x06\n"
                                              "wifi_name=panel\n\n[other]\nx=1\n"));
        config()->load();
        QCOMPARE(g_str_ip + g_str_barcode, QString("10.1.1.255SN123")); // 255: the highest octet
        QCOMPARE(g_lcd_lang_valid, 6u);
        const QByteArray text = testsupport::read_file(kIni);
        QVERIFY2(text.contains("wifi_name=panel") && text.contains("[other]") && text.contains("debug_switch=254"),
                 text.constData());
    }

    // A bad value falls back to its default alone and stays in the file; a
    // malformed line is kept aside in ".bad". The console names the file and
    // says what happened (the defaults were written all the same). A
    // temporary file that a kill left is gone.
    void badFileFallsBackAndSaysSo_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("said");
        QTest::addColumn<QString>("ip");
        QTest::addColumn<uint>("languages");
        QTest::newRow("last octet 256") << QByteArray("[config]\nip=10.1.1.256\nlcd_lang_valid=3\n") << "tcpip.ini"
                                        << "192.168.1.199" << 3u;
        QTest::newRow("malformed line") << QByteArray("[config]\nip=10.0.0.9\n\"unclosed\nbarcode=B")
                                        << "tcpip.ini: a malformed line" << "10.0.0.9" << 31u;
    }
    void badFileFallsBackAndSaysSo() {
        QFETCH(QByteArray, file);
        QFETCH(QString, said);
        QVERIFY(testsupport::write_file(kIni, file) && testsupport::write_file(kIni + ".bad.tmp-Ab12Cd", "a kill"));
        const QByteArray out = testsupport::capture_stdout([] { config()->load(); });
        QVERIFY2(out.contains(said.toUtf8()) && !out.contains("cannot write"), out.constData());
        QTEST(g_str_ip, "ip");
        QTEST(g_lcd_lang_valid, "languages");
        const bool malformed = said.contains("malformed");
        QVERIFY(malformed || testsupport::read_file(kIni).contains("ip=10.1.1.256"));
        QCOMPARE(testsupport::read_file(QString(kIni) + ".bad"), malformed ? file : QByteArray());
        QVERIFY(!QFile::exists(device_path(kIni + ".bad.tmp-Ab12Cd"))); // left by a kill
    }
};

QTEST_MAIN(TstConfigEngine)
#include "tst_config_engine.moc"

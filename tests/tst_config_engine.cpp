// The configuration store: defaults, kept keys and bad values.
#include "testsupport.h"

#include "core/config_engine.h"
#include "core/devicepath.h"
#include "core/global.h"

#include <QDir>
#include <QFile>
#include <QtTest>

namespace {
const QString kIni = QStringLiteral("/data/configs/tcpip.ini");
ConfigEngine* config() { return ConfigEngine::pInstance(); }
QByteArray load() { return testsupport::capture_stdout([] { config()->load(); }); }
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
        QFile::remove(device_path(kIni));
        config()->load();
        QCOMPARE(g_str_ip, QString("192.168.1.199"));
        QCOMPARE(g_lcd_lang_valid, 31u);
        QVERIFY(testsupport::read_file(kIni).contains("ip=192.168.1.199"));
        config()->load(); // the barcode's single space survives the file
        QCOMPARE(g_str_barcode, QString(" "));
    }

    void readsValuesAndKeepsOtherKeys() {
        QVERIFY(testsupport::write_file(kIni, "[config]\nip=10.1.1.255\nbarcode=SN123\nlcd_lang_valid=0x06\n"
                                              "wifi_name=panel\n\n[other]\nx=1\n"));
        config()->load();
        QCOMPARE(g_str_ip, QString("10.1.1.255"));  // 255: the highest octet
        QCOMPARE(g_str_barcode, QString("SN123"));
        QCOMPARE(g_lcd_lang_valid, 6u);
        const QByteArray text = testsupport::read_file(kIni);
        QVERIFY2(text.contains("wifi_name=panel") && text.contains("[other]") &&
                     text.contains("debug_switch=254"),
                 text.constData());
    }

    // A bad value falls back to its default alone and stays in the file;
    // the console names the file and says what happened.
    void badFileFallsBackAndSaysSo_data() {
        QTest::addColumn<QByteArray>("file"); // null: a folder where the file should be
        QTest::addColumn<QString>("said");
        QTest::addColumn<QString>("ip");
        QTest::addColumn<uint>("languages");
        const auto ini = [](const char* bad) {
            return "[config]\nip=10.0.0.9\nbarcode=B\nlcd_lang_valid=3\ndebug_switch=254\n" + QByteArray(bad);
        };
        const QString dflt = "192.168.1.199", ok = "10.0.0.9";
        QTest::newRow("first octet 256") << ini("ip=256.1.1.1") << "tcpip.ini" << dflt << 3u;
        QTest::newRow("last octet 256") << ini("ip=10.1.1.256") << "tcpip.ini" << dflt << 3u;
        QTest::newRow("language mask too wide") << ini("lcd_lang_valid=32") << "tcpip.ini" << ok << 31u;
        QTest::newRow("debug switch above a byte") << ini("debug_switch=256") << "tcpip.ini" << ok << 3u;
        // Qt reports a malformed line as an error of the sync that wrote the
        // defaults all the same: no "cannot write" then.
        QTest::newRow("malformed line") << QByteArray("[config]\nip=10.0.0.9\n\"unclosed\nbarcode=B")
                                        << "tcpip.ini: a malformed line" << ok << 31u;
        QTest::newRow("folder in its place") << QByteArray() << "tcpip.ini: cannot write the defaults"
                                             << dflt << 31u;
    }
    void badFileFallsBackAndSaysSo() {
        QFETCH(QByteArray, file);
        QFETCH(QString, said);
        QFile::remove(device_path(kIni));
        QVERIFY(file.isNull() ? QDir().mkpath(device_path(kIni)) : testsupport::write_file(kIni, file));
        const QByteArray out = load();
        QVERIFY2(out.contains(said.toUtf8()) && out.contains("cannot write") == file.isNull(), out.constData());
        QTEST(g_str_ip, "ip");
        QTEST(g_lcd_lang_valid, "languages");
        QCOMPARE(int(g_debugSwitch), 254);
        if (said == "tcpip.ini") // a bad value stays in the file
            QVERIFY(testsupport::read_file(kIni).contains(file.mid(file.lastIndexOf('\n'))));
        // What the rewrite could not read is not lost: the file as it was is kept.
        QCOMPARE(testsupport::read_file(QString(kIni) + ".bad"),
                 said.contains("malformed") ? file : QByteArray());
    }
    // A key written later (the network page's address) into a malformed file.
    void setValueKeepsMalformedFile() {
        const QByteArray file("[config]\nip=10.0.0.9\nbarcode=B\nlcd_lang_valid=31\ndebug_switch=3\n\"unclosed\nother=1\n");
        QVERIFY(testsupport::write_file(kIni, file));
        const QByteArray out = testsupport::capture_stdout([] {
            config()->setValue("ip", "10.0.0.7");
        });
        QVERIFY2(out.contains("kept in /data/configs/tcpip.ini.bad"), out.constData());
        QCOMPARE(testsupport::read_file(QString(kIni) + ".bad"), file);
        QCOMPARE(config()->value("ip", ""), QString("10.0.0.7"));
    }
};

QTEST_MAIN(TstConfigEngine)
#include "tst_config_engine.moc"

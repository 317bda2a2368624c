// The configuration store: defaults, kept keys and bad values.
#include "testsupport.h"

#include "core/config_engine.h"
#include "core/devicepath.h"
#include "core/global.h"

#include <QFile>
#include <QtTest>

namespace {
const QString kIni = QStringLiteral("/data/configs/tcpip.ini");
ConfigEngine* config() {
    return ConfigEngine::pInstance();
}
// The file (null: none), what the console says, the values used, a line
// kept in the file, and whether the file as it was went aside.
struct IniRow {
    QByteArray file;
    QString said, ip, barcode;
    uint languages;
    QByteArray kept_line;
    bool aside;
};
}  // namespace
Q_DECLARE_METATYPE(IniRow)

class TstConfigEngine : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        testsupport::fresh_device();  // never the host's /data
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

    // Written with the defaults when missing (the barcode's single space
    // kept), read back with other keys kept; a bad value falls back to its
    // default alone and stays in the file; a malformed line is kept aside
    // in ".bad". The console says what happened (the defaults were written
    // all the same). A temporary file that a kill left is gone.
    void fileRead_data() {
        testsupport::rows<IniRow>(
            {{"missing: defaults", {{}, "", "192.168.1.199", " ", 31, "debug_switch=254", false}},
             {"values read, other keys kept",
              {"[config]\nip=10.1.1.255\nbarcode=SN1\nlcd_lang_valid=0x06\n\n[other]\nx=1\n", "", "10.1.1.255", "SN1",
               6, "[other]", false}},
             {"last octet 256",
              {"[config]\nip=10.1.1.256\nlcd_lang_valid=3\n", "tcpip.ini", "192.168.1.199", " ", 3, "ip=10.1.1.256",
               false}},
             {"mask past the five languages",
              {"[config]\nip=10.0.0.2\nlcd_lang_valid=0x3F\n", "lcd_lang_valid", "10.0.0.2", " ", 31, "0x3F", false}},
             {"malformed line",
              {"[config]\nip=10.0.0.9\n\"unclosed\nbarcode=B", "tcpip.ini: a malformed line", "10.0.0.9", " ", 31, "",
               true}}});
    }
    void fileRead() {
        QFETCH(IniRow, row);
        QVERIFY(testsupport::write_file(kIni + ".bad.tmp-Ab12Cd", "a kill"));
        QVERIFY(row.file.isNull() || testsupport::write_file(kIni, row.file));
        const QByteArray out = testsupport::capture_stdout([] { config()->load(), config()->load(); });
        QVERIFY2(out.contains(row.said.toUtf8()) && !out.contains("cannot write"), out.constData());
        QCOMPARE(g_str_ip + "|" + g_str_barcode, row.ip + "|" + row.barcode);
        QCOMPARE(g_lcd_lang_valid, row.languages);
        QVERIFY(testsupport::read_file(kIni).contains(row.kept_line));
        QCOMPARE(testsupport::read_file(QString(kIni) + ".bad"), row.aside ? row.file : QByteArray());
        QVERIFY(!QFile::exists(device_path(kIni + ".bad.tmp-Ab12Cd")));  // left by a kill
    }
};

QTEST_MAIN(TstConfigEngine)
#include "tst_config_engine.moc"

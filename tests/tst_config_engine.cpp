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
// The file, what the console says, the values used, and the bad value's
// line kept in the file (none: the file as it was kept aside).
struct IniRow { QByteArray file; QString said, ip; uint languages; QByteArray kept_line; };
} // namespace
Q_DECLARE_METATYPE(IniRow)

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
        testsupport::rows<IniRow>({
            {"last octet 256", {"[config]\nip=10.1.1.256\nlcd_lang_valid=3\n", "tcpip.ini", "192.168.1.199", 3, "ip=10.1.1.256"}},
            {"mask past the five languages", {"[config]\nip=10.0.0.2\nlcd_lang_valid=0x3F\n", "lcd_lang_valid", "10.0.0.2", 31, "0x3F"}},
            {"malformed line", {"[config]\nip=10.0.0.9\n\"unclosed\nbarcode=B", "tcpip.ini: a malformed line", "10.0.0.9", 31, ""}}});
    }
    void badFileFallsBackAndSaysSo() {
        QFETCH(IniRow, row);
        QVERIFY(testsupport::write_file(kIni, row.file) && testsupport::write_file(kIni + ".bad.tmp-Ab12Cd", "a kill"));
        const QByteArray out = testsupport::capture_stdout([] { config()->load(); });
        QVERIFY2(out.contains(row.said.toUtf8()) && !out.contains("cannot write"), out.constData());
        QCOMPARE(g_str_ip, row.ip);
        QCOMPARE(g_lcd_lang_valid, row.languages);
        QVERIFY(testsupport::read_file(kIni).contains(row.kept_line));
        QVERIFY(testsupport::read_file(kIni + ".bad") == (row.kept_line.isEmpty() ? row.file : QByteArray()) &&
                !QFile::exists(device_path(kIni + ".bad.tmp-Ab12Cd"))); // the temporary file a kill left
    }
};

QTEST_MAIN(TstConfigEngine)
#include "tst_config_engine.moc"

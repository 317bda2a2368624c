// The alias and OSD-menu readers: good files, missing files and entries,
// and broken files (only the broken one is removed).
#include "testsupport.h"

#include "core/devicepath.h"
#include "core/global.h"
#include "core/jsonfiles.h"

#include <QFile>
#include <QtTest>

namespace {
using testsupport::write_file;
bool exists(const QString& device) { return QFile::exists(device_path(device)); }
const QString kAlias = "/data/configs/alias.json", kOmenu = "/data/configs/omenu.json";
// The first entry of an id counts, one without a number is passed over.
const QByteArray ALIAS = R"({"source": {"namelist": [{"id": "x", "name": "No id"},
    {"id": 3, "valid": "off", "name": "Spare"}, {"id": 3, "valid": "on", "name": "Later"}]},
  "usermode": {"namelist": [{"id": 0, "valid": "on", "name": "Вечер"}]}})";
const QByteArray OMENU = R"({"menu": [{"x": 10, "fontpara": {"texts": "Xin chào"}}, {"x": 99}]})";
} // namespace

class TstJsonFiles : public QObject {
    Q_OBJECT
private slots:
    void init() {
        testsupport::fresh_device();
        g_debugSwitch = 254;
    }

    void aliasLookups_data() { // source?, id, result; the name stays "untouched" unless found
        testsupport::int_rows({{"valid UTF-8 name", {0, 0, 1}}, {"switched off", {1, 3, 0}}, {"missing id", {1, 9, 0}}});
    }
    void aliasLookups() {
        QFETCH(QVector<int>, r);
        QVERIFY(write_file(kAlias, ALIAS));
        ALIAS_PARA alias;
        alias.name = "untouched";
        QCOMPARE(get_json_alias_para(&alias, r[0] ? "source" : "usermode", r[1]), r[2]);
        QCOMPARE(QString::fromStdString(alias.name), QString(r[1] == 0 ? "Вечер" : r[1] == 3 ? "Spare" : "untouched"));
        QVERIFY(exists(kAlias)); // not a parse error
    }

    // A broken file is logged and removed, and only that file; the parser
    // recurses per bracket: a file nested a hundred thousand deep overflowed
    // the stack at every start and was never removed.
    void badFileRefusedAndRemovedAlone_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("parses");
        const QByteArray cut = R"({"source": {"namelist": [ {"id": 2,)";
        QTest::newRow("alias cut short") << kAlias << cut << false;
        QTest::newRow("shared OSD cut short") << kOmenu << cut << false;
        QTest::newRow("alias: 100000 [") << kAlias << QByteArray(100000, '[') + QByteArray(100000, ']') << false;
        QTest::newRow("shared OSD: 100000 {") << kOmenu << QByteArray("{\"a\":").repeated(100000) + "1" + QByteArray(100000, '}') << false;
        QTest::newRow("alias: 32 levels parse")
            << kAlias << "{\"source\": {\"namelist\": " + QByteArray(29, '[') + "{\"id\": 1}" + QByteArray(29, ']') + "}}" << true;
    }
    void badFileRefusedAndRemovedAlone() {
        QFETCH(QString, file);
        QFETCH(QByteArray, text);
        QFETCH(bool, parses);
        const QString other = file == kOmenu ? kAlias : kOmenu;
        QVERIFY(write_file(other, other == kOmenu ? OMENU : ALIAS));
        QVERIFY(write_file(file, text));
        ALIAS_PARA alias;
        OSD_LIST list;
        list.menu.x = 7;
        int result = -1;
        const QByteArray out = testsupport::capture_stdout([&] {
            result = file == kAlias ? get_json_alias_para(&alias, "source", 1)
                                    : get_json_omenu_para(file.toUtf8().constData(), &list);
        });
        QCOMPARE(exists(file), parses);
        QVERIFY(exists(other));
        QVERIFY2(out.startsWith("json error: ") != parses, out.constData());
        QCOMPARE(list.menu.x, 7);
        QVERIFY(parses || result == 0);
    }

    // The first menu entry is read, from the shared file too.
    void omenuFirstEntry() {
        OSD_LIST list;
        QVERIFY(write_file(kOmenu, OMENU));
        QCOMPARE(get_json_omenu_para(kOmenu.toUtf8().constData(), &list), 1);
        QCOMPARE(list.menu.x, 10);
        QCOMPARE(QString::fromStdString(list.menu.texts), QString("Xin chào"));
    }
};

QTEST_MAIN(TstJsonFiles)
#include "tst_jsonfiles.moc"

// The alias and OSD-menu readers: good files, missing files and entries,
// and broken files (only the broken one is removed).
#include "testsupport.h"

#include "core/devicepath.h"
#include "core/global.h"
#include "core/jsonfiles.h"

#include <QFile>
#include <QtTest>

namespace {
void write_file(const QString& device, const QByteArray& text) {
    QFile f(device_path(device));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(text);
}
bool exists(const QString& device) {
    return QFile::exists(device_path(device));
}

const QByteArray ALIAS = R"({
  "source": {"namelist": [
      {"id": 2, "valid": "on", "name": "Kamera links"},
      {"id": 3, "valid": "off", "name": "Spare"},
      {"id": 4, "valid": "on", "name": ""},
      {"id": "x", "valid": "on", "name": "bad id"}]},
  "usermode": {"namelist": [{"id": 0, "valid": "on", "name": "Вечер"}]}
})";

const QByteArray OMENU = R"({
  "name": "welcome", "osdcount": 2, "oactcount": 1,
  "menu": [
    {"x": 10, "y": 20, "w": 300, "h": 40, "effect": 1, "speed": 3,
     "backpara": {"color": "#000000"},
     "fontpara": {"startx": 2, "starty": 4, "fontw": 16, "fonth": 24, "wordspace": 1,
                  "verticalspace": 5, "color": "#ffffff", "texts": "Xin chào"}},
    {"x": 99}]
})";
} // namespace

class TstJsonFiles : public QObject {
    Q_OBJECT
private slots:
    void init() {
        testsupport::fresh_device();
        g_debugSwitch = 254;
    }

    void aliasLookups_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("id");
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("name");
        QTest::newRow("valid entry") << "source" << 2 << 1 << "Kamera links";
        QTest::newRow("UTF-8 name") << "usermode" << 0 << 1 << "Вечер";
        QTest::newRow("switched off") << "source" << 3 << 0 << "Spare";
        QTest::newRow("empty name") << "source" << 4 << 0 << "";
        QTest::newRow("missing id") << "source" << 9 << 0 << "untouched";
        QTest::newRow("missing kind") << "crop" << 2 << 0 << "untouched";
    }
    void aliasLookups() {
        QFETCH(QString, kind);
        QFETCH(int, id);
        QFETCH(int, result);
        QFETCH(QString, name);
        write_file("/data/configs/alias.json", ALIAS);
        ALIAS_PARA alias;
        alias.name = "untouched";
        QCOMPARE(get_json_alias_para(&alias, kind.toStdString(), id), result);
        QCOMPARE(QString::fromStdString(alias.name), name);
        QVERIFY(exists("/data/configs/alias.json")); // not a parse error
        QFile::remove(device_path("/data/configs/alias.json"));
        alias.name = "untouched";
        QCOMPARE(get_json_alias_para(&alias, kind.toStdString(), id), 0);
        QCOMPARE(alias.name, std::string("untouched"));
    }

    void aliasParseErrorRemovesOnlyAliasFile() {
        write_file("/data/configs/alias.json", R"({"source": {"namelist": [ {"id": 2,)");
        write_file("/data/configs/omenu.json", OMENU);
        ALIAS_PARA alias;
        const QByteArray out = testsupport::capture_stdout(
            [&] { QCOMPARE(get_json_alias_para(&alias, "source", 2), 0); });
        QVERIFY2(out.startsWith("json error: "), out.constData());
        QVERIFY(!exists("/data/configs/alias.json"));
        QVERIFY(exists("/data/configs/omenu.json"));
    }

    void omenuGoodFileAndMissingKeys() {
        write_file("/data/modes/MO01.json", OMENU);
        OSD_LIST list;
        QCOMPARE(get_json_omenu_para("/data/modes/MO01.json", &list), 1);
        QCOMPARE(list.name, std::string("welcome"));
        QCOMPARE(list.menu.x, 10); // the first entry, not the second
        QCOMPARE(list.menu.back_color, std::string("#000000"));
        QCOMPARE(list.menu.verticalspace, 5);
        QCOMPARE(QString::fromStdString(list.menu.texts), QString("Xin chào"));

        // Missing file: untouched; missing or mistyped keys keep their value.
        QCOMPARE(get_json_omenu_para("/data/modes/MO05.json", &list), 0);
        QCOMPARE(list.menu.x, 10);
        write_file("/data/modes/MO05.json", R"({"osdcount": "many", "menu": [{"y": 3}]})");
        QCOMPARE(
            get_json_omenu_para(device_path("/data/modes/MO05.json").toUtf8().constData(), &list),
            1);
        QCOMPARE(list.menu.x, 10);
        QCOMPARE(list.menu.y, 3);
        QCOMPARE(list.osdcount, 2);
        QVERIFY(exists("/data/modes/MO05.json"));
    }

    // A user mode's own file that fails to parse is removed; the shared
    // omenu.json is not.
    void omenuParseErrorRemovesOnlyThatFile() {
        write_file("/data/configs/omenu.json", OMENU);
        write_file("/data/modes/MO02.json", "not json");
        OSD_LIST list;
        list.menu.x = 7;
        const QByteArray out = testsupport::capture_stdout(
            [&] { QCOMPARE(get_json_omenu_para("/data/modes/MO02.json", &list), 0); });
        QVERIFY2(out.startsWith("json error: "), out.constData());
        QCOMPARE(list.menu.x, 7);
        QVERIFY(!exists("/data/modes/MO02.json"));
        QVERIFY(exists("/data/configs/omenu.json"));

        write_file("/data/configs/omenu.json", "{");
        QCOMPARE(get_json_omenu_para("/data/configs/omenu.json", &list), 0);
        QVERIFY(!exists("/data/configs/omenu.json"));
    }
};

QTEST_MAIN(TstJsonFiles)
#include "tst_jsonfiles.moc"

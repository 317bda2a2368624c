// The alias and OSD-menu readers: good files, missing files and entries,
// and broken files (only the broken one is removed).
#include "testsupport.h"

#include "core/devicepath.h"
#include "core/global.h"
#include "core/jsonfiles.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QtTest>

namespace {
void write_file(const QString& device, const QByteArray& text) {
    QFile f(device_path(device));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(text);
}
bool exists(const QString& device) { return QFile::exists(device_path(device)); }

const QByteArray ALIAS = R"({
  "source": {"namelist": [
      {"id": 3, "valid": "off", "name": "Spare"},
      {"id": 4, "valid": "on", "name": ""},
      {"id": "x", "valid": "on", "name": "bad id"}]},
  "usermode": {"namelist": [{"id": 0, "valid": "on", "name": "Вечер"}]}
})";

const QByteArray OMENU = R"({
  "name": "welcome", "osdcount": 2,
  "menu": [
    {"x": 10, "y": 20, "fontpara": {"verticalspace": 5, "texts": "Xin chào"}},
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
        QTest::newRow("valid UTF-8 name") << "usermode" << 0 << 1 << "Вечер";
        QTest::newRow("switched off") << "source" << 3 << 0 << "Spare";
        QTest::newRow("empty name") << "source" << 4 << 0 << "";
        QTest::newRow("missing id") << "source" << 9 << 0 << "untouched";
        QTest::newRow("missing kind") << "crop" << 2 << 0 << "untouched";
        QTest::newRow("missing file") << "usermode" << 0 << 0 << "untouched";
    }
    void aliasLookups() {
        QFETCH(QString, kind);
        QFETCH(int, id);
        QFETCH(int, result);
        QFETCH(QString, name);
        const bool file = QTest::currentDataTag() != QByteArray("missing file");
        if (file)
            write_file("/data/configs/alias.json", ALIAS);
        ALIAS_PARA alias;
        alias.name = "untouched";
        QCOMPARE(get_json_alias_para(&alias, kind.toStdString(), id), result);
        QCOMPARE(QString::fromStdString(alias.name), name);
        QCOMPARE(exists("/data/configs/alias.json"), file); // not a parse error
    }

    // The parsed alias file is kept between lookups: a file the PC replaces,
    // rewrites in place (same size, same time stamp) or that goes away must
    // not leave the old names showing.
    void aliasFollowsFileChanges_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("name");
        QTest::newRow("replaced by a new file") << "replace" << 1 << "Bob";
        QTest::newRow("rewritten in place, then the PC's file code") << "in place" << 1 << "Bob";
        QTest::newRow("removed") << "remove" << 0 << "";
    }
    void aliasFollowsFileChanges() {
        QFETCH(QString, how);
        QFETCH(int, result);
        QFETCH(QString, name);
        const QString file = "/data/configs/alias.json";
        const QByteArray before = R"({"source": {"namelist": [{"id": 1, "name": "Ann"}]}})";
        QByteArray after = before;
        after.replace("Ann", "Bob");
        write_file(file, before);
        ALIAS_PARA alias;
        QCOMPARE(get_json_alias_para(&alias, "source", 1), 1);
        QCOMPARE(QString::fromStdString(alias.name), QString("Ann"));
        if (how == "replace") {
            QVERIFY(QFile::remove(device_path(file)));
            write_file(file, after);
        } else if (how == "in place") {
            const QDateTime stamp = QFileInfo(device_path(file)).lastModified();
            QFile f(device_path(file));
            QVERIFY(f.open(QIODevice::ReadWrite));
            f.write(after);
            QVERIFY(f.setFileTime(stamp, QFileDevice::FileModificationTime));
            f.close();
            alias_file_changed();
        } else {
            QVERIFY(QFile::remove(device_path(file)));
        }
        alias = ALIAS_PARA();
        QCOMPARE(get_json_alias_para(&alias, "source", 1), result);
        QCOMPARE(QString::fromStdString(alias.name), name);
    }

    void omenuGoodFileAndMissingKeys() {
        write_file("/data/modes/MO01.json", OMENU);
        OSD_LIST list;
        QCOMPARE(get_json_omenu_para("/data/modes/MO01.json", &list), 1);
        QCOMPARE(list.name, std::string("welcome"));
        QCOMPARE(list.menu.x, 10); // the first entry, not the second
        QCOMPARE(list.menu.verticalspace, 5);
        QCOMPARE(QString::fromStdString(list.menu.texts), QString("Xin chào"));
        QCOMPARE(get_json_omenu_para("/data/modes/MO05.json", &list), 0); // missing file
        write_file("/data/modes/MO05.json", R"({"osdcount": "many", "menu": [{"y": 3}]})");
        QCOMPARE(get_json_omenu_para("/data/modes/MO05.json", &list), 1);
        QCOMPARE(list.menu.x, 10); // missing or mistyped keys keep their value
        QCOMPARE(list.menu.y, 3);
        QCOMPARE(list.osdcount, 2);
    }

    void parseErrorRemovesOnlyThatFile_data() {
        QTest::addColumn<QString>("broken");
        QTest::addColumn<QString>("kept");
        QTest::newRow("alias file") << "/data/configs/alias.json" << "/data/configs/omenu.json";
        QTest::newRow("a user mode's OSD file") << "/data/modes/MO02.json" << "/data/configs/omenu.json";
        QTest::newRow("shared OSD file") << "/data/configs/omenu.json" << "/data/configs/alias.json";
    }
    void parseErrorRemovesOnlyThatFile() {
        QFETCH(QString, broken);
        QFETCH(QString, kept);
        write_file(kept, kept.endsWith("omenu.json") ? OMENU : ALIAS);
        write_file(broken, R"({"source": {"namelist": [ {"id": 2,)");
        ALIAS_PARA alias;
        OSD_LIST list;
        list.menu.x = 7;
        const QByteArray out = testsupport::capture_stdout([&] {
            if (broken.endsWith("alias.json"))
                QCOMPARE(get_json_alias_para(&alias, "source", 2), 0);
            else
                QCOMPARE(get_json_omenu_para(broken.toUtf8().constData(), &list), 0);
        });
        QVERIFY2(out.startsWith("json error: "), out.constData());
        QCOMPARE(list.menu.x, 7);
        QVERIFY(!exists(broken));
        QVERIFY(exists(kept));
    }

    // The parser recurses per bracket: a file nested a hundred thousand
    // deep overflowed the stack at every start, and was never removed.
    void deepNestingRefusedAndRemoved_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("parses");
        const QByteArray deep_arrays = QByteArray(100000, '[') + QByteArray(100000, ']');
        const QByteArray deep_objects = QByteArray("{\"a\":").repeated(100000) + "1" +
                                        QByteArray(100000, '}');
        auto nested = [](int depth) {
            return "{\"source\": {\"namelist\": " + QByteArray(depth - 3, '[') + "{\"id\": 1}" +
                   QByteArray(depth - 3, ']') + "}}";
        };
        QTest::newRow("alias: 100000 [") << "/data/configs/alias.json" << deep_arrays << false;
        QTest::newRow("alias: 100000 {") << "/data/configs/alias.json" << deep_objects << false;
        QTest::newRow("osd menu: 100000 [") << "/data/configs/omenu.json" << deep_arrays << false;
        QTest::newRow("alias: 33 levels") << "/data/configs/alias.json" << nested(33) << false;
        QTest::newRow("alias: 32 levels parse") << "/data/configs/alias.json" << nested(32) << true;
        QTest::newRow("brackets inside a name do not count")
            << "/data/configs/alias.json"
            << "{\"source\": {\"namelist\": [{\"id\": 1, \"valid\": \"on\", \"name\": \"" +
                   QByteArray(5000, '[') + "\\\"{\"}]}}"
            << true;
    }
    void deepNestingRefusedAndRemoved() {
        QFETCH(QString, file);
        QFETCH(QByteArray, text);
        QFETCH(bool, parses);
        write_file(file, text);
        ALIAS_PARA alias;
        OSD_LIST list;
        int result = -1;
        const QByteArray out = testsupport::capture_stdout([&] {
            result = file.endsWith("alias.json")
                         ? get_json_alias_para(&alias, "source", 1)
                         : get_json_omenu_para(file.toUtf8().constData(), &list);
        });
        QCOMPARE(exists(file), parses);
        QCOMPARE(out.startsWith("json error: "), !parses);
        if (!parses)
            QCOMPARE(result, 0);
        if (QTest::currentDataTag() == QByteArray("brackets inside a name do not count")) {
            QCOMPARE(result, 1);
            QCOMPARE(alias.name, QByteArray(5000, '[').toStdString() + "\"{");
        }
    }
};

QTEST_MAIN(TstJsonFiles)
#include "tst_jsonfiles.moc"

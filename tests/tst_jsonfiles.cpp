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
using testsupport::write_file;
bool exists(const QString& device) { return QFile::exists(device_path(device)); }
const QString kAlias = "/data/configs/alias.json", kOmenu = "/data/configs/omenu.json";

const QByteArray ALIAS = R"({
  "source": {"namelist": [
      {"id": 3, "valid": "off", "name": "Spare"},
      {"id": 4, "valid": "on", "name": ""},
      {"id": "x", "valid": "on", "name": "bad id"}]},
  "usermode": {"namelist": [{"id": 0, "valid": "on", "name": "Вечер"}]}
})";
const QByteArray OMENU =
    R"({"osdcount": "many", "menu": [{"x": 10, "fontpara": {"texts": "Xin chào"}}, {"x": 99}]})";
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
        QTest::newRow("missing file") << "usermode" << 0 << 0 << "untouched";
    }
    void aliasLookups() {
        QFETCH(QString, kind);
        QFETCH(int, id);
        const bool file = QTest::currentDataTag() != QByteArray("missing file");
        if (file)
            QVERIFY(write_file(kAlias, ALIAS));
        ALIAS_PARA alias;
        alias.name = "untouched";
        QTEST(get_json_alias_para(&alias, kind.toStdString(), id), "result");
        QTEST(QString::fromStdString(alias.name), "name");
        QCOMPARE(exists(kAlias), file); // not a parse error
    }

    // The parsed alias file is kept between lookups: a file the PC rewrites
    // in place (same size, same time stamp) or removes must not leave the
    // old names showing.
    void aliasFollowsFileChanges_data() {
        testsupport::int_rows({{"rewritten in place, then the PC's file code", {0}}, {"removed", {1}}});
    }
    void aliasFollowsFileChanges() {
        QFETCH(QVector<int>, r);
        const bool removed = r[0];
        const QByteArray before = R"({"source": {"namelist": [{"id": 1, "name": "Ann"}]}})";
        QVERIFY(write_file(kAlias, before));
        ALIAS_PARA alias;
        QCOMPARE(get_json_alias_para(&alias, "source", 1), 1);
        if (removed) {
            QVERIFY(QFile::remove(device_path(kAlias)));
        } else {
            const QDateTime stamp = QFileInfo(device_path(kAlias)).lastModified();
            QFile f(device_path(kAlias));
            QVERIFY(f.open(QIODevice::ReadWrite));
            f.write(QByteArray(before).replace("Ann", "Bob"));
            QVERIFY(f.setFileTime(stamp, QFileDevice::FileModificationTime));
            f.close();
            alias_file_changed();
        }
        alias = ALIAS_PARA();
        QCOMPARE(get_json_alias_para(&alias, "source", 1), removed ? 0 : 1);
        QCOMPARE(QString::fromStdString(alias.name), QString(removed ? "" : "Bob"));
    }

    // The first menu entry, not the second; missing or mistyped keys keep
    // their value; a missing file reads nothing.
    void omenuEntriesAndMissingKeys() {
        OSD_LIST list;
        list.osdcount = 2;
        list.menu.y = 3;
        QVERIFY(write_file("/data/modes/MO01.json", OMENU));
        QCOMPARE(get_json_omenu_para("/data/modes/MO01.json", &list), 1);
        QCOMPARE(list.menu.x, 10);
        QCOMPARE(QString::fromStdString(list.menu.texts), QString("Xin chào"));
        QCOMPARE(list.menu.y, 3);
        QCOMPARE(list.osdcount, 2);
        QCOMPARE(get_json_omenu_para("/data/modes/MO05.json", &list), 0);
    }

    // A broken file is logged and removed, and only that file; the parser
    // recurses per bracket: a file nested a hundred thousand deep overflowed
    // the stack at every start and was never removed.
    void badFileRefusedAndRemovedAlone_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("parses");
        const QByteArray cut = R"({"source": {"namelist": [ {"id": 2,)";
        auto nested = [](int depth) {
            return "{\"source\": {\"namelist\": " + QByteArray(depth - 3, '[') + "{\"id\": 1}" +
                   QByteArray(depth - 3, ']') + "}}";
        };
        QTest::newRow("alias cut short") << kAlias << cut << false;
        QTest::newRow("shared OSD cut short") << kOmenu << cut << false;
        QTest::newRow("alias: 100000 [") << kAlias << QByteArray(100000, '[') + QByteArray(100000, ']') << false;
        QTest::newRow("alias: 100000 {") << kAlias << QByteArray("{\"a\":").repeated(100000) + "1" + QByteArray(100000, '}') << false;
        QTest::newRow("alias: 33 levels") << kAlias << nested(33) << false;
        QTest::newRow("alias: 32 levels parse") << kAlias << nested(32) << true;
        QTest::newRow("brackets inside a name do not count")
            << kAlias << "{\"source\": {\"namelist\": [{\"id\": 1, \"valid\": \"on\", \"name\": \"" + QByteArray(5000, '[') + "\\\"{\"}]}}"
            << true;
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
        if (!parses)
            QCOMPARE(result, 0);
        else if (QTest::currentDataTag() == QByteArray("brackets inside a name do not count"))
            QCOMPARE(QByteArray::fromStdString(alias.name), QByteArray(5000, '[') + "\"{");
    }
};

QTEST_MAIN(TstJsonFiles)
#include "tst_jsonfiles.moc"

// The alias and OSD-menu readers: good files, missing entries, and broken
// files (only the broken one is removed).
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
const QByteArray ALIAS = R"({"source": {"namelist": [{"id": "x", "name": "No id"},
    {"id": 3, "valid": "off", "name": "Spare"}, {"id": 3, "valid": "on", "name": "Later"}]}})";
const QByteArray OMENU = R"({"menu": [{"x": 10, "fontpara": {"texts": "Xin chào"}}, {"x": 99}]})";
} // namespace

class TstJsonFiles : public QObject {
    Q_OBJECT
private slots:
    void init() { testsupport::fresh_device(), g_debugSwitch = 254; }

    // The first entry of an id counts (here switched off), one without a
    // number is passed over; the first menu entry, in UTF-8.
    void goodFiles() {
        QVERIFY(write_file(kAlias, ALIAS) && write_file(kOmenu, OMENU));
        ALIAS_PARA source;
        QCOMPARE(get_json_alias_para(&source, "source", 3), 0);
        QCOMPARE(QString::fromStdString(source.name), QString("Spare"));
        OSD_LIST list;
        QCOMPARE(get_json_omenu_para(kOmenu.toUtf8().constData(), &list), 1);
        QCOMPARE(list.menu.x, 10);
        QCOMPARE(QString::fromStdString(list.menu.texts), QString("Xin chào"));
    }

    // A broken file is logged and removed, and only that file; a file nested
    // a hundred thousand deep overflowed the stack at every start.
    void badFileRefusedAndRemovedAlone_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("shared OSD cut short") << kOmenu << QByteArray(R"({"menu": [ {"x": 2,)");
        QTest::newRow("alias: 100000 [") << kAlias << QByteArray(100000, '[') + QByteArray(100000, ']');
    }
    void badFileRefusedAndRemovedAlone() {
        QFETCH(QString, file);
        QFETCH(QByteArray, text);
        const QString other = file == kOmenu ? kAlias : kOmenu;
        QVERIFY(write_file(other, other == kOmenu ? OMENU : ALIAS) && write_file(file, text));
        ALIAS_PARA alias;
        OSD_LIST list;
        list.menu.x = 7;
        int result = -1;
        const QByteArray out = testsupport::capture_stdout([&] {
            result = file == kAlias ? get_json_alias_para(&alias, "source", 1)
                                    : get_json_omenu_para(file.toUtf8().constData(), &list);
        });
        QVERIFY2(out.startsWith("json error: ") && result == 0, out.constData());
        QVERIFY(!exists(file) && exists(other));
        QCOMPARE(list.menu.x, 7);
    }
};

QTEST_MAIN(TstJsonFiles)
#include "tst_jsonfiles.moc"

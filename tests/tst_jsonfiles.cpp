// The alias and OSD-menu readers on good files (broken ones: tst_badfiles).
#include "testsupport.h"

#include "core/global.h"
#include "core/jsonfiles.h"

#include <QtTest>

namespace {
using testsupport::write_file;
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
};

QTEST_MAIN(TstJsonFiles)
#include "tst_jsonfiles.moc"

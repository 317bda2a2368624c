// The alias and OSD-menu readers on good files (broken ones: tst_badfiles).
#include "testsupport.h"

#include "core/global.h"
#include "core/devicepath.h"
#include "core/jsonfiles.h"
#include "ui/frame/syncupdate.h"

#include <QtTest>
#include <fcntl.h>
#include <sys/stat.h>

namespace {
using testsupport::write_file;
const QString kAlias = "/data/configs/alias.json", kOmenu = "/data/configs/omenu.json";
const QByteArray ALIAS = R"({"source": {"namelist": [{"id": "x", "name": "No id"},
    {"id": 3, "valid": "off", "name": "Spare"}, {"id": 3, "valid": "on", "name": "Later"}]}})";
const QByteArray OMENU = R"({"menu": [{"x": 10, "fontpara": {"texts": "Xin chào"}}, {"x": 99}]})";
}  // namespace

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

    // The PC may rewrite the alias file within one time stamp, same size:
    // the end of its file transfer makes the next lookup read it again.
    void aliasReadAgainAfterPcFile() {
        const QByteArray one = R"({"win": {"namelist": [{"id": 2, "valid": "on", "name": "One"}]}})";
        ALIAS_PARA alias;
        QVERIFY(write_file(kAlias, one) && get_json_alias_para(&alias, "win", 2));
        struct stat st {};
        const QByteArray path = QFile::encodeName(device_path(kAlias));
        QVERIFY(::stat(path, &st) == 0 && write_file(kAlias, QByteArray(one).replace("One", "Two")));
        const timespec times[2] = {st.st_atim, st.st_mtim};
        QVERIFY(::utimensat(AT_FDCWD, path, times, 0) == 0);
        SyncUpdate::pInstance()->para_sync(SYNC_PC_FILE_END);
        QVERIFY(get_json_alias_para(&alias, "win", 2));
        QCOMPARE(QString::fromStdString(alias.name), QString("Two"));
    }
};

QTEST_MAIN(TstJsonFiles)
#include "tst_jsonfiles.moc"

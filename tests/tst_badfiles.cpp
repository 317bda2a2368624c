// Files that are not what they seem, one kind of bad file in place of one
// file of the data folder: the core starts (in a forked copy, so that a hang
// or a crash fails the row), says what it did, and leaves every file as it
// was; a save over the bad file first moves it aside, and never writes
// through a link out of the data folder.
#include "testsupport.h"

#include "core/config_engine.h"
#include "core/devicepath.h"
#include "core/global.h"
#include "core/jsonfiles.h"
#include "core/rynrampara.h"

#include <QDirIterator>
#include <QtTest>
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
// Link: a link to a file outside; Linked: a folder linked to one outside.
enum Kind { Fifo, Folder, Socket, Loop, Long, Link, Linked };
const char* const kKinds[] = {"FIFO", "folder", "socket", "link loop", "endless file", "link out", "linked"};
struct Row {
    Kind kind;
    QString file;  // device path
};
const QString kBlock = "/data/ram_device_info", kMode = "/data/modes/custom_mode1", kIni = "/data/configs/tcpip.ini",
              kAlias = "/data/configs/alias.json", kOmenu = "/data/configs/omenu.json", kOsd = "/data/modes/MO01.json";
QString outside() { return testsupport::data_root() + "-outside"; }

// Every entry under `folder` as lstat sees it: kind, and the bytes or the
// link target.
QMap<QString, QByteArray> snapshot(const QString& folder) {
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        struct stat st {};
        ::lstat(QFile::encodeName(path).constData(), &st);
        QFile f(path);
        files[path] = QByteArray::number(st.st_mode & S_IFMT) + ' ' + QFile::symLinkTarget(path).toUtf8() +
                      (S_ISREG(st.st_mode) && f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray());
    }
    return files;
}

void make(Kind kind, const QString& path) {
    const QByteArray p = QFile::encodeName(path), out = QFile::encodeName(outside() + "/" + QFileInfo(path).fileName());
    QDir().mkpath(outside());
    if (kind == Linked || kind == Link)
        QVERIFY(::rename(p, out) == 0 && ::symlink(out, p) == 0);
    else
        QVERIFY(QFile::remove(path));
    if (kind == Fifo)
        QVERIFY(::mkfifo(p, 0644) == 0);
    if (kind == Folder)
        QVERIFY(QDir().mkpath(path + "/inside") && testsupport::write_file(path + "/inside/kept", "kept"));
    if (kind == Loop)
        QVERIFY(::symlink(p, p) == 0);
    // A link to a device of the host would let a faulty writer replace it.
    sockaddr_un socket_name{AF_UNIX, {}};
    std::strncpy(socket_name.sun_path, p.constData(), sizeof socket_name.sun_path - 1);
    if (kind == Socket)
        QVERIFY(::bind(::socket(AF_UNIX, SOCK_STREAM, 0), reinterpret_cast<sockaddr*>(&socket_name), sizeof socket_name) == 0);
    QFile endless(path);
    if (kind == Long)
        QVERIFY(endless.open(QIODevice::WriteOnly) && endless.resize(2 << 20));
}

// What a forked copy of the program printed, when it ended well.
QByteArray in_child(const std::function<void()>& fn) {
    int status = 0;
    const QByteArray out = testsupport::run_forked([&] { ::alarm(10), fn(); }, false, &status);
    return WIFEXITED(status) && WEXITSTATUS(status) == 3 ? out : "ended with status " + QByteArray::number(status);
}

void start() {
    ConfigEngine::pInstance()->load();
    RynRamPara::pInstance()->load_files();
    ALIAS_PARA alias;
    OSD_LIST list;
    get_json_alias_para(&alias, "source", 1);
    get_json_omenu_para(kOmenu.toUtf8().constData(), &list);
    get_json_omenu_para(kOsd.toUtf8().constData(), &list);
}
}  // namespace
Q_DECLARE_METATYPE(Row)

class TstBadFiles : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { testsupport::fresh_device(), ConfigEngine::pInstance(); }
    void badFileKeptAndMovedAsideBeforeASave_data() {
        QTest::addColumn<Row>("row");
        for (Kind kind : {Fifo, Folder, Socket, Loop, Long})
            for (const QString& file : {kBlock, kMode, kIni, kAlias, kOmenu, kOsd})
                QTest::addRow("%s as %s", kKinds[kind], qPrintable(QFileInfo(file).fileName())) << Row{kind, file};
        for (const QString& file : {kBlock, kIni})
            QTest::addRow("%s as %s", kKinds[Link], qPrintable(QFileInfo(file).fileName())) << Row{Link, file};
        for (const char* folder : {"/data", "/data/modes", "/data/configs"})
            QTest::addRow("%s %s folder", kKinds[Linked], folder) << Row{Linked, folder};
    }
    void badFileKeptAndMovedAsideBeforeASave() {
        QFETCH(Row, row);
        testsupport::fresh_device();
        for (const QString& json : {kAlias, kOmenu, kOsd})
            testsupport::write_file(json, R"({"menu": [{"x": 1}], "source": {"namelist": []}})");
        testsupport::write_file(kIni, "[config]\nip=10.0.0.9\nbarcode=B\nlcd_lang_valid=31\ndebug_switch=254\n");
        const QString path = device_path(row.file), name = QFileInfo(path).fileName();
        make(row.kind, path);
        const auto before = snapshot(testsupport::data_root()), before_outside = snapshot(outside());

        QByteArray out = in_child(start);
        QVERIFY2(out.contains(row.kind == Linked ? "refused" : row.kind == Link ? QByteArray() : name.toUtf8() + ": "), out.constData());
        QVERIFY2(row.kind >= Link || out.contains("cannot be read"), out.constData());
        QVERIFY(snapshot(testsupport::data_root()) == before && snapshot(outside()) == before_outside);
        if (row.file == kAlias || row.file == kOmenu || row.file == kOsd)
            return;

        // The saves: the bad one goes aside whole, a link is replaced itself.
        const auto saves = [&](const QString& file) { return file == row.file || file.startsWith(row.file + "/"); };
        out = in_child([&] {
            start();
            if (saves(kBlock))
                RynRamPara::pInstance()->save_block();
            if (saves(kMode))
                RynRamPara::pInstance()->mode_file_deal(0, 1), RynRamPara::pInstance()->save_mode(0);
            if (saves(kIni))
                ConfigEngine::pInstance()->setValue("barcode", "saved");
        });
        auto after = snapshot(testsupport::data_root());
        QVERIFY2(snapshot(outside()) == before_outside, out.constData());
        if (row.kind != Linked) {
            QVERIFY2(QFileInfo(path).isFile() && !QFileInfo(path).isSymLink(), out.constData());
            QVERIFY(row.kind == Link || after.take(path + ".bad-1") == before.value(path));
            QVERIFY(out.contains(row.kind == Link ? "" : "moved aside"));
            for (auto it = after.begin(); it != after.end();)
                it = it.key().startsWith(path) ? after.erase(it) : it + 1;
        }
        for (auto it = before.begin(); it != before.end(); ++it)
            QVERIFY2(after.value(it.key()) == it.value() || it.key().startsWith(path), qPrintable(it.key()));
    }
};

QTEST_MAIN(TstBadFiles)
#include "tst_badfiles.moc"

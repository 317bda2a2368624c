// Files that are not what they seem, one kind of bad file in place of one
// file of the data folder: the core starts (in a forked copy, so that a hang
// or a crash fails the row), says what it did, and leaves every file as it
// was; a save over the bad file first moves it aside, and never writes
// through a link out of the data folder.
#include "testsupport.h"

#include "core/config_engine.h"
#include "core/devicepath.h"
#include "core/jsonfiles.h"
#include "core/rynrampara.h"

#include <QDirIterator>
#include <QtTest>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
// Link: a link to a file outside; Linked: a folder linked to one outside;
// Cut and Deep: JSON that does not parse (nested deep enough to overflow the
// parser's stack), removed so that the PC can send it again.
enum Kind { Fifo, Folder, Loop, Long, Link, Linked, Cut, Deep };
const char* const kKinds[] = {"FIFO",     "folder", "link loop",      "endless file",
                              "link out", "linked", "JSON cut short", "JSON 100000 deep"};
struct Row {
    Kind kind;
    QString file;
};  // the device path of a file or folder
const QString kBlock = "/data/ram_device_info", kMode = "/data/modes/custom_mode1", kIni = "/data/configs/tcpip.ini",
              kAlias = "/data/configs/alias.json", kOmenu = "/data/configs/omenu.json", kOsd = "/data/modes/MO01.json";

// Every entry under the device root (the data folder and what lies outside
// it), not following links: its kind, and the bytes or the link target.
QMap<QString, QString> snapshot() {
    QMap<QString, QString> files;
    QDirIterator it(testsupport::data_root(), QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile f(it.next());
        const QFileInfo info(f);
        files[f.fileName()] = info.isSymLink()                               ? "link " + info.symLinkTarget()
                              : info.isDir()                                 ? "folder"
                              : info.isFile() && f.open(QIODevice::ReadOnly) ? "file " + f.readAll()
                                                                             : "other";
    }
    return files;
}

void make(Kind kind, const QString& path) {
    // What a link leads to lies beside the data folder, outside it.
    const QByteArray p = QFile::encodeName(path),
                     out = QFile::encodeName(testsupport::data_root() + "/outside-" + QFileInfo(path).fileName());
    if (kind == Linked || kind == Link)
        QVERIFY(::rename(p, out) == 0 && ::symlink(out, p) == 0);
    else
        QVERIFY(QFile::remove(path));
    if (kind == Fifo || kind == Loop)  // not a link to a device: a faulty writer would replace the host's
        QVERIFY(kind == Fifo ? ::mkfifo(p, 0644) == 0 : ::symlink(p, p) == 0);
    if (kind == Folder)
        QVERIFY(QDir().mkpath(path + "/inside") && testsupport::write_file(path + "/inside/kept", "kept"));
    if (kind >= Cut || kind == Long)
        QVERIFY(testsupport::write_file(path, kind == Cut    ? R"({"menu": [ {"x": 2,)"
                                              : kind == Deep ? QByteArray(100000, '[') + QByteArray(100000, ']')
                                                             : QByteArray(2 << 20, ' ')));
}

// What a forked copy of the program printed when it ended well, having
// started as the core does (and read the JSON files) and run `then`.
QByteArray in_child(const std::function<void()>& then = [] {}) {
    int status = 0;
    const QByteArray out = testsupport::run_forked(
        [&] {
            ::alarm(10), ConfigEngine::pInstance()->load(), RynRamPara::pInstance()->load_files();
            OSD_LIST list;
            get_json_alias_para(nullptr, "source", 1), get_json_omenu_para(qPrintable(kOmenu), &list);
            get_json_omenu_para(qPrintable(kOsd), &list), then();
        },
        false, &status);
    return WIFEXITED(status) && WEXITSTATUS(status) == 3 ? out : "ended with status " + QByteArray::number(status);
}
}  // namespace
Q_DECLARE_METATYPE(Row)

class TstBadFiles : public QObject {
    Q_OBJECT
private slots:
    void badFileKeptAndMovedAsideBeforeASave_data() {
        QTest::addColumn<Row>("row");
        const std::pair<std::vector<Kind>, QStringList> groups[] = {
            {{Fifo, Folder, Loop, Long}, {kBlock, kMode, kIni, kAlias, kOmenu, kOsd}},
            {{Link}, {kBlock, kIni}},
            {{Linked}, {"/data", "/data/modes", "/data/configs"}},
            {{Cut, Deep}, {kAlias, kOmenu, kOsd}}};
        for (const auto& group : groups)
            for (Kind kind : group.first)
                for (const QString& file : group.second)
                    QTest::addRow("%s as %s", kKinds[kind], qPrintable(QFileInfo(file).fileName())) << Row{kind, file};
    }
    void badFileKeptAndMovedAsideBeforeASave() {
        QFETCH(Row, row);
        testsupport::fresh_device();
        for (const QString& file : {kAlias, kOmenu, kOsd, kIni})
            testsupport::write_file(
                file, file == kIni ? "[config]\nip=10.0.0.9\nbarcode=B\nlcd_lang_valid=31\ndebug_switch=254\n"
                                   : R"({"menu": [{"x": 1}], "source": {"namelist": []}})");
        const QString path = device_path(row.file), name = QFileInfo(path).fileName();
        make(row.kind, path);
        const auto before = snapshot();
        QByteArray out = in_child();
        QVERIFY2(out.contains(row.kind == Linked ? "refused"
                              : row.kind == Link ? QByteArray()
                                                 : name.toUtf8() + ": ") &&
                     (row.kind >= Link || out.contains("cannot be read")),
                 out.constData());
        auto kept = before;
        QVERIFY(snapshot() == (row.kind > Linked && kept.remove(path) ? kept : before));  // broken JSON: removed
        if (row.file == kAlias || row.file == kOmenu || row.file == kOsd)
            return;

        // The saves: the bad one goes aside whole, a link is replaced itself,
        // a linked folder is refused.
        out = in_child([&] {  // the file's own save, or each save into the linked folder
            if (kBlock.startsWith(row.file))
                RynRamPara::pInstance()->save_block();
            if (kMode.startsWith(row.file))
                RynRamPara::pInstance()->mode_file_deal(0, 1), RynRamPara::pInstance()->save_mode(0);
            if (kIni.startsWith(row.file))
                ConfigEngine::pInstance()->setValue("barcode", "saved");
        });
        auto expected = before, after = snapshot();
        for (auto it = before.begin(); row.kind < Link && it != before.end(); ++it)
            if (it.key() == path || it.key().startsWith(path + "/"))
                expected[path + ".bad-1" + it.key().mid(path.size())] = expected.take(it.key());
        QVERIFY2((row.kind == Linked || (after.take(path).startsWith("file ") && expected.remove(path) <= 1)) &&
                     after == expected &&
                     out.contains(row.kind < Link    ? "moved aside"
                                  : row.kind == Link ? ""
                                                     : "refused"),
                 out.constData());
    }
};

QTEST_MAIN(TstBadFiles)
#include "tst_badfiles.moc"

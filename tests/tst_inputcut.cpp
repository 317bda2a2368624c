// The input crop page, driven by keys from the settings menu: the source
// row, the crop list and its pages, the two editors, the crop table they
// write, and the redraw after changes from outside.
#include "page_driver.h"

#include "ui/frame/mainwindow.h"
#include "ui/frame/option.h"
#include "ui/frame/syncupdate.h"
#include "ui/pages/inputcut.h"

#include <QRegularExpression>

namespace {
// What the page shows. In an editor: the focused element, the fields and
// the title. Else the focused source or tile ("add" the add button), the
// tiles' names without their source, the first tile's size line and the
// count in the row's HDMI1 label.
QString view() {
    const InputCut* p = g_inputcut();
    if (!p)
        return g_page_focus == PAGE_CUSTOMMODE && !pages::at(PAGE_OPTION) ? "mode" : "lost";
    const QStringList ed{"lineEdit_X", "lineEdit_Y", "lineEdit_W", "lineEdit_H", "label_change_source"};
    if (const int e = p->editor_entry(); e >= 0)
        return QString("X Y W H Delete Cancel OK").section(' ', e, e) + ' ' + texts(p, ed);
    QStringList tiles = texts(p, {"name0", "name1", "name2", "name3", "name4", "name5"}).split(' ');
    tiles.replaceInStrings(p->source_name + '_', "");
    const int focus = p->current_pag == 0 ? p->ui_select - 1 : p->ui_select;
    return (p->ui_level == InputCut::LEVEL_SOURCES ? p->source_name : tiles.value(focus, "add")) + " | " +
           tiles.join(' ').trimmed() + " | " +
           texts(p, {"size0", "sourcelistseq0name"}).remove(QRegularExpression("<[^>]*>|HDMI1"));
}
// Changes from outside: HDMI1's signal without a rate; a crop name sent in
// a file by the PC.
const auto pc_input = [] {
    testsupport::set_input(2, 1920, 1080, 0);
    SyncUpdate::pInstance()->para_sync(SYNC_INPUT_TIMING);
};
const auto pc_alias = [] {
    write_device_file("/data/configs/alias.json", R"({"crop":{"namelist":[{"id":0,"name":"Stage"}]}})");
    SyncUpdate::pInstance()->para_sync(SYNC_PC_FILE_END);
};

struct Crop {
    QString crops;       // the table before (set_crops)
    QString script;      // played from the source row, HDMI1 focused ("!" runs pc)
    void (*pc)();        // a change from outside, or null
    QString view;        // what the page shows after, from its start
    QString saved = {};  // the crop table after, from its start
};
}  // namespace
Q_DECLARE_METATYPE(Crop)

class TstInputCut : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { new MainWindow(nullptr); }
    void init() { testsupport::fresh_device(); }
    void cleanup() { QVERIFY(testsupport::close_all_pages()); }

    void crop_page_data() {
        QTest::addColumn<Crop>("c");
        const auto row = [](const char* tag, const Crop& c) { QTest::newRow(tag) << c; };
        const QString five = "2.1 2.2 2.3 2.4 2.5", seven = five + " 2.6 2.7";
        row("MODE closes the page and the menu", {"", "rkm", nullptr, "mode"});
        row("Back keeps the source wrapped to", {"", "lkbl", nullptr, "DVI |"});
        row("OK on the whole input does nothing", {"", "krkr", nullptr, "add |"});
        row("HDMI2 lists its own crops", {"2.1 3.4", "rk", nullptr, "add | HDMI2 crop4 |"});
        row("5 crops", {five, "krrrrrr", nullptr, "crop5 | HDMI1 crop1 crop2 crop3 crop4 crop5"});
        // Left on add to the last entry, Back from its editor, Left back to
        // page 0's sixth tile, Right to page 1.
        row("7 crops: two pages", {seven, "klkbllr", nullptr, "crop6 | crop6 crop7 |"});
        row("no rate, no signal", {"", "k!", pc_input, "add | HDMI1 | No signal (1)"});
        row("PC adds a crop", {"2.1", "k!", pc_crop<1, 2, 2>, "add | HDMI1 crop1 crop2 | No signal (3)"});
        row("the PC names a crop", {"2.1", "k!", pc_alias, "add | HDMI1 Stage |"});
        row("new crop, no Delete", {"2.5", "kkrrrr", nullptr, "Cancel 0 0 1920 1080 Name:HDMI1-Crop-2"});
        // Crop 1 twice: counted twice, found once.
        row("an entry without a record", {"2.1 2.1", "klk", nullptr, "X 0 0 0 0"});
        row("add: lowest free number", {"x 2.2", "kkrrrrrk", nullptr, "add | HDMI1 crop1 crop2 | No signal (3)",
                                        "2.1 0 0 1920 1080, 2.2 1 0 200 100, free"});
        row("40000 stores 0", {"", "kkrr[40000K]rrrk", nullptr, "add", "2.1 0 0 0 1080, free"});
        row("OK stores the crop opened",
            {"2.1 2.2 3.1", "krrrkrr[X5K]rrrrk", nullptr, "crop2", "2.1 0 0 100 50, 2.2 1 0 205 100, 3.1 2 0 100 50"});
        row("Cancel, Back", {"2.2", "krrkrr[7K]rrrkkrr[7K]b", nullptr, "crop2", "2.2 0 0 200 100, free"});
        row("Delete by number", {"2.2 2.3", "krrkrrrrk", nullptr, "crop3 | HDMI1 crop3 |", "free, 2.3"});
        // The PC changes the same source's crops under an open editor.
        row("PC adds crop 1: OK",
            {"2.2 2.3", "krrrkrr[X5K]!rrrrk", pc_crop<2, 2, 1>, "crop2", "2.2 0 0 200 100, 2.3 1 0 305 150, 2.1"});
        row("PC adds crop 1: Delete", {"2.2 2.3", "krrrk!rrrrk", pc_crop<2, 2, 1>, "crop2", "2.2 0 0 200 100, free"});
        row("PC deletes the crop: OK", {"2.1 2.2 2.3", "krrrrkrr[9K]!lllk", pc_crop<2, 0, 0>, "add",
                                        "2.1 0 0 100 50, 2.2 1 0 200 100, free, free"});
    }
    void crop_page() {
        QFETCH(Crop, c);
        set_crops(c.crops);
        run_page({[] { pages::open<Option>(); }, [] { press("rk"); }}, PAGE_INPUTCUT, [&] {
            QString before = crop_records(CROP_COUNT);
            play(c.script, [&] { c.pc(), before = crop_records(CROP_COUNT); });
            QCOMPARE(view().left(c.view.size()), c.view);
            QCOMPARE(crop_records(CROP_COUNT).left(c.saved.size()), c.saved);
            // The apply flag is raised exactly when the table changed.
            QCOMPARE(int(c331_manage::pInstance()->para_update_flag), int(crop_records(CROP_COUNT) != before));
        });
    }
};

QTEST_MAIN(TstInputCut)
#include "tst_inputcut.moc"

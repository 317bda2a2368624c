// The input crop page, driven by keys from its two openers: the crop list,
// the two editors, the crop table they write, and changes from the PC.
#include "page_driver.h"

#include "ui/frame/mainwindow.h"
#include "ui/frame/option.h"
#include "ui/pages/inputchoose.h"
#include "ui/pages/inputcut.h"

#include <QPushButton>
#include <QRegularExpression>
#include <functional>

using IntList = QVector<int>;

namespace {
RynRamPara* para() { return RynRamPara::pInstance(); }
InputCut* page() { return g_inputcut(); }
uint8_t* block() { return para()->RamParaBlock.data(); }
IntList state() {
    InputCut* p = page();
    return {p->ui_level, p->current_pag, p->focus()};
}
QString field(const char* name) { return page()->findChild<QLineEdit*>(name)->text(); }
// The source row's label at `position` as plain text, as "HDMI1(3)".
QString row_name(int position) {
    const QString name = QString("sourcelistseq%1name").arg(position);
    return page()->findChild<QLabel*>(name)->text().remove(QRegularExpression("<[^>]*>"));
}
// Names and sizes of the tiles shown, left to right, top to bottom.
QStringList tiles() {
    QStringList out;
    for (int t = 0; t < InputCut::TILES_PER_PAGE; ++t) {
        auto* name = page()->findChild<QLabel*>(QString("name%1").arg(t));
        auto* size = page()->findChild<QLabel*>(QString("size%1").arg(t));
        if (name->isVisibleTo(page()))
            out << name->text() + " " + size->text();
    }
    return out;
}
// The first `count` records, each as "source.number x y w h", or "free".
QStringList records(int count) {
    QStringList out;
    for (int i = 0; i < count; ++i) {
        const uint8_t* r = block() + blk::crop(i);
        const auto w = [r](int at) { return blk::rd16(r, at); };
        out << (r[blk::CROP_ID] & blk::CROP_USED
                    ? QString("%1.%2 %3 %4 %5 %6").arg(r[0]).arg((r[1] & 0x7F) + 1)
                          .arg(w(blk::CROP_X)).arg(w(blk::CROP_Y))
                          .arg(w(blk::CROP_W)).arg(w(blk::CROP_H))
                    : QString("free"));
    }
    return out;
}
int apply_flag() { return c331_manage::pInstance()->para_update_flag; }
} // namespace

class TstInputCut : public QObject {
    Q_OBJECT
    // Opens the crop page from the settings menu (Right, OK) and runs
    // `body` inside its modal loop; whatever is left open is closed after.
    void run_page(const std::function<void()>& body) {
        g_page_focus = PAGE_MAINWINDOW;
        QVERIFY2(testsupport::run_nested({[] { pages::open<Option>(); }, [] { press("rk"); }},
                                         PAGE_INPUTCUT, body),
                 "the settings menu did not open the crop page");
    }

private slots:
    void initTestCase() {
        if (!g_mainwindow())
            new MainWindow(nullptr);
    }
    void init() {
        testsupport::fresh_device();
        set_crops("");
    }
    void cleanup() {
        QVERIFY(testsupport::close_all_pages());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // The source row wraps; the list pages by six entries (the whole input
    // first, then the crops) with the add button after the last.
    void navigation_data() {
        QTest::addColumn<int>("crops");   // crops of HDMI1
        QTest::addColumn<QString>("keys");
        QTest::addColumn<IntList>("expect"); // level, page, focus
        QTest::addColumn<int>("source");     // select_source
        auto row = [](const char* tag, int crops, const char* keys, IntList expect,
                      int source = 2) {
            QTest::newRow(tag) << crops << QString(keys) << expect << source;
        };
        row("Left wraps HDMI1 to EXT", 0, "l", {0, 0, 5}, 0);
        row("Right wraps EXT to HDMI1", 0, "lr", {0, 0, 0}, 2);
        row("no crops: OK on the input does nothing", 0, "krk", {1, 0, 1});
        row("5 crops: Right from the sixth tile to add", 5, "krrrrrrr", {1, 0, 0});
        row("6 crops: Right from the sixth tile turns the page", 6, "krrrrrrr", {1, 1, 0});
        row("6 crops: Left from page 1 back to page 0", 6, "krrrrrrrl", {1, 0, 6});
        row("6 crops: Left from add to page 1", 6, "kl", {1, 1, 0});
        row("7 crops: Right from the last to add", 7, "krrrrrrrrr", {1, 0, 0});
        row("Back from page 1", 7, "klb", {0, 1, 0});
        row("source change resets the page", 7, "klbr", {0, 0, 1}, 3);
    }
    void navigation() {
        QFETCH(int, crops);
        QFETCH(QString, keys);
        QStringList recs;
        for (int n = 1; n <= crops; ++n)
            recs << QString("2.%1").arg(n);
        set_crops(recs.join(' '));
        run_page([&] {
            press(keys);
            QTEST(state(), "expect");
            QTEST(int(page()->select_source), "source");
        });
    }

    // What an editor stores: OK stores the fields into its own record
    // only (16-bit signed: what does not fit, or an empty field, is 0);
    // Cancel, Back, a full table and an entry without a record store
    // nothing. A new crop takes the lowest free number and record. The key
    // paths also walk the two editors' rings (Delete only when editing).
    void editor_stores_data() {
        // The crops, the keys up to the W field, the keypad's keys, the keys to leave.
        QTest::addColumn<QStringList>("in");
        QTest::addColumn<QStringList>("after"); // records 0..2
        const QString c1 = "2.1 0 0 100 50", c2 = "2.2 1 0 200 100", free = "free";
        auto row = [](const char* tag, const char* crops, const char* keys, const char* typed,
                      const char* leave, QStringList after) {
            QTest::newRow(tag) << QStringList{crops, keys, typed, leave} << after;
        };
        const char* add = "kkrr";  // new crop, W
        const char* ok_new = "rrrk"; // H Cancel OK, OK
        row("add takes the input size", "3.1", add, "", ok_new, {"3.1 0 0 100 50", "2.1 0 0 1920 1080", free});
        row("add takes the lowest free number", "x 2.2", add, "", ok_new, {"2.1 0 0 1920 1080", c2, free});
        row("32767 kept", "", add, "32767K", ok_new, {"2.1 0 0 32767 1080", free, free});
        row("32768 stores 0", "", add, "32768K", ok_new, {"2.1 0 0 0 1080", free, free});
        row("empty stores 0", "", add, "XXXXXK", ok_new, {"2.1 0 0 0 1080", free, free});
        row("keypad Back keeps 1920", "", add, "5B", ok_new, {"2.1 0 0 1920 1080", free, free});
        row("edit stores its own record", "2.1 2.2 3.1", "krrrkrr", "X5K", "rrrrk",
            {c1, "2.2 1 0 205 100", "3.1 2 0 100 50"});
        row("Delete frees its own record", "2.1 2.2", "krrkrr", "", "rrk", {free, c2, free});
        row("Cancel stores nothing", "2.1 2.2", "krrrkrr", "777K", "rrrk", {c1, c2, free});
        row("Back stores nothing", "2.1 2.2", "krrrkrr", "777K", "b", {c1, c2, free});
        row("full table adds nothing", "full", add, "", ok_new, {"0.1 0 0 100 50", "3.1 1 0 100 50", "0.2 2 0 200 100"});
        // Twice crop 1: counted twice, found once; the extra entry's editor acts on nothing.
        row("entry without a record: OK", "2.1 2.1", "klkrr", "5K", "rrrrk", {c1, "2.1 1 0 100 50", free});
        row("entry without a record: Delete", "2.1 2.1", "klkrr", "", "rrk", {c1, "2.1 1 0 100 50", free});
    }
    void editor_stores() {
        QFETCH(QStringList, in);
        QString crops = in[0];
        if (crops == "full") {
            crops.clear();
            for (int i = 0; i < CROP_COUNT; ++i)
                crops += QString("%1.%2 ").arg(i % 2 ? 3 : 0).arg(i / 2 + 1);
        }
        set_crops(crops);
        const QStringList before = records(CROP_COUNT);
        run_page([&] {
            press(in[1]);
            if (!in[2].isEmpty())
                keypad_on_field(in[2]);
            QCOMPARE(apply_flag(), 0);
            press(in[3]);
            QCOMPARE(int(page()->ui_level), int(InputCut::LEVEL_CROPS));
            QTEST(records(3), "after");
            QCOMPARE(apply_flag(), records(CROP_COUNT) == before ? 0 : 1);
        });
    }

    // The PC changes the same source's crops while an editor is open: the
    // editor keeps its positions and acts on the crop it opened, or on
    // nothing when that crop is gone.
    void outside_change_under_the_editor_data() {
        QTest::addColumn<QString>("focus");  // from X to the element pressed
        QTest::addColumn<int>("change");     // 0 delete crop 1, 1 add crop 4, 2 delete crop 3
        QTest::addColumn<QStringList>("after"); // records 0..3
        const QString c1 = "2.1 0 0 100 50", c2 = "2.2 1 0 200 100", c4 = "2.4 0 0 0 0";
        const QString free = "free";
        QTest::newRow("earlier crop gone: OK") << "lk" << 0 << QStringList{free, c2, "2.3 2 0 999 150", free};
        QTest::newRow("crop added: Delete") << "lllk" << 1 << QStringList{c1, c2, free, c4};
        QTest::newRow("edited crop gone: OK") << "lk" << 2 << QStringList{c1, c2, free, free};
        QTest::newRow("edited crop gone: Delete") << "lllk" << 2 << QStringList{c1, c2, free, free};
    }
    void outside_change_under_the_editor() {
        QFETCH(QString, focus);
        QFETCH(int, change);
        set_crops("2.1 2.2 2.3");
        run_page([&] {
            press("krrrrkrr"); // crop 3, W
            keypad_on_field("999K");
            press("ll");
            outside_change([change](RynRamPara& p) {
                uint8_t* b = p.RamParaBlock.data();
                b[blk::crop(change == 1 ? 3 : change)] = 2;
                b[blk::crop(change == 1 ? 3 : change) + blk::CROP_ID] = change == 1 ? 0x83 : 0;
            });
            QCOMPARE(page()->editor_entry(), int(InputCut::ED_X));
            QCOMPARE(field("lineEdit_W"), QString("999"));
            press(focus);
            QCOMPARE(int(page()->ui_level), int(InputCut::LEVEL_CROPS));
            QTEST(records(4), "after");
        });
    }

    // The tiles of a page: the whole input first, then the crops by number.
    // Changes from the PC and a signal found redraw the list in place. A
    // touch reaches the four number fields only.
    void tiles_refresh_and_touch() {
        set_crops("2.3 3.1 2.1 x 2.7 2.2 2.4 2.5 2.6");
        para()->publish_input_info(2, 1920, 1080, 60);
        para()->RamParaShadow = para()->RamParaBlock;
        run_page([] {
            QCOMPARE(row_name(0), QString("HDMI1(8)"));
            press("k");
            QCOMPARE(tiles(), (QStringList{"HDMI1 1920x1080@60Hz", "HDMI1_crop1 100x50",
                                           "HDMI1_crop2 200x100", "HDMI1_crop3 300x150",
                                           "HDMI1_crop4 400x200", "HDMI1_crop5 500x250"}));
            press("l");
            QCOMPARE(tiles(), (QStringList{"HDMI1_crop6 600x300", "HDMI1_crop7 700x350"}));
            press("r");
            outside_change([](RynRamPara& p) {
                blk::wr16(p.RamParaBlock.data(), blk::crop(2) + blk::CROP_W, 640);
            });
            QCOMPARE(tiles().at(1), QString("HDMI1_crop1 640x50"));
            para()->publish_input_info(2, 1280, 720, 50);
            QCOMPARE(tiles().at(0), QString("HDMI1 1280x720@50Hz"));
            // A file transfer brings names without a change of the block.
            write_device_file("/data/configs/alias.json",
                              R"({"source":{"namelist":[{"id":2,"valid":"on","name":"Cam"}]},)"
                              R"("crop":{"namelist":[{"id":2,"valid":"on","name":"Stage"}]}})");
            para()->test_signal(SYNC_PC_FILE_END);
            QCOMPARE(tiles().at(1), QString("Stage 640x50"));
            QCOMPARE(row_name(0), QString("Cam(8)"));
            QCOMPARE(state(), (IntList{1, 0, 0}));
            QTest::mouseClick(page()->findChild<QPushButton*>("add_button"), Qt::LeftButton);
            QCOMPARE(int(page()->ui_level), int(InputCut::LEVEL_CROPS));
            press("k");
            testsupport::post([] { keypad::type("42K"); });
            QTest::mouseClick(page()->findChild<QLineEdit*>("lineEdit_H"), Qt::LeftButton);
            QCOMPARE(field("lineEdit_H"), QString("42"));
            QCOMPARE(page()->editor_entry(), int(InputCut::ED_X)); // a touch does not move it
            QTest::mouseClick(page()->findChild<QPushButton*>("button_ok"), Qt::LeftButton);
            QCOMPARE(records(4).at(3), QString("free"));
        });
    }

    // Opened from source selection (Left, Left to the crop button, OK):
    // Back twice returns there, and the page counts the crop added.
    void back_to_source_selection_counts_the_new_crop() {
        g_page_focus = PAGE_MAINWINDOW;
        QVERIFY(testsupport::run_nested(
            {[] { pages::open<InputChoose>(); }, [] { press("llk"); },
             [] { press("kkrrrrrkbb"); }}, // add a crop, leave
            PAGE_INPUTCHOOSE, [] { QCOMPARE(int(g_inputchoose()->get_source_num(2)), 2); }));
    }

    // A language change from the PC while an editor is open re-texts it as
    // an editor opened in that language; both editors' texts fit.
    void editor_texts_data() { language_rows(); }
    void editor_texts() {
        QFETCH(int, language);
        set_crops("2.1");
        compare_retexted_with_opened([this](const auto& body) { run_page(body); },
                                     [] { return page(); }, language, "kk", "brrk");
    }
};

QTEST_MAIN(TstInputCut)
#include "tst_inputcut.moc"

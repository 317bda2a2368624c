// The input crop page, driven by keys: the crop list, the two editors, the
// crop table they write, and changes from the PC.
#include "page_driver.h"

#include "ui/frame/mainwindow.h"
#include "ui/frame/option.h"
#include "ui/pages/inputcut.h"

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
        auto row = [](const char* tag, int crops, const char* keys, IntList expect) {
            QTest::newRow(tag) << crops << QString(keys) << expect;
        };
        row("Left wraps HDMI1 to EXT", 0, "l", {0, 0, 5});
        row("5 crops: Right from the sixth tile to add", 5, "krrrrrrr", {1, 0, 0});
        row("6 crops: Right from the sixth tile turns the page", 6, "krrrrrrr", {1, 1, 0});
        row("6 crops: Left from add to page 1", 6, "kl", {1, 1, 0});
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
        });
    }

    // What an editor stores: OK stores the fields into its own record
    // only (16-bit signed: what does not fit is 0); Cancel, a full table
    // and an entry without a record store nothing. A new crop takes the
    // lowest free number and record. The PC may add or delete crops of the
    // same source under an open editor: it acts on the crop it opened, or
    // on nothing when that crop is gone.
    void editor_stores_data() {
        // The crops, the keys up to the W field, the keypad's keys, the keys
        // to leave, and what the PC does before them ("add" or "drop").
        QTest::addColumn<QStringList>("in");
        QTest::addColumn<QStringList>("after"); // the first records
        const QString c1 = "2.1 0 0 100 50", c2 = "2.2 1 0 200 100", free = "free";
        auto row = [](const char* tag, const char* crops, const char* keys, const char* typed,
                      const char* leave, QStringList after, const char* pc = "") {
            QTest::newRow(tag) << QStringList{crops, keys, typed, leave, pc} << after;
        };
        const char* add = "kkrr";  // new crop, W
        const char* ok_new = "rrrk"; // H Cancel OK, OK
        row("add takes the input size", "3.1", add, "", ok_new, {"3.1 0 0 100 50", "2.1 0 0 1920 1080", free});
        row("add takes the lowest free number", "x 2.2", add, "", ok_new, {"2.1 0 0 1920 1080", c2, free});
        row("32768 stores 0", "", add, "32768K", ok_new, {"2.1 0 0 0 1080", free, free});
        row("edit stores its own record", "2.1 2.2 3.1", "krrrkrr", "X5K", "rrrrk",
            {c1, "2.2 1 0 205 100", "3.1 2 0 100 50"});
        row("Cancel stores nothing", "2.1 2.2", "krrrkrr", "777K", "rrrk", {c1, c2, free});
        row("full table adds nothing", "full", add, "", ok_new, {"0.1 0 0 100 50", "3.1 1 0 100 50", "0.2 2 0 200 100"});
        // Twice crop 1: counted twice, found once; the extra entry's editor acts on nothing.
        row("entry without a record: OK", "2.1 2.1", "klkrr", "5K", "rrrrk", {c1, "2.1 1 0 100 50", free});
        const char* three = "2.1 2.2 2.3";
        row("PC adds a crop: Delete", three, "krrrrkrr", "999K", "lllllk",
            {c1, c2, free, "2.4 0 0 0 0"}, "add");
        row("PC deletes the edited crop: OK", three, "krrrrkrr", "999K", "lllk",
            {c1, c2, free, free}, "drop");
    }
    void editor_stores() {
        QFETCH(QStringList, in);
        QFETCH(QStringList, after);
        QString crops = in[0];
        if (crops == "full") {
            crops.clear();
            for (int i = 0; i < CROP_COUNT; ++i)
                crops += QString("%1.%2 ").arg(i % 2 ? 3 : 0).arg(i / 2 + 1);
        }
        set_crops(crops);
        run_page([&] {
            press(in[1]);
            if (!in[2].isEmpty())
                keypad_on_field(in[2]);
            if (!in[4].isEmpty())
                outside_change([add = in[4] == "add"](RynRamPara& p) {
                    p.RamParaBlock[size_t(blk::crop(add ? 3 : 2))] = 2;
                    p.RamParaBlock[size_t(blk::crop(add ? 3 : 2) + blk::CROP_ID)] = add ? 0x83 : 0;
                });
            const QStringList before = records(CROP_COUNT);
            QCOMPARE(apply_flag(), 0);
            press(in[3]);
            QCOMPARE(int(page()->ui_level), int(InputCut::LEVEL_CROPS));
            QCOMPARE(records(after.size()), after);
            QCOMPARE(apply_flag(), records(CROP_COUNT) == before ? 0 : 1);
        });
    }

    // The tiles: the whole input first, then the crops by number, not by
    // table order. A crop changed by the PC is redrawn in place.
    void tiles_follow_numbers_and_refresh() {
        set_crops("2.3 3.1 2.1 x 2.2");
        para()->publish_input_info(2, 1920, 1080, 60);
        para()->RamParaShadow = para()->RamParaBlock;
        run_page([] {
            press("k");
            QCOMPARE(tiles(), (QStringList{"HDMI1 1920x1080@60Hz", "HDMI1_crop1 100x50",
                                           "HDMI1_crop2 200x100", "HDMI1_crop3 300x150"}));
            outside_change([](RynRamPara& p) {
                blk::wr16(p.RamParaBlock.data(), blk::crop(2) + blk::CROP_W, 640);
            });
            QCOMPARE(tiles().at(1), QString("HDMI1_crop1 640x50"));
        });
    }
};

QTEST_MAIN(TstInputCut)
#include "tst_inputcut.moc"

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
// The first `count` records, each as "source.number x y w h", or "free".
QStringList records(int count) {
    QStringList out;
    for (int i = 0; i < count; ++i) {
        const uint8_t* r = para()->RamParaBlock.data() + blk::crop(i);
        QString rec = QString("%1.%2").arg(r[0]).arg((r[1] & 0x7F) + 1);
        for (int at : {blk::CROP_X, blk::CROP_Y, blk::CROP_W, blk::CROP_H})
            rec += ' ' + QString::number(blk::rd16(r, at));
        out << (r[blk::CROP_ID] & blk::CROP_USED ? rec : QString("free"));
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
    void initTestCase() { new MainWindow(nullptr); }
    void init() {
        testsupport::fresh_device();
        set_crops("");
    }
    void cleanup() { QVERIFY(testsupport::close_all_pages()); }

    // The source row wraps; the list pages by six entries (the whole input
    // first, then the crops) with the add button after the last.
    void navigation_data() {
        QTest::addColumn<QString>("crops");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<IntList>("expect"); // level, page, focus
        const QString six = "2.1 2.2 2.3 2.4 2.5 2.6";
        QTest::newRow("Left wraps HDMI1 to EXT") << "" << "l" << IntList{0, 0, 5};
        QTest::newRow("6 crops: Right from the sixth tile turns the page") << six << "krrrrrrr" << IntList{1, 1, 0};
        QTest::newRow("6 crops: Left from add to page 1") << six << "kl" << IntList{1, 1, 0};
    }
    void navigation() {
        QFETCH(QString, crops);
        QFETCH(QString, keys);
        set_crops(crops);
        run_page([&] {
            press(keys);
            QTEST((IntList{page()->ui_level, page()->current_pag, page()->focus()}), "expect");
        });
    }

    // OK stores the fields into the editor's own record only (what does not
    // fit 16 bits signed is 0); Cancel, a full table and an entry without a
    // record store nothing. A PC change of the same source's crops under an
    // open editor: it acts on the crop it opened, or on nothing when gone.
    void editor_stores_data() {
        // The crops, the keys up to the W field, the keypad's keys, the keys
        // to leave, and what the PC does before them ("add" or "drop").
        QTest::addColumn<QStringList>("in");
        QTest::addColumn<QStringList>("after"); // the first records
        const QString c1 = "2.1 0 0 100 50", c2 = "2.2 1 0 200 100", free = "free";
        auto row = [](const char* tag, const QString& crops, const char* keys, const char* typed,
                      const char* leave, QStringList after, const char* pc = "") {
            QTest::newRow(tag) << QStringList{crops, keys, typed, leave, pc} << after;
        };
        const char* add = "kkrr";  // new crop, W
        const char* ok_new = "rrrk"; // H Cancel OK, OK
        row("add: input size, lowest free number", "x 2.2", add, "", ok_new, {"2.1 0 0 1920 1080", c2, free});
        row("32768 stores 0", "", add, "32768K", ok_new, {"2.1 0 0 0 1080", free, free});
        row("edit stores its own record", "2.1 2.2 3.1", "krrrkrr", "X5K", "rrrrk",
            {c1, "2.2 1 0 205 100", "3.1 2 0 100 50"});
        row("Cancel stores nothing", "2.1 2.2", "krrrkrr", "777K", "rrrk", {c1, c2, free});
        QString full;
        for (int i = 0; i < CROP_COUNT; ++i)
            full += QString("%1.%2 ").arg(i % 2 ? 3 : 0).arg(i / 2 + 1);
        row("full table adds nothing", full, add, "", ok_new, {"0.1 0 0 100 50", "3.1 1 0 100 50", "0.2 2 0 200 100"});
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
        set_crops(in[0]);
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
};

QTEST_MAIN(TstInputCut)
#include "tst_inputcut.moc"

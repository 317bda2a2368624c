// The source selection page, driven by keys from the home screen.
#include "page_driver.h"

#include "ui/frame/fonts.h"
#include "ui/frame/lockwindow.h"
#include "ui/frame/mainwindow.h"
#include "ui/frame/ryn_keyboard.h"
#include "ui/frame/tip.h"
#include "ui/pages/inputchoose.h"

#include <QFrame>
#include <functional>

using IntList = QVector<int>;

namespace {
// A case: the windows' enable and source words, the crop table as set_crops
// takes it, the current window, the keys; then what is expected.
struct Case {
    IntList enables, sources;
    QString crops;
    int current;
    QString keys;
    IntList expect; // level, window, source, page, focus
    int window = 0, word = 0; // apply: the window edited and its new word
    IntList badge = {};
    QString tab = {};
};

RynRamPara* para() { return RynRamPara::pInstance(); }
InputChoose* page() { return g_inputchoose(); }
std::vector<int> notices;         // kinds of the notices shown, in order
std::array<uint8_t, 5> lights{};  // the keypad's last light report
int warnings = 0;                 // console warnings of the page

// Windows from their enable and source words; the crop table as set_crops
// takes it; then saved.
void setup(const IntList& enables, const IntList& sources, const QString& crops = QString()) {
    for (int w = 0; w < WINDOW_COUNT; ++w) {
        para()->set_u16(blk::window(w, blk::WIN_ENABLE), uint16_t(enables.value(w, 0)));
        para()->set_u16(blk::window(w, blk::WIN_SOURCE), uint16_t(sources.value(w, 2)));
    }
    set_crops(crops);
}

// The entry boxes of the page shown, left to right.
QList<QFrame*> entries() {
    QList<QFrame*> list =
        page()->findChild<QFrame*>("frame")->findChildren<QFrame*>("source_frame");
    std::sort(list.begin(), list.end(), [](QFrame* a, QFrame* b) { return a->x() < b->x(); });
    return list;
}
QString entry_text(int i, const char* label) {
    return entries().at(i)->findChild<QLabel*>(label)->text();
}
// The entries that carry the in-use badge.
IntList badges() {
    IntList out;
    for (int i = 0; i < entries().size(); ++i)
        if (entries().at(i)->findChild<QLabel*>("badge"))
            out << i;
    return out;
}
// The window's tab shows `tab`, cut at its width as a long crop name is.
void compare_tab(int window, const QString& tab) {
    QLabel* label = nullptr;
    for (QLabel* name : page()->findChildren<QLabel*>("tab_name"))
        if (static_cast<QLabel*>(name->parent())->text() == QString::number(window + 1))
            label = name;
    QVERIFY(label);
    QCOMPARE(label->text(), fitted_text(label, tab));
}
IntList state() {
    InputChoose* p = page();
    return {p->ui_seltype, p->select_window, p->select_source, p->current_page, p->focus()};
}
uint16_t source_of(int w) { return para()->window_u16(w, blk::WIN_SOURCE); }
// A label of the source list's position `listseq`: "name" or "pixmap".
QLabel* list_label(int listseq, const char* what) {
    return page()->findChild<QLabel*>(QString("sourcelistseq%1%2").arg(listseq).arg(what));
}
} // namespace
Q_DECLARE_METATYPE(Case)

class TstInputChoose : public QObject {
    Q_OBJECT
    // Opens the page from the home screen (OK, Right, OK) and runs `body`
    // inside its modal loop; whatever is left open is closed afterwards.
    void run_page(const std::function<void()>& body) {
        g_page_focus = PAGE_MAINWINDOW;
        g_mainwindow()->menulist_init();
        const auto open = [] {
            pages::open<LockWindow>(false);
            press("krk");
        };
        QVERIFY2(testsupport::run_nested({open}, PAGE_INPUTCHOOSE, body),
                 "OK on the main menu's second entry did not open the page");
    }

private slots:
    void initTestCase() {
        if (!g_mainwindow())
            new MainWindow(nullptr);
        testsupport::run_fast_ticks(this, [](int kind) { notices.push_back(kind); });
        // A keypad that records its lights instead of reaching the host.
        ryn_keys_light_writer = [](const std::array<uint8_t, 5>& report) { lights = report; };
    }
    void init() {
        testsupport::fresh_device();
        notices.clear();
        g_ryn_keys = 1;
        lights = ryn_keys_light_report();
        warnings = 0;
    }
    void cleanup() {
        g_ryn_keys = 0;
        qInstallMessageHandler(nullptr);
        QVERIFY(testsupport::close_all_pages());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void navigation_data() {
        QTest::addColumn<Case>("c");
        const IntList one{1}, three{1, 0, 1, 0, 0, 1}, two{1, 1}, s2{2}, s3{3}, s4{4};
        const IntList at6{2, 2, 2, 2, 2, 4};
        const QString five = "4.1 4.2 4.3 4.4 4.5", four = "4.1 4.2 4.3 4.4";
        const auto row = [](const char* tag, const Case& c) { QTest::newRow(tag) << c; };
        // Level 0: the tabs and the two buttons wrap both ways.
        row("one tab: EDID button Right to tab", {one, s2, "", 0, "rrr", {0, 0, 2, 0, 0}});
        row("tabs 1,3,6: crop button Left to last tab", {three, at6, "", 0, "lll", {0, 5, 4, 0, 2}});
        row("disabled current window: starts on 0", {three, {2, 2, 3}, "", 1, "", {0, 0, 2, 0, 0}});
        row("keypad B from the crop button", {two, {2, 3}, "", 0, "llB", {0, 1, 3, 0, 1}});
        // Enable word 3 passes the keypad but has no tab: not followed.
        row("keypad E for a window without tab", {{1, 0, 0, 0, 3}, s2, "", 0, "E", {0, 0, 2, 0, 0}});
        // Level 1: the six sources.
        row("Left wraps HDMI1 to EXT", {one, s2, "", 0, "kl", {1, 0, 0, 0, 5}});
        row("Right wraps EXT to HDMI1", {one, {0}, "", 0, "kr", {1, 0, 2, 0, 0}});
        row("keypad A is not followed in the list", {two, {2, 3}, "", 1, "kA", {1, 1, 3, 0, 1}});
        // Back lands on the tab the list was opened from, with the window's own
        // source (not the one browsed last) under the marker.
        row("Back returns to the window's tab", {{1, 0, 1}, {2, 0, 3}, "", 2, "kb", {0, 2, 3, 0, 1}});
        row("Back restores the window's source", {one, s3, "", 0, "krrb", {0, 0, 3, 0, 0}});
        // Level 2: entries in pages of three, wrapping; it starts on the window's own crop.
        row("Right past entry 2 turns the page", {one, s4, five, 0, "kkrrr", {2, 0, 4, 1, 0}});
        row("Left from the first wraps to the last", {one, s4, five, 0, "kkl", {2, 0, 4, 1, 2}});
        row("start on the second crop", {one, {0x8001}, four, 0, "kk", {2, 0, 4, 0, 2}});
    }

    void navigation() {
        QFETCH(Case, c);
        setup(c.enables, c.sources, c.crops);
        g_image_current = uint8_t(c.current);
        lights = ryn_keys_light_report();
        run_page([&] {
            press(c.keys);
            QCOMPARE(state(), c.expect);
            // A tab the page moved to makes its window the current one, and
            // the keypad lights show it.
            InputChoose* p = page();
            if (!c.keys.isEmpty() && QString("lrb").contains(c.keys.back()) && p->ui_seltype == 0 &&
                p->focus() < p->window_count) {
                QCOMPARE(int(g_image_current), int(p->select_window));
                QCOMPARE(int(lights[2]), 1 << p->select_window);
            }
        });
    }

    // OK on an entry applies it to the window of the highlighted tab; after
    // the scaler took it up the page stays where it was and marks it.
    void apply_data() {
        QTest::addColumn<Case>("c");
        const IntList on{1, 1, 0, 0, 3}; // window 4 (enable word 3) has no tab
        QTest::newRow("plain source")
            << Case{on, {2, 3}, "", 1, "klkk", {2, 1, 2, 0, 0}, 1, 2, {0}, "HDMI1"};
        QTest::newRow("crop after paging") << Case{on, {2, 2}, "4.1 4.2 4.3 4.4 4.5", 0,
                                                   "krrklk", {2, 0, 4, 1, 2}, 0, 0x8004, {2},
                                                   "HDMI3_Crop5"};
        // Window 4 is current but has no tab: never edited.
        QTest::newRow("current window without tab")
            << Case{on, {2, 2, 2, 2, 2}, "", 0, "Ekrrrkk", {2, 0, 5, 0, 0}, 0, 5, {0}, "HDMI4"};
    }
    void apply() {
        QFETCH(Case, c);
        setup(c.enables, c.sources, c.crops);
        g_image_current = uint8_t(c.current);
        run_page([&] {
            press(c.keys);
            for (int w = 0; w < WINDOW_COUNT; ++w)
                QCOMPARE(int(source_of(w)), w == c.window ? c.word : c.sources.value(w, 2));
            QCOMPARE(int(c331_manage::pInstance()->para_update_flag), 1);
            QCOMPARE(notices, std::vector<int>{TIP_DONE});
            c331_manage::pInstance()->apply_pass();
            QCOMPARE(state(), c.expect); // after the scaler took it up
            QCOMPARE(badges(), c.badge);
            compare_tab(c.window, c.tab);
        });
    }

    // A window switched on from outside rebuilds the tabs and starts over on
    // window 0 at level 0: an entry list left open would apply to window 0.
    // The inputs' timings are not in the saved copy: a signal lost or found
    // while the page is open redraws the entry and the list's icon. A file
    // transfer replaced crops and aliases; block and saved copy agree, so only
    // the end-of-transfer code makes the page read them again. Names are
    // shown as text, not markup.
    void outside_changes_under_the_page() {
        setup({1, 1}, {3, 4}, "3.1");
        para()->publish_input_info(3, 1920, 1080, 60);
        g_image_current = 1;
        run_page([] {
            press("krk");
            outside_change([](RynRamPara& p) { p.set_u16(blk::window(3, blk::WIN_ENABLE), 1); });
            QCOMPARE(state(), (IntList{0, 0, 3, 0, 0}));
            QCOMPARE(int(page()->window_count), 3);
            press("kk");
            const auto icon = [] {
                return list_label(1, "pixmap")->pixmap(Qt::ReturnByValue).toImage();
            };
            const QImage online = icon();
            para()->publish_input_info(3, 0, 0, 0);
            QCOMPARE(entry_text(0, "info"), QString("No signal"));
            QVERIFY(icon() != online);
            para()->publish_input_info(3, 1280, 720, 50);
            QCOMPARE(entry_text(0, "info"), QString("1280x720@50Hz"));
            QCOMPARE(icon(), online);
            para()->RamParaBlock[blk::crop(1)] = 3;
            para()->RamParaBlock[blk::crop(1) + blk::CROP_ID] = blk::CROP_USED | 1;
            para()->RamParaShadow = para()->RamParaBlock;
            write_device_file("/data/configs/alias.json",
                              R"({"source":{"namelist":[{"id":3,"valid":"on","name":"A<b"}]},
                        "crop":{"namelist":[{"id":1,"valid":"on","name":"Close-up"}]}})");
            para()->test_signal(SYNC_PARA);
            QVERIFY(list_label(1, "name")->text().contains(">2<"));
            para()->test_signal(SYNC_PC_FILE_END);
            const QString name = list_label(1, "name")->text();
            QVERIFY2(name.contains(">A&lt;b<") && name.contains(">3<"), qPrintable(name));
            QCOMPARE(entries().size(), 3);
            QCOMPARE(entry_text(2, "name"), QString("Close-up"));
            press("k"); // applies to window 0; window 1 keeps its source
            QCOMPARE(source_of(1), uint16_t(4));
        });
    }

    // The crop table shrinks under the entry list: OK on a crop removed
    // before the refresh is refused (neither written as EXT nor moved onto
    // another entry); the refresh clamps the focus, and a page past the
    // end shows no phantom entries.
    void crop_table_shrinks_under_the_list_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<int>("record");
        QTest::newRow("OK on a vanished middle entry") << "krkrr" << 1;
        QTest::newRow("OK on a vanished last entry") << "krkl" << 4;
        QTest::newRow("refresh with the focus past the end") << "krkrrr" << -1;
    }
    void crop_table_shrinks_under_the_list() {
        QFETCH(QString, keys);
        QFETCH(int, record);
        setup({1}, {3}, "4.1 4.2 4.3 4.4 4.5");
        run_page([&] {
            press(keys);
            if (record >= 0) {
                para()->RamParaBlock[size_t(blk::crop(record) + blk::CROP_ID)] = 0;
                press("k");
                QCOMPARE(source_of(0), uint16_t(3));
                QCOMPARE(int(c331_manage::pInstance()->para_update_flag), 0);
                QCOMPARE(notices, std::vector<int>{});
                return;
            }
            outside_change([](RynRamPara& p) {
                for (int i = 1; i < 5; ++i)
                    p.RamParaBlock[size_t(blk::crop(i) + blk::CROP_ID)] = 0;
            });
            QCOMPARE(state(), (IntList{2, 0, 4, 0, 0}));
            QCOMPARE(entries().size(), 2);
            page()->current_page = 1;
            page()->initSource();
            QCOMPARE(entries().size(), 0);
        });
    }

    // The in-use badge and the tab go by the crop number, not the table
    // order (40 is the highest number). A word naming nothing marks nothing
    // in any list, and the console says so once, not at every redraw.
    void source_word_marks_its_entry_data() {
        QTest::addColumn<int>("word");
        QTest::addColumn<QString>("crops");
        QTest::addColumn<QString>("tab");
        QTest::addColumn<IntList>("badge"); // in HDMI3's list
        QTest::newRow("table out of order") << 0x8000 << "4.2 4.1" << "HDMI3_Crop2" << IntList{2};
        QTest::newRow("crop number 40") << 0x8001 << "x 4.40" << "HDMI3_Crop40" << IntList{1};
        QTest::newRow("crop index 40") << 0x8028 << "4.1" << "" << IntList{};
        QTest::newRow("source id 9") << 9 << "" << "" << IntList{};
        QTest::newRow("crop number 99") << 0x8000 << "4.99" << "" << IntList{};
    }
    void source_word_marks_its_entry() {
        QFETCH(int, word);
        QFETCH(QString, crops);
        QFETCH(QString, tab);
        QFETCH(IntList, badge);
        setup({1}, {word}, crops);
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
            warnings += type == QtWarningMsg && text.startsWith("InputChoose:");
        });
        run_page([&] {
            if (!tab.isEmpty())
                compare_tab(0, tab);
            press("k");
            for (int s = 0; s < SOURCE_COUNT; ++s) {
                press("k");
                QCOMPARE(badges(), page()->select_source == 4 ? badge : IntList{});
                press("br");
            }
            press("bbrl"); // and redraw
        });
        qInstallMessageHandler(nullptr);
        QCOMPARE(warnings, badge.isEmpty() ? 1 : 0);
    }
};

QTEST_MAIN(TstInputChoose)
#include "tst_inputchoose.moc"

// The source selection page, driven by keys from the home screen.
#include "page_driver.h"
#include "testsupport.h"

#include "core/devicepath.h"
#include "core/global.h"
#include "core/para_write.h"
#include "core/ramblock.h"
#include "core/rynrampara.h"
#include "scaler/c331_manage.h"
#include "ui/frame/custommode.h"
#include "ui/frame/fonts.h"
#include "ui/frame/keys.h"
#include "ui/frame/lockwindow.h"
#include "ui/frame/mainwindow.h"
#include "ui/frame/ryn_keyboard.h"
#include "ui/frame/sourceinfo.h"
#include "ui/frame/tip.h"
#include "ui/pages/inputchoose.h"

#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QtTest>
#include <algorithm>
#include <functional>

using IntList = QVector<int>;

namespace {
RynRamPara* para() {
    return RynRamPara::pInstance();
}
InputChoose* page() {
    return g_inputchoose();
}
std::vector<int> notices; // kinds of the notices shown, in order
std::array<uint8_t, 5> lights{}; // the keypad's last light report
int warnings = 0;                // console warnings of the page
const char* const kOrange = "#FFAB54";

void count_warnings(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtWarningMsg && text.startsWith("InputChoose:"))
        ++warnings;
}

// Windows from their enable and source words; the crop table from "s.n" per
// record (source s, crop number n, w 100n x h 50n; "x" free); then saved.
void setup(const IntList& enables, const IntList& sources, const QString& crops = QString()) {
    uint8_t* b = para()->RamParaBlock.data();
    for (int w = 0; w < WINDOW_COUNT; ++w) {
        blk::wr16(b, blk::window(w, blk::WIN_ENABLE), uint16_t(enables.value(w, 0)));
        blk::wr16(b, blk::window(w, blk::WIN_SOURCE), uint16_t(sources.value(w, 2)));
    }
    std::fill(b + blk::CROP, b + blk::CROP + CROP_COUNT * blk::CROP_SIZE, 0);
    const QStringList recs = crops.split(' ', Qt::SkipEmptyParts);
    for (int i = 0; i < recs.size(); ++i) {
        if (recs[i] == "x")
            continue;
        const int s = recs[i].section('.', 0, 0).toInt(), n = recs[i].section('.', 1, 1).toInt();
        b[blk::crop(i)] = uint8_t(s);
        b[blk::crop(i) + blk::CROP_ID] = uint8_t(0x80 | (n - 1));
        blk::wr16(b, blk::crop(i) + blk::CROP_W, uint16_t(100 * n));
        blk::wr16(b, blk::crop(i) + blk::CROP_H, uint16_t(50 * n));
    }
    para()->RamParaShadow = para()->RamParaBlock;
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
IntList badges() {
    IntList out;
    const QList<QFrame*> list = entries();
    for (int i = 0; i < list.size(); ++i)
        if (list[i]->findChild<QLabel*>("badge"))
            out << i;
    return out;
}
QLabel* tab_label(int window) {
    for (QLabel* name : page()->findChildren<QLabel*>("tab_name"))
        if (static_cast<QLabel*>(name->parent())->text() == QString::number(window + 1))
            return name;
    return nullptr;
}
QString tab_text(int window) {
    QLabel* name = tab_label(window);
    return name ? name->text() : "(no tab)";
}
// A crop's name is longer than its tab: the tab shows it cut at its width.
void compare_tab(int window) {
    QFETCH(QString, tab);
    QCOMPARE(tab_text(window), fitted_text(tab_label(window), tab));
}
QString list_name(int listseq) {
    return page()->findChild<QLabel*>(QString("sourcelistseq%1name").arg(listseq))->text();
}
IntList state() {
    InputChoose* p = page();
    return {p->ui_seltype, p->select_window, p->select_source, p->current_page, p->focus()};
}
uint16_t source_of(int w) {
    return para()->window_u16(w, blk::WIN_SOURCE);
}
// The signal icon of list position `listseq` shows the input `online`.
bool icon_shows(int listseq, bool online) {
    QLabel expected;
    sourceinfo::set_sourceonline_pixmap(&expected, sourceinfo::get_source_id_by_listseq(listseq),
                                        online);
    const QLabel* icon =
        page()->findChild<QLabel*>(QString("sourcelistseq%1pixmap").arg(listseq));
    return icon->pixmap(Qt::ReturnByValue).toImage() ==
           expected.pixmap(Qt::ReturnByValue).toImage();
}
} // namespace

class TstInputChoose : public QObject {
    Q_OBJECT
    // Opens the page from the home screen (OK, Right, OK) and runs `body`
    // inside its modal loop; whatever is left open is closed afterwards.
    void run_page(const std::function<void()>& body) {
        g_page_focus = PAGE_MAINWINDOW;
        g_mainwindow()->menulist_init();
        pages::open<LockWindow>(false);
        press("kr");
        bool ran = false;
        testsupport::post([&] {
            ran = g_page_focus == PAGE_INPUTCHOOSE && page() != nullptr;
            if (ran)
                body();
            testsupport::close_all_pages();
        });
        press("k");
        QVERIFY2(ran, "OK on the main menu's second entry did not open the page");
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
        QTest::addColumn<IntList>("enables");
        QTest::addColumn<IntList>("sources");
        QTest::addColumn<QString>("crops");
        QTest::addColumn<int>("current");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<IntList>("expect"); // level, window, source, page, focus

        const IntList one{1}, three{1, 0, 1, 0, 0, 1}, two{1, 1}, s2{2}, s3{3}, s4{4};
        const IntList at6{2, 2, 2, 2, 2, 4};
        const QString five = "4.1 4.2 4.3 4.4 4.5", four = "4.1 4.2 4.3 4.4";
        auto row = [](const char* tag, IntList e, IntList s, QString c, int cur, QString k,
                      IntList x) {
            QTest::newRow(tag) << e << s << c << cur << k << x;
        };
        // Level 0: the tabs and the two buttons, both ways.
        row("one tab: Right Right to EDID button", one, s2, "", 0, "rr", {0, 0, 2, 0, 7});
        row("one tab: EDID button Right to tab", one, s2, "", 0, "rrr", {0, 0, 2, 0, 0});
        row("one tab: crop button Left to tab", one, s2, "", 0, "lll", {0, 0, 2, 0, 0});
        row("tabs 1,3,6: Right walks the tabs", three, at6, "", 0, "rr", {0, 5, 4, 0, 2});
        row("tabs 1,3,6: crop button Left to last tab", three, at6, "", 0, "lll", {0, 5, 4, 0, 2});
        row("window 0 off: still a tab", {0, 1}, {2, 3}, "", 0, "r", {0, 1, 3, 0, 1});
        row("disabled current window: starts on 0", three, {2, 2, 3}, "", 1, "", {0, 0, 2, 0, 0});
        row("keypad B selects window 1", two, {2, 3}, "", 0, "B", {0, 1, 3, 0, 1});
        // The refresh moves the focus off the button: no button stays orange.
        row("keypad B from the crop button", two, {2, 3}, "", 0, "llB", {0, 1, 3, 0, 1});
        row("keypad C for an off window: nothing", two, {2, 3}, "", 0, "C", {0, 0, 2, 0, 0});
        // Enable word 3 passes the keypad but has no tab: not followed.
        row("keypad E for a window without tab", {1, 0, 0, 0, 3}, s2, "", 0, "E", {0, 0, 2, 0, 0});
        // Level 1: the six sources.
        row("Left wraps HDMI1 to EXT", one, s2, "", 0, "kl", {1, 0, 0, 0, 5});
        row("Right wraps EXT to HDMI1", one, {0}, "", 0, "kr", {1, 0, 2, 0, 0});
        row("keypad R moves like Right", one, s2, "", 0, "kR", {1, 0, 3, 0, 1});
        row("keypad A is not followed in the list", two, {2, 3}, "", 1, "kA", {1, 1, 3, 0, 1});
        // Back lands on the tab the list was opened from, with the window's own
        // source (not the one browsed last) under the marker.
        row("Back returns to the window's tab", {1, 0, 1}, {2, 0, 3}, "", 2, "kb", {0, 2, 3, 0, 1});
        row("Back restores the window's source", one, s3, "", 0, "krrb", {0, 0, 3, 0, 0});
        row("Back from the crop button's tab", two, {2, 3}, "", 0, "llBkb", {0, 1, 3, 0, 1});
        // Level 2: entries in pages of three.
        row("Right past entry 2 turns the page", one, s4, five, 0, "kkrrr", {2, 0, 4, 1, 0});
        row("Left from the first wraps to the last", one, s4, five, 0, "kkl", {2, 0, 4, 1, 2});
        row("Right past the last wraps to the first", one, s4, five, 0, "kklr", {2, 0, 4, 0, 0});
        // Level 2 starts on the window's own crop when it is on page 0.
        row("start on the second crop", one, {0x8001}, four, 0, "kk", {2, 0, 4, 0, 2});
        row("other source: start on entry 0", one, {0x8001}, "4.1 4.2", 0, "krk", {2, 0, 5, 0, 0});
        row("start by crop number, table out of order", one, {0x8000}, "4.2 4.1", 0, "kk",
            {2, 0, 4, 0, 2});
    }

    void navigation() {
        QFETCH(IntList, enables);
        QFETCH(IntList, sources);
        QFETCH(QString, crops);
        QFETCH(int, current);
        QFETCH(QString, keys);
        QFETCH(IntList, expect);
        setup(enables, sources, crops);
        g_image_current = uint8_t(current);
        lights = ryn_keys_light_report();
        run_page([&] {
            press(keys);
            QCOMPARE(state(), expect);
            InputChoose* p = page();
            if (p->ui_seltype == 0) {
                for (const char* name : {"button_inputcut", "button_EDID"}) {
                    const bool focused = p->focus() == (name[7] == 'i' ? InputChoose::POS_CROP_BUTTON
                                                                       : InputChoose::POS_EDID_BUTTON);
                    const QString style = look_of(p->findChild<QPushButton*>(name));
                    QVERIFY2(style.contains("255,171,84") == focused, qPrintable(style));
                }
            }
            // A tab the page moved to makes its window the current one, and
            // the keypad lights show it.
            if (!keys.isEmpty() && QString("lrb").contains(keys.back()) && p->ui_seltype == 0 &&
                p->focus() < p->window_count) {
                QCOMPARE(int(g_image_current), int(p->select_window));
                QCOMPARE(int(lights[2]), 1 << p->select_window);
            }
            if (p->ui_seltype == 2)
                QVERIFY(look_of(entries().at(p->focus())).contains(kOrange));
        });
    }

    void apply_data() {
        QTest::addColumn<IntList>("sources");
        QTest::addColumn<QString>("crops");
        QTest::addColumn<int>("current");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<int>("window");
        QTest::addColumn<int>("word");
        QTest::addColumn<IntList>("after"); // state after the scaler took it up
        QTest::addColumn<IntList>("badge");
        QTest::addColumn<QString>("tab");
        // Window 1, HDMI2 -> HDMI1, entries, apply.
        QTest::newRow("plain source") << IntList{2, 3} << "" << 1 << "klkk" << 1 << 2
                                      << IntList{2, 1, 2, 0, 0} << IntList{0} << "HDMI1";
        // HDMI3, Left wraps to the last entry, apply.
        QTest::newRow("crop after paging") << IntList{2, 2} << "4.1 4.2 4.3 4.4 4.5" << 0 << "krrklk"
                                           << 0 << 0x8004 << IntList{2, 0, 4, 1, 2} << IntList{2}
                                           << "HDMI3_Crop5";
        // Window 4 is current but has no tab (enable word 3): the window of
        // the highlighted tab is edited, never the hidden one.
        QTest::newRow("current window without tab") << IntList{2, 2, 2, 2, 2} << "" << 0 << "Ekrrrkk"
                                                    << 0 << 5 << IntList{2, 0, 5, 0, 0} << IntList{0}
                                                    << "HDMI4";
    }

    void apply() {
        QFETCH(IntList, sources);
        QFETCH(int, current);
        QFETCH(int, window);
        QFETCH(int, word);
        QFETCH(QString, crops);
        QFETCH(QString, keys);
        setup({1, 1, 0, 0, 3}, sources, crops);
        g_image_current = uint8_t(current);
        run_page([&] {
            press(keys);
            for (int w = 0; w < WINDOW_COUNT; ++w)
                QCOMPARE(int(source_of(w)), w == window ? word : sources.value(w, 2));
            QCOMPARE(int(c331_manage::pInstance()->para_update_flag), 1);
            QCOMPARE(notices, std::vector<int>{TIP_DONE});
            // The scaler takes it up; the refresh keeps the page where it was.
            c331_manage::pInstance()->apply_pass();
            QTEST(state(), "after");
            QTEST(badges(), "badge");
            compare_tab(window);
        });
    }
    void window_change_restarts_on_window_0_data() {
        QTest::addColumn<QString>("keys");
        QTest::newRow("level 1") << "kr";
        QTest::newRow("level 2") << "krk";
    }

    // A window switched on from outside rebuilds the tabs and starts over on
    // window 0 at level 0: an entry list left open would apply to window 0.
    void window_change_restarts_on_window_0() {
        QFETCH(QString, keys);
        setup({1, 1}, {2, 4});
        g_image_current = 1;
        run_page([&] {
            press(keys);
            outside_change([](RynRamPara& p) { p.set_u16(blk::window(3, blk::WIN_ENABLE), 1); });
            QCOMPARE(state(), (IntList{0, 0, 2, 0, 0}));
            QCOMPARE(int(page()->window_count), 3);
            QCOMPARE(tab_text(3), QString("HDMI1"));
            press("kb"); // OK then Back lands on window 0's tab
            QCOMPARE(int(page()->focus()), 0);
            QCOMPARE(source_of(0), uint16_t(2));
            QCOMPARE(source_of(1), uint16_t(4));
        });
    }

    void code_103_rereads_crops_and_aliases() {
        setup({1}, {3}, "3.1");
        run_page([] {
            QVERIFY(list_name(1).contains(">2<"));
            press("kk");
            // A file transfer replaced the crop table and the aliases; block and
            // saved copy agree, so only the code says so.
            uint8_t* b = para()->RamParaBlock.data();
            b[blk::crop(1)] = 3;
            b[blk::crop(1) + blk::CROP_ID] = 0x81;
            para()->RamParaShadow = para()->RamParaBlock;
            QDir().mkpath(device_path("/data/configs"));
            QFile f(device_path("/data/configs/alias.json"));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(R"({"source":{"namelist":[{"id":3,"valid":"on","name":"A<b"}]},
                        "crop":{"namelist":[{"id":1,"valid":"on","name":"Close-up"}]}})");
            f.close();
            para()->test_signal(SYNC_PARA);
            QVERIFY(list_name(1).contains(">2<")); // nothing changed in the block
            para()->test_signal(SYNC_PC_FILE_END);
            QVERIFY2(list_name(1).contains(">A&lt;b<") && list_name(1).contains(">3<"),
                     qPrintable(list_name(1)));
            QCOMPARE(entries().size(), 3);
            QCOMPARE(entry_text(2, "name"), QString("Close-up"));
        });
    }

    // A crop removed before the refresh is refused on OK, neither written
    // as EXT nor moved onto another entry.
    void ok_on_vanished_crop_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<int>("record");
        QTest::newRow("middle entry") << "krkrr" << 1;
        QTest::newRow("last entry") << "krkl" << 4;
    }
    void ok_on_vanished_crop() {
        QFETCH(QString, keys);
        QFETCH(int, record);
        setup({1}, {3}, "4.1 4.2 4.3 4.4 4.5");
        run_page([&] {
            press(keys);
            para()->RamParaBlock[size_t(blk::crop(record) + blk::CROP_ID)] = 0;
            press("k");
            QCOMPARE(source_of(0), uint16_t(3));
            QCOMPARE(int(c331_manage::pInstance()->para_update_flag), 0);
            QCOMPARE(notices, std::vector<int>{});
        });
    }

    // A shrinking table clamps the focus.
    void crop_table_shrinks_under_entry_list() {
        setup({1}, {3}, "4.1 4.2 4.3 4.4 4.5");
        run_page([] {
            press("krkrrr"); // page 1, soon past the end
            para()->RamParaBlock[size_t(blk::crop(1) + blk::CROP_ID)] = 0;
            outside_change([](RynRamPara& p) {
                for (int i = 2; i < 5; ++i)
                    p.RamParaBlock[size_t(blk::crop(i) + blk::CROP_ID)] = 0;
            });
            QCOMPARE(state(), (IntList{2, 0, 4, 0, 0}));
            QCOMPARE(entries().size(), 2);
            QVERIFY(look_of(entries().at(0)).contains(kOrange));
            // Entry counts are signed: a page past the end shows no phantoms.
            page()->current_page = 1;
            page()->initSource();
            QCOMPARE(entries().size(), 0);
        });
    }

    // Badge and tab go by the crop number, not the table order; 40 is the
    // highest number there is.
    void crop_found_by_number_data() {
        QTest::addColumn<int>("word");
        QTest::addColumn<QString>("crops");
        QTest::addColumn<QString>("tab");
        QTest::addColumn<IntList>("badge");
        QTest::addColumn<QString>("name");  // of entry 1
        QTest::newRow("table out of order") << 0x8000 << "4.2 4.1" << "HDMI3_Crop2" << IntList{2}
                                            << "HDMI3_crop1";
        QTest::newRow("crop number 40") << 0x8001 << "x 4.40" << "HDMI3_Crop40" << IntList{1}
                                        << "HDMI3_crop40";
    }
    void crop_found_by_number() {
        QFETCH(int, word);
        QFETCH(QString, crops);
        setup({1}, {word}, crops);
        run_page([] {
            compare_tab(0);
            press("kk");
            QTEST(badges(), "badge");
            QTEST(entry_text(1, "name"), "name");
        });
    }

    void out_of_range_source_words_data() {
        QTest::addColumn<int>("word");
        QTest::addColumn<QString>("crops");
        QTest::newRow("crop index 40") << 0x8028 << "4.1";
        QTest::newRow("source id 9") << 9 << "";
        QTest::newRow("crop number 99") << 0x8000 << "4.99";
    }

    // Nothing is marked in use, and the console says so once, not at every
    // redraw.
    void out_of_range_source_words() {
        QFETCH(int, word);
        QFETCH(QString, crops);
        setup({1}, {word}, crops);
        qInstallMessageHandler(count_warnings);
        run_page([] {
            press("k"); // the list opens on the first source, nothing marked
            QCOMPARE(int(page()->select_source), 2);
            for (int s = 0; s < SOURCE_COUNT; ++s) {
                press("k");
                QCOMPARE(badges(), IntList{});
                press("br");
            }
            press("bbrl");
        });
        qInstallMessageHandler(nullptr);
        QCOMPARE(warnings, 1);
    }

    // The inputs' timings are not in the saved copy: a signal lost or found
    // while the page is open redraws the entry and the list's icon.
    void input_signal_change_data() {
        QTest::addColumn<bool>("before");
        QTest::addColumn<QString>("info");
        QTest::newRow("signal lost") << true << "No signal";
        QTest::newRow("signal found") << false << "1920x1080@60Hz";
    }
    void input_signal_change() {
        QFETCH(bool, before);
        setup({1}, {2});
        para()->publish_input_info(2, before ? 1920 : 0, before ? 1080 : 0, before ? 60 : 0);
        run_page([&] {
            press("kk");
            QVERIFY(icon_shows(0, before));
            para()->publish_input_info(2, before ? 0 : 1920, before ? 0 : 1080, before ? 0 : 60);
            QTEST(entry_text(0, "info"), "info");
            QVERIFY(icon_shows(0, !before));
        });
    }

    // The page's own key handling leaves MODE to the frame at every level.
    void mode_at_level_2() {
        setup({1}, {2});
        run_page([] {
            press("kkm");
            QCOMPARE(int(g_page_focus), int(PAGE_CUSTOMMODE));
            QVERIFY(!page());
            QVERIFY(g_custommode());
        });
    }
};

QTEST_MAIN(TstInputChoose)
#include "tst_inputchoose.moc"

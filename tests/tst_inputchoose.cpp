// The source selection page, driven by keys from the home screen.
#include "testsupport.h"

#include "core/devicepath.h"
#include "core/global.h"
#include "core/para_write.h"
#include "core/ramblock.h"
#include "core/rynrampara.h"
#include "scaler/c331_manage.h"
#include "ui/frame/custommode.h"
#include "ui/frame/keys.h"
#include "ui/frame/lockwindow.h"
#include "ui/frame/mainwindow.h"
#include "ui/frame/tip.h"
#include "ui/pages/inputchoose.h"
#include "ui/pages/inputcut.h"

#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QtTest>
#include <algorithm>
#include <functional>

using testsupport::key;
using IntList = QVector<int>;

namespace {
RynRamPara* para() {
    return RynRamPara::pInstance();
}
InputChoose* page() {
    return g_inputchoose();
}
std::vector<int> notices; // kinds of the notices shown, in order

// Windows 0..5 from their enable words and source words, the crop table from
// "s.n" per record (source s, crop number n, w 100n x h 50n; "x" free), then
// saved, so that a refresh sees only what a test changes later.
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

void set_input(int s, int w, int h, int rate) {
    uint8_t* b = para()->RamParaBlock.data();
    blk::wr16(b, blk::input_info(s), uint16_t(w));
    blk::wr16(b, blk::input_info(s) + 2, uint16_t(h));
    blk::wr16(b, blk::input_info(s) + 4, uint16_t(rate));
}

// "l" Left, "r" Right, "k" OK, "b" Back, "m" MODE; capitals are keypad letters.
void press(const QString& keys) {
    for (QChar c : keys) {
        switch (c.toLatin1()) {
        case 'l':
            key(PANEL_KEY_LEFT);
            break;
        case 'r':
            key(PANEL_KEY_RIGHT);
            break;
        case 'k':
            key(PANEL_KEY_OK);
            break;
        case 'b':
            key(PANEL_KEY_BACK);
            break;
        case 'm':
            key(PANEL_KEY_MODE);
            break;
        default:
            key(c.toLatin1());
            break;
        }
    }
}

// A change from outside (the PC), taken up by the scaler: the page refreshes.
template <class F> void outside_change(F&& f) {
    para_write(f);
    c331_manage::pInstance()->apply_pass();
}

void write_aliases(const QByteArray& json) {
    QDir().mkpath(device_path("/data/configs"));
    QFile f(device_path("/data/configs/alias.json"));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(json);
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
// The entry positions on the page that carry the in-use badge.
IntList badges() {
    IntList out;
    const QList<QFrame*> list = entries();
    for (int i = 0; i < list.size(); ++i)
        if (list[i]->findChild<QLabel*>("badge"))
            out << i;
    return out;
}
QString tab_text(int window) {
    for (QLabel* name : page()->findChildren<QLabel*>("tab_name"))
        if (static_cast<QLabel*>(name->parent())->text() == QString::number(window + 1))
            return name->text();
    return "(no tab)";
}
QString list_name(int listseq) {
    return page()->findChild<QLabel*>(QString("sourcelistseq%1name").arg(listseq))->text();
}
} // namespace

class TstInputChoose : public QObject {
    Q_OBJECT
    // Opens the page from the home screen (OK, Right, OK) and runs `body`
    // inside its modal loop. Whatever is left open afterwards is closed, so
    // that a failed check cannot leave the loop running.
    void run_page(const std::function<void()>& body) {
        g_page_focus = PAGE_MAINWINDOW;
        g_mainwindow()->menulist_init();
        pages::open<LockWindow>(PAGE_LOCKWINDOW, false);
        key(PANEL_KEY_OK);
        QCOMPARE(int(g_page_focus), int(PAGE_MAINWINDOW));
        key(PANEL_KEY_RIGHT);
        bool ran = false;
        testsupport::post([&] {
            ran = g_page_focus == PAGE_INPUTCHOOSE && page() != nullptr;
            if (ran)
                body();
            testsupport::close_all_pages();
        });
        key(PANEL_KEY_OK);
        QVERIFY2(ran, "OK on the main menu's second entry did not open the page");
    }

private slots:
    void initTestCase() {
        if (!g_mainwindow())
            new MainWindow(nullptr);
        // The 10 ms tick, as fast as the loop turns: ends every notice.
        auto* tick = new QTimer(this);
        connect(tick, &QTimer::timeout, [] {
            if (g_tip_flag && g_tip) {
                if (g_tip->tick_count() == 0)
                    notices.push_back(g_tip->shown_kind());
                g_tip->tip_outtime_deal();
            }
        });
        tick->start(0);
    }
    void init() {
        testsupport::fresh_device();
        notices.clear();
    }
    void cleanup() {
        QVERIFY(testsupport::close_all_pages());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void navigation_data();
    void navigation();
    void tabs_only_for_enabled_windows();
    void apply_plain_source();
    void apply_crop_after_paging();
    void first_entry_shows_signal_data();
    void first_entry_shows_signal();
    void window_change_restarts_on_window_0_data();
    void window_change_restarts_on_window_0();
    void code_103_rereads_crops_and_aliases();
    void crop_table_shrinks_under_entry_list();
    void vanished_crop_is_not_applied();
    void crop_found_by_number_not_table_order();
    void out_of_range_source_words_data();
    void out_of_range_source_words();
    void refresh_to_new_tab_restyles_buttons();
    void page_past_the_end_shows_no_entries();
    void mode_at_level_2_and_under_lock();
    void crop_page_return_and_mode_on_it();
    void texts_follow_language_rule();
};

void TstInputChoose::navigation_data() {
    QTest::addColumn<IntList>("enables");
    QTest::addColumn<IntList>("sources");
    QTest::addColumn<QString>("crops");
    QTest::addColumn<int>("current");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<IntList>("expect"); // level, window, source, listseq, page, focus

    const IntList one{1}, three{1, 0, 1, 0, 0, 1}, two{1, 1};
    const QString five = "4.1 4.2 4.3 4.4 4.5";
    // Level 0: the tabs and the two buttons.
    QTest::newRow("one tab: Right to crop button")
        << one << IntList{2} << "" << 0 << "r" << IntList{0, 0, 2, 0, 0, 6};
    QTest::newRow("one tab: Right Right to EDID button")
        << one << IntList{2} << "" << 0 << "rr" << IntList{0, 0, 2, 0, 0, 7};
    QTest::newRow("one tab: EDID button Right to tab")
        << one << IntList{2} << "" << 0 << "rrr" << IntList{0, 0, 2, 0, 0, 0};
    QTest::newRow("one tab: Left to EDID button")
        << one << IntList{2} << "" << 0 << "l" << IntList{0, 0, 2, 0, 0, 7};
    QTest::newRow("one tab: crop button Left to tab")
        << one << IntList{2} << "" << 0 << "lll" << IntList{0, 0, 2, 0, 0, 0};
    QTest::newRow("tabs 1,3,6: Right walks the tabs")
        << three << IntList{2, 2, 2, 2, 2, 4} << "" << 0 << "rr" << IntList{0, 5, 4, 2, 0, 2};
    QTest::newRow("tabs 1,3,6: crop button Left to last tab")
        << three << IntList{2, 2, 2, 2, 2, 4} << "" << 0 << "lll" << IntList{0, 5, 4, 2, 0, 2};
    QTest::newRow("starts on the current window")
        << three << IntList{2, 2, 2, 2, 2, 4} << "" << 5 << "" << IntList{0, 5, 4, 2, 0, 2};
    QTest::newRow("disabled current window: starts on 0")
        << three << IntList{2, 2, 3} << "" << 1 << "" << IntList{0, 0, 2, 0, 0, 0};
    QTest::newRow("enable word 3 is not on")
        << IntList{1, 3} << IntList{2} << "" << 0 << "r" << IntList{0, 0, 2, 0, 0, 6};
    QTest::newRow("keypad B selects window 1")
        << two << IntList{2, 3} << "" << 0 << "B" << IntList{0, 1, 3, 1, 0, 1};
    QTest::newRow("keypad C for an off window: nothing")
        << two << IntList{2, 3} << "" << 0 << "C" << IntList{0, 0, 2, 0, 0, 0};
    // Level 1: the six sources.
    QTest::newRow("OK lists the window's source")
        << one << IntList{5} << "" << 0 << "k" << IntList{1, 0, 5, 3, 0, 3};
    QTest::newRow("Left wraps HDMI1 to EXT")
        << one << IntList{2} << "" << 0 << "kl" << IntList{1, 0, 0, 5, 0, 5};
    QTest::newRow("Right wraps EXT to HDMI1")
        << one << IntList{0} << "" << 0 << "kr" << IntList{1, 0, 2, 0, 0, 0};
    QTest::newRow("keypad R moves like Right")
        << one << IntList{2} << "" << 0 << "kR" << IntList{1, 0, 3, 1, 0, 1};
    QTest::newRow("keypad A is not followed in the list")
        << two << IntList{2, 3} << "" << 1 << "kA" << IntList{1, 1, 3, 1, 0, 1};
    // Back must land on the tab the list was opened from, with the window's
    // own source (not the one browsed last) under the marker.
    QTest::newRow("Back returns to the window's tab")
        << IntList{1, 0, 1} << IntList{2, 0, 3} << "" << 2 << "kb" << IntList{0, 2, 3, 1, 0, 1};
    QTest::newRow("Back restores the window's source")
        << one << IntList{3} << "" << 0 << "krrb" << IntList{0, 0, 3, 1, 0, 0};
    QTest::newRow("keypad O acts as Back")
        << one << IntList{3} << "" << 0 << "krO" << IntList{0, 0, 3, 1, 0, 0};
    // Level 2: entries in pages of three.
    QTest::newRow("no crops: Right stays")
        << one << IntList{2} << "" << 0 << "kkr" << IntList{2, 0, 2, 0, 0, 0};
    QTest::newRow("no crops: Left stays")
        << one << IntList{2} << "" << 0 << "kkl" << IntList{2, 0, 2, 0, 0, 0};
    QTest::newRow("Right past entry 2 turns the page")
        << one << IntList{4} << five << 0 << "kkrrr" << IntList{2, 0, 4, 2, 1, 0};
    QTest::newRow("Left from the first wraps to the last")
        << one << IntList{4} << five << 0 << "kkl" << IntList{2, 0, 4, 2, 1, 2};
    QTest::newRow("Right past the last wraps to the first")
        << one << IntList{4} << five << 0 << "kklr" << IntList{2, 0, 4, 2, 0, 0};
    QTest::newRow("five entries: Left from first")
        << one << IntList{4} << "4.1 4.2 4.3 4.4" << 0 << "kkl" << IntList{2, 0, 4, 2, 1, 1};
    QTest::newRow("Back from entries to the source")
        << one << IntList{4} << five << 0 << "kkrb" << IntList{1, 0, 4, 2, 0, 2};
    // Level 2 starts on the window's own crop when it is on page 0.
    QTest::newRow("start on the second crop")
        << one << IntList{0x8001} << "4.1 4.2 4.3 4.4" << 0 << "kk" << IntList{2, 0, 4, 2, 0, 2};
    QTest::newRow("fourth crop: start on entry 0")
        << one << IntList{0x8003} << "4.1 4.2 4.3 4.4" << 0 << "kk" << IntList{2, 0, 4, 2, 0, 0};
    QTest::newRow("other source: start on entry 0")
        << one << IntList{0x8001} << "4.1 4.2" << 0 << "krk" << IntList{2, 0, 5, 3, 0, 0};
    QTest::newRow("start by crop number, table out of order")
        << one << IntList{0x8000} << "4.2 4.1" << 0 << "kk" << IntList{2, 0, 4, 2, 0, 2};
}

void TstInputChoose::navigation() {
    QFETCH(IntList, enables);
    QFETCH(IntList, sources);
    QFETCH(QString, crops);
    QFETCH(int, current);
    QFETCH(QString, keys);
    QFETCH(IntList, expect);
    setup(enables, sources, crops);
    g_image_current = uint8_t(current);
    run_page([&] {
        press(keys);
        InputChoose* p = page();
        const IntList got{p->ui_seltype,     p->select_window, p->select_source,
                          p->select_listseq, p->current_page,  p->focus()};
        QCOMPARE(got, expect);
        if (!keys.isEmpty() && p->ui_seltype == 0 && p->focus() < p->window_count)
            QCOMPARE(int(g_image_current), int(p->select_window));
        // The focused entry is the one drawn in orange.
        if (p->ui_seltype == 2)
            QVERIFY(entries().at(p->focus())->styleSheet().contains("#FFAB54"));
    });
}

void TstInputChoose::tabs_only_for_enabled_windows() {
    setup({0, 1, 0, 1, 0, 1}, {2, 3, 2, 4, 2, 0x8000}, "5.3");
    run_page([] {
        QCOMPARE(int(page()->window_count), 4);
        const std::vector<uint8_t> tabs(page()->window_of_tab.begin(),
                                        page()->window_of_tab.begin() + 4);
        QCOMPARE(tabs, (std::vector<uint8_t>{0, 1, 3, 5}));
        QCOMPARE(tab_text(0), QString("HDMI1")); // window 0 always has a tab
        QCOMPARE(tab_text(2), QString("(no tab)"));
        QCOMPARE(tab_text(3), QString("HDMI3"));
        QCOMPARE(tab_text(5), QString("HDMI4_Crop3"));
    });
}

void TstInputChoose::apply_plain_source() {
    setup({1, 1}, {2, 3});
    g_image_current = 1;
    run_page([] {
        press("klk"); // window 1, HDMI2 -> HDMI1, entries
        QCOMPARE(badges(), IntList{});
        press("k");
        QCOMPARE(para()->window_u16(1, blk::WIN_SOURCE), uint16_t(2));
        QCOMPARE(para()->window_u16(0, blk::WIN_SOURCE), uint16_t(2));
        QCOMPARE(int(c331_manage::pInstance()->para_update_flag), 1);
        QCOMPARE(notices, std::vector<int>{TIP_DONE});
        QCOMPARE(badges(), IntList{0});
        QCOMPARE(tab_text(1), QString("HDMI1"));
        // The scaler takes it up; the refresh keeps the page where it was.
        c331_manage::pInstance()->apply_pass();
        const IntList got{page()->ui_seltype, page()->select_window, page()->select_source,
                          page()->current_page, page()->focus()};
        QCOMPARE(got, (IntList{2, 1, 2, 0, 0}));
        QCOMPARE(badges(), IntList{0});
        QCOMPARE(para()->shadow_u16(blk::window(1, blk::WIN_SOURCE)), uint16_t(2));
    });
}

void TstInputChoose::apply_crop_after_paging() {
    setup({1}, {2}, "4.1 4.2 4.3 4.4 4.5");
    run_page([] {
        press("krrklk"); // HDMI3, Left wraps to the last entry, apply
        QCOMPARE(para()->window_u16(0, blk::WIN_SOURCE), uint16_t(0x8004));
        c331_manage::pInstance()->apply_pass();
        QCOMPARE(int(page()->current_page), 1);
        QCOMPARE(badges(), IntList{2});
        QCOMPARE(entry_text(2, "name"), QString("HDMI3_crop5"));
        QCOMPARE(entry_text(2, "info"), QString("500x250"));
        QCOMPARE(tab_text(0), QString("HDMI3_Crop5"));
        QVERIFY2(list_name(2).contains(">6<"), qPrintable(list_name(2)));
    });
}

void TstInputChoose::first_entry_shows_signal_data() {
    QTest::addColumn<IntList>("input");
    QTest::addColumn<QString>("text");
    QTest::newRow("1080p60") << IntList{1920, 1080, 60} << "1920x1080@60Hz";
    QTest::newRow("no rate") << IntList{1920, 1080, 0} << "No signal";
    QTest::newRow("no width") << IntList{0, 1080, 60} << "No signal";
}

void TstInputChoose::first_entry_shows_signal() {
    QFETCH(IntList, input);
    QFETCH(QString, text);
    setup({1}, {3});
    set_input(3, input[0], input[1], input[2]);
    run_page([&] {
        QCOMPARE(entry_text(0, "name"), QString("HDMI2"));
        QCOMPARE(entry_text(0, "info"), text);
    });
}

void TstInputChoose::window_change_restarts_on_window_0_data() {
    QTest::addColumn<QString>("keys");
    QTest::newRow("level 0 on window 1") << "";
    QTest::newRow("level 1") << "kr";
    QTest::newRow("level 2") << "krk";
}

// A window switched on or off from outside rebuilds the tabs and starts over
// on window 0 at level 0: an entry list left open would apply to window 0.
void TstInputChoose::window_change_restarts_on_window_0() {
    QFETCH(QString, keys);
    setup({1, 1}, {2, 4});
    g_image_current = 1;
    run_page([&] {
        press(keys);
        outside_change([](RynRamPara& p) { p.set_u16(blk::window(3, blk::WIN_ENABLE), 1); });
        const IntList got{page()->ui_seltype, page()->select_window, page()->focus(),
                          page()->window_count};
        QCOMPARE(got, (IntList{0, 0, 0, 3}));
        QCOMPARE(tab_text(3), QString("HDMI1"));
        press("kb"); // OK then Back lands on window 0's tab
        QCOMPARE(int(page()->focus()), 0);
        QCOMPARE(para()->window_u16(0, blk::WIN_SOURCE), uint16_t(2));
        QCOMPARE(para()->window_u16(1, blk::WIN_SOURCE), uint16_t(4));
    });
}

void TstInputChoose::code_103_rereads_crops_and_aliases() {
    setup({1}, {3}, "3.1");
    run_page([] {
        QCOMPARE(list_name(1).count("HDMI2"), 1);
        QVERIFY(list_name(1).contains(">2<"));
        press("kk");
        // A file transfer replaced the crop table and the aliases; block
        // and saved copy agree, so only the code says so.
        uint8_t* b = para()->RamParaBlock.data();
        b[blk::crop(1)] = 3;
        b[blk::crop(1) + blk::CROP_ID] = 0x81;
        para()->RamParaShadow = para()->RamParaBlock;
        write_aliases(R"({"source":{"namelist":[{"id":3,"valid":"on","name":"A<b"},
                                               {"id":2,"valid":"off","name":"Unused"}]},
                          "crop":{"namelist":[{"id":1,"valid":"on","name":"Close-up"}]}})");
        para()->test_signal(SYNC_PARA);
        QVERIFY(list_name(1).contains(">2<")); // nothing changed in the block
        para()->test_signal(SYNC_PC_FILE_END);
        QVERIFY2(list_name(1).contains(">A&lt;b<") && list_name(1).contains(">3<"),
                 qPrintable(list_name(1)));
        QVERIFY(list_name(0).contains("HDMI1")); // alias switched off
        QCOMPARE(entries().size(), 3);
        QCOMPARE(entry_text(1, "name"), QString("HDMI2_crop1"));
        QCOMPARE(entry_text(2, "name"), QString("Close-up"));
    });
}

void TstInputChoose::crop_table_shrinks_under_entry_list() {
    setup({1}, {2}, "4.1 4.2 4.3 4.4 4.5");
    run_page([] {
        press("krrkl"); // entry 5 on page 1
        outside_change([](RynRamPara& p) {
            for (int i = 2; i < 5; ++i)
                p.RamParaBlock[size_t(blk::crop(i) + blk::CROP_ID)] = 0;
        });
        const IntList got{page()->ui_seltype, page()->current_page, page()->focus()};
        QCOMPARE(got, (IntList{2, 0, 0}));
        QCOMPARE(entries().size(), 3);
        QVERIFY(entries().at(0)->styleSheet().contains("#FFAB54"));
    });
}

// The PC removed the crop, and the refresh has not come yet: OK refuses
// instead of switching the window to EXT.
void TstInputChoose::vanished_crop_is_not_applied() {
    setup({1}, {3}, "4.1 4.2");
    run_page([] {
        press("krkrr");
        para()->RamParaBlock[size_t(blk::crop(1) + blk::CROP_ID)] = 0;
        press("k");
        QCOMPARE(para()->window_u16(0, blk::WIN_SOURCE), uint16_t(3));
        QCOMPARE(int(c331_manage::pInstance()->para_update_flag), 0);
        QCOMPARE(notices, std::vector<int>{});
    });
}

// Records out of crop-number order (the front panel alone can leave them so):
// the badge and the tab go by the window's own crop number.
void TstInputChoose::crop_found_by_number_not_table_order() {
    setup({1}, {0x8000}, "4.2 4.1");
    run_page([] {
        QCOMPARE(tab_text(0), QString("HDMI3_Crop2"));
        QCOMPARE(entries().size(), 3);
        QCOMPARE(badges(), IntList{2});
        QCOMPARE(entry_text(1, "name"), QString("HDMI3_crop1"));
        QCOMPARE(entry_text(2, "info"), QString("200x100"));
    });
}

void TstInputChoose::out_of_range_source_words_data() {
    QTest::addColumn<int>("word");
    QTest::addColumn<QString>("crops");
    QTest::newRow("crop index 40") << 0x8028 << "4.1";
    QTest::newRow("crop index 255") << 0x80FF << "4.1";
    QTest::newRow("source id 9") << 9 << "";
    QTest::newRow("record of source 7") << 0x8000 << "7.1";
    QTest::newRow("crop number 99") << 0x8000 << "4.99";
    QTest::newRow("free record") << 0x8001 << "4.1 x";
}

void TstInputChoose::out_of_range_source_words() {
    QFETCH(int, word);
    QFETCH(QString, crops);
    setup({1}, {word}, crops);
    run_page([] {
        QCOMPARE(badges(), IntList{});
        press("k"); // the list opens on the first source, nothing marked
        QCOMPARE(int(page()->select_source), 2);
        for (int s = 0; s < SOURCE_COUNT; ++s) {
            press("k");
            QCOMPARE(badges(), IntList{});
            press("br");
        }
    });
}

// A refresh that moves the focus from a button to a tab leaves no button
// drawn as focused.
void TstInputChoose::refresh_to_new_tab_restyles_buttons() {
    setup({1, 1}, {2, 3});
    run_page([] {
        press("ll"); // crop button
        QCOMPARE(int(page()->focus()), InputChoose::POS_CROP_BUTTON);
        QVERIFY(page()
                    ->findChild<QPushButton*>("button_inputcut")
                    ->styleSheet()
                    .contains("255,171,84"));
        press("B");
        QCOMPARE(int(page()->focus()), 1);
        QCOMPARE(int(page()->select_window), 1);
        for (const char* name : {"button_inputcut", "button_EDID"})
            QVERIFY(!page()->findChild<QPushButton*>(name)->styleSheet().contains("255,171,84"));
        press("kb");
        QCOMPARE(int(page()->focus()), 1);
    });
}

// Entry counts are signed: a page past the end shows nothing instead of
// wrapping into phantom entries.
void TstInputChoose::page_past_the_end_shows_no_entries() {
    setup({1}, {2});
    run_page([] {
        press("kk");
        page()->current_page = 1;
        page()->initSource();
        QCOMPARE(entries().size(), 0);
    });
}

void TstInputChoose::mode_at_level_2_and_under_lock() {
    setup({1}, {2});
    run_page([] {
        press("kk");
        para()->set_u16(blk::PANEL_LOCK, 1);
        press("m");
        QVERIFY(page());
        QCOMPARE(int(page()->ui_seltype), 2);
        QCOMPARE(int(g_mode_shortcut_key), 0);
        para()->set_u16(blk::PANEL_LOCK, 0);
        press("m");
        QCOMPARE(int(g_page_focus), int(PAGE_CUSTOMMODE));
        QVERIFY(!page());
        QVERIFY(g_custommode());
        QCOMPARE(int(g_mode_shortcut_key), 1);
    });
}

void TstInputChoose::crop_page_return_and_mode_on_it() {
    setup({1}, {2});
    run_page([] {
        press("ll");
        // In the crop page a crop is added (refreshed there), then Back.
        int focus_in_child = -1;
        testsupport::post([&] {
            focus_in_child = g_page_focus;
            CROP_PARA values;
            values.para[3] = 640;
            values.para[4] = 360;
            para()->RynAddNewCrop(2, &values);
            para()->RynCropSourceInit();
            c331_manage::pInstance()->apply_pass();
            key(PANEL_KEY_BACK);
        });
        press("k");
        QCOMPARE(focus_in_child, int(PAGE_INPUTCUT));
        QCOMPARE(int(g_page_focus), int(PAGE_INPUTCHOOSE));
        QVERIFY2(list_name(0).contains(">2<"), qPrintable(list_name(0)));
        // MODE in the crop page closes this page too.
        testsupport::post([] { key(PANEL_KEY_MODE); });
        press("k");
        QVERIFY(!page());
        QVERIFY(!g_inputcut());
        QCOMPARE(int(g_page_focus), int(PAGE_CUSTOMMODE));
    });
}

void TstInputChoose::texts_follow_language_rule() {
    para()->set_u16(blk::LCD_LANGUAGE, LANG_SCHINESE);
    setup({1, 1}, {2, 0x8000}, "2.1");
    g_image_current = 1;
    g_language = LANG_SCHINESE;
    run_page([] {
        QCOMPARE(page()->findChild<QLabel*>("label_title")->text(), QString("信源切换"));
        QCOMPARE(page()->findChild<QPushButton*>("button_EDID")->text(), QString("设置EDID"));
        QCOMPARE(entries().at(1)->findChild<QLabel*>("badge")->text(), QString("使用中\u00AD"));
        QCOMPARE(entry_text(0, "info"), QString("无信号"));
        // The PC switches to English: the entries are re-texted too.
        outside_change([](RynRamPara& p) { p.set_u16(blk::LCD_LANGUAGE, LANG_ENGLISH); });
        QCOMPARE(page()->findChild<QLabel*>("label_title")->text(), QString("Source switch"));
        QCOMPARE(page()->findChild<QPushButton*>("button_inputcut")->text(),
                 QString("Input intercept"));
        QCOMPARE(entries().at(1)->findChild<QLabel*>("badge")->text(), QString("Using"));
        QCOMPARE(entry_text(0, "info"), QString("No signal"));
    });
    // Vietnamese is not offered: English.
    g_language = LANG_VIETNAMESE;
    g_lcd_lang_valid = LCD_LANG_VALID_ALL & ~(1u << LANG_VIETNAMESE);
    run_page([] {
        QCOMPARE(page()->findChild<QLabel*>("label_title")->text(), QString("Source switch"));
    });
}

QTEST_MAIN(TstInputChoose)
#include "tst_inputchoose.moc"

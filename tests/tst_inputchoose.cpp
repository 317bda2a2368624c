// The source selection page, driven by keys from the home screen.
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
const char* const kOrange = "#FFAB54";

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

// "l" Left, "r" Right, "k" OK, "b" Back, "m" MODE; capitals are keypad letters.
void press(const QString& keys) {
    static const QHash<char, int> panel{{'l', PANEL_KEY_LEFT}, {'r', PANEL_KEY_RIGHT},
                                        {'k', PANEL_KEY_OK},   {'b', PANEL_KEY_BACK},
                                        {'m', PANEL_KEY_MODE}};
    for (QChar c : keys)
        key(panel.value(c.toLatin1(), c.toLatin1()));
}

// A change from outside (the PC), taken up by the scaler: the page refreshes.
template <class F> void outside_change(F&& f) {
    para_write(f);
    c331_manage::pInstance()->apply_pass();
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
// A crop's name is longer than its tab: it shows cut at the tab's width.
QString as_tab_shows(int window, const QString& name) {
    return fitted_text(tab_label(window), name);
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
        row("keypad C for an off window: nothing", two, {2, 3}, "", 0, "C", {0, 0, 2, 0, 0});
        // Level 1: the six sources.
        row("Left wraps HDMI1 to EXT", one, s2, "", 0, "kl", {1, 0, 0, 0, 5});
        row("Right wraps EXT to HDMI1", one, {0}, "", 0, "kr", {1, 0, 2, 0, 0});
        row("keypad R moves like Right", one, s2, "", 0, "kR", {1, 0, 3, 0, 1});
        row("keypad A is not followed in the list", two, {2, 3}, "", 1, "kA", {1, 1, 3, 0, 1});
        // Back lands on the tab the list was opened from, with the window's own
        // source (not the one browsed last) under the marker.
        row("Back returns to the window's tab", {1, 0, 1}, {2, 0, 3}, "", 2, "kb", {0, 2, 3, 0, 1});
        row("Back restores the window's source", one, s3, "", 0, "krrb", {0, 0, 3, 0, 0});
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
        run_page([&] {
            press(keys);
            QCOMPARE(state(), expect);
            InputChoose* p = page();
            if (!keys.isEmpty() && p->ui_seltype == 0 && p->focus() < p->window_count)
                QCOMPARE(int(g_image_current), int(p->select_window));
            if (p->ui_seltype == 2)
                QVERIFY(entries().at(p->focus())->styleSheet().contains(kOrange));
        });
    }

    void apply_plain_source() {
        setup({1, 1}, {2, 3});
        g_image_current = 1;
        run_page([] {
            press("klkk"); // window 1, HDMI2 -> HDMI1, entries, apply
            QCOMPARE(source_of(1), uint16_t(2));
            QCOMPARE(source_of(0), uint16_t(2));
            QCOMPARE(int(c331_manage::pInstance()->para_update_flag), 1);
            QCOMPARE(notices, std::vector<int>{TIP_DONE});
            // The scaler takes it up; the refresh keeps the page where it was.
            c331_manage::pInstance()->apply_pass();
            QCOMPARE(state(), (IntList{2, 1, 2, 0, 0}));
            QCOMPARE(badges(), IntList{0});
            QCOMPARE(tab_text(1), QString("HDMI1"));
        });
    }
    void apply_crop_after_paging() {
        setup({1}, {2}, "4.1 4.2 4.3 4.4 4.5");
        run_page([] {
            press("krrklk"); // HDMI3, Left wraps to the last entry, apply
            QCOMPARE(source_of(0), uint16_t(0x8004));
            c331_manage::pInstance()->apply_pass();
            QCOMPARE(state(), (IntList{2, 0, 4, 1, 2}));
            QCOMPARE(badges(), IntList{2});
            QCOMPARE(entry_text(2, "info"), QString("500x250"));
            QCOMPARE(tab_text(0), as_tab_shows(0, "HDMI3_Crop5"));
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

    // A shrinking table clamps the focus; a crop removed before the refresh is
    // refused on OK instead of switching the window to EXT.
    void crop_table_change_under_entry_list() {
        setup({1}, {3}, "4.1 4.2 4.3 4.4 4.5");
        run_page([] {
            press("krkrr");
            para()->RamParaBlock[size_t(blk::crop(1) + blk::CROP_ID)] = 0;
            press("k");
            QCOMPARE(source_of(0), uint16_t(3));
            QCOMPARE(int(c331_manage::pInstance()->para_update_flag), 0);
            QCOMPARE(notices, std::vector<int>{});
            press("r"); // page 1, soon past the end
            outside_change([](RynRamPara& p) {
                for (int i = 2; i < 5; ++i)
                    p.RamParaBlock[size_t(blk::crop(i) + blk::CROP_ID)] = 0;
            });
            QCOMPARE(state(), (IntList{2, 0, 4, 0, 0}));
            QCOMPARE(entries().size(), 2);
            QVERIFY(entries().at(0)->styleSheet().contains(kOrange));
            // Entry counts are signed: a page past the end shows no phantoms.
            page()->current_page = 1;
            page()->initSource();
            QCOMPARE(entries().size(), 0);
        });
    }

    // Records out of crop-number order: badge and tab go by the crop number.
    void crop_found_by_number_not_table_order() {
        setup({1}, {0x8000}, "4.2 4.1");
        run_page([] {
            QCOMPARE(tab_text(0), as_tab_shows(0, "HDMI3_Crop2"));
            press("kk");
            QCOMPARE(badges(), IntList{2});
            QCOMPARE(entry_text(1, "name"), QString("HDMI3_crop1"));
            QCOMPARE(entry_text(2, "info"), QString("200x100"));
        });
    }

    void out_of_range_source_words_data() {
        QTest::addColumn<int>("word");
        QTest::addColumn<QString>("crops");
        QTest::newRow("crop index 40") << 0x8028 << "4.1";
        QTest::newRow("source id 9") << 9 << "";
        QTest::newRow("crop number 99") << 0x8000 << "4.99";
    }

    void out_of_range_source_words() {
        QFETCH(int, word);
        QFETCH(QString, crops);
        setup({1}, {word}, crops);
        run_page([] {
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
    void refresh_to_new_tab_restyles_buttons() {
        setup({1, 1}, {2, 3});
        run_page([] {
            press("ll"); // crop button
            QCOMPARE(int(page()->focus()), InputChoose::POS_CROP_BUTTON);
            press("B");
            QCOMPARE(int(page()->focus()), 1);
            for (const char* name : {"button_inputcut", "button_EDID"}) {
                const QString style = page()->findChild<QPushButton*>(name)->styleSheet();
                QVERIFY(!style.contains("255,171,84"));
            }
            press("kb");
            QCOMPARE(int(page()->focus()), 1);
        });
    }

    void mode_at_level_2_and_under_lock() {
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
        });
    }
};

QTEST_MAIN(TstInputChoose)
#include "tst_inputchoose.moc"

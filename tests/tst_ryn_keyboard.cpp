// USB keypad shortcuts and the light report.
#include "testsupport.h"

#include "core/global.h"
#include "core/ramblock.h"
#include "core/rynrampara.h"
#include "scaler/c331_manage.h"
#include "ui/frame/keys.h"
#include "ui/frame/pageframe.h"
#include "ui/frame/ryn_keyboard.h"

#include <QtTest>

namespace {
// Stands in for the page in front and counts its refreshes.
class CountingPage : public RynPage {
public:
    QWidget widget;
    int refreshes = 0;
    QWidget* page_widget() override { return &widget; }
    void language_changed() override {}
    void syncUpdate(int) override { ++refreshes; }
};

RynRamPara* para() { return RynRamPara::pInstance(); }
void enable_window(int w, uint16_t enable) {
    para()->set_u16(blk::window(w, blk::WIN_ENABLE), enable);
}
void press(int key) { ryn_keyboard().update_usb_keyEvent(key); }
}  // namespace

class TstRynKeyboard : public QObject {
    Q_OBJECT
    CountingPage* front = nullptr;
private slots:
    void init() {
        testsupport::fresh_device();
        front = new CountingPage;
        pages::set(PAGE_LOCKWINDOW, front, PAGE_MAINWINDOW);
        g_page_focus = PAGE_LOCKWINDOW;
    }
    void cleanup() {
        pages::clear(PAGE_LOCKWINDOW);
        delete front;
    }

    void source_letters_data();
    void source_letters();
    void window_letters();
    void freeze_and_black_toggle_back();
    void freeze_ignores_a_disabled_window();
    void locked_panel_ignores_every_shortcut();
    void letters_outside_the_range_do_nothing();
    void page_passes_letters_to_the_keypad();
    void light_report_layout();
};

void TstRynKeyboard::source_letters_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("source");
    QTest::newRow("G ext") << int('G') << 0;
    QTest::newRow("H dvi") << int('H') << 1;
    QTest::newRow("I is source 4, not 2") << int('I') << 4;
    QTest::newRow("J") << int('J') << 5;
    QTest::newRow("K is source 2") << int('K') << 2;
    QTest::newRow("L") << int('L') << 3;
}

void TstRynKeyboard::source_letters() {
    QFETCH(int, key);
    QFETCH(int, source);
    enable_window(3, 1);
    g_image_current = 3;
    para()->set_u16(blk::window(3, blk::WIN_SOURCE), 0x8005);  // a crop before
    press(key);
    QCOMPARE(int(para()->window_u16(3, blk::WIN_SOURCE)), source);
    QCOMPARE(int(c331_manage::pInstance()->para_update_flag), 1);
    QCOMPARE(int(para()->window_u16(0, blk::WIN_SOURCE)), 2);  // window 0 untouched
}

void TstRynKeyboard::window_letters() {
    // B while window 1 is disabled: no change, no refresh.
    enable_window(1, 0);
    press('B');
    QCOMPARE(int(g_image_current), 0);
    QCOMPARE(front->refreshes, 0);

    // Only bit 0 of the enable word counts.
    enable_window(2, 2);
    press('C');
    QCOMPARE(int(g_image_current), 0);

    enable_window(1, 1);
    press('B');
    QCOMPARE(int(g_image_current), 1);
    QCOMPARE(front->refreshes, 1);
    press('B');  // already current: nothing
    QCOMPARE(front->refreshes, 1);

    // A always selects window 0, even when its enable bit is clear.
    enable_window(0, 0);
    press('A');
    QCOMPARE(int(g_image_current), 0);
    QCOMPARE(front->refreshes, 2);
    press('A');
    QCOMPARE(front->refreshes, 2);
}

void TstRynKeyboard::freeze_and_black_toggle_back() {
    const uint16_t before = para()->window_u16(0, blk::WIN_OUTPUT);
    press('N');
    QCOMPARE(int(para()->window_u16(0, blk::WIN_OUTPUT)), before | blk::OUTPUT_FREEZE);
    press('N');
    QCOMPARE(para()->window_u16(0, blk::WIN_OUTPUT), before);
    press('P');
    QCOMPARE(int(para()->window_u16(0, blk::WIN_OUTPUT)), before | blk::OUTPUT_BLACK);
    press('P');
    QCOMPARE(para()->window_u16(0, blk::WIN_OUTPUT), before);
}

void TstRynKeyboard::freeze_ignores_a_disabled_window() {
    g_image_current = 4;
    enable_window(4, 0);
    press('N');
    QCOMPARE(int(para()->window_u16(4, blk::WIN_OUTPUT)), 0);
    // The apply flag goes up all the same.
    QCOMPARE(int(c331_manage::pInstance()->para_update_flag), 1);
}

void TstRynKeyboard::locked_panel_ignores_every_shortcut() {
    enable_window(1, 1);
    para()->set_u16(blk::PANEL_LOCK, 1);
    const auto before = para()->RamParaBlock;
    for (int key = 'A'; key <= 'P'; ++key)
        press(key);
    QCOMPARE(int(g_image_current), 0);
    QVERIFY(para()->RamParaBlock == before);
    QCOMPARE(int(c331_manage::pInstance()->para_update_flag), 0);
    QCOMPARE(front->refreshes, 0);
}

void TstRynKeyboard::letters_outside_the_range_do_nothing() {
    const auto before = para()->RamParaBlock;
    for (int key : {int('M'), int('O'), int('Q'), int('R'), int('S'), int('@'), int(Qt::Key_F6)})
        press(key);
    QVERIFY(para()->RamParaBlock == before);
    QCOMPARE(int(c331_manage::pInstance()->para_update_flag), 0);
}

// Any page's key handler ends in the keypad handler.
void TstRynKeyboard::page_passes_letters_to_the_keypad() {
    class Page : public FramePage<QDialog> {
    public:
        Page() : FramePage<QDialog>(PAGE_MACHINESTATE) {}
    };
    auto* page = new Page;
    pages::set(PAGE_MACHINESTATE, page, PAGE_MAINWINDOW);
    g_page_focus = PAGE_MACHINESTATE;
    testsupport::key('K');
    g_image_current = 0;
    QCOMPARE(int(para()->window_u16(0, blk::WIN_SOURCE)), 2);
    c331_manage::pInstance()->para_update_flag = 0;
    testsupport::key('J');
    QCOMPARE(int(para()->window_u16(0, blk::WIN_SOURCE)), 5);
    pages::clear(PAGE_MACHINESTATE);
    delete page;
}

void TstRynKeyboard::light_report_layout() {
    enable_window(2, 1);
    enable_window(5, 1);
    g_image_current = 2;
    para()->set_u16(blk::window(2, blk::WIN_SOURCE), 3);
    para()->set_u16(blk::window(2, blk::WIN_OUTPUT), blk::OUTPUT_FREEZE);
    para()->set_u16(blk::PANEL_LOCK, 1);
    const std::array<uint8_t, 5> r = ryn_keys_light_report();
    QCOMPARE(int(r[0]), 0);
    QCOMPARE(int(r[1]), 0b100101);
    QCOMPARE(int(r[2]), 0b000100);
    QCOMPARE(int(r[3]), 0b001000);
    QCOMPARE(int(r[4]), 0b101);
}

QTEST_MAIN(TstRynKeyboard)
#include "tst_ryn_keyboard.moc"

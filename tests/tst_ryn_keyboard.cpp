// USB keypad shortcuts and the light report.
#include "recording_page.h"
#include "testsupport.h"

#include "core/global.h"
#include "core/ramblock.h"
#include "core/rynrampara.h"
#include "scaler/c331_manage.h"
#include "ui/frame/keys.h"
#include "ui/frame/pageframe.h"
#include "ui/frame/ryn_keyboard.h"

#include <QtTest>
#include <hidapi.h>
#include <memory>

namespace {
RynRamPara* para() { return RynRamPara::pInstance(); }
void enable_window(int w, uint16_t enable) { para()->set_u16(blk::window(w, blk::WIN_ENABLE), enable); }
void press(int key) { ryn_keyboard().update_usb_keyEvent(key); }
int apply_flag() { return c331_manage::pInstance()->para_update_flag; }
}  // namespace

class TstRynKeyboard : public QObject {
    Q_OBJECT
    std::unique_ptr<RecordingPage> front; // the page in front, counting its refreshes
private slots:
    void init() {
        testsupport::fresh_device();
        front = std::make_unique<RecordingPage>(PAGE_LOCKWINDOW);
        g_page_focus = PAGE_LOCKWINDOW;
    }
    void cleanup() { front.reset(); }

    // The current window's source; "I" is source 4, not 2.
    void source_letter() {
        enable_window(3, 1);
        g_image_current = 3;
        para()->set_u16(blk::window(3, blk::WIN_SOURCE), 0x8005);  // a crop before
        press('I');
        QCOMPARE(int(para()->window_u16(3, blk::WIN_SOURCE)), 4);
        QCOMPARE(apply_flag(), 1);
        QCOMPARE(int(para()->window_u16(0, blk::WIN_SOURCE)), 2);  // window 0 untouched
    }

    // A disabled window is not selected; freeze toggles on the current one.
    void window_and_freeze_letters() {
        enable_window(1, 0);
        press('B');
        QCOMPARE(int(g_image_current), 0);
        enable_window(1, 1);
        press('B');
        QCOMPARE(int(g_image_current), 1);
        QCOMPARE(int(front->codes.size()), 1);
        const int out = para()->window_u16(1, blk::WIN_OUTPUT);
        press('N');
        QCOMPARE(int(para()->window_u16(1, blk::WIN_OUTPUT)), out ^ blk::OUTPUT_FREEZE);
    }

    void every_shortcut_ignored_under_the_lock() {
        enable_window(1, 1);
        para()->set_u16(blk::PANEL_LOCK, 1);
        const auto before = para()->RamParaBlock;
        for (int k = 'A'; k <= 'P'; ++k)
            press(k);
        QVERIFY(para()->RamParaBlock == before);
        QCOMPARE(int(g_image_current), 0);
        QCOMPARE(apply_flag(), 0);
        QCOMPARE(int(front->codes.size()), 0);
    }

    // Bits the keypad lights from: windows on, the current one, its source,
    // freeze and the lock.
    void light_report_layout() {
        enable_window(2, 1);
        enable_window(5, 1);
        g_image_current = 2;
        para()->set_u16(blk::window(2, blk::WIN_SOURCE), 3);
        para()->set_u16(blk::window(2, blk::WIN_OUTPUT), blk::OUTPUT_FREEZE);
        para()->set_u16(blk::PANEL_LOCK, 1);
        const std::array<uint8_t, 5> expected{0, 0b100101, 0b000100, 0b001000, 0b101};
        QCOMPARE(ryn_keys_light_report(), expected);
    }

    // Vendor and product must both match, anywhere in the list.
    void keypad_probe_matches_vendor_and_product() {
        hid_device_info list[3] = {};
        const uint16_t ids[3][2] = {{0x046D, 0x0380}, {0x28E9, 0x0381}, {0x28E9, 0x0380}};
        for (int i = 0; i < 3; ++i) {
            list[i].vendor_id = ids[i][0];
            list[i].product_id = ids[i][1];
            list[i].next = i < 2 ? &list[i + 1] : nullptr;
        }
        QCOMPARE(find_ryn_keypad(list), 1);
        list[1].next = nullptr;
        QCOMPARE(find_ryn_keypad(list), 0);
    }
};

QTEST_MAIN(TstRynKeyboard)
#include "tst_ryn_keyboard.moc"

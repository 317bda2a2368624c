// USB keypad shortcuts and the light report.
#include "recording_page.h"
#include "testsupport.h"

#include "core/global.h"
#include "core/ramblock.h"
#include "core/rynrampara.h"
#include "scaler/c331_manage.h"
#include "ui/frame/ryn_keyboard.h"

#include <QtTest>
#include <hidapi.h>
#include <memory>

namespace {
RynRamPara* para() { return RynRamPara::pInstance(); }
void press(int key) { ryn_keyboard().update_usb_keyEvent(key); }
}  // namespace

class TstRynKeyboard : public QObject {
    Q_OBJECT
    std::unique_ptr<RecordingPage> front; // counts the page's refreshes
private slots:
    void init() {
        testsupport::fresh_device();
        front = std::make_unique<RecordingPage>(PAGE_LOCKWINDOW);
        para()->set_u16(blk::window(2, blk::WIN_ENABLE), 1);
        para()->set_u16(blk::window(2, blk::WIN_SOURCE), 0x8005); // a crop before
    }
    void cleanup() { front.reset(); }

    // A disabled window is not selected; source ("I" is source 4, not 2)
    // and freeze act on the current window only. Nothing under the lock.
    void letters_act_on_the_current_window_data() { testsupport::int_rows({{"free", {0}}, {"locked", {1}}}); }
    void letters_act_on_the_current_window() {
        QFETCH(QVector<int>, r);
        para()->set_u16(blk::PANEL_LOCK, uint16_t(r[0]));
        const auto before = para()->RamParaBlock;
        const int out = para()->window_u16(2, blk::WIN_OUTPUT);
        for (int k : {'B', 'C', 'I', 'N'})
            press(k);
        if (r[0]) {
            QVERIFY(para()->RamParaBlock == before && front->codes.empty() && g_image_current == 0);
            return;
        }
        QCOMPARE(int(g_image_current), 2);
        QCOMPARE(int(front->codes.size()), 1);
        QCOMPARE(int(para()->window_u16(2, blk::WIN_SOURCE)), 4);
        QCOMPARE(int(para()->window_u16(2, blk::WIN_OUTPUT)), out ^ blk::OUTPUT_FREEZE);
        QCOMPARE(int(para()->window_u16(0, blk::WIN_SOURCE)), 2);
        QCOMPARE(int(c331_manage::pInstance()->para_update_flag), 1);
    }

    // Bytes the keypad lights from: windows on, the current one, its source,
    // freeze and the lock.
    void light_report_layout() {
        para()->set_u16(blk::window(5, blk::WIN_ENABLE), 1);
        para()->set_u16(blk::window(2, blk::WIN_SOURCE), 3);
        para()->set_u16(blk::window(2, blk::WIN_OUTPUT), blk::OUTPUT_FREEZE);
        para()->set_u16(blk::PANEL_LOCK, 1);
        g_image_current = 2;
        const std::array<uint8_t, 5> expected{0, 0b100101, 0b000100, 0b001000, 0b101};
        QCOMPARE(ryn_keys_light_report(), expected);
    }

    // Vendor and product must both match, anywhere in the list.
    void keypad_probe_matches_vendor_and_product() {
        hid_device_info list[3] = {};
        list[0].vendor_id = 0x28E9, list[0].product_id = 0x0381, list[0].next = &list[1];
        list[1].vendor_id = 0x046D, list[1].product_id = 0x0380;
        QCOMPARE(find_ryn_keypad(list), 0);
        list[1].next = &list[2];
        list[2].vendor_id = 0x28E9, list[2].product_id = 0x0380;
        QCOMPARE(find_ryn_keypad(list), 1);
    }
};

QTEST_MAIN(TstRynKeyboard)
#include "tst_ryn_keyboard.moc"

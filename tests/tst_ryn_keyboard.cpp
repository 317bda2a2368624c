// USB keypad shortcuts and the light report.
#include "recording_page.h"
#include "testsupport.h"

#include "ui/frame/ryn_keyboard.h"

#include <cstring>
#include <hidapi.h>

namespace {
RynRamPara* para() {
    return RynRamPara::pInstance();
}
uint16_t word(int w, int field) {
    return para()->window_u16(w, field);
}
// Letters pressed with window 5 on and 0, 1 and 3 off (3's enable word is
// 2), each showing crop 5 before: the window current after, its source and
// output words (source -1: still the crop), the page's refreshes.
struct Shortcut {
    const char* keys;
    uint16_t lock;
    int current, source, output, refreshes;
};
}  // namespace
Q_DECLARE_METATYPE(Shortcut)

class TstRynKeyboard : public QObject {
    Q_OBJECT
    std::unique_ptr<RecordingPage> front;  // counts the page's refreshes
private slots:
    void init() {
        testsupport::fresh_device();
        front = std::make_unique<RecordingPage>(PAGE_LOCKWINDOW);
        for (int w = 0; w < WINDOW_COUNT; ++w) {
            para()->set_u16(blk::window(w, blk::WIN_ENABLE), uint16_t(w == 5 ? 1 : w == 3 ? 2 : 0));
            para()->set_u16(blk::window(w, blk::WIN_SOURCE), 0x8005);
        }
    }
    void cleanup() { front.reset(); }

    void letters_data() {
        const int F = blk::OUTPUT_FREEZE, B = blk::OUTPUT_BLACK;
        testsupport::rows<Shortcut>({{"B and D on windows that are off", {"BD", 0, 0, -1, 0, 0}},
                                     {"F picks window 5, once", {"FF", 0, 5, -1, 0, 1}},
                                     {"A picks window 0 though it is off", {"FA", 0, 0, -1, 0, 2}},
                                     {"G is EXT", {"FG", 0, 5, 0, 0, 1}},
                                     {"H is DVI", {"FH", 0, 5, 1, 0, 1}},
                                     {"I is HDMI3", {"FI", 0, 5, 4, 0, 1}},
                                     {"J is HDMI4", {"FJ", 0, 5, 5, 0, 1}},
                                     {"K is HDMI1", {"FK", 0, 5, 2, 0, 1}},
                                     {"L is HDMI2", {"FL", 0, 5, 3, 0, 1}},
                                     {"N freezes", {"FN", 0, 5, -1, F, 1}},
                                     {"P blacks out", {"FP", 0, 5, -1, B, 1}},
                                     {"N and P toggle", {"FNNPP", 0, 5, -1, 0, 1}},
                                     {"panel letters M O Q R S: nothing", {"MOQRS", 0, 0, -1, 0, 0}},
                                     {"lock 1: nothing", {"FGNP", 1, 0, -1, 0, 0}},
                                     {"lock 2: nothing", {"FKNP", 2, 0, -1, 0, 0}}});
    }
    void letters() {
        QFETCH(Shortcut, row);
        para()->set_u16(blk::PANEL_LOCK, row.lock);
        const auto before = para()->RamParaBlock;
        for (const char* k = row.keys; *k; ++k)
            ryn_keyboard().update_usb_keyEvent(*k);
        QCOMPARE(int(g_image_current), row.current);
        QCOMPARE(int(front->codes.size()), row.refreshes);
        QCOMPARE(int(word(row.current, blk::WIN_SOURCE)), row.source < 0 ? 0x8005 : row.source);
        QCOMPARE(int(word(row.current, blk::WIN_OUTPUT)), row.output);
        for (int w = 0; w < WINDOW_COUNT; ++w)  // the other windows untouched
            QVERIFY(w == row.current || (word(w, blk::WIN_SOURCE) == 0x8005 && !word(w, blk::WIN_OUTPUT)));
        const bool writes = !row.lock && std::strpbrk(row.keys, "GHIJKLNP");
        QCOMPARE(int(c331_manage::pInstance()->para_update_flag), writes ? 1 : 0);
        QVERIFY(writes || para()->RamParaBlock == before);
    }

    // Bytes the keypad lights from: windows on, the current one, its source,
    // freeze and the lock.
    void light_report_layout() {
        para()->set_u16(blk::window(2, blk::WIN_ENABLE), 1);
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

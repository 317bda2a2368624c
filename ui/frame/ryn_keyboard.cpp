#include "ui/frame/ryn_keyboard.h"

#include "core/global.h"
#include "core/ramblock.h"
#include "core/rynrampara.h"
#include "ui/frame/keys.h"

#include <QDebug>
#include <array>
#include <cstdio>
#include <hidapi.h>

void ryn_keyboard::update_usb_keyEvent(int key) {
    debug_printf("\n======update_usb_keyEvent===== key = %#x\n", unsigned(key));
    RynRamPara* para = RynRamPara::pInstance();
    if (para->u16(blk::PANEL_LOCK) != 0 || key < USB_KEY_WIN0 || key > USB_KEY_BLACK)
        return;

    if (key >= USB_KEY_WIN0 && key <= USB_KEY_WIN5) {
        const int w = key - USB_KEY_WIN0;
        // Window 0 is always there; the others only while enabled.
        if (w != 0 && !para->window_shown(w))
            return;
        if (g_image_current != w) {
            g_image_current = uint8_t(w);
            para->test_signal(SYNC_PARA);
        }
        return;
    }
    // The source letters follow the keypad's printed order, not the ids.
    static constexpr std::array<int, 6> source_of_letter = {0, 1, 4, 5, 2, 3};  // G..L
    if (key >= USB_KEY_SRC0 && key <= USB_KEY_SRC3) {
        para->RynSetImageSource(0, char(source_of_letter[size_t(key - USB_KEY_SRC0)]), char(g_image_current));
        return;
    }
    if (key == USB_KEY_FREEZE)
        para->RynSetImageFreeze();
    else if (key == USB_KEY_BLACK)
        para->RynSetImageBlack();
}

int find_ryn_keypad(const hid_device_info* list) {
    for (const hid_device_info* d = list; d; d = d->next) {
        std::printf("\t VendorID = %02x , ProductID = %02x \n", d->vendor_id, d->product_id);
        if (d->vendor_id == RYN_KEYPAD_VID && d->product_id == RYN_KEYPAD_PID)
            return 1;
    }
    return 0;
}

int check_hiddev() {
    if (hid_init() != 0) {
        std::printf("\t hid init error ");
        return 0;
    }
    hid_device_info* list = hid_enumerate(0, 0);
    const int found = find_ryn_keypad(list);
    hid_free_enumeration(list);
    std::printf("\t check_hiddev over\n");
    return found;
}

// The keypad's light report, five bytes:
//   0: report id 0
//   1: window keys A..F: bit w lit while window w is enabled (window 0 always)
//   2: bit w lit for the current window
//   3: source keys: bit s lit for the source id the current window shows
//      (its crop's source for a crop)
//   4: bit 0 freeze (N), bit 1 black (P) of the current window, bit 2 panel lock
std::array<uint8_t, 5> ryn_keys_light_report() {
    RynRamPara* para = RynRamPara::pInstance();
    std::array<uint8_t, 5> report{};
    const int current = g_image_current < WINDOW_COUNT ? g_image_current : 0;
    for (int w = 0; w < WINDOW_COUNT; ++w)
        if (w == 0 || para->window_shown(w))
            report[1] |= uint8_t(1 << w);
    report[2] = uint8_t(1 << current);
    short crop_flag = 0;
    char crop_index = 0;
    const int source = para->RynGetImageSource(para->RamParaBlock.data(), uint8_t(current), &crop_flag, &crop_index, 0);
    if (source >= 0 && source < SOURCE_COUNT)
        report[3] = uint8_t(1 << source);
    const uint16_t output = para->window_u16(current, blk::WIN_OUTPUT);
    if (output & blk::OUTPUT_FREEZE)
        report[4] |= 0x01;
    if (output & blk::OUTPUT_BLACK)
        report[4] |= 0x02;
    if (para->u16(blk::PANEL_LOCK))
        report[4] |= 0x04;
    return report;
}

namespace {
void write_lights(const std::array<uint8_t, 5>& report) {
    hid_device* dev = hid_open(RYN_KEYPAD_VID, RYN_KEYPAD_PID, nullptr);
    if (!dev) {
        debug_printf("ryn keypad: cannot open the keypad for its lights\n");
        return;
    }
    if (hid_write(dev, report.data(), report.size()) < 0)
        debug_printf("ryn keypad: light report not written\n");
    hid_close(dev);
}
}  // namespace

void (*ryn_keys_light_writer)(const std::array<uint8_t, 5>&) = write_lights;

void ryn_keys_update_lights() {
    if (!g_ryn_keys || !ryn_keys_light_writer)
        return;
    ryn_keys_light_writer(ryn_keys_light_report());
}

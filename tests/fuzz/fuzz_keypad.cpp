// The USB keypad's letters over a parameter block the PC may have filled
// with anything, and the light report built after each. Input: byte 0 the
// current window, then half of the rest over the block's crop and window
// tables, the other half key codes (0xFF toggles the panel lock).
#include "fuzzsupport.h"

#include "core/global.h"
#include "core/rynrampara.h"
#include "scaler/c331_manage.h"
#include "ui/frame/ryn_keyboard.h"

#include <algorithm>
#include <bitset>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::setup();
    if (size == 0)
        return 0;
    RynRamPara* p = RynRamPara::pInstance();
    constexpr size_t TABLES = size_t(blk::window(blk::WINDOW_SLOTS) - blk::CROP);
    const size_t rest = size - 1;
    const size_t block_bytes = std::min(rest / 2, TABLES);
    p->RamParaBlock = p->RamParaShadow;
    std::memcpy(p->RamParaBlock.data() + blk::CROP, data + 1, block_bytes);
    p->set_u16(blk::PANEL_LOCK, 0);
    p->RynCropSourceInit();
    g_image_current = data[0];
    ryn_keyboard keypad;
    for (size_t i = 1 + block_bytes; i < size; ++i) {
        if (data[i] == 0xFF)
            p->set_u16(blk::PANEL_LOCK, p->u16(blk::PANEL_LOCK) ? 0 : 1);
        else
            keypad.update_usb_keyEvent(data[i]);
        c331_manage::pInstance()->para_update_flag = 0;  // no scaler thread here
        const auto report = ryn_keys_light_report();
        fuzz::check(report[0] == 0, "report id");
        fuzz::check((report[1] & 1) && report[1] < 0x40, "window keys");
        fuzz::check(std::bitset<8>(report[2]).count() == 1 && report[2] < 0x40, "current window");
        fuzz::check(std::bitset<8>(report[3]).count() <= 1 && report[3] < 0x40, "source keys");
    }
    return 0;
}

// A user-mode file "/data/modes/custom_modeN": the start-up load and the
// re-read after a save, then every window's source as a preview reads it.
#include "fuzzsupport.h"

#include "core/ids.h"
#include "core/rynrampara.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::setup();
    fuzz::write_device_file("/data/modes/custom_mode1", data, size);
    RynRamPara* p = RynRamPara::pInstance();
    p->load_files();
    p->mode_file_deal(0, 0);
    const auto& b = p->UserModes[0].bytes;
    fuzz::check((b[0] == 0xAA && b[1] == 0xAA) || (b[0] == 0xFF && b[1] == 0xFF), "slot left without a marker");
    for (int w = 0; w < blk::WINDOW_SLOTS; ++w) {
        short crop_flag = 0;
        char crop_index = 0;
        const int source = p->RynGetImageSource(p->UserModes[0].data(), uint8_t(w), &crop_flag, &crop_index, 1);
        fuzz::check(!crop_flag || (source < SOURCE_COUNT && crop_index >= 0 && crop_index < CROP_COUNT),
                    "crop outside the table");
    }
    p->RynUserModeIndex(0, 1);
    return 0;
}

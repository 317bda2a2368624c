// The parameter file "/data/ram_device_info" as the start-up load reads it.
#include "fuzzsupport.h"

#include "core/global.h"
#include "core/rynrampara.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::setup();
    fuzz::write_device_file("/data/ram_device_info", data, size);
    RynRamPara* p = RynRamPara::pInstance();
    p->load_files();
    fuzz::check(p->RamParaShadow == p->RamParaBlock, "shadow differs from the loaded block");
    fuzz::check(g_language < LANG_COUNT, "language out of range");
    for (int w = 0; w < blk::WINDOW_SLOTS; ++w)
        p->RynGetImageSource(p->RamParaBlock.data(), uint8_t(w), nullptr, nullptr, 0);
    return 0;
}

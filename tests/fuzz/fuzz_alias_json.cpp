// "/data/configs/alias.json", sent by the PC, read for every tile name.
#include "fuzzsupport.h"

#include "core/jsonfiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::setup();
    fuzz::write_device_file("/data/configs/alias.json", data, size);
    for (const char* kind : {"source", "usermode"}) {
        ALIAS_PARA alias;
        if (get_json_alias_para(&alias, kind, 1))
            fuzz::check(!alias.name.empty() && alias.valid != "off", "invalid alias taken");
    }
    return 0;
}

// An OSD menu file ("/data/configs/omenu.json", "/data/modes/MOnn.json").
#include "fuzzsupport.h"

#include "core/jsonfiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::setup();
    fuzz::write_device_file("/data/modes/MO01.json", data, size);
    OSD_LIST list;
    get_json_omenu_para("/data/modes/MO01.json", &list);
    return 0;
}

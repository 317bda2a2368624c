// A kernel uevent message as the USB watcher receives it.
#include "fuzzsupport.h"

#include "protocol/usbserver.h"

#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Exactly the bytes received, without the terminator the thread adds,
    // so that a read past them is seen.
    std::vector<char> msg(data, data + size);
    const bool added = UsbServer::is_usb_partition_added(msg.data(), int(msg.size()));
    fuzz::check(!added || (size > 4 && std::memcmp(data, "add@", 4) == 0), "a message that is no \"add@\" taken");
    return 0;
}

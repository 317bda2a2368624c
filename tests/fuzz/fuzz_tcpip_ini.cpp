// The configuration file "/data/configs/tcpip.ini".
#include "fuzzsupport.h"

#include "core/config_engine.h"
#include "core/global.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::setup();
    fuzz::write_device_file("/data/configs/tcpip.ini", data, size);
    ConfigEngine::pInstance()->load();
    fuzz::check(g_lcd_lang_valid <= LCD_LANG_VALID_ALL, "language mask out of range");
    fuzz::check(g_str_ip.split(QLatin1Char('.')).size() == 4, "address taken unchecked");
    g_debugSwitch = 0;  // the file may have switched the console on
    return 0;
}

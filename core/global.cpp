#include "core/global.h"

#include <cstdarg>
#include <cstdio>

uint8_t g_language = LANG_ENGLISH;
uint32_t g_lcd_lang_valid = LCD_LANG_VALID_ALL;
uint8_t g_page_focus = PAGE_LOCKWINDOW;
uint8_t g_image_current = 0;
uint8_t g_mode_shortcut_key = 0;
uint8_t g_mode_select = 0;
uint8_t g_cut_source_state[30] = {};
uint8_t g_ryn_keys = 0;

std::atomic<uint32_t> G_timeTicks{0};
uint32_t G_factoryage_ticks = 0;
uint32_t G_delay_usbserver_ticks = 0;

QString g_str_ip = QStringLiteral("192.168.1.199");
QString g_str_barcode = QStringLiteral(" ");
std::atomic<uint8_t> g_debugSwitch{254};

QStringList factoryage_log;
uint32_t factoryage_log_diff3 = 0;
uint32_t factoryage_log_diff5 = 0;
uint32_t factoryage_log_diff10 = 0;
uint32_t factoryage_log_diff20 = 0;
uint32_t factoryage_log_diffmore = 0;

// Never destroyed: the FPGA thread may still wait on it while the program
// exits.
Wakeup& g_fpga_wakeup = *new Wakeup;
WakingFlag g_set_led_para{g_fpga_wakeup, LED_PARA_IDLE};
volatile uint8_t g_set_led_setup = 0;

std::atomic<uint8_t> pc_cmd_valid{0};
std::atomic<uint32_t> pc_cmd_time{0};
volatile uint8_t g_app_reset_flag = 0;
volatile uint32_t G_reboot_tickTicks = 0;
volatile uint8_t g_update_flag = 0;
volatile uint32_t g_delay_usbserver = 0;
volatile uint8_t g_passby_trans_port = PASSBY_NONE;

void debug_printf(const char* fmt, ...) {
    if (g_debugSwitch != 254)
        return;
    va_list args;
    va_start(args, fmt);
    std::vprintf(fmt, args);
    va_end(args);
    // Qt's debug lines go unbuffered to stderr: flushed at once, ours keep
    // their place among them, and none is lost when the program is killed.
    std::fflush(stdout);
}

void console_init() {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
}

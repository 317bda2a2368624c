#pragma once
// The globals shared by the core, the simulated device and the pages.
#include "core/ids.h"
#include "core/wakeup.h"

#include <QString>
#include <QStringList>
#include <atomic>
#include <cstdint>

// Language and pages.
extern uint8_t g_language;              // LCD_LANG
extern uint32_t g_lcd_lang_valid;       // bit n: language n offered
extern uint8_t g_page_focus;            // PAGE_ID of the page in front
extern uint8_t g_image_current;         // current window 0..5
extern uint8_t g_mode_shortcut_key;     // 1 while the user-mode page was opened by MODE
extern uint8_t g_mode_select;           // user-mode slot 0..15 last selected
extern uint8_t g_cut_source_state[30];  // bit (source * 40 + crop number - 1)
extern uint8_t g_ryn_keys;              // 1 when the USB keypad was found at start

// Clock: the 10 ms tick, advanced by the GUI thread only and read by every
// worker thread.
extern std::atomic<uint32_t> G_timeTicks;
extern uint32_t G_factoryage_ticks;
extern uint32_t G_delay_usbserver_ticks;

// Configuration (tcpip.ini).
extern QString g_str_ip;
extern QString g_str_barcode;
// 254 enables the console debug lines; read by every thread.
extern std::atomic<uint8_t> g_debugSwitch;

// Ageing record, in memory only.
extern QStringList factoryage_log;
extern uint32_t factoryage_log_diff3;
extern uint32_t factoryage_log_diff5;
extern uint32_t factoryage_log_diff10;
extern uint32_t factoryage_log_diff20;
extern uint32_t factoryage_log_diffmore;

// LED-size handshake between the scaler and the FPGA threads
// (under Utils::_led_para_init_mutex).
extern Wakeup& g_fpga_wakeup;      // the FPGA thread's sleep
extern WakingFlag g_set_led_para;  // LED_PARA_STATE; a request wakes the FPGA thread
extern volatile uint8_t g_set_led_setup;

// Flags of the control protocol and the USB watcher.
// Set by the protocol threads, cleared by the FPGA thread, read by the tick.
extern std::atomic<uint8_t> pc_cmd_valid;
extern std::atomic<uint32_t> pc_cmd_time;
extern volatile uint8_t g_app_reset_flag;
extern volatile uint32_t G_reboot_tickTicks;
extern volatile uint8_t g_update_flag;
extern volatile uint32_t g_delay_usbserver;
extern volatile uint8_t g_passby_trans_port;  // PASSBY_PORT

// Console debug output, printed only while g_debugSwitch is 254.
// Each call is flushed at once.
void debug_printf(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
// Makes the console line-buffered, so that the other console lines also
// come in order with Qt's (which go to stderr); called first by main.
void console_init();

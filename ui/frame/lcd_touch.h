#pragma once
// The rotary-encoder reader: "/dev/ec11" delivers one byte per step through
// SIGIO, and an idle counter meant for a front-panel time-out. Nothing in
// the program creates it.
#include <cstdint>

extern uint32_t g_untouched_time;  // capped just above 100,000

class lcd_touch {
public:
    static lcd_touch* pInstance();
    static lcd_touch* p_lcd_touch;

    // Opens the encoder and routes its bytes to the SIGIO handler.
    void lcd_touch_init();
    // No touch state is available: -1.
    int lcd_touch_detect();
    // Counts idle calls; 0 again once a touch is detected.
    void auto_timeout_back();
    int initialize();
    static void* lcdmanageThread(void* arg);

    // The open encoder, or -1.
    static int fd();

private:
    lcd_touch();
};

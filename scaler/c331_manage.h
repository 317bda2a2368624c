#pragma once
// The scaler manager: its worker thread applies every change of the
// parameter block. No chip sits behind it on a PC: the output panel it would
// program is recorded instead (SimPanel).
#include "core/ramblock.h"
#include "core/wakeup.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <pthread.h>

// What rynApi_PnlInit2 was last asked to lay out.
struct SimPanel {
    int width = 0, height = 0, out_w = 0, out_h = 0, splice_mode = 0;
    int calls = 0;
};

class c331_manage {
public:
    static c331_manage* pInstance();
    static c331_manage* p_c331_manage;

    pthread_mutex_t para_mutex = PTHREAD_MUTEX_INITIALIZER;
    // The scaler thread sleeps on it until a writer raises the apply flag.
    Wakeup wakeup;
    // C331_APPLY. Written under para_mutex; atomic because pages and the
    // dispatcher look at it without the lock (a step refused while set).
    // Raising it wakes the scaler thread.
    WakingFlag para_update_flag{wakeup};

    // Brings the chip up from the block and starts c331manageThread once;
    // a second call does nothing. 0 success, 255 on failure.
    int initialize();
    void rynApi_PnlInit2(int width, int height, int out_w, int out_h, int splice_mode);
    // Runs one apply pass now (the thread calls it; tests may too).
    void apply_pass();
    SimPanel panel() const;
    // Brightness requests raised for the FPGA thread.
    std::atomic<int> brightness_requests{0};
    // Times the LED-size handshake was given up because the FPGA thread
    // never released it.
    std::atomic<int> led_wait_timeouts{0};

    // How long the scaler waits for the FPGA thread's LED reload.
    static constexpr int LED_WAIT_LIMIT_MS = 2000;
    static constexpr int LED_WAIT_STEP_US = 10000;
    // The longest sleep without a request: only a bound, should a store
    // bypass the flag's wake-up.
    static constexpr int IDLE_WAIT_US = 1000000;

private:
    c331_manage() = default;
    static void* c331manageThread(void* arg);
    void chip_startup();
    bool wait_led_reload();
    void request_edid_rewrites();
    void remember_applied();

    mutable pthread_mutex_t panel_mutex_ = PTHREAD_MUTEX_INITIALIZER;
    SimPanel panel_;
    // The block as the chip was last given it (under para_mutex).
    std::array<uint8_t, blk::SIZE> applied_{};
    pthread_t thread_{};
    bool started_ = false;
};

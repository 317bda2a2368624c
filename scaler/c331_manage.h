#pragma once
// The scaler manager: its worker thread applies every change of the
// parameter block against the shadow. No chip sits behind it on a PC: the
// output panel it would program is recorded instead (SimPanel).
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
    volatile uint8_t para_update_flag = 0;  // C331_APPLY

    // Starts c331manageThread; 255 on failure.
    int initialize();
    void rynApi_PnlInit2(int width, int height, int out_w, int out_h, int splice_mode);
    // Runs one apply pass now (the thread calls it; tests may too).
    void apply_pass();
    SimPanel panel() const;
    // Counts brightness requests raised for the FPGA thread.
    std::atomic<int> brightness_requests{0};

private:
    c331_manage() = default;
    static void* c331manageThread(void* arg);
    mutable pthread_mutex_t panel_mutex_ = PTHREAD_MUTEX_INITIALIZER;
    SimPanel panel_;
    pthread_t thread_{};
    bool started_ = false;
};

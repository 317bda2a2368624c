#pragma once
// The source manager: serves EDID rewrite requests into a simulated EEPROM
// per input and publishes the inputs' timing.
#include "core/wakeup.h"
#include "sources/edid_image.h"

#include <atomic>
#include <cstdint>
#include <pthread.h>

// What an input's EDID EEPROM announces, as last written.
struct SimEdidEeprom {
    uint16_t width = 0, height = 0, rate = 0;
    bool from_table = false;  // last written from a table uploaded by the PC
    int writes = 0;
    EdidImage image{};  // the EEPROM's bytes; blank until the first write
    int refused = 0;    // requests whose entry gave no EDID
};

class quenzsource {
public:
    static quenzsource* pInstance();
    static quenzsource* p_quenz_source;

    // Per input: a rewrite asked by the scaler thread, and "written" once
    // the newest request has been served. Both change together only under
    // edid_mutex_ (request_edid_rewrite, serve_requests); others just read.
    std::atomic<uint8_t> edid_rewrite_req[6] = {};
    std::atomic<uint8_t> edid_written[6] = {};
    std::atomic<uint8_t> edid_ram_table_from[6] = {};

    // Scaler thread: input `input`'s EDID entry changed (or comes from an
    // uploaded table): clears "written" and raises the request.
    void request_edid_rewrite(int input);

    // Starts checksourceThread once; 0 success, 255 on failure.
    int initialize();
    // Builds input `input`'s EDID from its edid_para entry (or takes the
    // uploaded table) and writes it into the input's EEPROM. 1 success,
    // 0 for an input out of range or an entry that gives no EDID (the
    // EEPROM keeps its previous image).
    int Set_Custom_HDMI_EDID(int input);
    // Serves pending rewrite requests once (the thread calls it).
    void serve_requests();
    SimEdidEeprom eeprom(int input) const;
    // The simulated receiver: publishes input `source`'s timing into the
    // block and tells the GUI thread (test_signal(12)).
    void simulate_input(int source, uint16_t width, uint16_t height, uint8_t rate);

    // The source thread sleeps on it until a rewrite is requested.
    Wakeup wakeup;
    static constexpr int IDLE_WAIT_US = 1000000;

private:
    quenzsource() = default;
    static void* checksourceThread(void* arg);
    mutable pthread_mutex_t eeprom_mutex_ = PTHREAD_MUTEX_INITIALIZER;
    pthread_mutex_t edid_mutex_ = PTHREAD_MUTEX_INITIALIZER;
    SimEdidEeprom eeprom_[6];
    pthread_t thread_{};
    bool started_ = false;
};

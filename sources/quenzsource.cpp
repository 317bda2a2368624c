#include "sources/quenzsource.h"

#include "core/global.h"
#include "core/rynrampara.h"
#include "core/utils.h"
#include "scaler/c331_manage.h"

#include <chrono>

quenzsource* quenzsource::p_quenz_source = nullptr;

quenzsource* quenzsource::pInstance() {
    static quenzsource* instance = [] {
        p_quenz_source = new quenzsource;
        return p_quenz_source;
    }();
    return instance;
}

int quenzsource::initialize() {
    if (started_)
        return 0;
    if (pthread_create(&thread_, nullptr, &quenzsource::checksourceThread, this) != 0) {
        debug_printf("quenzsource: cannot start the source thread\n");
        return 255;
    }
    started_ = true;
    return 0;
}

void* quenzsource::checksourceThread(void* arg) {
    auto* self = static_cast<quenzsource*>(arg);
    for (;;) {
        self->serve_requests();
        self->wakeup.wait_for(std::chrono::microseconds(IDLE_WAIT_US));
    }
    return nullptr;
}

void quenzsource::request_edid_rewrite(int input) {
    if (input < 0 || input >= SOURCE_COUNT)
        return;
    MutexLocker lock(&edid_mutex_);
    edid_written[input] = 0;
    edid_rewrite_req[input] = 1;
    wakeup.notify();
}

// A request raised while the write runs stays set and is served on the next
// pass with the newer entry; "written" is only set when no request came in
// since this one was taken. The check and the set are one step under the
// lock: between them a new request would otherwise be marked written.
void quenzsource::serve_requests() {
    for (int s = 0; s < SOURCE_COUNT; ++s) {
        {
            MutexLocker lock(&edid_mutex_);
            if (!edid_rewrite_req[s])
                continue;
            edid_rewrite_req[s] = 0;
        }
        // An entry that gives no EDID leaves the input unwritten.
        const int written = Set_Custom_HDMI_EDID(s);
        MutexLocker lock(&edid_mutex_);
        if (written && !edid_rewrite_req[s])
            edid_written[s] = 1;
    }
}

int quenzsource::Set_Custom_HDMI_EDID(int input) {
    if (input < 0 || input >= SOURCE_COUNT) {
        debug_printf("Set_Custom_HDMI_EDID: no input %d\n", input);
        return 0;
    }
    SimEdidEeprom e = eeprom(input);
    e.from_table = edid_ram_table_from[input] != 0;
    if (!e.from_table) {
        // Read under the writers' lock so that a half-written entry is
        // never burnt into the EEPROM.
        c331_manage* m = c331_manage::pInstance();
        MutexLocker lock(&m->para_mutex);
        const RynRamPara* rp = RynRamPara::pInstance();
        e.width = rp->u16(blk::edid(input));
        e.height = rp->u16(blk::edid(input) + 2);
        e.rate = rp->u16(blk::edid(input) + 4);
    }
    if (!e.from_table) {
        // The page stores whatever was typed, 0 included.
        std::string why;
        if (!edid_build(e.width, e.height, e.rate, &e.image, &why)) {
            debug_printf("EDID of input %d not rewritten (%u x %u @ %u: %s): keeping the previous "
                         "image\n",
                         input, e.width, e.height, e.rate, why.c_str());
            MutexLocker lock(&eeprom_mutex_);
            ++eeprom_[input].refused;
            return 0;
        }
    }
    ++e.writes;
    {
        MutexLocker lock(&eeprom_mutex_);
        eeprom_[input] = e;
    }
    debug_printf("EDID of input %d written: %u x %u @ %u%s\n", input, e.width, e.height, e.rate,
                 e.from_table ? " (uploaded table)" : "");
    return 1;
}

SimEdidEeprom quenzsource::eeprom(int input) const {
    if (input < 0 || input >= SOURCE_COUNT)
        return {};
    MutexLocker lock(&eeprom_mutex_);
    return eeprom_[input];
}

void quenzsource::simulate_input(int source, uint16_t width, uint16_t height, uint8_t rate) {
    // The model checks the input and keeps 55 Hz and faster as 60.
    RynRamPara::pInstance()->publish_input_info(source, width, height, rate);
}

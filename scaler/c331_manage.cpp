#include "scaler/c331_manage.h"

#include "core/global.h"
#include "core/rynrampara.h"
#include "core/utils.h"
#include "fpga/fpga_manage.h"
#include "sources/quenzsource.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <unistd.h>

c331_manage* c331_manage::p_c331_manage = nullptr;

namespace {
// The fields that make the output panel: a change of any of them re-lays
// the panel and reloads the FPGA's output.
constexpr int LED_GROUP[] = {blk::SPLICE_MODE, blk::LED_WIDTH, blk::LED_HEIGHT, blk::OUT1_W, blk::OUT1_H};

bool led_group_differs(const uint8_t* a, const uint8_t* b) {
    for (int off : LED_GROUP)
        if (blk::rd16(a, off) != blk::rd16(b, off))
            return true;
    return false;
}
}  // namespace

c331_manage* c331_manage::pInstance() {
    static c331_manage* instance = [] {
        p_c331_manage = new c331_manage;
        return p_c331_manage;
    }();
    return instance;
}

int c331_manage::initialize() {
    if (started_)
        return 0;
    chip_startup();
    if (pthread_create(&thread_, nullptr, &c331_manage::c331manageThread, this) != 0) {
        debug_printf("c331_manage: cannot start the scaler thread\n");
        return 255;
    }
    started_ = true;
    return 0;
}

// Lays the panel out from the block as loaded, so that the chip starts in
// step with it; from here on only changes are applied.
void c331_manage::chip_startup() {
    RynRamPara* rp = RynRamPara::pInstance();
    MutexLocker lock(&para_mutex);
    const uint8_t* b = rp->RamParaBlock.data();
    rynApi_PnlInit2(blk::rd16(b, blk::LED_WIDTH), blk::rd16(b, blk::LED_HEIGHT), blk::rd16(b, blk::OUT1_W),
                    blk::rd16(b, blk::OUT1_H), blk::rd16(b, blk::SPLICE_MODE));
    remember_applied();
}

// The input timing bytes below the persisted part are the source thread's
// (under the model's own lock) and are no parameter the scaler applies.
void c331_manage::remember_applied() {
    const uint8_t* block = RynRamPara::pInstance()->RamParaBlock.data();
    std::copy(block + blk::PERSIST_BEGIN, block + blk::SIZE, applied_.begin() + blk::PERSIST_BEGIN);
}

void* c331_manage::c331manageThread(void* arg) {
    auto* self = static_cast<c331_manage*>(arg);
    for (;;) {
        self->apply_pass();
        self->wakeup.wait_for(std::chrono::microseconds(IDLE_WAIT_US));
    }
    return nullptr;
}

void c331_manage::rynApi_PnlInit2(int width, int height, int out_w, int out_h, int splice_mode) {
    MutexLocker lock(&panel_mutex_);
    panel_.width = width;
    panel_.height = height;
    panel_.out_w = out_w;
    panel_.out_h = out_h;
    panel_.splice_mode = splice_mode;
    ++panel_.calls;
    debug_printf("rynApi_PnlInit2 %d x %d, out %d x %d, splice %d\n", width, height, out_w, out_h, splice_mode);
}

SimPanel c331_manage::panel() const {
    MutexLocker lock(&panel_mutex_);
    return panel_;
}

// Changes are found against `applied_`, the block as the chip last took it,
// not against the saved shadow: the shadow is only refreshed by the
// dispatcher's save, which runs later in the GUI thread. Between an apply
// and that save, the shadow would either make the scaler apply a change a
// second time or, when a value goes back to its saved state, miss it and
// leave the chip on the intermediate value. Once the save has run the two
// copies are equal.
void c331_manage::apply_pass() {
    RynRamPara* rp = RynRamPara::pInstance();
    pthread_mutex_lock(&para_mutex);
    if (para_update_flag == C331_APPLY_NONE) {
        pthread_mutex_unlock(&para_mutex);
        return;
    }

    const uint8_t* block = rp->RamParaBlock.data();
    if (led_group_differs(block, applied_.data())) {
        wait_led_reload();
        // Read after the wait: a writer may have changed the size meanwhile.
        rynApi_PnlInit2(blk::rd16(block, blk::LED_WIDTH), blk::rd16(block, blk::LED_HEIGHT),
                        blk::rd16(block, blk::OUT1_W), blk::rd16(block, blk::OUT1_H),
                        blk::rd16(block, blk::SPLICE_MODE));
        MutexLocker led(&Utils::_led_para_init_mutex);
        g_set_led_para = LED_PARA_PANEL_DONE;
    }

    request_edid_rewrites();

    const uint16_t bright = blk::rd16(block, blk::BRIGHTNESS);
    if (bright != blk::rd16(applied_.data(), blk::BRIGHTNESS)) {
        ++brightness_requests;
        if (fpga_manage* f = fpga_manage::p_fpga_manage)
            f->request_brightness(bright);
    }

    remember_applied();
    const int code = para_update_flag;
    para_update_flag = C331_APPLY_NONE;
    pthread_mutex_unlock(&para_mutex);

    rp->test_signal(code);
}

// The FPGA thread reloads its output in steps counted in GUI ticks; it may
// be mid-way when the size changes. The wait must not hold para_mutex, or a
// GUI thread blocked on it would stop the ticks the FPGA thread counts and
// all three threads would hang. Bounded, so a stalled FPGA thread cannot
// stop every later change. Called and returns with para_mutex held.
bool c331_manage::wait_led_reload() {
    const auto start = std::chrono::steady_clock::now();
    for (;;) {
        uint8_t state;
        {
            MutexLocker led(&Utils::_led_para_init_mutex);
            state = g_set_led_para;
        }
        if (state != LED_PARA_REQUEST)
            return true;
        const auto waited = std::chrono::steady_clock::now() - start;
        if (waited >= std::chrono::milliseconds(LED_WAIT_LIMIT_MS)) {
            ++led_wait_timeouts;
            debug_printf("c331_manage: FPGA LED reload not finished after %d ms, going on\n", LED_WAIT_LIMIT_MS);
            return false;
        }
        pthread_mutex_unlock(&para_mutex);
        usleep(LED_WAIT_STEP_US);
        pthread_mutex_lock(&para_mutex);
    }
}

// Every input whose EDID entry changed gets its EEPROM rewritten (a user
// mode may change several at once); an input fed from a PC-uploaded table is
// rewritten on every walk.
void c331_manage::request_edid_rewrites() {
    quenzsource* src = quenzsource::pInstance();
    const uint8_t* block = RynRamPara::pInstance()->RamParaBlock.data();
    for (int s = 0; s < SOURCE_COUNT; ++s) {
        const bool changed =
            std::memcmp(block + blk::edid(s), applied_.data() + blk::edid(s), blk::EDID_PARA_SIZE) != 0;
        if (!changed && !src->edid_ram_table_from[s])
            continue;
        src->request_edid_rewrite(s);
    }
}

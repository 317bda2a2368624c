#include "fpga/fpga_manage.h"

#include "core/global.h"
#include "core/utils.h"
#include "fpga/rcv_recovery_file.h"

#include <algorithm>
#include <chrono>

fpga_manage* fpga_manage::p_fpga_manage = nullptr;

namespace {
// The simulated board's FPGA program: version 05 of 18 June 2024 (BCD),
// four output ports linked on FPGA 0.
struct RegInit {
    int reg;
    uint8_t fpga0, fpga1;
};
constexpr RegInit SIM_REGISTERS[] = {
    {fpga_reg::VERSION_FUNC, 0x05, 0x05}, {fpga_reg::VERSION_DAY, 0x18, 0x18}, {fpga_reg::VERSION_MONTH, 0x06, 0x06},
    {fpga_reg::VERSION_YEAR, 0x24, 0x24}, {fpga_reg::LINK_LOW, 0x0F, 0x00},    {fpga_reg::LINK_HIGH, 0x00, 0x00},
};

// Registers that exist on the chip: 0..63 and 128..170.
constexpr int REG_LOW_END = 63;
constexpr int REG_HIGH_BEGIN = 128;
constexpr int REG_HIGH_END = 170;
}  // namespace

fpga_manage* fpga_manage::pInstance() {
    static fpga_manage* instance = [] {
        p_fpga_manage = new fpga_manage;
        return p_fpga_manage;
    }();
    return instance;
}

fpga_manage::fpga_manage() {
    for (int f = 0; f < FPGA_COUNT; ++f)
        MCU_REG_func[f] = shadow_[f];
    for (const RegInit& r : SIM_REGISTERS) {
        sim_regs_[0][r.reg] = r.fpga0;
        sim_regs_[1][r.reg] = r.fpga1;
    }
    recovery_parser = new rcvRecovery;
}

int fpga_manage::initialize() {
    return 0;
}

int fpga_manage::initialize_start() {
    if (started_)
        return 0;
    if (pthread_create(&thread_, nullptr, &fpga_manage::fpgamanageThread, this) != 0) {
        debug_printf("fpga_manage: cannot start the FPGA thread\n");
        return 255;
    }
    started_ = true;
    return 0;
}

void* fpga_manage::fpgamanageThread(void* arg) {
    auto* self = static_cast<fpga_manage*>(arg);
    self->bringup();
    for (;;) {
        self->set_led_para_deal();
        self->brightness_deal();
        self->age_counters_deal();
        self->pc_cmd_deal();
        self->card_job_deal();
        g_fpga_wakeup.wait_for(std::chrono::microseconds(self->idle_wait_us()));
    }
    return nullptr;
}

// Requests (brightness, the LED reload) wake the thread at once. Left
// alone it sleeps until its next tick-counted duty is due: every pass
// while the LED reload counts its steps, otherwise the ageing counters or
// the end of a PC command's hold. Ticks only advance with the GUI's 10 ms
// clock, so a due time is an estimate, checked again on waking; the sleep
// is bounded so that a stopped clock costs one wake-up a second.
int fpga_manage::idle_wait_us() const {
    if (g_set_led_para != LED_PARA_IDLE || card_job_running())
        return PASS_SLEEP_US;
    uint32_t ticks = AGE_TICKS - std::min(Utils::getTimeSpace(age_stamp_), AGE_TICKS);
    if (pc_cmd_valid)
        ticks = std::min(ticks, PC_CMD_HOLD_TICKS - std::min(Utils::getTimeSpace(pc_cmd_time), PC_CMD_HOLD_TICKS));
    const int64_t us = int64_t(ticks) * TICK_US;
    return int(std::clamp<int64_t>(us, PASS_SLEEP_US, IDLE_WAIT_US));
}

bool fpga_manage::start_card_job(QObject* page) {
    {
        MutexLocker lock(&job_mutex_);
        if (job_page_ || !page)
            return false;
        job_page_ = page;
        job_percent_ = 0;
        job_stamp_ = G_timeTicks;
    }
    g_fpga_wakeup.notify();
    return true;
}

void fpga_manage::cancel_card_job(QObject* page) {
    MutexLocker lock(&job_mutex_);
    if (job_page_ == page)
        job_page_ = nullptr;
}

bool fpga_manage::card_job_running() const {
    MutexLocker lock(&job_mutex_);
    return job_page_ != nullptr;
}

// The page lives in the GUI thread: the report is queued to it, and it is
// posted under the job lock, which the page's destructor takes to cancel,
// so the page cannot go away in between.
void fpga_manage::card_job_deal() {
    MutexLocker lock(&job_mutex_);
    if (!job_page_ || Utils::getTimeSpace(job_stamp_) < JOB_STEP_TICKS)
        return;
    job_stamp_ = G_timeTicks;
    job_percent_ = std::min(100, job_percent_ + JOB_STEP_PERCENT);
    Utils::post_to_gui_thread([this] {
        QMetaObject::invokeMethod(job_page_, "sig_qround_bar_update", Qt::QueuedConnection, Q_ARG(int, job_percent_));
    });
    if (job_percent_ >= 100)
        job_page_ = nullptr;
}

// The configuration is already in the simulated chip; bring-up only reads
// every register of both FPGAs into the shadows. Byte 80 of a shadow lies
// in the gap between the register banks: the bring-up keeps its state there.
void fpga_manage::bringup() {
    bringup_step_[0] = true;
    for (int f = 0; f < FPGA_COUNT; ++f) {
        for (int r = 0; r < FPGA_REG_COUNT; ++r)
            if (reg_exists(r))
                read_from_register(static_cast<unsigned char>(r), static_cast<unsigned char>(f));
        MutexLocker lock(&reg_mutex);
        shadow_[f][fpga_reg::STATE] = fpga_reg::STATE_RUNNING;
    }
    age_stamp_ = G_timeTicks;
    bringup_step_[1] = true;
    debug_printf("fpga_manage: FPGA up\n");
}

bool fpga_manage::reg_exists(int reg) const {
    return (reg >= 0 && reg <= REG_LOW_END) || (reg >= REG_HIGH_BEGIN && reg <= REG_HIGH_END);
}

int fpga_manage::read_from_register(unsigned char reg, unsigned char fpga) {
    if (fpga >= FPGA_COUNT || !reg_exists(reg)) {
        debug_printf("read_from_register: no register %u on FPGA %u\n", reg, fpga);
        return 0;
    }
    MutexLocker lock(&reg_mutex);
    shadow_[fpga][reg] = sim_regs_[fpga][reg];
    return 1;
}

// The shadows are written by the FPGA thread under reg_mutex; the pages
// read them here from the GUI thread.
int fpga_manage::get_fpga_status() {
    const bool up = bringup_step_[0] && bringup_step_[1];
    MutexLocker lock(&reg_mutex);
    const uint8_t* r = shadow_[0];
    return (up && r[fpga_reg::STATE] == fpga_reg::STATE_RUNNING && !(r[fpga_reg::CONTROL] & fpga_reg::CONTROL_FAULT))
               ? 1
               : 0;
}

uint32_t fpga_manage::get_wlan_state() {
    {
        MutexLocker lock(&reg_mutex);
        if (shadow_[0][fpga_reg::STATE] != fpga_reg::STATE_RUNNING)
            return 0;
    }
    read_from_register(fpga_reg::LINK_LOW, 0);
    read_from_register(fpga_reg::LINK_HIGH, 0);
    MutexLocker lock(&reg_mutex);
    return (uint32_t(shadow_[0][fpga_reg::LINK_HIGH]) << 8) | shadow_[0][fpga_reg::LINK_LOW];
}

// A writer raises 1 with step 0 when the LED size changed; the output is
// reloaded in two steps spaced in ticks, then the scaler may go on. The
// scaler answers 2 once its panel is laid out, and FPGA 0 restarts.
void fpga_manage::set_led_para_deal() {
    MutexLocker lock(&Utils::_led_para_init_mutex);
    if (g_set_led_para == LED_PARA_PANEL_DONE) {
        g_set_led_para = LED_PARA_IDLE;
        g_set_led_setup = 0;
        reset_fpga_rst(0);
        return;
    }
    if (g_set_led_para != LED_PARA_REQUEST)
        return;
    switch (g_set_led_setup) {
    case 0:
        debug_printf("fpga_manage: LED reload, output step 0\n");
        led_stamp_ = G_timeTicks;
        g_set_led_setup = 1;
        break;
    case 1:
        if (Utils::getTimeSpace(led_stamp_) >= LED_STEP5_TICKS) {
            debug_printf("fpga_manage: LED reload, output step 5\n");
            led_stamp_ = G_timeTicks;
            g_set_led_setup = 5;
        }
        break;
    case 5:
        if (Utils::getTimeSpace(led_stamp_) >= LED_DONE_TICKS) {
            g_set_led_para = LED_PARA_IDLE;
            g_set_led_setup = 0;
        }
        break;
    default:
        // A step this thread never sets: start the reload again.
        debug_printf("fpga_manage: LED reload step %u unknown, restarting\n", g_set_led_setup);
        g_set_led_setup = 0;
        break;
    }
}

void fpga_manage::reset_fpga_rst(int level) {
    ++reset_count_;
    debug_printf("fpga_manage: FPGA 0 reset line %d\n", level);
}

void fpga_manage::request_brightness(uint16_t value) {
    MutexLocker lock(&Utils::_bri_set_mutex);
    bri_value_ = value;
    bri_req_ = 1;
    g_fpga_wakeup.notify();
}

void fpga_manage::brightness_deal() {
    uint16_t value;
    {
        MutexLocker lock(&Utils::_bri_set_mutex);
        if (!bri_req_)
            return;
        bri_req_ = 0;
        value = bri_value_;
    }
    brightness_sent_ = value;
    ++brightness_sends_;
    debug_printf("fpga_manage: brightness %u sent\n", value);
}

// The burn-in counters of the simulated FPGA creep forward; register 43
// carries register 42's wraps.
void fpga_manage::age_counters_deal() {
    if (Utils::getTimeSpace(age_stamp_) < AGE_TICKS)
        return;
    age_stamp_ = G_timeTicks;
    MutexLocker lock(&reg_mutex);
    uint8_t* r = sim_regs_[0];
    ++r[fpga_reg::AGE_A];
    if (++r[fpga_reg::AGE_B] == 0)
        ++r[fpga_reg::AGE_C];
}

// A PC command counts as recent for a few seconds after its last frame.
// A PC command counts as recent for a few seconds after its last frame.
void fpga_manage::pc_cmd_deal() {
    if (pc_cmd_valid && Utils::getTimeSpace(pc_cmd_time) >= PC_CMD_HOLD_TICKS)
        pc_cmd_valid = 0;
}

void fpga_manage::sim_set_register(int fpga, int reg, uint8_t value) {
    if (fpga < 0 || fpga >= FPGA_COUNT || reg < 0 || reg >= FPGA_REG_COUNT)
        return;
    MutexLocker lock(&reg_mutex);
    sim_regs_[fpga][reg] = value;
}

uint8_t fpga_manage::sim_register(int fpga, int reg) {
    if (fpga < 0 || fpga >= FPGA_COUNT || reg < 0 || reg >= FPGA_REG_COUNT)
        return 0;
    MutexLocker lock(&reg_mutex);
    return sim_regs_[fpga][reg];
}

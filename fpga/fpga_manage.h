#pragma once
// The FPGA manager over a simulated register file: register shadows, the
// output-port links, the LED-size handshake, brightness and the recovery
// list.
#include <QObject>
#include <atomic>
#include <cstdint>
#include <pthread.h>

class rcvRecovery;

constexpr int FPGA_COUNT = 2;
constexpr int FPGA_REG_COUNT = 256;  // shadow size; registers 0..63 and 128..170 exist

namespace fpga_reg {
constexpr int CONTROL = 0;  // bit 3 set: not running normally
constexpr uint8_t CONTROL_FAULT = 0x08;
constexpr int VERSION_FUNC = 28;  // BCD: function number, day, month, year
constexpr int VERSION_DAY = 29;
constexpr int VERSION_MONTH = 30;
constexpr int VERSION_YEAR = 31;
constexpr int AGE_A = 40;  // the ageing log's counters
constexpr int AGE_B = 42;
constexpr int AGE_C = 43;
constexpr int STATE = 80;  // shadow only, no register: 3 = running
constexpr uint8_t STATE_RUNNING = 3;
constexpr int LINK_LOW = 128;   // bit p: link of output port p (0..7)
constexpr int LINK_HIGH = 144;  // bit p: link of output port p + 8
}  // namespace fpga_reg

class fpga_manage : public QObject {
    Q_OBJECT
public:
    static fpga_manage* pInstance();
    static fpga_manage* p_fpga_manage;

    pthread_mutex_t reg_mutex = PTHREAD_MUTEX_INITIALIZER;
    pthread_mutex_t irq_mutex = PTHREAD_MUTEX_INITIALIZER;
    uint8_t* MCU_REG_func[FPGA_COUNT] = {nullptr, nullptr};
    rcvRecovery* recovery_parser = nullptr;

    // Maps the (simulated) board; 0 success, 255 on failure.
    int initialize();
    // Starts fpgamanageThread once; 0 success, 255 on failure.
    int initialize_start();
    // 1 while FPGA 0 runs normally.
    int get_fpga_status();
    // Bit p: Ethernet link of output port p of FPGA 0; 0 while it is down.
    uint32_t get_wlan_state();
    // Reads one register into the shadow. 1 success; 0 for a register or
    // FPGA number out of range.
    int read_from_register(unsigned char reg, unsigned char fpga);
    // One step of the LED-size reload handshake (FPGA thread).
    void set_led_para_deal();
    void reset_fpga_rst(int level);
    // Scaler thread: the block's brightness changed.
    void request_brightness(uint16_t value);
    // FPGA thread: sends a pending brightness to the cards.
    void brightness_deal();
    // FPGA thread: the simulated burn-in counters advance.
    void age_counters_deal();
    // FPGA thread, once at its start: reads every register into the
    // shadows and marks both bring-up steps done.
    void bringup();

    // A receiving-card job for a tools page: the FPGA thread reports its
    // progress to the page's sig_qround_bar_update(int) as queued calls,
    // 100 when it ends. false while another job runs.
    bool start_card_job(QObject* page);
    // The page goes away: nothing more is sent to it.
    void cancel_card_job(QObject* page);
    bool card_job_running() const;

    // The simulated register file (what the chip would answer).
    void sim_set_register(int fpga, int reg, uint8_t value);
    uint8_t sim_register(int fpga, int reg);
    int reset_count() const { return reset_count_; }
    int brightness_sent() const { return brightness_sent_; }
    int brightness_sends() const { return brightness_sends_; }

    // Ticks of the reload steps and of the simulated ageing counters.
    static constexpr uint32_t LED_STEP5_TICKS = 11;
    static constexpr uint32_t LED_DONE_TICKS = 31;
    static constexpr uint32_t AGE_TICKS = 3000;
    static constexpr uint32_t PC_CMD_HOLD_TICKS = 300;
    // A card job of about five seconds: long enough to watch the ring and
    // to find Back and MODE refused while it runs.
    static constexpr uint32_t JOB_STEP_TICKS = 25;  // one progress report each
    static constexpr int JOB_STEP_PERCENT = 5;
    static constexpr int PASS_SLEEP_US = 10000;  // one tick
    static constexpr int TICK_US = 10000;
    static constexpr int IDLE_WAIT_US = 1000000;

private:
    fpga_manage();
    static void* fpgamanageThread(void* arg);
    void pc_cmd_deal();
    void card_job_deal();
    // How long the thread may sleep before its next duty.
    int idle_wait_us() const;
    bool reg_exists(int reg) const;

    uint8_t shadow_[FPGA_COUNT][FPGA_REG_COUNT] = {};
    uint8_t sim_regs_[FPGA_COUNT][FPGA_REG_COUNT] = {};  // under reg_mutex
    // The two bring-up steps of FPGA 0: configuration loaded, registers read.
    std::atomic<bool> bringup_step_[2] = {{false}, {false}};
    uint32_t led_stamp_ = 0;  // under Utils::_led_para_init_mutex
    uint32_t age_stamp_ = 0;
    std::atomic<int> reset_count_{0};
    uint16_t bri_value_ = 0;  // under Utils::_bri_set_mutex
    uint8_t bri_req_ = 0;
    std::atomic<int> brightness_sent_{-1};
    std::atomic<int> brightness_sends_{0};
    mutable pthread_mutex_t job_mutex_ = PTHREAD_MUTEX_INITIALIZER;
    QObject* job_page_ = nullptr;  // under job_mutex_, as the two below
    int job_percent_ = 0;
    uint32_t job_stamp_ = 0;
    pthread_t thread_{};
    bool started_ = false;
};

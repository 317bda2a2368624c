#pragma once
// The FPGA manager over a simulated register file: register shadows, the
// output-port links, the LED-size handshake and the recovery list.
#include <QObject>
#include <cstdint>
#include <pthread.h>

class rcvRecovery;

constexpr int FPGA_REG_COUNT = 256;  // shadow size; registers 0..63 and 128..170 exist

class fpga_manage : public QObject {
    Q_OBJECT
public:
    static fpga_manage* pInstance();
    static fpga_manage* p_fpga_manage;

    pthread_mutex_t reg_mutex = PTHREAD_MUTEX_INITIALIZER;
    pthread_mutex_t irq_mutex = PTHREAD_MUTEX_INITIALIZER;
    uint8_t* MCU_REG_func[2] = {nullptr, nullptr};
    rcvRecovery* recovery_parser = nullptr;

    // Maps the (simulated) board; 255 on failure.
    int initialize();
    // Starts fpgamanageThread.
    int initialize_start();
    int get_fpga_status();
    uint32_t get_wlan_state();
    // 1 success; 0 for a register or FPGA number out of range.
    int read_from_register(unsigned char reg, unsigned char fpga);
    void set_led_para_deal();
    void reset_fpga_rst(int level);

    // The simulated register file (what the chip would answer).
    void sim_set_register(int fpga, int reg, uint8_t value);
    uint8_t sim_register(int fpga, int reg) const;
    int reset_count() const { return reset_count_; }

private:
    fpga_manage();
    static void* fpgamanageThread(void* arg);
    uint8_t shadow_[2][FPGA_REG_COUNT] = {};
    uint8_t sim_regs_[2][FPGA_REG_COUNT] = {};
    uint32_t led_stamp_ = 0;
    int reset_count_ = 0;
    pthread_t thread_{};
    bool started_ = false;
};

// The simulated FPGA: register bounds, the running state, the link bits and
// the LED-size reload handshake in ticks.
#include "testsupport.h"

#include "core/global.h"
#include "core/utils.h"
#include "fpga/fpga_manage.h"

#include <QtTest>

namespace {
fpga_manage* fpga() {
    return fpga_manage::pInstance();
}
struct RegisterRow {
    int reg, fpga;
    bool exists;
};
}  // namespace
Q_DECLARE_METATYPE(RegisterRow)

class TstFpgaManage : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        testsupport::fresh_device();
        QCOMPARE(fpga()->get_fpga_status(), 0);  // whatever the chip says before bring-up
        fpga()->bringup();
    }
    void init() { testsupport::fresh_device(); }

    // Registers 0..63 and 128..170 of FPGA 0 and 1 are read into the
    // shadow; any other is refused and the shadow left alone.
    void registerReads_data() {
        testsupport::rows<RegisterRow>({{"first", {0, 0, true}},
                                        {"last of the low bank", {63, 1, true}},
                                        {"gap after the low bank", {64, 0, false}},
                                        {"first of the high bank", {128, 0, true}},
                                        {"last", {170, 1, true}},
                                        {"past the last", {171, 0, false}},
                                        {"no FPGA 2", {5, 2, false}}});
    }
    void registerReads() {
        QFETCH(RegisterRow, row);
        fpga()->sim_set_register(row.fpga, row.reg, 0x5A);
        fpga()->MCU_REG_func[row.fpga % 2][row.reg] = 0x11;
        QCOMPARE(fpga()->read_from_register(uint8_t(row.reg), uint8_t(row.fpga)), int(row.exists));
        QCOMPARE(int(fpga()->MCU_REG_func[row.fpga % 2][row.reg]), row.exists ? 0x5A : 0x11);
    }

    // Running needs state 3 and register 0 bit 3 clear; ports 0, 7 and 14
    // linked; a chip that is not running has no links.
    void linksFollowRegisters() {
        fpga()->MCU_REG_func[0][fpga_reg::CONTROL] = uint8_t(~fpga_reg::CONTROL_FAULT);
        QCOMPARE(fpga()->get_fpga_status(), 1);
        fpga()->MCU_REG_func[0][fpga_reg::CONTROL] = fpga_reg::CONTROL_FAULT;
        QCOMPARE(fpga()->get_fpga_status(), 0);
        fpga()->sim_set_register(0, fpga_reg::LINK_LOW, 0x81);
        fpga()->sim_set_register(0, fpga_reg::LINK_HIGH, 0x40);
        QCOMPARE(fpga()->get_wlan_state(), 0x4081u);
        fpga()->MCU_REG_func[0][fpga_reg::STATE] = 2;
        QCOMPARE(fpga()->get_wlan_state(), 0u);
        fpga()->MCU_REG_func[0][fpga_reg::STATE] = fpga_reg::STATE_RUNNING;
    }

    // The last step across the tick wrap, where getTimeSpace counts one less.
    void ledReloadStepsCountTicks() {
        const uint32_t step5 = 0xFFFFFFF0u + fpga_manage::LED_STEP5_TICKS,
                       done = step5 + fpga_manage::LED_DONE_TICKS + 1;
        // One pass of the FPGA thread's handshake at tick t; returns the step.
        const auto led_deal_at = [](uint32_t t) {
            return G_timeTicks = t, fpga()->set_led_para_deal(), int(g_set_led_setup);
        };
        {
            MutexLocker lock(&Utils::_led_para_init_mutex);
            g_set_led_para = LED_PARA_REQUEST, g_set_led_setup = 0;
        }
        QCOMPARE(led_deal_at(0xFFFFFFF0u), 1);
        QCOMPARE(led_deal_at(step5 - 1), 1);
        QCOMPARE(led_deal_at(step5), 5);
        led_deal_at(done - 1);
        QCOMPARE(int(g_set_led_para), int(LED_PARA_REQUEST));
        QCOMPARE(led_deal_at(done), 0);
        QCOMPARE(int(g_set_led_para), int(LED_PARA_IDLE));
    }
};

QTEST_MAIN(TstFpgaManage)
#include "tst_fpga_manage.moc"

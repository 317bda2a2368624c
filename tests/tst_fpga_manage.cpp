// The simulated FPGA: register bounds, the running state, the link bits and
// the LED-size reload handshake in ticks.
#include "testsupport.h"

#include "core/global.h"
#include "core/utils.h"
#include "fpga/fpga_manage.h"

#include <QtTest>

namespace {
fpga_manage* fpga() { return fpga_manage::pInstance(); }

void set_led(uint8_t para, uint8_t setup) {
    MutexLocker lock(&Utils::_led_para_init_mutex);
    g_set_led_para = para;
    g_set_led_setup = setup;
}
// One pass of the FPGA thread's handshake at tick t; returns the step.
int led_deal_at(uint32_t t) {
    G_timeTicks = t;
    fpga()->set_led_para_deal();
    return g_set_led_setup;
}
} // namespace

class TstFpgaManage : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        testsupport::fresh_device();
        // Not running before bring-up, whatever the chip says.
        QCOMPARE(fpga()->get_fpga_status(), 0);
        fpga()->bringup();
        QCOMPARE(fpga()->get_fpga_status(), 1);
    }

    void init() {
        testsupport::fresh_device();
        set_led(LED_PARA_IDLE, 0);
    }

    // A register past the last one is refused, the shadow left alone.
    void registerReadsStayInsideTheShadow() {
        fpga()->sim_set_register(0, 171, 0x5A);
        const uint8_t before = fpga()->MCU_REG_func[0][171];
        QCOMPARE(fpga()->read_from_register(171, 0), 0);
        QCOMPARE(fpga()->MCU_REG_func[0][171], before);
    }

    void statusAndLinksFollowRegisters() {
        fpga()->sim_set_register(0, fpga_reg::CONTROL, fpga_reg::CONTROL_FAULT);
        fpga()->read_from_register(fpga_reg::CONTROL, 0);
        QCOMPARE(fpga()->get_fpga_status(), 0);
        fpga()->sim_set_register(0, fpga_reg::CONTROL, 0);
        fpga()->read_from_register(fpga_reg::CONTROL, 0);

        // Ports 0, 7 and 14.
        fpga()->sim_set_register(0, fpga_reg::LINK_LOW, 0x81);
        fpga()->sim_set_register(0, fpga_reg::LINK_HIGH, 0x40);
        QCOMPARE(fpga()->get_wlan_state(), 0x4081u);

        // A chip that is not running has no links.
        fpga()->MCU_REG_func[0][fpga_reg::STATE] = 2;
        QCOMPARE(fpga()->get_wlan_state(), 0u);
        fpga()->MCU_REG_func[0][fpga_reg::STATE] = fpga_reg::STATE_RUNNING;
    }

    // The last step across the tick wrap, where getTimeSpace counts one less.
    void ledReloadStepsCountTicks() {
        const uint32_t start = 0xFFFFFFF0u, late = 1;
        set_led(LED_PARA_REQUEST, 0);
        QCOMPARE(led_deal_at(start), 1);
        const uint32_t step5 = start + fpga_manage::LED_STEP5_TICKS;
        QCOMPARE(led_deal_at(step5), 5);
        led_deal_at(step5 + fpga_manage::LED_DONE_TICKS + late - 1);
        QCOMPARE(int(g_set_led_para), int(LED_PARA_REQUEST));
        QCOMPARE(led_deal_at(step5 + fpga_manage::LED_DONE_TICKS + late), 0);
        QCOMPARE(int(g_set_led_para), int(LED_PARA_IDLE));
    }
};

QTEST_MAIN(TstFpgaManage)
#include "tst_fpga_manage.moc"

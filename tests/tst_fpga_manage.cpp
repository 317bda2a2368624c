// The simulated FPGA: register reads and their bounds, the running state,
// the link bits, the LED-size reload handshake in ticks, brightness, the
// burn-in counters and the recovery package list.
#include "testsupport.h"

#include "core/devicepath.h"
#include "core/global.h"
#include "core/utils.h"
#include "fpga/fpga_manage.h"
#include "fpga/rcv_recovery_file.h"

#include <QDir>
#include <QFile>
#include <QtTest>

namespace {
fpga_manage* fpga() {
    return fpga_manage::pInstance();
}

void set_led(uint8_t para, uint8_t setup) {
    MutexLocker lock(&Utils::_led_para_init_mutex);
    g_set_led_para = para;
    g_set_led_setup = setup;
}

void touch(const QString& path) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
}
} // namespace

class TstFpgaManage : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();

    void registerReadsStayInsideTheShadow_data();
    void registerReadsStayInsideTheShadow();
    void statusFollowsStateAndControlRegisters();
    void linkBitsReadFresh();
    void ledReloadStepsCountTicks_data();
    void ledReloadStepsCountTicks();
    void panelDoneResetsFpga();
    void ageCountersCreepAndCarry();
    void recoveryListTakesRegularFilesOnly();
};

void TstFpgaManage::initTestCase() {
    testsupport::fresh_device();
    // Not running before bring-up, whatever the chip says.
    QCOMPARE(fpga()->get_fpga_status(), 0);
    QCOMPARE(fpga()->MCU_REG_func[0][fpga_reg::STATE], uint8_t(0));
    fpga()->bringup();
    QCOMPARE(fpga()->get_fpga_status(), 1);
    QVERIFY(fpga_manage::p_fpga_manage == fpga());
    QVERIFY(fpga()->recovery_parser != nullptr);
}

void TstFpgaManage::init() {
    testsupport::fresh_device();
    set_led(LED_PARA_IDLE, 0);
}

void TstFpgaManage::registerReadsStayInsideTheShadow_data() {
    QTest::addColumn<int>("reg");
    QTest::addColumn<int>("chip");
    QTest::addColumn<int>("result");
    QTest::newRow("first register") << 0 << 0 << 1;
    QTest::newRow("last of the low bank") << 63 << 0 << 1;
    QTest::newRow("gap after the low bank") << 64 << 0 << 0;
    QTest::newRow("gap before the high bank") << 127 << 1 << 0;
    QTest::newRow("first of the high bank") << 128 << 1 << 1;
    QTest::newRow("last register") << 170 << 0 << 1;
    QTest::newRow("past the last register") << 171 << 0 << 0;
    QTest::newRow("top of a byte") << 255 << 0 << 0;
    QTest::newRow("third FPGA") << 10 << 2 << 0;
    QTest::newRow("FPGA 255") << 10 << 255 << 0;
}

void TstFpgaManage::registerReadsStayInsideTheShadow() {
    QFETCH(int, reg);
    QFETCH(int, chip);
    QFETCH(int, result);
    const int f = chip < FPGA_COUNT ? chip : 0;
    fpga()->sim_set_register(f, reg, 0x5A);
    const uint8_t before = fpga()->MCU_REG_func[f][reg];
    QCOMPARE(fpga()->read_from_register(uint8_t(reg), uint8_t(chip)), result);
    QCOMPARE(fpga()->MCU_REG_func[f][reg], result ? uint8_t(0x5A) : before);
    fpga()->sim_set_register(f, reg, 0);
    fpga()->read_from_register(uint8_t(reg), uint8_t(f));
}

void TstFpgaManage::statusFollowsStateAndControlRegisters() {
    // The version shows as a BCD date.
    QCOMPARE(fpga()->MCU_REG_func[0][fpga_reg::VERSION_YEAR], uint8_t(0x24));
    QCOMPARE(fpga()->MCU_REG_func[0][fpga_reg::VERSION_MONTH], uint8_t(0x06));

    fpga()->sim_set_register(0, fpga_reg::CONTROL, fpga_reg::CONTROL_FAULT);
    fpga()->read_from_register(fpga_reg::CONTROL, 0);
    QCOMPARE(fpga()->get_fpga_status(), 0);
    fpga()->sim_set_register(0, fpga_reg::CONTROL, 0);
    fpga()->read_from_register(fpga_reg::CONTROL, 0);
    QCOMPARE(fpga()->get_fpga_status(), 1);

    // The state byte is no register: a read leaves it alone.
    QCOMPARE(fpga()->read_from_register(fpga_reg::STATE, 0), 0);
    QCOMPARE(fpga()->MCU_REG_func[0][fpga_reg::STATE], fpga_reg::STATE_RUNNING);
    fpga()->MCU_REG_func[0][fpga_reg::STATE] = 2;
    QCOMPARE(fpga()->get_fpga_status(), 0);
    QCOMPARE(fpga()->get_wlan_state(), 0u);
    fpga()->MCU_REG_func[0][fpga_reg::STATE] = fpga_reg::STATE_RUNNING;
    QCOMPARE(fpga()->get_fpga_status(), 1);
    QVERIFY(fpga()->get_wlan_state() != 0u);
}

void TstFpgaManage::linkBitsReadFresh() {
    fpga()->sim_set_register(0, fpga_reg::LINK_LOW, 0x81);
    fpga()->sim_set_register(0, fpga_reg::LINK_HIGH, 0x40);
    // Ports 0, 7 and 14; FPGA 1's links play no part.
    fpga()->sim_set_register(1, fpga_reg::LINK_LOW, 0xFF);
    QCOMPARE(fpga()->get_wlan_state(), 0x4081u);
    QCOMPARE(fpga()->MCU_REG_func[0][fpga_reg::LINK_HIGH], uint8_t(0x40));
    fpga()->sim_set_register(0, fpga_reg::LINK_HIGH, 0x00);
    QCOMPARE(fpga()->get_wlan_state(), 0x0081u);
}

void TstFpgaManage::ledReloadStepsCountTicks_data() {
    QTest::addColumn<uint32_t>("start");
    QTest::addColumn<uint32_t>("late"); // getTimeSpace counts one less across the wrap
    QTest::newRow("plain") << 1000u << 0u;
    QTest::newRow("last step across the wrap") << 0xFFFFFFF0u << 1u;
}

void TstFpgaManage::ledReloadStepsCountTicks() {
    QFETCH(uint32_t, start);
    QFETCH(uint32_t, late);
    G_timeTicks = start;
    set_led(LED_PARA_REQUEST, 0);
    fpga()->set_led_para_deal();
    QCOMPARE(int(g_set_led_setup), 1);

    G_timeTicks = start + fpga_manage::LED_STEP5_TICKS - 1;
    fpga()->set_led_para_deal();
    QCOMPARE(int(g_set_led_setup), 1);
    G_timeTicks = start + fpga_manage::LED_STEP5_TICKS;
    fpga()->set_led_para_deal();
    QCOMPARE(int(g_set_led_setup), 5);
    QCOMPARE(int(g_set_led_para), int(LED_PARA_REQUEST));

    const uint32_t step5 = G_timeTicks;
    G_timeTicks = step5 + fpga_manage::LED_DONE_TICKS + late - 1;
    fpga()->set_led_para_deal();
    QCOMPARE(int(g_set_led_para), int(LED_PARA_REQUEST));
    G_timeTicks = step5 + fpga_manage::LED_DONE_TICKS + late;
    fpga()->set_led_para_deal();
    QCOMPARE(int(g_set_led_para), int(LED_PARA_IDLE));
    QCOMPARE(int(g_set_led_setup), 0);

    // A new request mid-way starts the steps again from step 0.
    set_led(LED_PARA_REQUEST, 0);
    fpga()->set_led_para_deal();
    G_timeTicks += fpga_manage::LED_STEP5_TICKS;
    fpga()->set_led_para_deal();
    set_led(LED_PARA_REQUEST, 0);
    fpga()->set_led_para_deal();
    QCOMPARE(int(g_set_led_setup), 1);
    set_led(LED_PARA_IDLE, 0);
}

void TstFpgaManage::panelDoneResetsFpga() {
    const int resets = fpga()->reset_count();
    fpga()->set_led_para_deal();
    QCOMPARE(fpga()->reset_count(), resets); // idle: nothing happens
    set_led(LED_PARA_PANEL_DONE, 5);
    fpga()->set_led_para_deal();
    QCOMPARE(int(g_set_led_para), int(LED_PARA_IDLE));
    QCOMPARE(int(g_set_led_setup), 0);
    QCOMPARE(fpga()->reset_count(), resets + 1);
    fpga()->set_led_para_deal();
    QCOMPARE(fpga()->reset_count(), resets + 1);
}

void TstFpgaManage::ageCountersCreepAndCarry() {
    // Far enough from the bring-up stamp that this call advances and
    // restamps.
    const uint32_t t0 = 50000;
    G_timeTicks = t0;
    fpga()->age_counters_deal();
    fpga()->sim_set_register(0, fpga_reg::AGE_B, 0xFF);
    fpga()->sim_set_register(0, fpga_reg::AGE_C, 7);
    const uint8_t a = fpga()->sim_register(0, fpga_reg::AGE_A);

    G_timeTicks = t0 + fpga_manage::AGE_TICKS - 1;
    fpga()->age_counters_deal();
    QCOMPARE(fpga()->sim_register(0, fpga_reg::AGE_A), a);
    QCOMPARE(fpga()->sim_register(0, fpga_reg::AGE_B), uint8_t(0xFF));

    G_timeTicks = t0 + fpga_manage::AGE_TICKS;
    fpga()->age_counters_deal();
    QCOMPARE(fpga()->sim_register(0, fpga_reg::AGE_A), uint8_t(a + 1));
    // Register 42 wraps into 43.
    QCOMPARE(fpga()->sim_register(0, fpga_reg::AGE_B), uint8_t(0));
    QCOMPARE(fpga()->sim_register(0, fpga_reg::AGE_C), uint8_t(8));
    // The pages see it once the register is read.
    QCOMPARE(fpga()->read_from_register(fpga_reg::AGE_C, 0), 1);
    QCOMPARE(fpga()->MCU_REG_func[0][fpga_reg::AGE_C], uint8_t(8));
}

void TstFpgaManage::recoveryListTakesRegularFilesOnly() {
    rcvRecovery* r = fpga()->recovery_parser;
    // No folder: the list stays as it was.
    r->file_list = QStringList{"kept.rcv"};
    QCOMPARE(r->get_dir_file(QStringLiteral("/data/rcvrecovery")), 1);
    QCOMPARE(r->file_list, QStringList{"kept.rcv"});

    const QString dir = device_path(QStringLiteral("/data/rcvrecovery"));
    QVERIFY(QDir().mkpath(dir + "/sub"));
    touch(dir + "/a.rcv");
    touch(dir + "/.hidden");
    QVERIFY(QFile::link(dir + "/a.rcv", dir + "/link.rcv"));
    r->file_list = QStringList{"stale"};
    QCOMPARE(r->get_dir_file(QStringLiteral("/data/rcvrecovery")), 0);
    QStringList names = r->file_list;
    names.sort();
    QCOMPARE(names, (QStringList{".hidden", "a.rcv"}));

    // An empty folder empties the list.
    QDir(dir).removeRecursively();
    QVERIFY(QDir().mkpath(dir));
    QCOMPARE(r->get_dir_file(QStringLiteral("/data/rcvrecovery")), 0);
    QVERIFY(r->file_list.isEmpty());
}

QTEST_MAIN(TstFpgaManage)
#include "tst_fpga_manage.moc"

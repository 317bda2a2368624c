// The scaler thread applying page-style writes, with the FPGA and source
// threads and the dispatcher's save behind it.
#include "testsupport.h"

#include "core/devicepath.h"
#include "core/global.h"
#include "core/para_write.h"
#include "core/rynrampara.h"
#include "ui/frame/syncupdate.h"
#include "fpga/fpga_manage.h"
#include "scaler/c331_manage.h"
#include "sources/quenzsource.h"

#include <QtTest>

#include <array>
#include <cstring>
#include <ctime>
#include <random>

namespace {
c331_manage* scaler() { return c331_manage::pInstance(); }
RynRamPara* model() { return RynRamPara::pInstance(); }
quenzsource* src() { return quenzsource::pInstance(); }
fpga_manage* fpga() { return fpga_manage::pInstance(); }

bool same_persisted(const uint8_t* a, const uint8_t* b) {
    return std::memcmp(a + blk::PERSIST_BEGIN, b + blk::PERSIST_BEGIN, blk::SIZE - blk::PERSIST_BEGIN) == 0;
}
bool shadow_is_block() { return same_persisted(model()->RamParaBlock.data(), model()->RamParaShadow.data()); }

QByteArray saved_file() {
    QFile f(device_path(QStringLiteral("/data/ram_device_info")));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
uint16_t saved_u16(int off) {
    const QByteArray b = saved_file();
    return b.size() == blk::SIZE ? blk::rd16(reinterpret_cast<const uint8_t*>(b.constData()), off) : 0;
}

// The LED-size handshake as the threads hold it: read under its lock.
int led_para() {
    MutexLocker led(&Utils::_led_para_init_mutex);
    return g_set_led_para;
}
int led_setup() {
    MutexLocker led(&Utils::_led_para_init_mutex);
    return g_set_led_setup;
}

void write_led_size(RynRamPara& p, uint16_t w, uint16_t h) {
    p.set_u16(blk::SPLICE_MODE, 0);
    p.set_u16(blk::LED_WIDTH, w);
    p.set_u16(blk::LED_HEIGHT, h);
    p.set_u16(blk::OUT1_W, w);
    p.set_u16(blk::OUT1_H, h);
}
// As the LED page applies a new size while the FPGA runs.
void request_led_size(uint16_t w, uint16_t h, void (*more)(RynRamPara&) = nullptr) {
    para_write([=](RynRamPara& p) {
        write_led_size(p, w, h);
        if (more)
            more(p);
        MutexLocker led(&Utils::_led_para_init_mutex);
        g_set_led_para = LED_PARA_REQUEST;
        g_set_led_setup = 0;
    });
}
} // namespace

class TstC331Manage : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void ledSizeWriteReachesPanelHandshakeAndFile();
    void ledWaitLeavesParaMutexFreeAndIsBounded();
    void valueBackToSavedStateStillApplied();
    void manyWritesFromGuiWhileScalerApplies();
    void idleThreadsCostLittle();

private:
    QTimer ticks_;
    int panel_calls_ = 0;
    int timeouts_ = 0;
};

void TstC331Manage::initTestCase() {
    testsupport::fresh_device();
    connect(model(), &RynRamPara::sig_update_para, SyncUpdate::pInstance(), &SyncUpdate::para_sync,
            Qt::QueuedConnection);
    QCOMPARE(fpga()->initialize(), 0);
    QCOMPARE(fpga()->initialize_start(), 0);
    QCOMPARE(src()->initialize(), 0);
    QCOMPARE(scaler()->initialize(), 0);
    QTRY_COMPARE(fpga()->get_fpga_status(), 1);
    // Stands in for MainWindow's 10 ms tick.
    connect(&ticks_, &QTimer::timeout, [] { ++G_timeTicks; });
    ticks_.setInterval(10);
}

// A fresh block may differ from what the chip holds after the previous
// test: let the scaler take it up and the dispatcher save it first.
void TstC331Manage::init() {
    ticks_.setInterval(10); // a failed round may have left it fast
    testsupport::fresh_device();
    para_write([](RynRamPara&) {});
    cleanup();
    QTRY_VERIFY(shadow_is_block());
    for (int s = 0; s < SOURCE_COUNT; ++s)
        QTRY_COMPARE(int(src()->edid_rewrite_req[s]), 0);
    panel_calls_ = scaler()->panel().calls;
    timeouts_ = scaler()->led_wait_timeouts;
}

void TstC331Manage::cleanup() {
    ticks_.start();
    QTRY_COMPARE(int(scaler()->para_update_flag), 0);
    QTRY_COMPARE(led_para(), 0);
    ticks_.stop();
}

// As a user-mode recall: a new size, brightness and several EDID inputs
// in one write; input 4 is fed from an uploaded table, rewritten every pass.
void TstC331Manage::ledSizeWriteReachesPanelHandshakeAndFile() {
    const int resets = fpga()->reset_count();
    int eeprom_writes[SOURCE_COUNT];
    for (int s = 0; s < SOURCE_COUNT; ++s)
        eeprom_writes[s] = src()->eeprom(s).writes;
    src()->edid_ram_table_from[4] = 1;
    ticks_.start();
    const uint32_t t0 = G_timeTicks;
    request_led_size(2560, 1440, [](RynRamPara& p) {
        p.set_u16(blk::BRIGHTNESS, 37);
        for (int s : {1, 3, 5}) {
            p.set_u16(blk::edid(s), uint16_t(1280 + s));
            p.set_u16(blk::edid(s) + 2, uint16_t(720 + s));
        }
    });
    QTRY_COMPARE(scaler()->panel().width, 2560);
    // The panel must wait for both reload steps of the FPGA thread.
    const uint32_t waited = G_timeTicks - t0;
    QVERIFY2(waited >= fpga_manage::LED_STEP5_TICKS + fpga_manage::LED_DONE_TICKS,
             qPrintable(QString("panel laid out after %1 ticks").arg(waited)));
    const SimPanel panel = scaler()->panel();
    QCOMPARE(panel.height, 1440);
    QCOMPARE(panel.calls, panel_calls_ + 1);
    QCOMPARE(int(scaler()->led_wait_timeouts), timeouts_);
    // The scaler's "panel done" makes the FPGA thread reset FPGA 0.
    QTRY_COMPARE(fpga()->reset_count(), resets + 1);
    QTRY_COMPARE(fpga()->brightness_sent(), 37);
    for (int s = 0; s < SOURCE_COUNT; ++s) {
        const bool changed = s % 2 || s == 4;
        QTRY_COMPARE(src()->eeprom(s).writes, eeprom_writes[s] + (changed ? 1 : 0));
        if (s % 2)
            QCOMPARE(int(src()->eeprom(s).height), 720 + s);
    }
    QVERIFY(src()->eeprom(4).from_table);
    src()->edid_ram_table_from[4] = 0;
    QTRY_COMPARE(saved_u16(blk::LED_WIDTH), uint16_t(2560));
    QCOMPARE(saved_u16(blk::BRIGHTNESS), uint16_t(37));
}

// The tick that the FPGA thread counts stands still here; a scaler that
// held para_mutex while waiting would block the GUI thread for good.
void TstC331Manage::ledWaitLeavesParaMutexFreeAndIsBounded() {
    request_led_size(3840, 1080);
    QTRY_COMPARE(led_setup(), 1);
    QThread::msleep(50);
    QElapsedTimer t;
    t.start();
    para_write([](RynRamPara& p) { write_led_size(p, 3000, 1000); });
    QVERIFY2(t.elapsed() < 500, qPrintable(QString("GUI blocked %1 ms").arg(t.elapsed())));
    QCOMPARE(scaler()->panel().calls, panel_calls_);

    QTRY_COMPARE_WITH_TIMEOUT(int(scaler()->led_wait_timeouts), timeouts_ + 1, 5000);
    // Laid out with the value written during the wait, not the one before.
    QTRY_COMPARE(scaler()->panel().width, 3000);
    QCOMPARE(scaler()->panel().height, 1000);
    QCOMPARE(scaler()->panel().calls, panel_calls_ + 1);
    QTRY_COMPARE(saved_u16(blk::LED_WIDTH), uint16_t(3000));
}

// Width B applied, then back to the saved A before the dispatcher has saved
// B: the block equals the shadow again, yet the chip still holds B.
void TstC331Manage::valueBackToSavedStateStillApplied() {
    const uint16_t a = model()->u16(blk::LED_WIDTH);
    const uint16_t b = a + 400;
    para_write([b](RynRamPara& p) { write_led_size(p, b, 1080); });
    QElapsedTimer t;
    t.start();
    // No event processing here, so the dispatcher's save cannot run yet.
    while (scaler()->panel().width != b && t.elapsed() < 5000)
        QThread::msleep(1);
    QCOMPARE(model()->shadow_u16(blk::LED_WIDTH), a);
    para_write([a](RynRamPara& p) { write_led_size(p, a, 1080); });
    QTRY_COMPARE(scaler()->panel().width, int(a));
    QTRY_VERIFY(shadow_is_block());
}

// The GUI thread writes while the scaler applies and the dispatcher saves
// in between. A lost update is overwritten by the next write to the same
// field, so the check runs after every round: a burst of writes with the
// dispatcher running between some of them, then everything settles and the
// chip, the cards, the EEPROMs and the file must all hold the block.
// FRONTPANEL_STRESS_ROUNDS raises the count for a long run.
void TstC331Manage::manyWritesFromGuiWhileScalerApplies() {
    const unsigned seed = std::random_device{}();
    std::mt19937 rng(seed);
    const int rounds = qEnvironmentVariableIntValue("FRONTPANEL_STRESS_ROUNDS") > 0
                           ? qEnvironmentVariableIntValue("FRONTPANEL_STRESS_ROUNDS")
                           : 120;
    ticks_.setInterval(1); // the LED handshake counts ticks: keep rounds short
    ticks_.start();
    std::array<bool, SOURCE_COUNT> edid_written{}; // inputs this test has changed
    bool brightness_written = false;
    for (int round = 0; round < rounds; ++round) {
        const QString where = QString("seed %1, round %2").arg(seed).arg(round);
        const int writes = 1 + int(rng() % 8);
        for (int i = 0; i < writes; ++i) {
            // Few values, so that a field often goes back to its saved
            // value: the change the shadow cannot show.
            static constexpr uint16_t values[] = {1280, 1920, 3840};
            const uint16_t v = values[rng() % 3];
            const unsigned op = rng() % 8;
            const int s = int(rng() % SOURCE_COUNT);
            if (op >= 3 && op < 5)
                edid_written[size_t(s)] = true;
            brightness_written = brightness_written || (op >= 1 && op < 3);
            para_write([&](RynRamPara& p) {
                if (op == 0) {
                    write_led_size(p, v, uint16_t(v / 2 + 1));
                } else if (op < 3) {
                    p.set_u16(blk::BRIGHTNESS, uint16_t(v % 101));
                } else if (op < 5) {
                    // Sizes and rates an EDID can announce (4095 at most,
                    // the pixel clock within 655 MHz).
                    p.set_u16(blk::edid(s), v);
                    p.set_u16(blk::edid(s) + 2, uint16_t(v / 2 + 1));
                    p.set_u16(blk::edid(s) + 4, uint16_t(24 + v % 37));
                } else {
                    p.set_u16(blk::window(0, blk::WIN_X), v);
                }
            });
            // Sometimes the dispatcher runs at once, sometimes after the
            // scaler's pass, sometimes not before the next write.
            const unsigned pause = rng() % 3;
            if (pause == 1)
                QCoreApplication::processEvents();
            else if (pause == 2)
                QThread::usleep(rng() % 15000);
        }
        QTRY_VERIFY2_WITH_TIMEOUT(scaler()->para_update_flag == 0 && shadow_is_block() &&
                                      led_para() == 0,
                                  qPrintable(where + ": never settled"), 10000);
        const QByteArray file = saved_file();
        QVERIFY2(file.size() == blk::SIZE &&
                     same_persisted(reinterpret_cast<const uint8_t*>(file.constData()),
                                    model()->RamParaBlock.data()),
                 qPrintable(where + ": saved file differs from the block"));
        QVERIFY2(scaler()->panel().width == int(model()->u16(blk::LED_WIDTH)) &&
                     scaler()->panel().height == int(model()->u16(blk::LED_HEIGHT)),
                 qPrintable(where + QString(": panel %1 wide, block %2")
                                        .arg(scaler()->panel().width)
                                        .arg(model()->u16(blk::LED_WIDTH))));
        QTRY_VERIFY2(!brightness_written ||
                         fpga()->brightness_sent() == int(model()->u16(blk::BRIGHTNESS)),
                     qPrintable(where + ": brightness not sent"));
        for (int s = 0; s < SOURCE_COUNT; ++s) {
            if (!edid_written[size_t(s)])
                continue;
            QTRY_VERIFY2(src()->eeprom(s).width == model()->u16(blk::edid(s)) &&
                             src()->eeprom(s).height == model()->u16(blk::edid(s) + 2) &&
                             src()->eeprom(s).rate == model()->u16(blk::edid(s) + 4),
                         qPrintable(where + QString(": EDID of input %1 not written").arg(s)));
        }
    }
    ticks_.setInterval(10);
}

// Three polling threads run all the time on the device.
void TstC331Manage::idleThreadsCostLittle() {
    const std::clock_t start = std::clock();
    QThread::msleep(1000);
    const double used = double(std::clock() - start) / CLOCKS_PER_SEC;
    QVERIFY2(used < 0.02, qPrintable(QString("idle threads used %1 s of CPU in 1 s").arg(used)));
}

QTEST_MAIN(TstC331Manage)
#include "tst_c331_manage.moc"

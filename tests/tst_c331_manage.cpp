// The scaler thread applying page-style writes, with the FPGA and source
// threads and the dispatcher's save behind it.
#include "testsupport.h"

#include "core/devicepath.h"
#include "core/global.h"
#include "core/para_write.h"
#include "core/rynrampara.h"
#include "core/syncupdate.h"
#include "fpga/fpga_manage.h"
#include "scaler/c331_manage.h"
#include "sources/quenzsource.h"

#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <QTimer>
#include <QtTest>

#include <cstring>
#include <ctime>
#include <random>

namespace {
c331_manage* scaler() {
    return c331_manage::pInstance();
}
RynRamPara* model() {
    return RynRamPara::pInstance();
}

bool shadow_is_block() {
    const int n = blk::SIZE - blk::PERSIST_BEGIN;
    return std::memcmp(model()->RamParaBlock.data() + blk::PERSIST_BEGIN,
                       model()->RamParaShadow.data() + blk::PERSIST_BEGIN, n) == 0;
}

QByteArray saved_file() {
    QFile f(device_path(QStringLiteral("/data/ram_device_info")));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

uint16_t saved_u16(int off) {
    const QByteArray b = saved_file();
    return b.size() == blk::SIZE ? blk::rd16(reinterpret_cast<const uint8_t*>(b.constData()), off)
                                 : 0;
}

void write_led_size(RynRamPara& p, uint16_t w, uint16_t h) {
    p.set_u16(blk::SPLICE_MODE, 0);
    p.set_u16(blk::LED_WIDTH, w);
    p.set_u16(blk::LED_HEIGHT, h);
    p.set_u16(blk::OUT1_W, w);
    p.set_u16(blk::OUT1_H, h);
}

double process_cpu_seconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec + ts.tv_nsec / 1e9;
}
} // namespace

class TstC331Manage : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void initializeTwiceStartsOneThread();
    void ledSizeWriteReachesPanelHandshakeAndFile();
    void ledWaitLeavesParaMutexFreeAndIsBounded();
    void valueBackToSavedStateStillApplied();
    void everyChangedEdidInputIsRewritten();
    void uploadedTableInputRewrittenOnEveryPass();
    void brightnessChangeReachesFpga();
    void flagValueReachesDispatcher();
    void manyWritesFromGuiWhileScalerApplies();
    void idleThreadsCostLittle();

private:
    void settle();
    QTimer ticks_;
    int panel_calls_ = 0;
    int resets_ = 0;
    int timeouts_ = 0;
};

void TstC331Manage::initTestCase() {
    testsupport::fresh_device();
    connect(model(), &RynRamPara::sig_update_para, SyncUpdate::pInstance(), &SyncUpdate::para_sync,
            Qt::QueuedConnection);
    QCOMPARE(fpga_manage::pInstance()->initialize(), 0);
    QCOMPARE(fpga_manage::pInstance()->initialize_start(), 0);
    QCOMPARE(quenzsource::pInstance()->initialize(), 0);
    QCOMPARE(scaler()->initialize(), 0);
    QTRY_COMPARE(fpga_manage::pInstance()->get_fpga_status(), 1);
    // MainWindow's 10 ms tick is not there: this stands in for it.
    connect(&ticks_, &QTimer::timeout, [] { ++G_timeTicks; });
    ticks_.setInterval(10);
}

// A fresh block may differ from what the chip holds after the previous
// test: let the scaler take it up and the dispatcher save it first.
void TstC331Manage::settle() {
    para_write([](RynRamPara&) {});
    ticks_.start();
    QTRY_COMPARE(int(scaler()->para_update_flag), 0);
    QTRY_COMPARE(int(g_set_led_para), 0);
    QTRY_VERIFY(shadow_is_block());
    for (int s = 0; s < SOURCE_COUNT; ++s)
        QTRY_COMPARE(int(quenzsource::pInstance()->edid_rewrite_req[s]), 0);
    ticks_.stop();
    panel_calls_ = scaler()->panel().calls;
    resets_ = fpga_manage::pInstance()->reset_count();
    timeouts_ = scaler()->led_wait_timeouts;
}

void TstC331Manage::init() {
    testsupport::fresh_device();
    settle();
}

void TstC331Manage::cleanup() {
    ticks_.start();
    QTRY_COMPARE(int(scaler()->para_update_flag), 0);
    QTRY_COMPARE(int(g_set_led_para), 0);
    ticks_.stop();
}

void TstC331Manage::initializeTwiceStartsOneThread() {
    // A second start-up would lay the panel out again.
    QCOMPARE(scaler()->initialize(), 0);
    QCOMPARE(scaler()->panel().calls, panel_calls_);
}

void TstC331Manage::ledSizeWriteReachesPanelHandshakeAndFile() {
    ticks_.start();
    const uint32_t t0 = G_timeTicks;
    // As the LED page applies a new size while the FPGA runs.
    para_write([](RynRamPara& p) {
        write_led_size(p, 2560, 1440);
        MutexLocker led(&Utils::_led_para_init_mutex);
        g_set_led_para = LED_PARA_REQUEST;
        g_set_led_setup = 0;
    });
    QTRY_COMPARE(scaler()->panel().width, 2560);
    // The panel must wait for both reload steps of the FPGA thread.
    const uint32_t waited = G_timeTicks - t0;
    QVERIFY2(waited >= fpga_manage::LED_STEP5_TICKS + fpga_manage::LED_DONE_TICKS,
             qPrintable(QString("panel laid out after %1 ticks").arg(waited)));
    const SimPanel panel = scaler()->panel();
    QCOMPARE(panel.height, 1440);
    QCOMPARE(panel.out_w, 2560);
    QCOMPARE(panel.out_h, 1440);
    QCOMPARE(panel.splice_mode, 0);
    QCOMPARE(panel.calls, panel_calls_ + 1);
    QCOMPARE(int(scaler()->led_wait_timeouts), timeouts_);
    // The scaler's "panel done" makes the FPGA thread reset FPGA 0.
    QTRY_COMPARE(fpga_manage::pInstance()->reset_count(), resets_ + 1);
    QTRY_COMPARE(int(g_set_led_para), int(LED_PARA_IDLE));
    QTRY_COMPARE(saved_u16(blk::LED_WIDTH), uint16_t(2560));
    QCOMPARE(saved_u16(blk::LED_HEIGHT), uint16_t(1440));
    QCOMPARE(model()->shadow_u16(blk::LED_WIDTH), uint16_t(2560));
}

// The tick that the FPGA thread counts stands still here; a scaler that
// held para_mutex while waiting would block the GUI thread for good.
void TstC331Manage::ledWaitLeavesParaMutexFreeAndIsBounded() {
    para_write([](RynRamPara& p) {
        write_led_size(p, 3840, 1080);
        MutexLocker led(&Utils::_led_para_init_mutex);
        g_set_led_para = LED_PARA_REQUEST;
        g_set_led_setup = 0;
    });
    QTRY_COMPARE(int(g_set_led_setup), 1);
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
    QTRY_COMPARE(int(g_set_led_para), int(LED_PARA_IDLE));
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
    QCOMPARE(scaler()->panel().width, int(b));
    QCOMPARE(model()->shadow_u16(blk::LED_WIDTH), a);

    para_write([a](RynRamPara& p) { write_led_size(p, a, 1080); });
    QTRY_COMPARE(scaler()->panel().width, int(a));
    QTRY_VERIFY(shadow_is_block());
    QCOMPARE(saved_u16(blk::LED_WIDTH), a);
}

void TstC331Manage::everyChangedEdidInputIsRewritten() {
    quenzsource* src = quenzsource::pInstance();
    int before[SOURCE_COUNT];
    for (int s = 0; s < SOURCE_COUNT; ++s)
        before[s] = src->eeprom(s).writes;
    // A user-mode recall changes several inputs in one write.
    para_write([](RynRamPara& p) {
        for (int s : {1, 3, 5}) {
            p.set_u16(blk::edid(s), uint16_t(1280 + s));
            p.set_u16(blk::edid(s) + 2, uint16_t(720 + s));
            p.set_u16(blk::edid(s) + 4, uint16_t(50));
        }
    });
    for (int s : {1, 3, 5}) {
        QTRY_COMPARE(int(src->edid_written[s]), 1);
        const SimEdidEeprom e = src->eeprom(s);
        QCOMPARE(e.writes, before[s] + 1);
        QCOMPARE(int(e.width), 1280 + s);
        QCOMPARE(int(e.height), 720 + s);
        QCOMPARE(int(e.rate), 50);
        QVERIFY(!e.from_table);
    }
    for (int s : {0, 2, 4})
        QCOMPARE(src->eeprom(s).writes, before[s]);
}

void TstC331Manage::uploadedTableInputRewrittenOnEveryPass() {
    quenzsource* src = quenzsource::pInstance();
    src->edid_ram_table_from[4] = 1;
    const int before = src->eeprom(4).writes;
    const int other = src->eeprom(0).writes;
    para_write([](RynRamPara& p) { p.set_u16(blk::CONTRAST, 70); });
    QTRY_COMPARE(src->eeprom(4).writes, before + 1);
    QVERIFY(src->eeprom(4).from_table);
    QCOMPARE(src->eeprom(0).writes, other);
    src->edid_ram_table_from[4] = 0;
}

void TstC331Manage::brightnessChangeReachesFpga() {
    const int requests = scaler()->brightness_requests;
    const int sends = fpga_manage::pInstance()->brightness_sends();
    para_write([](RynRamPara& p) { p.set_u16(blk::BRIGHTNESS, 37); });
    QTRY_COMPARE(fpga_manage::pInstance()->brightness_sent(), 37);
    QCOMPARE(int(scaler()->brightness_requests), requests + 1);
    QCOMPARE(fpga_manage::pInstance()->brightness_sends(), sends + 1);
}

void TstC331Manage::flagValueReachesDispatcher() {
    // Received in this (the GUI) thread, as the dispatcher receives it.
    QList<int> codes;
    QObject receiver;
    connect(
        model(), &RynRamPara::sig_update_para, &receiver, [&codes](int c) { codes << c; },
        Qt::QueuedConnection);
    {
        MutexLocker lock(&scaler()->para_mutex);
        scaler()->para_update_flag = C331_APPLY_PC_MODES;
    }
    QTRY_VERIFY(!codes.isEmpty());
    QCOMPARE(codes.first(), int(C331_APPLY_PC_MODES));
    QCOMPARE(int(scaler()->para_update_flag), 0);
    // Nothing changed: no panel, no EDID, no handshake.
    QCOMPARE(scaler()->panel().calls, panel_calls_);
    QCOMPARE(int(g_set_led_para), 0);
}

// The GUI thread writes while the scaler applies and the dispatcher saves
// in between; in the end nothing may be lost anywhere.
void TstC331Manage::manyWritesFromGuiWhileScalerApplies() {
    std::mt19937 rng(20240618);
    uint16_t width = model()->u16(blk::LED_WIDTH), height = model()->u16(blk::LED_HEIGHT);
    int bright = -1;
    uint16_t edid[SOURCE_COUNT][3];
    bool edid_touched[SOURCE_COUNT] = {};
    uint16_t win_x = 0;
    for (int i = 0; i < 600; ++i) {
        const unsigned op = rng() % 5;
        const uint16_t v = uint16_t(64 + rng() % 8000);
        para_write([&](RynRamPara& p) {
            switch (op) {
            case 0:
                width = v;
                write_led_size(p, width, height);
                break;
            case 1:
                height = v;
                write_led_size(p, width, height);
                break;
            case 2:
                bright = int(v % 101);
                p.set_u16(blk::BRIGHTNESS, uint16_t(bright));
                break;
            case 3: {
                const int s = int(rng() % SOURCE_COUNT);
                edid_touched[s] = true;
                edid[s][0] = v;
                edid[s][1] = uint16_t(v / 2 + 1);
                edid[s][2] = uint16_t(24 + v % 100);
                for (int k = 0; k < 3; ++k)
                    p.set_u16(blk::edid(s) + 2 * k, edid[s][k]);
                break;
            }
            default:
                win_x = v;
                p.set_u16(blk::window(0, blk::WIN_X), win_x);
                break;
            }
        });
        if (i % 9 == 0)
            QTest::qWait(1);
        else if (i % 2 == 0)
            QCoreApplication::processEvents();
    }
    ticks_.start();
    QTRY_VERIFY_WITH_TIMEOUT(scaler()->para_update_flag == 0 && shadow_is_block(), 10000);
    QTRY_COMPARE(int(g_set_led_para), 0);

    const QByteArray file = saved_file();
    QCOMPARE(file.size(), blk::SIZE);
    QVERIFY2(std::memcmp(file.constData() + blk::PERSIST_BEGIN,
                         model()->RamParaBlock.data() + blk::PERSIST_BEGIN,
                         blk::SIZE - blk::PERSIST_BEGIN) == 0,
             "saved file differs from the block");

    QCOMPARE(model()->u16(blk::LED_WIDTH), width);
    QCOMPARE(model()->u16(blk::LED_HEIGHT), height);
    QCOMPARE(model()->u16(blk::window(0, blk::WIN_X)), win_x);
    QCOMPARE(scaler()->panel().width, int(width));
    QCOMPARE(scaler()->panel().height, int(height));
    if (bright >= 0) {
        QCOMPARE(int(model()->u16(blk::BRIGHTNESS)), bright);
        QTRY_COMPARE(fpga_manage::pInstance()->brightness_sent(), bright);
    }
    quenzsource* src = quenzsource::pInstance();
    for (int s = 0; s < SOURCE_COUNT; ++s) {
        if (!edid_touched[s])
            continue;
        QTRY_COMPARE(int(src->edid_written[s]), 1);
        const SimEdidEeprom e = src->eeprom(s);
        QCOMPARE(e.width, edid[s][0]);
        QCOMPARE(e.height, edid[s][1]);
        QCOMPARE(e.rate, edid[s][2]);
    }
}

// Three polling threads run all the time on the device.
void TstC331Manage::idleThreadsCostLittle() {
    const double start = process_cpu_seconds();
    QThread::msleep(1000);
    const double used = process_cpu_seconds() - start;
    QVERIFY2(used < 0.02, qPrintable(QString("idle threads used %1 s of CPU in 1 s").arg(used)));
}

QTEST_MAIN(TstC331Manage)
#include "tst_c331_manage.moc"

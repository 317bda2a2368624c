// The scaler thread applying page-style writes, with the FPGA and source
// threads and the dispatcher's save behind it.
#include "testsupport.h"

#include "core/global.h"
#include "core/para_write.h"
#include "core/rynrampara.h"
#include "fpga/fpga_manage.h"
#include "scaler/c331_manage.h"
#include "sources/quenzsource.h"
#include "ui/frame/syncupdate.h"

#include <QElapsedTimer>
#include <QtTest>

#include <array>
#include <cstring>
#include <random>

namespace {
c331_manage* scaler() { return c331_manage::pInstance(); }
RynRamPara* model() { return RynRamPara::pInstance(); }
quenzsource* src() { return quenzsource::pInstance(); }
fpga_manage* fpga() { return fpga_manage::pInstance(); }

bool same_persisted(const void* a, const void* b) {
    return std::memcmp(static_cast<const uint8_t*>(a) + blk::PERSIST_BEGIN,
                       static_cast<const uint8_t*>(b) + blk::PERSIST_BEGIN, blk::SIZE - blk::PERSIST_BEGIN) == 0;
}
bool shadow_is_block() { return same_persisted(model()->RamParaBlock.data(), model()->RamParaShadow.data()); }
uint16_t saved_u16(int off) {
    const QByteArray b = testsupport::read_file("/data/ram_device_info");
    return b.size() == blk::SIZE ? blk::rd16(reinterpret_cast<const uint8_t*>(b.constData()), off) : 0;
}
// The LED-size request, read under its lock as the threads hold it.
int led_request() {
    MutexLocker lock(&Utils::_led_para_init_mutex);
    return int(g_set_led_para);
}
void write_led_size(RynRamPara& p, uint16_t w, uint16_t h) {
    p.set_u16(blk::SPLICE_MODE, 0);
    p.set_u16(blk::LED_WIDTH, w);
    p.set_u16(blk::LED_HEIGHT, h);
    p.set_u16(blk::OUT1_W, w);
    p.set_u16(blk::OUT1_H, h);
}
} // namespace

class TstC331Manage : public QObject {
    Q_OBJECT
    QTimer ticks_; // stands in for MainWindow's 10 ms tick
    int panel_calls_ = 0, timeouts_ = 0;

private slots:
    void initTestCase() {
        testsupport::fresh_device();
        connect(model(), &RynRamPara::sig_update_para, SyncUpdate::pInstance(), &SyncUpdate::para_sync,
                Qt::QueuedConnection);
        QCOMPARE(fpga()->initialize(), 0);
        QCOMPARE(fpga()->initialize_start(), 0);
        QCOMPARE(src()->initialize(), 0);
        QCOMPARE(scaler()->initialize(), 0);
        QTRY_COMPARE(fpga()->get_fpga_status(), 1);
        connect(&ticks_, &QTimer::timeout, [] { ++G_timeTicks; });
    }
    // Lets the scaler take up a fresh block and the dispatcher save it.
    void init() {
        ticks_.setInterval(10);
        testsupport::fresh_device();
        para_write([](RynRamPara&) {});
        cleanup();
        QTRY_VERIFY(shadow_is_block());
        for (int s = 0; s < SOURCE_COUNT; ++s)
            QTRY_COMPARE(int(src()->edid_rewrite_req[s]), 0);
        panel_calls_ = scaler()->panel().calls;
        timeouts_ = scaler()->led_wait_timeouts;
    }
    void cleanup() {
        ticks_.start();
        QTRY_COMPARE(int(scaler()->para_update_flag), 0);
        QTRY_COMPARE(led_request(), 0);
        ticks_.stop();
    }

    // As a user-mode recall: a new size, applied as the LED page does while
    // the FPGA runs, and several EDIDs in one write (each written once).
    void ledSizeWriteReachesPanelHandshakeAndFile() {
        const int resets = fpga()->reset_count();
        int eeprom_writes[SOURCE_COUNT];
        for (int s = 0; s < SOURCE_COUNT; ++s)
            eeprom_writes[s] = src()->eeprom(s).writes;
        ticks_.start();
        const uint32_t t0 = G_timeTicks;
        para_write([](RynRamPara& p) {
            write_led_size(p, 2560, 1440);
            for (int s : {1, 3, 5})
                p.set_u16(blk::edid(s) + 2, uint16_t(720 + s));
            MutexLocker lock(&Utils::_led_para_init_mutex);
            g_set_led_para = LED_PARA_REQUEST;
            g_set_led_setup = 0;
        });
        QTRY_COMPARE(scaler()->panel().width, 2560);
        // The panel must wait for both reload steps of the FPGA thread.
        const uint32_t waited = G_timeTicks - t0;
        QVERIFY2(waited >= fpga_manage::LED_STEP5_TICKS + fpga_manage::LED_DONE_TICKS, qPrintable(QString::number(waited)));
        QCOMPARE(scaler()->panel().calls, panel_calls_ + 1);
        QCOMPARE(int(scaler()->led_wait_timeouts), timeouts_);
        QTRY_COMPARE(fpga()->reset_count(), resets + 1); // "panel done" resets FPGA 0
        for (int s = 0; s < SOURCE_COUNT; ++s)
            QTRY_COMPARE(src()->eeprom(s).writes, eeprom_writes[s] + s % 2);
        QTRY_COMPARE(saved_u16(blk::LED_WIDTH), uint16_t(2560));
    }

    // The tick the FPGA thread counts stands still: a scaler that held
    // para_mutex while waiting for the LED reload would block the GUI.
    void ledWaitLeavesParaMutexFreeAndIsBounded() {
        para_write([](RynRamPara& p) {
            write_led_size(p, 3840, 1080);
            MutexLocker lock(&Utils::_led_para_init_mutex);
            g_set_led_para = LED_PARA_REQUEST;
            g_set_led_setup = 0;
        });
        QTRY_VERIFY([] {
            MutexLocker lock(&Utils::_led_para_init_mutex);
            return g_set_led_setup == 1;
        }());
        QThread::msleep(50);
        QElapsedTimer t;
        t.start();
        para_write([](RynRamPara& p) { write_led_size(p, 3000, 1000); });
        // Held through the wait, the lock would come free only after about
        // LED_WAIT_LIMIT_MS: room for a loaded machine below that.
        QVERIFY2(t.elapsed() < c331_manage::LED_WAIT_LIMIT_MS * 3 / 4, qPrintable(QString("GUI blocked %1 ms").arg(t.elapsed())));
        QTRY_COMPARE_WITH_TIMEOUT(int(scaler()->led_wait_timeouts), timeouts_ + 1, 5000);
        QTRY_COMPARE(scaler()->panel().width, 3000); // the value written during the wait
    }

    // Bursts of GUI writes (few values, so a field often goes back to its
    // saved value before the dispatcher saved the one between: the chip must
    // still take it) with the dispatcher running between some of them; after
    // each burst settles the chip, the cards, the EEPROMs and the file must
    // all hold the block (a lost update shows only then).
    // FRONTPANEL_STRESS_ROUNDS raises the count for a long run.
    void manyWritesFromGuiWhileScalerApplies() {
        const unsigned seed = std::random_device{}();
        std::mt19937 rng(seed);
        const int env = qEnvironmentVariableIntValue("FRONTPANEL_STRESS_ROUNDS"), rounds = env > 0 ? env : 120;
        ticks_.setInterval(1); // the LED handshake counts ticks: keep rounds short
        ticks_.start();
        std::array<bool, SOURCE_COUNT> edid_written{};
        bool brightness_written = false;
        for (int round = 0; round < rounds; ++round) {
            const QString where = QString("seed %1, round %2: ").arg(seed).arg(round);
            for (int i = 0, writes = 1 + int(rng() % 8); i < writes; ++i) {
                const uint16_t v = std::array<uint16_t, 3>{1280, 1920, 3840}[rng() % 3];
                const unsigned op = rng() % 8;
                const int s = int(rng() % SOURCE_COUNT);
                edid_written[size_t(s)] = edid_written[size_t(s)] || op == 3 || op == 4;
                brightness_written = brightness_written || op == 1 || op == 2;
                para_write([&](RynRamPara& p) {
                    if (op == 0) {
                        write_led_size(p, v, uint16_t(v / 2 + 1));
                    } else if (op < 3) {
                        p.set_u16(blk::BRIGHTNESS, uint16_t(v % 101));
                    } else if (op < 5) { // what an EDID can announce (4095, 655 MHz at most)
                        p.set_u16(blk::edid(s), v);
                        p.set_u16(blk::edid(s) + 2, uint16_t(v / 2 + 1));
                        p.set_u16(blk::edid(s) + 4, uint16_t(24 + v % 37));
                    } else {
                        p.set_u16(blk::window(0, blk::WIN_X), v);
                    }
                });
                if (const unsigned pause = rng() % 3; pause == 1)
                    QCoreApplication::processEvents();
                else if (pause == 2)
                    QThread::usleep(rng() % 15000);
            }
            QTRY_VERIFY2_WITH_TIMEOUT(scaler()->para_update_flag == 0 && shadow_is_block() && led_request() == 0,
                                      qPrintable(where + "never settled"), 10000);
            const QByteArray file = testsupport::read_file("/data/ram_device_info");
            QVERIFY2(file.size() == blk::SIZE && same_persisted(file.constData(), model()->RamParaBlock.data()),
                     qPrintable(where + "saved file differs from the block"));
            QVERIFY2(scaler()->panel().width == model()->u16(blk::LED_WIDTH) &&
                         scaler()->panel().height == model()->u16(blk::LED_HEIGHT),
                     qPrintable(where + "panel size differs from the block"));
            QTRY_VERIFY2(!brightness_written || fpga()->brightness_sent() == model()->u16(blk::BRIGHTNESS),
                         qPrintable(where + "brightness not sent"));
            for (int s = 0; s < SOURCE_COUNT; ++s)
                QTRY_VERIFY2(!edid_written[size_t(s)] || (src()->eeprom(s).width == model()->u16(blk::edid(s)) &&
                                                          src()->eeprom(s).height == model()->u16(blk::edid(s) + 2) &&
                                                          src()->eeprom(s).rate == model()->u16(blk::edid(s) + 4)),
                             qPrintable(where + QString("EDID of input %1 not written").arg(s)));
        }
        ticks_.setInterval(10);
    }
};

QTEST_MAIN(TstC331Manage)
#include "tst_c331_manage.moc"

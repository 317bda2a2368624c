// The scaler applying page-style writes, with the FPGA and source threads
// and the dispatcher's save behind it, all started as main starts them.
#include "recording_page.h"
#include "testsupport.h"

#include "core/global.h"
#include "core/para_write.h"
#include "core/rynrampara.h"
#include "fpga/fpga_manage.h"
#include "scaler/c331_manage.h"
#include "sources/quenzsource.h"
#include "ui/frame/mainwindow.h"
#include "ui/frame/startup.h"
#include "ui/frame/syncupdate.h"

#include <QtTest>

#include <array>
#include <cstring>
namespace {
c331_manage* scaler() {
    return c331_manage::pInstance();
}
RynRamPara* model() {
    return RynRamPara::pInstance();
}
quenzsource* src() {
    return quenzsource::pInstance();
}
fpga_manage* fpga() {
    return fpga_manage::pInstance();
}

bool same_persisted(const void* a, const void* b) {
    return std::memcmp(static_cast<const uint8_t*>(a) + blk::PERSIST_BEGIN,
                       static_cast<const uint8_t*>(b) + blk::PERSIST_BEGIN, blk::SIZE - blk::PERSIST_BEGIN) == 0;
}
bool shadow_is_block() {
    return same_persisted(model()->RamParaBlock.data(), model()->RamParaShadow.data());
}
// An LED handshake word, read under its lock as the threads hold it.
template <class Word> int led_word(const Word& w) {
    MutexLocker lock(&Utils::_led_para_init_mutex);
    return int(w);
}
void write_led_size(RynRamPara& p, uint16_t w, uint16_t h, bool request = false) {
    p.set_u16(blk::SPLICE_MODE, 0);
    p.set_u16(blk::LED_WIDTH, w);
    p.set_u16(blk::LED_HEIGHT, h);
    p.set_u16(blk::OUT1_W, w);
    p.set_u16(blk::OUT1_H, h);
    if (!request)
        return;
    MutexLocker lock(&Utils::_led_para_init_mutex);  // as the LED page asks while the FPGA runs
    g_set_led_para = LED_PARA_REQUEST;
    g_set_led_setup = 0;
}
using Write = void (*)(RynRamPara&);
// A writer's change handed over with apply code `code`, and `then` after
// it was applied. What follows: each re-lay of the panel restarts the FPGA.
struct ApplyRow {
    Write write;
    int code;
    Write then;
    int relays;
    int brightness_sends;
    std::vector<int> edids;
};
void edid(RynRamPara& p, int s) {
    p.set_u16(blk::edid(s), 1280), p.set_u16(blk::edid(s) + 2, 720), p.set_u16(blk::edid(s) + 4, 50);
}
}  // namespace
Q_DECLARE_METATYPE(ApplyRow)

class TstC331Manage : public QObject {
    Q_OBJECT
    QTimer ticks_;  // stands in for MainWindow's 10 ms tick
    bool settled() { return scaler()->para_update_flag == 0 && shadow_is_block() && led_word(g_set_led_para) == 0; }

private slots:
    void initTestCase() {
        testsupport::fresh_device();
        start_core();
        MainWindow* main = start_panel(*qApp, 0);
        for (QTimer* t : qApp->findChildren<QTimer*>())  // the tick runs only when a test lets it
            t->stop();
        QTRY_COMPARE(fpga_manage::pInstance()->get_fpga_status(), 1);
        connect(&ticks_, &QTimer::timeout, main, &MainWindow::slot_update_timer_ticks);
    }
    void init() {
        ticks_.setInterval(10);
        testsupport::fresh_device();
        for (auto& uploaded : src()->edid_ram_table_from)
            uploaded = 0;
        para_write([](RynRamPara&) {});
        cleanup();
        QTRY_VERIFY(shadow_is_block());
        for (int s = 0; s < SOURCE_COUNT; ++s)
            QTRY_COMPARE(int(src()->edid_rewrite_req[s]), 0);
        // A brightness reset here reaches the cards when the FPGA thread gets
        // to it: its send is not the next row's.
        QTRY_VERIFY(fpga()->brightness_sent() < 0 || fpga()->brightness_sent() == model()->u16(blk::BRIGHTNESS));
    }
    void cleanup() {
        ticks_.start();
        QTRY_VERIFY(settled());
        ticks_.stop();
    }

    // What the scaler takes up reaches the chips, the page in front and the
    // saved file.
    void applied_data() {
        testsupport::rows<ApplyRow>({
            {"LED width", {[](RynRamPara& p) { p.set_u16(blk::LED_WIDTH, 2560); }, 1, nullptr, 1, 0, {}}},
            {"LED height", {[](RynRamPara& p) { p.set_u16(blk::LED_HEIGHT, 1200); }, 1, nullptr, 1, 0, {}}},
            {"output width", {[](RynRamPara& p) { p.set_u16(blk::OUT1_W, 1000); }, 1, nullptr, 1, 0, {}}},
            {"output height", {[](RynRamPara& p) { p.set_u16(blk::OUT1_H, 500); }, 1, nullptr, 1, 0, {}}},
            {"splice mode", {[](RynRamPara& p) { p.set_u16(blk::SPLICE_MODE, 1); }, 1, nullptr, 1, 0, {}}},
            {"brightness to the cards, panel kept",
             {[](RynRamPara& p) { p.set_u16(blk::BRIGHTNESS, 37); }, 1, nullptr, 0, 1, {}}},
            {"LED then brightness: one re-lay, one send",
             {[](RynRamPara& p) { p.set_u16(blk::LED_WIDTH, 2000); },
              1,
              [](RynRamPara& p) { p.set_u16(blk::BRIGHTNESS, 20); },
              1,
              1,
              {}}},
            {"two inputs' EDIDs: both rewritten",
             {[](RynRamPara& p) { edid(p, 1), edid(p, 4); }, 1, nullptr, 0, 0, {1, 4}}},
            {"uploaded table rewritten on any change",
             {[](RynRamPara& p) { src()->edid_ram_table_from[2] = 1, p.set_u16(blk::CONTRAST, 9); },
              1,
              nullptr,
              0,
              0,
              {2}}},
            {"user modes changed by the PC: code 2",
             {[](RynRamPara& p) { p.set_u16(blk::CONTRAST, 8); }, 2, nullptr, 0, 0, {}}},
        });
    }
    void applied() {
        QFETCH(ApplyRow, row);
        RecordingPage page(PAGE_EDIDSET);
        g_page_focus = PAGE_EDIDSET;
        const int calls = scaler()->panel().calls, resets = fpga()->reset_count(), sends = fpga()->brightness_sends();
        std::array<int, SOURCE_COUNT> writes{};
        for (int s = 0; s < SOURCE_COUNT; ++s)
            writes[size_t(s)] = src()->eeprom(s).writes;
        ticks_.start();
        {
            MutexLocker lock(&scaler()->para_mutex);
            row.write(*model());
            scaler()->para_update_flag = uint8_t(row.code);
        }
        QTRY_VERIFY(settled());
        if (row.then)
            para_write(row.then);
        QTRY_VERIFY(settled());
        QTRY_VERIFY(std::find(page.codes.begin(), page.codes.end(), row.code) != page.codes.end());
        const SimPanel panel = scaler()->panel();
        QCOMPARE(
            QVector<int>({panel.width, panel.height, panel.out_w, panel.out_h, panel.splice_mode, panel.calls - calls}),
            QVector<int>({model()->u16(blk::LED_WIDTH), model()->u16(blk::LED_HEIGHT), model()->u16(blk::OUT1_W),
                          model()->u16(blk::OUT1_H), model()->u16(blk::SPLICE_MODE), row.relays}));
        QTRY_COMPARE(fpga()->reset_count() - resets, row.relays);
        QTRY_COMPARE(fpga()->brightness_sends() - sends, row.brightness_sends);
        QCOMPARE(fpga()->brightness_sent(),
                 row.brightness_sends ? int(model()->u16(blk::BRIGHTNESS)) : fpga()->brightness_sent());
        for (int s = 0; s < SOURCE_COUNT; ++s) {
            const bool rewritten = std::count(row.edids.begin(), row.edids.end(), s);
            QTRY_COMPARE(src()->eeprom(s).writes - writes[size_t(s)], int(rewritten));
            const SimEdidEeprom e = src()->eeprom(s);
            QVERIFY(!rewritten || e.from_table || (e.width == 1280 && e.height == 720 && e.rate == 50));
        }
        QTRY_VERIFY(
            same_persisted(testsupport::read_file("/data/ram_device_info").constData(), model()->RamParaBlock.data()));
    }

    // The panel takes a new size only after both steps of the FPGA's reload.
    void ledSizeWaitsForTheFpgaReload() {
        ticks_.start();
        const uint32_t t0 = G_timeTicks;
        para_write([](RynRamPara& p) { write_led_size(p, 2560, 1440, true); });
        QTRY_COMPARE(scaler()->panel().width, 2560);
        const uint32_t waited = G_timeTicks - t0;
        QVERIFY2(waited >= fpga_manage::LED_STEP5_TICKS + fpga_manage::LED_DONE_TICKS,
                 qPrintable(QString::number(waited)));
    }

    // A PC command counts as recent for 300 ticks after its frame.
    void pcCommandExpires() {
        const uint32_t stamp = G_timeTicks;
        pc_cmd_time = stamp;
        pc_cmd_valid = 1;
        g_fpga_wakeup.notify();
        ticks_.setInterval(1);
        ticks_.start();
        QTRY_COMPARE_WITH_TIMEOUT(int(pc_cmd_valid), 0, 10000);
        QVERIFY(G_timeTicks - stamp >= fpga_manage::PC_CMD_HOLD_TICKS);
    }

    // No ticks, so the FPGA's LED reload never ends: a scaler that held
    // para_mutex through its wait for it would block the GUI until it gave up.
    void ledWaitLeavesParaMutexFreeAndIsBounded() {
        const int timeouts = scaler()->led_wait_timeouts;
        para_write([](RynRamPara& p) { write_led_size(p, 3840, 1080, true); });
        QTRY_COMPARE(led_word(g_set_led_setup), 1);
        QThread::msleep(50);  // the scaler is in its wait
        para_write([](RynRamPara& p) { write_led_size(p, 3000, 1000); });
        QCOMPARE(int(scaler()->led_wait_timeouts), timeouts);  // written while the scaler still waits
        QTRY_COMPARE_WITH_TIMEOUT(int(scaler()->led_wait_timeouts), timeouts + 1, 5000);
        QTRY_COMPARE(scaler()->panel().width, 3000);  // the value written during the wait
    }
};

QTEST_MAIN(TstC331Manage)
#include "tst_c331_manage.moc"

// The dispatcher: which page it refreshes, the notices after a refresh,
// the user-mode save request and when the block is saved.
#include "recording_page.h"
#include "testsupport.h"

#include "core/devicepath.h"
#include "core/global.h"
#include "core/rynrampara.h"
#include "core/utils.h"
#include "scaler/c331_manage.h"
#include "ui/frame/mainwindow.h"
#include "ui/frame/syncupdate.h"
#include "ui/frame/tip.h"

#include <QDir>
#include <QFile>
#include <QtTest>

#include <cstring>
#include <future>
#include <optional>
#include <thread>

namespace {
RynRamPara* P() { return RynRamPara::pInstance(); }
void sync(int code = SYNC_PARA) { SyncUpdate::pInstance()->para_sync(code); }
bool saved() { return QFile::exists(device_path("/data/ram_device_info")); }
uint16_t file_u16(int offset) {
    return blk::rd16(reinterpret_cast<const uint8_t*>(testsupport::read_file("/data/ram_device_info").constData()), offset);
}

// Holds para_mutex on a thread of its own, as a page or the PC would,
// until destroyed.
struct LockHolder {
    std::promise<void> held, release;
    std::thread thread{[this] {
        MutexLocker lock(&c331_manage::pInstance()->para_mutex);
        held.set_value();
        release.get_future().wait();
    }};
    LockHolder() { held.get_future().wait(); }
    ~LockHolder() {
        release.set_value();
        thread.join();
    }
};
} // namespace

class TstSyncUpdate : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { new MainWindow(nullptr); } // registers page 1 and makes g_tip
    void init() {
        testsupport::fresh_device();
        g_page_focus = PAGE_EDIDSET;
        QFile::remove(device_path("/data/ram_device_info"));
    }
    void cleanup() { testsupport::close_all_pages(); }

    // The last slot is saved; a request past it changes no mode.
    void saveRequest_data() { testsupport::int_rows({{"slot 16", {16}}, {"17 names no slot", {17}}}); }
    void saveRequest() {
        QFETCH(QVector<int>, r);
        const int request = r[0];
        P()->set_u16(blk::CURRENT_MODE, 3);
        P()->set_u16(blk::BRIGHTNESS, 42);
        P()->set_u16(blk::MODE_SAVE_REQUEST, uint16_t(request));
        const auto modes_before = P()->UserModes;
        sync();
        const bool valid = request <= USER_MODE_COUNT;
        QCOMPARE(P()->u16(blk::MODE_SAVE_REQUEST), uint16_t(0));
        QCOMPARE(file_u16(blk::MODE_SAVE_REQUEST), uint16_t(0));
        QCOMPARE(file_u16(blk::CURRENT_MODE), uint16_t(valid ? request : 3));
        QCOMPARE(std::memcmp(&P()->UserModes, &modes_before, sizeof modes_before) == 0, !valid);
        if (!valid)
            return;
        const auto& slot = P()->UserModes[15];
        QCOMPARE(slot.u16(blk::BRIGHTNESS), uint16_t(42));
        QCOMPARE(testsupport::read_file("/data/modes/custom_mode16"),
                 QByteArray(reinterpret_cast<const char*>(slot.bytes.data()), int(slot.bytes.size())));
    }

    // The GUI thread never waits for para_mutex: a holder only delays the
    // save, which the next tick retries (the next change may never come).
    void saveSkippedUnderLockRetriedOnTick() {
        RecordingPage page(PAGE_EDIDSET);
        P()->set_u16(blk::BRIGHTNESS, 20);
        c331_manage::pInstance()->para_update_flag = C331_APPLY_NONE;
        std::optional<LockHolder> holder{std::in_place};
        sync();
        g_mainwindow()->slot_update_timer_ticks();
        QCOMPARE(page.codes.size(), size_t(1)); // the page is still refreshed
        QVERIFY(!saved());
        holder.reset();
        g_mainwindow()->slot_update_timer_ticks();
        QCOMPARE(file_u16(blk::BRIGHTNESS), uint16_t(20));
        QFile::remove(device_path("/data/ram_device_info"));
        g_mainwindow()->slot_update_timer_ticks(); // nothing pending: no second write
        QVERIFY(!saved());
    }

    // A write that failed (no data folder) is tried again at the next
    // dispatch, even when nothing changed since.
    void failedWriteRetried() {
        RecordingPage page(PAGE_EDIDSET);
        QVERIFY(QDir(device_path("/data")).removeRecursively());
        P()->set_u16(blk::BRIGHTNESS, 33);
        sync();
        QVERIFY(!saved());
        QVERIFY(QDir().mkpath(device_path("/data")));
        sync();
        QCOMPARE(file_u16(blk::BRIGHTNESS), uint16_t(33));
    }

    void notices_data() { // page in front, code, done request, notices shown
        testsupport::int_rows({{"mapping: drive in", {PAGE_SMARTMAPPING, SYNC_USB_ADDED, 0, TIP_USB_IN}},
                               {"main menu: on request", {PAGE_MAINWINDOW, SYNC_PARA, 1, TIP_DONE}}});
    }
    void notices() {
        QFETCH(QVector<int>, r);
        std::optional<RecordingPage> page;
        if (r[0] != PAGE_MAINWINDOW)
            page.emplace(r[0]);
        g_page_focus = uint8_t(r[0]);
        testsupport::NoticeDriver driver;
        g_mainwindow()->tip_done_request = uint8_t(r[2]);
        sync(r[1]);
        if (page)
            QCOMPARE(page->codes, std::vector<int>{r[1]});
        QCOMPARE(driver.kinds, std::vector<int>(r.begin() + 3, r.end()));
        QCOMPARE(int(g_mainwindow()->tip_done_request), 0); // used up
    }
};

QTEST_MAIN(TstSyncUpdate)
#include "tst_syncupdate.moc"

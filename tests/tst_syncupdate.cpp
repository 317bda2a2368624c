// The dispatcher: the user-mode save request, when the block is saved and
// the notice after a refresh.
#include "recording_page.h"
#include "testsupport.h"

#include "core/devicepath.h"
#include "core/rynrampara.h"
#include "core/utils.h"
#include "scaler/c331_manage.h"
#include "ui/frame/mainwindow.h"
#include "ui/frame/syncupdate.h"
#include "ui/frame/tip.h"

#include <QDir>
#include <QtTest>

#include <optional>

namespace {
RynRamPara* P() { return RynRamPara::pInstance(); }
void sync(int code = SYNC_PARA) { SyncUpdate::pInstance()->para_sync(code); }
bool saved() { return QFile::exists(device_path("/data/ram_device_info")); }
uint16_t file_u16(int offset) {
    return blk::rd16(reinterpret_cast<const uint8_t*>(testsupport::read_file("/data/ram_device_info").constData()), offset);
}
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
        const bool valid = r[0] <= USER_MODE_COUNT;
        P()->set_u16(blk::CURRENT_MODE, 3);
        P()->set_u16(blk::BRIGHTNESS, 42);
        P()->set_u16(blk::MODE_SAVE_REQUEST, uint16_t(r[0]));
        sync();
        QCOMPARE(file_u16(blk::MODE_SAVE_REQUEST), uint16_t(0));
        QCOMPARE(file_u16(blk::CURRENT_MODE), uint16_t(valid ? r[0] : 3));
        const auto& slot = P()->UserModes[15];
        QCOMPARE(int(slot.u16(blk::BRIGHTNESS)), valid ? 42 : 0);
        QCOMPARE(testsupport::read_file("/data/modes/custom_mode16"),
                 QByteArray(reinterpret_cast<const char*>(slot.bytes.data()), int(slot.bytes.size())));
    }

    // The GUI thread never waits for para_mutex: a holder only delays the
    // save, which the next tick retries (the next change may never come).
    void saveSkippedUnderLockRetriedOnTick() {
        RecordingPage page(PAGE_EDIDSET);
        P()->set_u16(blk::BRIGHTNESS, 20);
        c331_manage::pInstance()->para_update_flag = C331_APPLY_NONE;
        // Held as the scaler holds it; a try-lock fails in any thread.
        std::optional<MutexLocker> held{std::in_place, &c331_manage::pInstance()->para_mutex};
        sync();
        g_mainwindow()->slot_update_timer_ticks();
        QCOMPARE(page.codes.size(), size_t(1)); // the page is still refreshed
        QVERIFY(!saved());
        held.reset();
        g_mainwindow()->slot_update_timer_ticks();
        QCOMPARE(file_u16(blk::BRIGHTNESS), uint16_t(20));
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

    // A drive put in while the mapping page is in front: the page refreshed
    // and the USB notice shown.
    void usbNoticeOnMappingPage() {
        RecordingPage page(PAGE_SMARTMAPPING);
        g_page_focus = PAGE_SMARTMAPPING;
        testsupport::NoticeDriver driver;
        sync(SYNC_USB_ADDED);
        QCOMPARE(page.codes, std::vector<int>{SYNC_USB_ADDED});
        QCOMPARE(driver.kinds, std::vector<int>{TIP_USB_IN});
    }
};

QTEST_MAIN(TstSyncUpdate)
#include "tst_syncupdate.moc"

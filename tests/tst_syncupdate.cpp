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

    // Only bytes 768..4095 are kept; live input state below them is not.
    void savesOnlyPersistedChanges_data() {
        testsupport::int_rows({{"last live byte 767", {767}}, {"first kept byte 768", {768}}, {"last byte 4095", {4095}}});
    }
    void savesOnlyPersistedChanges() {
        QFETCH(QVector<int>, r);
        const size_t offset = size_t(r[0]);
        RecordingPage page(PAGE_EDIDSET);
        const bool kept = offset >= size_t(blk::PERSIST_BEGIN);
        P()->RamParaBlock[offset] ^= 0x5A;
        sync();
        QCOMPARE(page.codes, std::vector<int>{SYNC_PARA});
        QCOMPARE(saved(), kept);
        QCOMPARE(P()->RamParaShadow[offset] == P()->RamParaBlock[offset], kept);
        if (kept)
            QCOMPARE(uint8_t(testsupport::read_file("/data/ram_device_info")[int(offset)]), P()->RamParaBlock[offset]);
    }

    // The last slot is saved; a request past it changes no mode.
    void saveRequest_data() {
        testsupport::int_rows({{"slot 16", {16}}, {"17 names no slot", {17}}, {"0xFFFF names no slot", {0xFFFF}}});
    }
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

    // A change still waiting for the scaler keeps the shadow as it was, or
    // the scaler would never see it (lost update); the GUI thread never
    // waits for para_mutex: a holder only delays the save, which the next
    // tick retries (the next change may never come).
    void saveWaitsForScalerAndLock_data() {
        QTest::addColumn<bool>("lockHeld");
        QTest::newRow("apply pending") << false;
        QTest::newRow("para_mutex held, retried on the tick") << true;
    }
    void saveWaitsForScalerAndLock() {
        QFETCH(bool, lockHeld);
        RecordingPage page(PAGE_EDIDSET);
        P()->set_u16(blk::BRIGHTNESS, 20);
        P()->set_u16(blk::MODE_SAVE_REQUEST, 2);
        std::optional<LockHolder> holder;
        if (lockHeld)
            holder.emplace();
        c331_manage::pInstance()->para_update_flag = lockHeld ? C331_APPLY_NONE : C331_APPLY_EDIT;
        sync();
        g_mainwindow()->slot_update_timer_ticks();
        QCOMPARE(page.codes.size(), size_t(1)); // the page is still refreshed
        QVERIFY(!saved());
        QCOMPARE(P()->shadow_u16(blk::BRIGHTNESS), uint16_t(100));
        QVERIFY(!P()->RynUserModeSaved(1));
        holder.reset();
        c331_manage::pInstance()->para_update_flag = C331_APPLY_NONE;
        if (lockHeld)
            g_mainwindow()->slot_update_timer_ticks();
        else
            sync();
        QCOMPARE(file_u16(blk::BRIGHTNESS), uint16_t(20));
        QVERIFY(P()->RynUserModeSaved(1));
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

    // An off window stays current under the layout view only; the page
    // refreshed is the one in front, if open.
    void currentWindowAndFrontPage() {
        RecordingPage page(PAGE_LEDSET);
        g_image_current = 2;             // window 2 is off
        g_page_focus = PAGE_IMAGELAYOUT; // the layout view may stay on an off window
        sync();
        QCOMPARE(int(g_image_current), 2);
        P()->set_u16(blk::LCD_LANGUAGE, LANG_RUSSIAN);
        g_page_focus = PAGE_LEDSET;
        sync(SYNC_PC_UPDATE_START); // the window is fixed, nothing else happens
        QCOMPARE(int(g_image_current), 0);
        QVERIFY(!saved());
        for (int focus : {30, int(PAGE_EDIDSET)}) { // beyond the registry; closed
            g_page_focus = uint8_t(focus);
            sync();
        }
        QVERIFY(page.codes.empty());
        QCOMPARE(int(g_language), int(LANG_RUSSIAN));
        QVERIFY(saved());
    }

    void notices_data() { // page in front, code, done request, notices shown
        testsupport::int_rows({{"mapping: drive in", {PAGE_SMARTMAPPING, SYNC_USB_ADDED, 0, TIP_USB_IN}},
                               {"usb upgrade: drive out", {PAGE_FIRMWARE_USBGRADE, SYNC_USB_REMOVED, 0, TIP_USB_OUT}},
                               {"other page", {PAGE_EDIDSET, SYNC_PARA, 0}},
                               {"main menu: not unasked", {PAGE_MAINWINDOW, SYNC_PARA, 0}},
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

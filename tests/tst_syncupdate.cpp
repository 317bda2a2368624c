// The dispatcher: which page it refreshes and the notices after, the
// current window, the user-mode save request and when the block is saved.
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
RynRamPara* P() {
    return RynRamPara::pInstance();
}
void sync(int code = SYNC_PARA) {
    SyncUpdate::pInstance()->para_sync(code);
}
bool saved() {
    return QFile::exists(device_path("/data/ram_device_info"));
}
uint16_t file_u16(int offset) {
    return blk::rd16(reinterpret_cast<const uint8_t*>(testsupport::read_file("/data/ram_device_info").constData()),
                     offset);
}
struct DispatchRow {
    int page, code;
    bool refreshed;
    std::vector<int> notices;
};
struct WindowRow {
    int page, current;
    bool enabled;
    int after;
};
struct SaveRow {
    uint16_t request;
    bool pending;
    int slot, current_mode;
};
}  // namespace
Q_DECLARE_METATYPE(DispatchRow)
Q_DECLARE_METATYPE(WindowRow)
Q_DECLARE_METATYPE(SaveRow)

class TstSyncUpdate : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { new MainWindow(nullptr); }  // registers page 1 and makes g_tip
    void init() {
        testsupport::fresh_device();
        g_page_focus = PAGE_EDIDSET;
        QFile::remove(device_path("/data/ram_device_info"));
    }
    void cleanup() { testsupport::close_all_pages(); }

    // The page in front is refreshed with the code, then its notices.
    void refreshAndNotices_data() {
        testsupport::rows<DispatchRow>({
            {"link menu: done after every refresh", {PAGE_LINKOPTION, SYNC_PARA, true, {TIP_DONE}}},
            {"mapping page: drive added", {PAGE_SMARTMAPPING, SYNC_USB_ADDED, true, {TIP_USB_IN}}},
            {"upgrade page: drive removed", {PAGE_FIRMWARE_USBGRADE, SYNC_USB_REMOVED, true, {TIP_USB_OUT}}},
            {"upgrade page: drive mounted", {PAGE_FIRMWARE_USBGRADE, SYNC_USB_MOUNTED, true, {TIP_USB_READING}}},
            {"mapping page: no notice for a change", {PAGE_SMARTMAPPING, SYNC_PARA, true, {}}},
            {"PC update starts: nothing refreshed", {PAGE_EDIDSET, SYNC_PC_UPDATE_START, false, {}}},
            {"PC update over: nothing refreshed", {PAGE_EDIDSET, SYNC_PC_UPDATE_OVER, false, {}}},
        });
    }
    void refreshAndNotices() {
        QFETCH(DispatchRow, row);
        RecordingPage page(row.page);
        g_page_focus = uint8_t(row.page);
        testsupport::NoticeDriver driver;
        sync(row.code);
        QCOMPARE(page.codes, row.refreshed ? std::vector<int>{row.code} : std::vector<int>{});
        QTRY_COMPARE(driver.kinds, row.notices);
    }

    // The main menu's done notice is shown once, when it was asked for; a
    // page id past the pages only takes up a language change.
    void mainMenuAndPastThePages() {
        g_page_focus = PAGE_MAINWINDOW;
        testsupport::NoticeDriver driver;
        sync();
        g_mainwindow()->tip_done_request = 1;
        sync(), sync();
        QCOMPARE(driver.kinds, std::vector<int>{TIP_DONE});
        g_page_focus = PAGE_COUNT;
        P()->set_u16(blk::LCD_LANGUAGE, LANG_RUSSIAN);
        sync();
        QCOMPARE(int(g_language), int(LANG_RUSSIAN));
    }

    // The current window falls back to 0 when it is off, except on the
    // layout view, which may select a window that is off.
    void currentWindow_data() {
        testsupport::rows<WindowRow>({{"off window: back to 0", {PAGE_EDIDSET, 3, false, 0}},
                                      {"shown window stays", {PAGE_EDIDSET, 3, true, 3}},
                                      {"layout view keeps an off window", {PAGE_IMAGELAYOUT, 3, false, 3}}});
    }
    void currentWindow() {
        QFETCH(WindowRow, row);
        g_page_focus = uint8_t(row.page);
        g_image_current = uint8_t(row.current);
        P()->set_u16(blk::window(row.current, blk::WIN_ENABLE), row.enabled);
        sync();
        QCOMPARE(int(g_image_current), row.after);
    }

    // A save request 1..16 fills that slot (markers, then block bytes
    // 896..4095) and its file and becomes the current mode; any other is
    // dropped. While the scaler has a change pending nothing is saved.
    void saveRequest_data() {
        testsupport::rows<SaveRow>({{"slot 16 saved", {16, false, 16, 16}},
                                    {"slot 1 saved", {1, false, 1, 1}},
                                    {"17 names no slot: dropped", {17, false, 0, 3}},
                                    {"change pending: nothing saved yet", {4, true, 0, 3}}});
    }
    void saveRequest() {
        QFETCH(SaveRow, row);
        P()->set_u16(blk::CURRENT_MODE, 3);
        P()->set_u16(blk::BRIGHTNESS, 42);
        P()->set_u16(blk::MODE_SAVE_REQUEST, row.request);
        c331_manage::pInstance()->para_update_flag = row.pending;
        sync();
        QCOMPARE(P()->u16(blk::MODE_SAVE_REQUEST) + 100 * P()->u16(blk::CURRENT_MODE),
                 (row.pending ? row.request : 0) + 100 * row.current_mode);
        QCOMPARE(saved() ? file_u16(blk::MODE_SAVE_REQUEST) + 100 * file_u16(blk::CURRENT_MODE) : -1,
                 row.pending ? -1 : 100 * row.current_mode);
        const QByteArray mode = "\xAA\xAA" +
                                QByteArray(reinterpret_cast<const char*>(P()->RamParaBlock.data()) + 896, 3200) +
                                QByteArray(894, 0);
        for (int s = 1; s <= USER_MODE_COUNT; ++s) {
            const bool filled = testsupport::read_file(QString("/data/modes/custom_mode%1").arg(s)) == mode &&
                                P()->RynUserModeSaved(s - 1);
            QVERIFY2(filled == (s == row.slot), qPrintable(QString("slot %1").arg(s)));
        }
    }

    // The GUI thread never waits for para_mutex: a holder only delays the
    // save, which the next tick retries (the next change may never come).
    void saveSkippedUnderLockRetriedOnTick() {
        RecordingPage page(PAGE_EDIDSET);
        P()->set_u16(blk::BRIGHTNESS, 20);
        std::optional<MutexLocker> held{std::in_place, &c331_manage::pInstance()->para_mutex};
        sync();
        g_mainwindow()->slot_update_timer_ticks();
        QCOMPARE(page.codes.size(), size_t(1));  // the page is still refreshed
        QVERIFY(!saved());
        held.reset();
        g_mainwindow()->slot_update_timer_ticks();
        QCOMPARE(file_u16(blk::BRIGHTNESS), uint16_t(20));
    }

    // A write that failed (no data folder) is tried again at the next
    // dispatch, even when nothing changed since.
    void failedWriteRetried() {
        QVERIFY(QDir(device_path("/data")).removeRecursively());
        P()->set_u16(blk::BRIGHTNESS, 33);
        sync();
        QVERIFY(!saved());
        QVERIFY(QDir().mkpath(device_path("/data")));
        sync();
        QCOMPARE(file_u16(blk::BRIGHTNESS), uint16_t(33));
    }
};

QTEST_MAIN(TstSyncUpdate)
#include "tst_syncupdate.moc"

// The dispatcher: which page it refreshes, the notices after a refresh,
// the user-mode save request and when the block is saved.
#include "recording_page.h"
#include "testsupport.h"

#include "core/devicepath.h"
#include "core/global.h"
#include "core/rynrampara.h"
#include "core/syncupdate.h"
#include "scaler/c331_manage.h"
#include "ui/frame/mainwindow.h"
#include "ui/frame/tip.h"

#include <QFile>
#include <QTimer>
#include <QtTest>

#include <cstring>
#include <future>
#include <thread>

namespace {
RynRamPara* P() {
    return RynRamPara::pInstance();
}
c331_manage* scaler() {
    return c331_manage::pInstance();
}
void sync(int code = SYNC_PARA) {
    SyncUpdate::pInstance()->para_sync(code);
}
QString block_file() {
    return device_path("/data/ram_device_info");
}

QByteArray saved_block() {
    QFile f(block_file());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
bool persisted_equals_shadow() {
    return std::memcmp(P()->RamParaBlock.data() + blk::PERSIST_BEGIN,
                       P()->RamParaShadow.data() + blk::PERSIST_BEGIN,
                       blk::SIZE - blk::PERSIST_BEGIN) == 0;
}

// Ends every notice at once and records the kind of each one shown.
class NoticeDriver {
public:
    NoticeDriver() {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (!g_tip_flag || !g_tip)
                return;
            if (g_tip->tick_count() == 0)
                kinds.push_back(g_tip->shown_kind());
            g_tip->tip_outtime_deal();
        });
        timer_.start(0);
    }
    std::vector<int> kinds;

private:
    QTimer timer_;
};
} // namespace

class TstSyncUpdate : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { new MainWindow(nullptr); } // registers page 1 and makes g_tip
    void init() {
        testsupport::fresh_device();
        g_page_focus = PAGE_EDIDSET;
    }
    void cleanup() { testsupport::close_all_pages(); }

    // Only bytes 768..4095 are kept; live input state below them is not.
    void savesOnlyPersistedChanges_data() {
        QTest::addColumn<int>("offset");
        QTest::addColumn<bool>("saved");
        QTest::newRow("input info") << blk::input_info(2) << false;
        QTest::newRow("last live byte 767") << 767 << false;
        QTest::newRow("first kept byte 768") << 768 << true;
        QTest::newRow("last byte 4095") << 4095 << true;
    }
    void savesOnlyPersistedChanges() {
        QFETCH(int, offset);
        QFETCH(bool, saved);
        RecordingPage page(PAGE_EDIDSET);
        QFile::remove(block_file());
        P()->RamParaBlock[size_t(offset)] ^= 0x5A;
        sync();
        QCOMPARE(page.codes, std::vector<int>{SYNC_PARA});
        QCOMPARE(QFile::exists(block_file()), saved);
        QVERIFY(persisted_equals_shadow());
        QCOMPARE(P()->RamParaShadow[size_t(offset)] != P()->RamParaBlock[size_t(offset)], !saved);
        if (saved)
            QCOMPARE(uint8_t(saved_block()[offset]), P()->RamParaBlock[size_t(offset)]);
    }

    void saveRequest_data() {
        QTest::addColumn<int>("request");
        QTest::addColumn<int>("slot");
        QTest::newRow("slot 1") << 1 << 0;
        QTest::newRow("slot 16") << 16 << 15;
        QTest::newRow("17 names no slot") << 17 << -1;
        QTest::newRow("0xFFFF names no slot") << 0xFFFF << -1;
    }
    void saveRequest() {
        QFETCH(int, request);
        QFETCH(int, slot);
        P()->set_u16(blk::CURRENT_MODE, 3);
        P()->set_u16(blk::BRIGHTNESS, 42);
        P()->set_u16(blk::MODE_SAVE_REQUEST, uint16_t(request));
        const auto modes_before = P()->UserModes;
        sync();
        QCOMPARE(P()->u16(blk::MODE_SAVE_REQUEST), uint16_t(0));
        const QByteArray file = saved_block();
        QCOMPARE(
            blk::rd16(reinterpret_cast<const uint8_t*>(file.constData()), blk::MODE_SAVE_REQUEST),
            uint16_t(0));
        if (slot < 0) {
            for (int i = 0; i < USER_MODE_COUNT; ++i)
                QVERIFY(P()->UserModes[size_t(i)].bytes == modes_before[size_t(i)].bytes);
            QCOMPARE(P()->u16(blk::CURRENT_MODE), uint16_t(3));
            return;
        }
        QVERIFY(P()->RynUserModeSaved(slot));
        QCOMPARE(P()->u16(blk::CURRENT_MODE), uint16_t(request));
        QCOMPARE(P()->UserModes[size_t(slot)].u16(blk::BRIGHTNESS), uint16_t(42));
        QFile mode(device_path(QString("/data/modes/custom_mode%1").arg(request)));
        QVERIFY(mode.open(QIODevice::ReadOnly));
        const auto& slot_bytes = P()->UserModes[size_t(slot)].bytes;
        QCOMPARE(mode.readAll(), QByteArray(reinterpret_cast<const char*>(slot_bytes.data()),
                                            int(slot_bytes.size())));
        QCOMPARE(blk::rd16(reinterpret_cast<const uint8_t*>(file.constData()), blk::CURRENT_MODE),
                 uint16_t(request));
    }

    // A change still waiting for the scaler must keep the shadow as it was,
    // or the scaler would never see it (lost update).
    void nothingSavedWhileApplyPending() {
        RecordingPage page(PAGE_EDIDSET);
        QFile::remove(block_file());
        P()->set_u16(blk::BRIGHTNESS, 20);
        P()->set_u16(blk::MODE_SAVE_REQUEST, 2);
        scaler()->para_update_flag = C331_APPLY_EDIT;
        sync();
        QCOMPARE(page.codes.size(), size_t(1)); // the page is still refreshed
        QVERIFY(!QFile::exists(block_file()));
        QCOMPARE(P()->shadow_u16(blk::BRIGHTNESS), uint16_t(100));
        QCOMPARE(P()->u16(blk::MODE_SAVE_REQUEST), uint16_t(2));
        QVERIFY(!P()->RynUserModeSaved(1));

        scaler()->para_update_flag = C331_APPLY_NONE; // the scaler's pass is over
        sync();
        QVERIFY(QFile::exists(block_file()));
        QCOMPARE(P()->shadow_u16(blk::BRIGHTNESS), uint16_t(20));
        QVERIFY(P()->RynUserModeSaved(1));
    }

    // The GUI thread never waits for para_mutex: a holder delays the save.
    void busyLockDelaysSaveWithoutBlocking() {
        QFile::remove(block_file());
        P()->set_u16(blk::CONTRAST, 10);
        std::promise<void> held, release;
        std::thread holder([&] {
            pthread_mutex_lock(&scaler()->para_mutex);
            held.set_value();
            release.get_future().wait();
            pthread_mutex_unlock(&scaler()->para_mutex);
        });
        held.get_future().wait();
        sync();
        QVERIFY(!QFile::exists(block_file()));
        QCOMPARE(P()->shadow_u16(blk::CONTRAST), uint16_t(50));
        release.set_value();
        holder.join();
        sync();
        QVERIFY(QFile::exists(block_file()));
    }

    void currentWindowAndFrontPage() {
        RecordingPage page(PAGE_LEDSET);
        g_image_current = 2;             // window 2 is off
        g_page_focus = PAGE_IMAGELAYOUT; // the layout view may stay on an off window
        sync();
        QCOMPARE(int(g_image_current), 2);
        P()->set_u16(blk::BRIGHTNESS, 30);
        g_page_focus = PAGE_LEDSET;
        for (int code : {SYNC_PC_UPDATE_START, SYNC_PC_UPDATE_OVER})
            sync(code); // the window is fixed, nothing else happens
        QCOMPARE(int(g_image_current), 0);
        QVERIFY(page.codes.empty());
        QCOMPARE(P()->shadow_u16(blk::BRIGHTNESS), uint16_t(100));

        g_page_focus = PAGE_EDIDSET; // closed: skipped, the save still runs
        sync();
        QVERIFY(page.codes.empty());
        QCOMPARE(P()->shadow_u16(blk::BRIGHTNESS), uint16_t(30));
        g_page_focus = 30; // beyond the registry: only the language rule
        P()->set_u16(blk::LCD_LANGUAGE, LANG_RUSSIAN);
        sync();
        QCOMPARE(int(g_language), int(LANG_RUSSIAN));
    }

    void notices_data() {
        QTest::addColumn<int>("focus");
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("kind");
        QTest::newRow("link menu after every refresh")
            << int(PAGE_LINKOPTION) << int(SYNC_INPUT_TIMING) << int(TIP_DONE);
        QTest::newRow("mapping: drive in")
            << int(PAGE_SMARTMAPPING) << int(SYNC_USB_ADDED) << int(TIP_USB_IN);
        QTest::newRow("usb upgrade: drive out")
            << int(PAGE_FIRMWARE_USBGRADE) << int(SYNC_USB_REMOVED) << int(TIP_USB_OUT);
        QTest::newRow("usb upgrade: reading")
            << int(PAGE_FIRMWARE_USBGRADE) << int(SYNC_USB_MOUNTED) << int(TIP_USB_READING);
        QTest::newRow("other page") << int(PAGE_EDIDSET) << int(SYNC_PARA) << 0;
    }
    void notices() {
        QFETCH(int, focus);
        QFETCH(int, code);
        QFETCH(int, kind);
        RecordingPage page(focus);
        g_page_focus = uint8_t(focus);
        NoticeDriver driver;
        sync(code);
        QCOMPARE(page.codes, std::vector<int>{code});
        QCOMPARE(driver.kinds, kind ? std::vector<int>{kind} : std::vector<int>{});
    }

    void mainWindowDoneRequest() {
        MainWindow* mw = g_mainwindow();
        QVERIFY(mw);
        g_page_focus = PAGE_MAINWINDOW;
        NoticeDriver driver;
        sync();
        QVERIFY(driver.kinds.empty());
        mw->tip_done_request = 1;
        sync();
        QCOMPARE(driver.kinds, std::vector<int>{TIP_DONE});
        QCOMPARE(int(mw->tip_done_request), 0);
    }
};

QTEST_MAIN(TstSyncUpdate)
#include "tst_syncupdate.moc"

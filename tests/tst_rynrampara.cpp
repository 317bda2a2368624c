// The parameter model: crop table, window sources, user-mode slots, the
// language rule, the start-up files and the hand-over to the GUI thread.
#include "recording_page.h"
#include "testsupport.h"

#include "core/devicepath.h"
#include "core/global.h"
#include "core/rynrampara.h"
#include "scaler/c331_manage.h"
#include "ui/frame/syncupdate.h"

#include <QDir>
#include <QtTest>

#include <cstring>
#include <thread>

namespace {
RynRamPara* P() { return RynRamPara::pInstance(); }
std::atomic<uint8_t>& flag() { return c331_manage::pInstance()->para_update_flag; }
uint8_t* block() { return P()->RamParaBlock.data(); }

void put_crop(int i, int source, int id_byte, int x = 0) {
    uint8_t* r = block() + blk::crop(i);
    r[0] = uint8_t(source);
    r[1] = uint8_t(id_byte);
    blk::wr16(r, blk::CROP_X, uint16_t(x));
}
// Crop numbers out of order, a free record, a duplicate, source 6, crop 45.
void odd_crop_table() {
    const int rows[][3] = {{0, 2, 0x82}, {1, 2, 0x01}, {2, 2, 0x80}, {3, 6, 0x80},
                           {4, 2, 0x80 + 44}, {5, 3, 0x80}, {6, 2, 0x80}, {39, 2, 0x81}};
    for (const auto& r : rows)
        put_crop(r[0], r[1], r[2], 100 + r[0]);
    P()->RynCropSourceInit();
}

using namespace testsupport;
QByteArray mode_record(uint8_t marker, int size, uint8_t fill = 0) {
    QByteArray r(size, char(fill));
    r[0] = r[1] = char(marker);
    return r;
}
QString mode_file(int slot) { return QString("/data/modes/custom_mode%1").arg(slot + 1); }
} // namespace

class TstRynRamPara : public QObject {
    Q_OBJECT
private slots:
    void init() {
        testsupport::fresh_device();
        g_debugSwitch = 254;
    }
    void cropTableSkipsBadRecords() {
        odd_crop_table();
        int bits = 0;
        for (uint8_t b : g_cut_source_state)
            bits += __builtin_popcount(b);
        QCOMPARE(bits, 4); // source 2: crops 1, 2, 3; source 3: crop 1
        CROP_PARA v;
        v.para[4] = 14;
        P()->RynAddNewCrop(2, &v); // lowest free number 4 into the first free record
        QCOMPARE(int(block()[blk::crop(1) + 1]), 0x80 + 3);
        QCOMPARE(int(flag()), 1);
        P()->RynDeleteCrop(2, 1);
        QCOMPARE(int(block()[blk::crop(2) + 1]), 0);

        // No matching crop, or every number of a source used under a stale
        // state: nothing written.
        flag() = 0;
        auto before = P()->RamParaBlock;
        P()->RynDeleteCrop(2, 9);
        P()->RynSetCropPara(2, 9, &v);
        QVERIFY(P()->RamParaBlock == before);
        for (int i = 0; i < CROP_COUNT; ++i)
            put_crop(i, 2, 0x80 + i);
        std::memset(g_cut_source_state, 0, sizeof g_cut_source_state);
        before = P()->RamParaBlock;
        P()->RynAddNewCrop(2, &v);
        QVERIFY(P()->RamParaBlock == before);
        QCOMPARE(int(flag()), 0);
        QCOMPARE(P()->RynGetCropID(2, 40), 40); // the state was rebuilt first
    }

    void imageSourceDecoding_data() { // word, source, crop index
        int_rows({{"crop record 39", {0x8000 + 39, 2, 39}},
              {"crop index 40 is outside the table", {0x8000 + 40, 0, -1}}});
    }
    void imageSourceDecoding() {
        QFETCH(QVector<int>, r);
        odd_crop_table();
        P()->set_u16(blk::window(4, blk::WIN_SOURCE), uint16_t(r[0]));
        short f = 9;
        char k = 99;
        QCOMPARE(P()->RynGetImageSource(block(), 4, &f, &k, 0), r[1]);
        QCOMPARE(int(f), r[2] >= 0 ? 1 : 0);
        QCOMPARE(int(k), r[2] >= 0 ? r[2] : 99);
    }

    // The only saved slot is found again from itself after a full turn,
    // both ways; a half-marked slot is not saved.
    void userModeIndexComesBackToTheOnlySlot() {
        P()->UserModes[7].bytes[0] = P()->UserModes[7].bytes[1] = 0xAA;
        P()->UserModes[13].bytes[0] = 0xAA;
        for (int dir = 0; dir < 3; ++dir)
            QCOMPARE(P()->RynUserModeIndex(7, char(dir)), 7);
    }

    // What the setters write lands at the offsets a peer reads in the file.
    void savedFileLayout_data() {
        QTest::addColumn<int>("change");
        QTest::addColumn<int>("offset");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("window 3 source HDMI3") << 0 << 2272 + 26 * 3 + 8 << QByteArray("\x04\x00", 2);
        QTest::newRow("EDID of input 4") << 2 << 896 + 6 * 4 << QByteArray("\x00\x0F\x70\x08\x1E\x00", 6);
        QTest::newRow("new crop of HDMI2") << 3 << 1472 << QByteArray("\x03\x80\x0A\x00\x14\x00\x80\x02\xE0\x01", 10);
    }
    void savedFileLayout() {
        QFETCH(int, change);
        QFETCH(int, offset);
        QFETCH(QByteArray, bytes);
        CROP_PARA crop{{0, 10, 20, 640, 480}};
        P()->RynAddNewCrop(3, &crop);
        if (change == 0)
            P()->RynSetImageSource(0, 4, 3);
        else if (change == 2)
            P()->RynSetEDIDPara(4, 3840, 2160, 30);
        flag() = 0; // the scaler took the change up
        SyncUpdate::pInstance()->para_sync(SYNC_PARA);
        QCOMPARE(read_file("/data/ram_device_info").mid(offset, bytes.size()).toHex(' '), bytes.toHex(' '));
    }

    // A language not offered becomes the lowest offered one, in the block too.
    void languageNotOfferedFallsBack() {
        g_lcd_lang_valid = 0x18;
        blk::wr16(P()->RamParaShadow.data(), blk::LCD_LANGUAGE, 4);
        P()->set_u16(blk::LCD_LANGUAGE, 1);
        QVERIFY(P()->RynLanguageChanged());
        QCOMPARE(int(g_language), 3);
        QCOMPARE(int(P()->u16(blk::LCD_LANGUAGE)), 3);
    }

    // No file or a bad one: the factory defaults in the block, the shadow
    // and the file, and every user-mode file written empty. A good one: its
    // settings, not its live input state.
    void startUpFiles_data() {
        QTest::addColumn<QByteArray>("content");
        QByteArray bad_marker(4096, 0x33), good = mode_record(0xAA, 4096);
        bad_marker[1] = char(0xAA);
        good[300] = 0x77;
        good[1000] = 0x5A;
        QTest::newRow("no files") << QByteArray();
        QTest::newRow("bad first marker byte") << bad_marker;
        QTest::newRow("good file") << good;
    }
    void startUpFiles() {
        QFETCH(QByteArray, content);
        const bool good = content.size() == blk::SIZE && content.startsWith("\xAA\xAA");
        if (content.isEmpty())
            QDir(device_path("/data")).removeRecursively();
        else
            write_file("/data/ram_device_info", content);
        P()->set_u16(blk::BRIGHTNESS, 7);
        P()->load_files();
        if (good) {
            QVERIFY(block()[1000] == 0x5A && block()[300] == 0);
        } else {
            // The factory defaults by value, at the offsets a peer reads.
            const std::pair<int, int> defaults[] = {{768, 1},    {1378, 1920}, {1380, 1080}, {2176, 100},
                                                    {2178, 50},  {2280, 2},    {2286, 1920}, {900, 60}};
            for (const auto& d : defaults)
                QCOMPARE(int(P()->u16(d.first)), d.second);
            QCOMPARE(int(block()[300]), 0);
        }
        QVERIFY(P()->RamParaShadow == P()->RamParaBlock);
        const QByteArray f = read_file("/data/ram_device_info");
        QCOMPARE(f.left(2), QByteArray("\xAA\xAA"));
        QCOMPARE(f.mid(768), QByteArray(reinterpret_cast<const char*>(block()) + 768, 4096 - 768));
        for (int i = 0; i < USER_MODE_COUNT && !good; ++i)
            QCOMPARE(read_file(mode_file(i)), mode_record(0xFF, 4096));
    }

    // From a worker the dispatcher runs queued, in the GUI thread.
    void testSignal() {
        QObject::connect(P(), &RynRamPara::sig_update_para, SyncUpdate::pInstance(),
                         &SyncUpdate::para_sync, Qt::QueuedConnection);
        RecordingPage page(PAGE_EDIDSET);
        g_page_focus = PAGE_EDIDSET;
        std::thread([] { P()->publish_input_info(3, 1920, 1080, 59); }).join();
        QVERIFY(page.codes.empty()); // not before the GUI loop runs
        QTRY_COMPARE(page.codes, std::vector<int>{SYNC_INPUT_TIMING});
        QCOMPARE(page.threads.back(), qApp->thread());
    }
};

QTEST_MAIN(TstRynRamPara)
#include "tst_rynrampara.moc"

// The parameter model: crop table, window sources, user-mode slots, the
// language rule, the saved layout and the start-up file.
#include "testsupport.h"

#include "core/global.h"
#include "core/rynrampara.h"
#include "scaler/c331_manage.h"
#include "ui/frame/syncupdate.h"

#include <QtTest>

#include <cstring>

namespace {
RynRamPara* P() { return RynRamPara::pInstance(); }
std::atomic<uint8_t>& flag() { return c331_manage::pInstance()->para_update_flag; }
uint8_t* block() { return P()->RamParaBlock.data(); }

void put_crop(int i, int source, int id_byte) {
    block()[blk::crop(i)] = uint8_t(source);
    block()[blk::crop(i) + 1] = uint8_t(id_byte);
}
using namespace testsupport;
} // namespace

class TstRynRamPara : public QObject {
    Q_OBJECT
private slots:
    void init() {
        testsupport::fresh_device();
        g_debugSwitch = 254;
    }
    // Crop numbers out of order, a free record, a duplicate, source 6
    // (past g_cut_source_state), crop 45: only the good ones count.
    void cropTableSkipsBadRecords() {
        const int rows[][3] = {{0, 2, 0x82}, {1, 2, 0x01}, {2, 2, 0x80}, {3, 6, 0x80},
                               {4, 2, 0x80 + 44}, {5, 3, 0x80}, {6, 2, 0x80}, {39, 2, 0x81}};
        for (const auto& r : rows)
            put_crop(r[0], r[1], r[2]);
        P()->RynCropSourceInit();
        int bits = 0;
        for (uint8_t b : g_cut_source_state)
            bits += __builtin_popcount(b);
        QCOMPARE(bits, 4); // source 2: crops 1, 2, 3; source 3: crop 1
        CROP_PARA v{};
        P()->RynAddNewCrop(2, &v); // lowest free number 4 into the first free record
        QCOMPARE(int(block()[blk::crop(1) + 1]), 0x80 + 3);

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

    // A window word naming crop index 40 (past the table) is no valid crop.
    void cropIndex40IsNoCrop() {
        P()->set_u16(blk::window(4, blk::WIN_SOURCE), uint16_t(0x8000 + 40));
        short f = 9;
        char k = 99;
        QCOMPARE(P()->RynGetImageSource(block(), 4, &f, &k, 0), 0);
        QCOMPARE(int(f), 0);
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
    void savedFileLayout() {
        CROP_PARA crop{{0, 10, 20, 640, 480}};
        P()->RynAddNewCrop(3, &crop);
        P()->RynSetImageSource(0, 4, 3);
        flag() = 0; // the scaler took the change up
        SyncUpdate::pInstance()->para_sync(SYNC_PARA);
        const QByteArray f = read_file("/data/ram_device_info");
        QCOMPARE(f.mid(2272 + 26 * 3 + 8, 2).toHex(' '), QByteArray("04 00")); // window 3: HDMI3
        QCOMPARE(f.mid(1472, 10).toHex(' '), QByteArray("03 80 0a 00 14 00 80 02 e0 01"));
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

    // A file whose first marker byte is wrong: the factory defaults (by
    // value, at the offsets a peer reads) in the block, the shadow and the
    // file, and every user-mode file written empty.
    void badMarkerLoadsFactoryDefaults() {
        QByteArray bad_marker(4096, 0x33);
        bad_marker[1] = char(0xAA);
        write_file("/data/ram_device_info", bad_marker);
        P()->load_files();
        const std::pair<int, int> defaults[] = {{768, 1},   {1378, 1920}, {1380, 1080}, {2176, 100},
                                                {2178, 50}, {2280, 2},    {2286, 1920}, {900, 60}};
        for (const auto& d : defaults)
            QCOMPARE(int(P()->u16(d.first)), d.second);
        QVERIFY(P()->RamParaShadow == P()->RamParaBlock);
        const QByteArray f = read_file("/data/ram_device_info");
        QCOMPARE(f.left(2), QByteArray("\xAA\xAA"));
        QCOMPARE(f.mid(768), QByteArray(reinterpret_cast<const char*>(block()) + 768, 4096 - 768));
        QCOMPARE(read_file("/data/modes/custom_mode16"), QByteArray("\xFF\xFF") + QByteArray(4094, 0));
    }
};

QTEST_MAIN(TstRynRamPara)
#include "tst_rynrampara.moc"

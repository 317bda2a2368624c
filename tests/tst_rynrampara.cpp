// The parameter model: crop table, window sources, user-mode slots, the
// language rule, the start-up files and the hand-over to the GUI thread.
#include "recording_page.h"
#include "testsupport.h"

#include "core/devicepath.h"
#include "core/global.h"
#include "core/rynrampara.h"
#include "ui/frame/syncupdate.h"
#include "core/utils.h"
#include "scaler/c331_manage.h"

#include <QDir>
#include <QFile>
#include <QtTest>

#include <cstring>
#include <map>
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

// Crop numbers out of table order, a free record, a duplicated number and
// records naming source 6 or crop number 45.
void odd_crop_table() {
    put_crop(0, 2, 0x80 + 2, 100);  // source 2, crop 3
    put_crop(1, 2, 0x01, 101);      // free
    put_crop(2, 2, 0x80 + 0, 102);  // source 2, crop 1
    put_crop(3, 6, 0x80 + 0, 103);  // no source 6: the first past the state bits
    put_crop(4, 2, 0x80 + 44, 104); // no crop 45
    put_crop(5, 3, 0x80 + 0, 105);  // source 3, crop 1
    put_crop(6, 2, 0x80 + 0, 106);  // source 2, crop 1 again
    put_crop(39, 2, 0x80 + 1, 139); // source 2, crop 2, last record
    P()->RynCropSourceInit();
}

void write_file(const QString& device, const QByteArray& bytes) {
    QFile f(device_path(device));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}
QByteArray read_file(const QString& device) {
    QFile f(device_path(device));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
QByteArray mode_record(uint8_t m0, uint8_t m1, int size, uint8_t fill = 0) {
    QByteArray r(size, char(fill));
    r[0] = char(m0);
    r[1] = char(m1);
    return r;
}
QString mode_file(int slot) { return QString("/data/modes/custom_mode%1").arg(slot + 1); }
void add_rows(const std::vector<std::pair<const char*, QVector<int>>>& rows) {
    QTest::addColumn<QVector<int>>("r");
    for (const auto& row : rows)
        QTest::newRow(row.first) << row.second;
}
} // namespace

class TstRynRamPara : public QObject {
    Q_OBJECT
private slots:
    void init() {
        testsupport::fresh_device();
        g_debugSwitch = 254;
    }
    void cleanup() { Utils::test_interrupt_before_rename = false; }

    void cropTableSkipsBadRecords() {
        odd_crop_table();
        int bits = 0;
        for (uint8_t b : g_cut_source_state)
            bits += __builtin_popcount(b);
        QCOMPARE(bits, 4); // source 2: crops 1, 2, 3; source 3: crop 1
        const int ids[][3] = {{2, 1, 1}, {2, 3, 3}, {2, 4, 0}, {2, 41, 0}, {6, 1, 0}, {-1, 1, 0}};
        for (const auto& r : ids)
            QCOMPARE(P()->RynGetCropID(r[0], r[1]), r[2]);
        const int nums[][3] = {{2, 40, 4}, {2, 39, 3}, {2, 400, 4}, {6, 40, 0}};
        for (const auto& r : nums)
            QCOMPARE(P()->RynGetSourceNum(r[0], r[1]), r[2]);
        QCOMPARE(int(P()->RynAddCropID(2)), 4);
        QCOMPARE(int(P()->RynAddCropID(6)), 0);
        CROP_PARA out;
        int index = -1;
        P()->RynGetCropPara(2, 1, &out, &index);
        QCOMPARE(index, 2); // the first record of crop 1, not the duplicate
        QCOMPARE(out.para[1], 102);

        CROP_PARA v;
        v.para[4] = 14;
        P()->RynAddNewCrop(2, &v); // lowest free number 4 into the first free record
        QCOMPARE(int(block()[blk::crop(1) + 1]), 0x80 + 3);
        QCOMPARE(P()->u16(blk::crop(1) + blk::CROP_H), uint16_t(14));
        QCOMPARE(int(flag()), 1);
        v.para[1] = 500;
        P()->RynSetCropPara(2, 3, &v);
        QCOMPARE(P()->u16(blk::crop(0) + blk::CROP_X), uint16_t(500));
        P()->RynDeleteCrop(2, 1);
        QCOMPARE(int(block()[blk::crop(2) + 1]), 0);

        flag() = 0; // nothing matches or the table is full: nothing written
        for (int i = 0; i < CROP_COUNT; ++i)
            put_crop(i, i % 6, 0x80 + i / 6);
        const auto before = P()->RamParaBlock;
        P()->RynDeleteCrop(2, 9);
        P()->RynSetCropPara(2, 9, &v);
        P()->RynAddNewCrop(6, &v);
        P()->RynAddNewCrop(1, &v);
        QVERIFY(P()->RamParaBlock == before);
        QCOMPARE(int(flag()), 0);

        // Every crop number of one source used, the crop state stale: no
        // record with byte 1 = 0x7F, nothing written.
        for (int i = 0; i < CROP_COUNT; ++i)
            put_crop(i, 2, 0x80 + i);
        std::memset(g_cut_source_state, 0, sizeof g_cut_source_state);
        const auto full = P()->RamParaBlock;
        P()->RynAddNewCrop(2, &v);
        QVERIFY(P()->RamParaBlock == full);
        QCOMPARE(int(flag()), 0);
        QCOMPARE(P()->RynGetCropID(2, 40), 40); // the state was rebuilt first
    }

    void imageSourceDecoding_data() { // word, source, crop index
        add_rows({{"plain source", {0x0003, 3, -1}},
                  {"crop record 39", {0x8000 + 39, 2, 39}},
                  {"crop index 40 is outside the table", {0x8000 + 40, 0, -1}},
                  {"free crop record", {0x8001, 0, -1}},
                  {"record naming source 6", {0x8003, 0, -1}}});
    }
    void imageSourceDecoding() {
        QFETCH(QVector<int>, r);
        odd_crop_table();
        P()->set_u16(blk::window(4, blk::WIN_SOURCE), uint16_t(r[0]));
        UserModeSlot slot;
        std::memcpy(slot.data(), block() + blk::MODE_BEGIN, blk::MODE_SIZE);
        for (int form = 0; form < 2; ++form) {
            short f = 9;
            char k = 99;  // untouched unless a crop is named; 0..127 reads alike for any char
            QCOMPARE(P()->RynGetImageSource(form ? slot.data() : block(), 4, &f, &k, uint8_t(form)),
                     r[1]);
            QCOMPARE(int(f), r[2] >= 0 ? 1 : 0);
            QCOMPARE(int(k), r[2] >= 0 ? r[2] : 99);
        }
    }

    void setImageSourceAndEdid() {
        odd_crop_table();
        P()->set_u16(blk::CURRENT_MODE, 3);
        P()->RamParaShadow = P()->RamParaBlock; // a saved mode: a change leaves it
        P()->RynSetImageSource(0, 4, 1);
        QCOMPARE(P()->window_u16(1, blk::WIN_SOURCE), uint16_t(4));
        QCOMPARE(P()->u16(blk::CURRENT_MODE), uint16_t(0));
        P()->RynSetImageSource(2, 2, 1); // crop number 2 of source 2: record 39
        QCOMPARE(P()->window_u16(1, blk::WIN_SOURCE), uint16_t(0x8000 + 39));

        flag() = 0; // a missing crop entry or input switches nothing (not to EXT)
        const auto before = P()->RamParaBlock;
        P()->RynSetImageSource(4, 2, 1);
        P()->RynSetImageSource(0, 2, 20);
        P()->RynSetEDIDPara(6, 1, 1, 1);
        P()->RynSetEDIDPara(-1, 1, 1, 1);
        QVERIFY(P()->RamParaBlock == before);
        QCOMPARE(int(flag()), 0);
        P()->RynSetEDIDPara(5, 3840, 2160, 30);
        QCOMPARE(P()->u16(blk::edid(5) + 4), uint16_t(30));
        QCOMPARE(int(flag()), 1);
    }

    // Saved slots (bits), start, then the slot found previous, next, this or next.
    void userModeIndex_data() {
        add_rows({{"none saved", {0, 5, 256, 256, 256}},
                  {"one, from itself", {1 << 7, 7, 7, 7, 7}},
                  {"one, from below: previous wraps past 0", {1 << 7, 3, 7, 7, 7}},
                  {"one, from above: next wraps past 15", {1 << 7, 9, 7, 7, 7}},
                  {"two, from an empty slot", {1 << 2 | 1 << 12, 13, 12, 2, 2}},
                  {"all, from 15", {0xFFFF, 15, 14, 0, 15}},
                  {"all, from 0", {0xFFFF, 0, 15, 1, 0}}});
    }
    void userModeIndex() {
        QFETCH(QVector<int>, r);
        for (size_t i = 0; i < 16; ++i)
            if (r[0] >> i & 1)
                P()->UserModes[i].bytes[0] = P()->UserModes[i].bytes[1] = 0xAA;
        if (!(r[0] >> 13 & 1))
            P()->UserModes[13].bytes[0] = 0xAA; // half-marked: not saved
        for (int dir = 0; dir < 3; ++dir)
            QCOMPARE(P()->RynUserModeIndex(char(r[1]), char(dir)), r[2 + dir]);
        QCOMPARE(P()->RynUserModeIndex(char(r[1]), 3), 256); // no such direction
    }

    void modeFileDeal() {
        write_file(mode_file(2), mode_record(0xAA, 0xAA, 3202, 0x22));
        QCOMPARE(P()->mode_file_deal(2, 0), 1);
        QCOMPARE(int(P()->UserModes[2].bytes[3201]), 0x22);
        QCOMPARE(int(P()->UserModes[2].bytes[3202]), 0);
        QCOMPARE(P()->mode_file_deal(16, 1), 0);
    }

    // Deleting slot 5 removes its file and, with its OSD copy on, its OSD
    // file "MO05.json"; the slot then reads empty. Slot 6 keeps its files.
    void modeDeleteRemovesFiles() {
        QByteArray saved = mode_record(0xAA, 0xAA, 4096);
        saved[2 + blk::OSD_ENABLE - blk::MODE_BEGIN] = 1;
        for (int slot : {4, 5}) {
            write_file(mode_file(slot), saved);
            write_file(QString::asprintf("/data/modes/MO%02x.json", slot + 1), "{}");
            QCOMPARE(P()->mode_file_deal(slot, 0), 1);
        }
        QCOMPARE(P()->mode_file_deal(4, 1), 0);
        QVERIFY(!P()->RynUserModeSaved(4));
        QVERIFY(!QFile::exists(device_path(mode_file(4))));
        QVERIFY(!QFile::exists(device_path("/data/modes/MO05.json")));
        QVERIFY(P()->RynUserModeSaved(5));
        QVERIFY(QFile::exists(device_path("/data/modes/MO06.json")));
    }

    // What the setters write lands at the offsets a peer reads in the saved
    // file.
    void savedFileLayout_data() {
        QTest::addColumn<int>("change");
        QTest::addColumn<int>("offset");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("window 3 source HDMI3") << 0 << 2272 + 26 * 3 + 8 << QByteArray("\x04\x00", 2);
        QTest::newRow("window 5 shows crop record 0") << 1 << 2272 + 26 * 5 + 8 << QByteArray("\x00\x80", 2);
        QTest::newRow("EDID of input 4") << 2 << 896 + 6 * 4 << QByteArray("\x00\x0F\x70\x08\x1E\x00", 6);
        QTest::newRow("new crop of HDMI2") << 3 << 1472 << QByteArray("\x03\x80\x0A\x00\x14\x00\x80\x02\xE0\x01", 10);
    }
    void savedFileLayout() {
        QFETCH(int, change);
        QFETCH(int, offset);
        QFETCH(QByteArray, bytes);
        CROP_PARA crop;
        crop.para[1] = 10;
        crop.para[2] = 20;
        crop.para[3] = 640;
        crop.para[4] = 480;
        P()->RynAddNewCrop(3, &crop);
        P()->RynCropSourceInit();
        switch (change) {
        case 0: P()->RynSetImageSource(0, 4, 3); break;
        case 1: P()->RynSetImageSource(1, 3, 5); break;
        case 2: P()->RynSetEDIDPara(4, 3840, 2160, 30); break;
        default: break;
        }
        flag() = 0;  // the scaler took the change up
        SyncUpdate::pInstance()->para_sync(SYNC_PARA);
        QCOMPARE(read_file("/data/ram_device_info").mid(offset, bytes.size()).toHex(' '), bytes.toHex(' '));
    }

    void languageRule_data() { // offered mask, saved, chosen, changed, language, in block
        add_rows({{"unchanged", {31, 2, 2, 0, 4, 2}},
                  {"offered", {31, 1, 2, 1, 2, 2}},
                  {"not offered: lowest offered", {0x18, 4, 1, 1, 3, 3}},
                  {"none offered keeps the choice", {0, 1, 2, 1, 2, 2}},
                  {"no such language", {31, 1, 200, 1, 0, 0}}});
    }
    void languageRule() {
        QFETCH(QVector<int>, r);
        g_lcd_lang_valid = uint(r[0]);
        g_language = 4;
        blk::wr16(P()->RamParaShadow.data(), blk::LCD_LANGUAGE, uint16_t(r[1]));
        P()->set_u16(blk::LCD_LANGUAGE, uint16_t(r[2]));
        QCOMPARE(P()->RynLanguageChanged(), bool(r[3]));
        QCOMPARE(int(g_language), r[4]);
        QCOMPARE(int(P()->u16(blk::LCD_LANGUAGE)), r[5]);
    }

    // No file or a bad one: the factory defaults, checked by value at the
    // offsets a peer reads (not through the function that builds them); every
    // byte not listed is 0. Every user-mode file is written empty.
    void startWithBadBlockFile_data() {
        QTest::addColumn<QByteArray>("content");
        QByteArray bad_second(4096, 0x33), bad_first(4096, 0x33), shorter(4095, 0x33);
        bad_second[0] = bad_first[1] = shorter[0] = shorter[1] = char(0xAA);
        QTest::newRow("no files") << QByteArray();
        QTest::newRow("bad second marker byte") << bad_second;
        QTest::newRow("bad first marker byte") << bad_first;
        QTest::newRow("short file") << shorter;
    }
    void startWithBadBlockFile() {
        QFETCH(QByteArray, content);
        if (content.isEmpty())
            QDir(device_path("/data")).removeRecursively();
        else
            write_file("/data/ram_device_info", content);
        P()->set_u16(blk::BRIGHTNESS, 7);
        P()->load_files();
        QByteArray d(4096, 0);
        const std::map<int, int> bytes = {
            {0, 0xAA}, {1, 0xAA}, {768, 1},           // marker, English
            {1378, 0x80}, {1379, 0x07}, {1380, 0x38}, {1381, 0x04}, // LED 1920 x 1080
            {2176, 100}, {2178, 50},                  // brightness, contrast
            {2272, 1}, {2280, 2},                     // window 0 on, shows HDMI1
            {2286, 0x80}, {2287, 0x07}, {2288, 0x38}, {2289, 0x04}, // window 0 1920 x 1080
            {2292, 0xFF}, {2293, 0x80},               // window 0 sound on, volume 255
        };
        for (const auto& b : bytes)
            d[b.first] = char(b.second);
        for (int at : {1412, 1420, 896, 902, 908, 914, 920, 926}) // outputs, EDIDs: 1920 x 1080
            d.replace(at, 4, QByteArray("\x80\x07\x38\x04", 4));
        for (int s = 0; s < 6; ++s)
            d[900 + 6 * s] = 60; // every EDID at 60 Hz
        const QByteArray in_block(reinterpret_cast<const char*>(block()), blk::SIZE);
        QCOMPARE(in_block.mid(2).toHex(' '), d.mid(2).toHex(' ')); // the marker is the file's only
        QVERIFY(P()->RamParaShadow == P()->RamParaBlock);
        const QByteArray f = read_file("/data/ram_device_info");
        const int from = content.isEmpty() ? 0 : 768; // a bad file's live state may stay
        QCOMPARE(f.size(), 4096);
        QCOMPARE(f.left(2), d.left(2));
        QCOMPARE(f.mid(from).toHex(' '), d.mid(from).toHex(' '));
        for (int i = 0; i < USER_MODE_COUNT; ++i)
            QCOMPARE(read_file(mode_file(i)), mode_record(0xFF, 0xFF, 4096));
    }

    void startWithSavedFiles() {
        QByteArray f(4096, 0);
        f[0] = f[1] = char(0xAA);
        f[300] = 0x77; // live input state is not restored
        f[1000] = 0x5A;
        write_file("/data/ram_device_info", f);
        write_file(mode_file(0), mode_record(0xAA, 0xAA, 4096, 0x44));
        write_file(mode_file(1), mode_record(0xAA, 0xAA, 3201, 0x46)); // one byte short
        write_file(mode_file(2), mode_record(0x12, 0x34, 4096, 0x47));
        P()->load_files();
        QCOMPARE(int(block()[1000]), 0x5A);
        QCOMPARE(int(block()[300]), 0);
        QVERIFY(P()->RamParaShadow == P()->RamParaBlock);
        QCOMPARE(int(P()->UserModes[0].bytes[4000]), 0x44);
        for (int i : {1, 2}) {
            QVERIFY(!P()->RynUserModeSaved(i));
            QCOMPARE(read_file(mode_file(i)), mode_record(0xFF, 0xFF, 4096));
        }
    }

    // A save cut off before its rename: the next start loads the old block.
    void interruptedSaveKeepsOldFile() {
        P()->set_u16(blk::BRIGHTNESS, 40);
        QVERIFY(P()->save_block());
        P()->set_u16(blk::BRIGHTNESS, 70);
        Utils::test_interrupt_before_rename = true;
        QVERIFY(!P()->save_block());
        Utils::test_interrupt_before_rename = false;
        P()->load_files();
        QCOMPARE(P()->u16(blk::BRIGHTNESS), uint16_t(40));
        QVERIFY(QDir(device_path("/data")).entryList({"ram_device_info.tmp-*"}).isEmpty());
    }

    void testSignal() {
        QObject::connect(P(), &RynRamPara::sig_update_para, SyncUpdate::pInstance(),
                         &SyncUpdate::para_sync, Qt::QueuedConnection);
        RecordingPage page(PAGE_EDIDSET);
        g_page_focus = PAGE_EDIDSET;
        // In the GUI thread the dispatcher runs at once and without
        // _test_signal_mutex, which the scaler thread may wait for.
        bool lock_free = false;
        page.on_sync = [&](int) {
            lock_free = pthread_mutex_trylock(&Utils::_test_signal_mutex) == 0;
            if (lock_free)
                pthread_mutex_unlock(&Utils::_test_signal_mutex);
        };
        QCOMPARE(P()->test_signal(1), 1);
        QCOMPARE(page.codes, std::vector<int>{1});
        QVERIFY(lock_free);

        page.codes.clear();
        std::thread worker([] { P()->publish_input_info(3, 1920, 1080, 59); });
        worker.join();
        QVERIFY(page.codes.empty()); // not before the GUI loop runs
        QTRY_COMPARE(page.codes, std::vector<int>{SYNC_INPUT_TIMING});
        QCOMPARE(page.threads.back(), qApp->thread());
        QCOMPARE(int(block()[blk::input_info(3) + 4]), 60); // 59 Hz shows as 60
        P()->publish_input_info(6, 1, 1, 1); // no such input: no signal
        QCOMPARE(page.codes.size(), size_t(1));
    }
};

QTEST_MAIN(TstRynRamPara)
#include "tst_rynrampara.moc"

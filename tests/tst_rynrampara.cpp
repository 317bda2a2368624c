// The parameter model: crop table, window sources, user-mode slots, the
// language rule, the start-up files and the hand-over to the GUI thread.
#include "recording_page.h"
#include "testsupport.h"

#include "core/devicepath.h"
#include "core/global.h"
#include "core/rynrampara.h"
#include "core/syncupdate.h"
#include "core/utils.h"
#include "scaler/c331_manage.h"

#include <QDir>
#include <QFile>
#include <QtTest>

#include <cstring>
#include <thread>

namespace {
RynRamPara* P() {
    return RynRamPara::pInstance();
}
uint8_t& flag() {
    return const_cast<uint8_t&>(c331_manage::pInstance()->para_update_flag);
}
uint8_t* block() {
    return P()->RamParaBlock.data();
}

void put_crop(int i, int source, int id_byte, int x = 0) {
    uint8_t* r = block() + blk::crop(i);
    r[0] = uint8_t(source);
    r[1] = uint8_t(id_byte);
    blk::wr16(r, blk::CROP_X, uint16_t(x));
    blk::wr16(r, blk::CROP_Y, 1);
    blk::wr16(r, blk::CROP_W, 2);
    blk::wr16(r, blk::CROP_H, 3);
}

// Crop numbers out of table order, a free record with leftovers, a
// duplicated number and records naming source 7 or crop number 45.
void odd_crop_table() {
    put_crop(0, 2, 0x80 + 2, 100);  // source 2, crop 3
    put_crop(1, 2, 0x01, 101);      // free (bit 7 clear)
    put_crop(2, 2, 0x80 + 0, 102);  // source 2, crop 1
    put_crop(3, 7, 0x80 + 0, 103);  // no source 7
    put_crop(4, 2, 0x80 + 44, 104); // no crop 45
    put_crop(5, 3, 0x80 + 0, 105);  // source 3, crop 1
    put_crop(6, 2, 0x80 + 0, 106);  // source 2, crop 1 again
    put_crop(39, 2, 0x80 + 1, 139); // source 2, crop 2, last record
    P()->RynCropSourceInit();
}

QString file(const QString& device) {
    return device_path(device);
}
void write_file(const QString& device, const QByteArray& bytes) {
    QFile f(file(device));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}
QByteArray read_file(const QString& device) {
    QFile f(file(device));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
QByteArray mode_record(uint8_t m0, uint8_t m1, int size, uint8_t fill = 0) {
    QByteArray r(size, char(fill));
    r[0] = char(m0);
    r[1] = char(m1);
    return r;
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

    // ---- crop table ----
    void cropQueriesSkipBadRecords() {
        odd_crop_table();
        int bits = 0;
        for (uint8_t b : g_cut_source_state)
            bits += __builtin_popcount(b);
        QCOMPARE(bits, 4); // source 2: crops 1, 2, 3; source 3: crop 1
        const int ids[][3] = {{2, 1, 1},  {2, 3, 3}, {2, 4, 0}, {2, 0, 0},
                              {2, 41, 0}, {7, 1, 0}, {-1, 1, 0}};
        for (const auto& r : ids)
            QCOMPARE(P()->RynGetCropID(r[0], r[1]), r[2]);
        const int nums[][3] = {{2, 40, 4}, {2, 39, 3}, {2, 400, 4}, {2, 0, 0}, {7, 40, 0}};
        for (const auto& r : nums)
            QCOMPARE(P()->RynGetSourceNum(r[0], r[1]), r[2]);
        QCOMPARE(int(P()->RynAddCropID(2)), 4);
        QCOMPARE(int(P()->RynAddCropID(3)), 2);
        QCOMPARE(int(P()->RynAddCropID(6)), 0);

        CROP_PARA out;
        int index = -1;
        P()->RynGetCropPara(2, 1, &out, &index);
        QCOMPARE(index, 2); // the first record of crop 1, not the duplicate at 6
        QCOMPARE(out.para[0], 0x8002);
        QCOMPARE(out.para[1], 102);
        out.para[1] = 55;
        P()->RynGetCropPara(2, 4, &out, &index);
        QCOMPARE(index, 40);
        QCOMPARE(out.para[1], 55);
    }

    void cropWrites() {
        odd_crop_table();
        CROP_PARA v;
        v.para[1] = 11;
        v.para[4] = 14;
        P()->RynAddNewCrop(2, &v); // lowest free number 4 into the first free record, 1
        QCOMPARE(int(block()[blk::crop(1)]), 2);
        QCOMPARE(int(block()[blk::crop(1) + 1]), 0x80 + 3);
        QCOMPARE(P()->u16(blk::crop(1) + blk::CROP_H), uint16_t(14));
        QCOMPARE(int(flag()), 1);

        v.para[1] = 500;
        P()->RynSetCropPara(2, 3, &v); // crop 3 lives at record 0
        QCOMPARE(P()->u16(blk::crop(0) + blk::CROP_X), uint16_t(500));
        P()->RynDeleteCrop(2, 1);
        QCOMPARE(int(block()[blk::crop(2) + 1]), 0);
        QCOMPARE(P()->u16(blk::crop(2) + blk::CROP_X), uint16_t(102)); // x..height stay

        // Nothing matches: nothing written, no flag.
        flag() = 0;
        const auto before = P()->RamParaBlock;
        P()->RynDeleteCrop(2, 9);
        P()->RynSetCropPara(2, 9, &v);
        P()->RynAddNewCrop(6, &v);
        QVERIFY(P()->RamParaBlock == before);
        // A full table takes no new crop.
        for (int i = 0; i < CROP_COUNT; ++i)
            put_crop(i, i % 6, 0x80 + i / 6);
        const auto full = P()->RamParaBlock;
        P()->RynAddNewCrop(1, &v);
        QVERIFY(P()->RamParaBlock == full);
        QCOMPARE(int(flag()), 0);
    }

    // ---- window sources ----
    void imageSourceDecoding_data() {
        QTest::addColumn<int>("word");
        QTest::addColumn<int>("source");
        QTest::addColumn<int>("cropFlag");
        QTest::addColumn<int>("cropIndex");
        QTest::newRow("plain source") << 0x0003 << 3 << 0 << -1;
        QTest::newRow("crop record 2") << 0x8002 << 2 << 1 << 2;
        QTest::newRow("crop record 39") << 0x8000 + 39 << 2 << 1 << 39;
        QTest::newRow("crop index 40 is outside the table") << 0x8000 + 40 << 0 << 0 << -1;
        QTest::newRow("free crop record") << 0x8001 << 0 << 0 << -1;
        QTest::newRow("record naming source 7") << 0x8003 << 0 << 0 << -1;
    }
    void imageSourceDecoding() {
        QFETCH(int, word);
        QFETCH(int, source);
        QFETCH(int, cropFlag);
        QFETCH(int, cropIndex);
        odd_crop_table();
        P()->set_u16(blk::window(4, blk::WIN_SOURCE), uint16_t(word));
        UserModeSlot slot; // user-mode form: the slot's own copy
        std::memcpy(slot.data(), block() + blk::MODE_BEGIN, blk::MODE_SIZE);
        for (int form = 0; form < 2; ++form) {
            short f = 9;
            char k = -1;
            QCOMPARE(P()->RynGetImageSource(form ? slot.data() : block(), 4, &f, &k, uint8_t(form)),
                     source);
            QCOMPARE(int(f), cropFlag);
            QCOMPARE(int(k), cropIndex);
        }
    }

    void setImageSource() {
        odd_crop_table();
        P()->set_u16(blk::CURRENT_MODE, 3);
        P()->RamParaShadow = P()->RamParaBlock;
        P()->RynSetImageSource(0, 4, 1);
        QCOMPARE(P()->window_u16(1, blk::WIN_SOURCE), uint16_t(4));
        QCOMPARE(P()->u16(blk::CURRENT_MODE), uint16_t(0));
        QCOMPARE(int(flag()), 1);

        // A recalled mode waiting to be saved keeps its number.
        P()->set_u16(blk::CURRENT_MODE, 5);
        P()->RynSetImageSource(2, 2, 1); // crop number 2 of source 2: record 39
        QCOMPARE(P()->window_u16(1, blk::WIN_SOURCE), uint16_t(0x8000 + 39));
        QCOMPARE(P()->u16(blk::CURRENT_MODE), uint16_t(5));

        // A crop entry that is not there switches nothing (not to EXT).
        flag() = 0;
        P()->RynSetImageSource(4, 2, 1);
        P()->RynSetImageSource(0, 2, 20);
        QCOMPARE(P()->window_u16(1, blk::WIN_SOURCE), uint16_t(0x8000 + 39));
        QCOMPARE(int(flag()), 0);
    }

    void edidParaIgnoresUnknownInput() {
        const auto before = P()->RamParaBlock;
        P()->RynSetEDIDPara(6, 1, 1, 1);
        P()->RynSetEDIDPara(-1, 1, 1, 1);
        QVERIFY(P()->RamParaBlock == before);
        QCOMPARE(int(flag()), 0);
        P()->RynSetEDIDPara(5, 3840, 2160, 30);
        QCOMPARE(P()->u16(blk::edid(5) + 4), uint16_t(30));
        QCOMPARE(int(flag()), 1);
    }

    // ---- user-mode slots ----
    void userModeIndex_data() {
        QTest::addColumn<QList<int>>("saved");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("dir");
        QTest::addColumn<int>("expected");
        const QList<int> none, one{7}, two{2, 12};
        QList<int> all;
        for (int i = 0; i < 16; ++i)
            all << i;
        for (int dir = 0; dir < 3; ++dir)
            QTest::addRow("none saved, dir %d", dir) << none << 5 << dir << 256;
        QTest::newRow("one: itself, dir 2") << one << 7 << 2 << 7;
        QTest::newRow("one: next of itself is itself") << one << 7 << 1 << 7;
        QTest::newRow("one: previous of itself is itself") << one << 7 << 0 << 7;
        QTest::newRow("one: next wraps past 15") << one << 9 << 1 << 7;
        QTest::newRow("one: previous wraps past 0") << one << 3 << 0 << 7;
        QTest::newRow("two: next wraps") << two << 12 << 1 << 2;
        QTest::newRow("two: previous wraps") << two << 2 << 0 << 12;
        QTest::newRow("two: dir 2 from an empty slot wraps") << two << 13 << 2 << 2;
        QTest::newRow("all: next of 15") << all << 15 << 1 << 0;
        QTest::newRow("all: previous of 0") << all << 0 << 0 << 15;
        QTest::newRow("all: unknown direction") << all << 4 << 3 << 256;
        QTest::newRow("start -1 means before slot 0") << two << -1 << 1 << 2;
    }
    void userModeIndex() {
        QFETCH(QList<int>, saved);
        QFETCH(int, start);
        QFETCH(int, dir);
        QFETCH(int, expected);
        for (int i : saved)
            P()->UserModes[size_t(i)].bytes[0] = P()->UserModes[size_t(i)].bytes[1] = 0xAA;
        // A half-marked slot counts as not saved.
        if (!saved.contains(13))
            P()->UserModes[13].bytes[0] = 0xAA;
        QCOMPARE(P()->RynUserModeIndex(char(start), char(dir)), expected);
    }

    void modeFileDeal() {
        write_file("/data/modes/custom_mode3", mode_record(0xAA, 0xAA, 3202, 0x22));
        QCOMPARE(P()->mode_file_deal(2, 0), 1);
        QCOMPARE(int(P()->UserModes[2].bytes[3201]), 0x22);
        QCOMPARE(int(P()->UserModes[2].bytes[3202]), 0);
        // Shorter than markers + 3200 data bytes: unreadable, slot empty.
        write_file("/data/modes/custom_mode3", mode_record(0xAA, 0xAA, 3201));
        QCOMPARE(P()->mode_file_deal(2, 0), 0);
        QVERIFY(!P()->RynUserModeSaved(2));
        // Out of range: no file named, nothing touched.
        write_file("/data/modes/custom_mode17", "x");
        QCOMPARE(P()->mode_file_deal(16, 1), 0);
        QVERIFY(QFile::exists(file("/data/modes/custom_mode17")));

        // Deleting a mode with its OSD switch on removes its own OSD file only.
        QByteArray rec = mode_record(0xAA, 0xAA, 4096);
        blk::wr16(reinterpret_cast<uint8_t*>(rec.data()) + USER_MODE_DATA,
                  blk::OSD_ENABLE - blk::MODE_BEGIN, 1);
        write_file("/data/modes/custom_mode11", rec);
        write_file("/data/modes/MO0b.json", "{}");
        write_file("/data/modes/MO0c.json", "{}");
        QCOMPARE(P()->mode_file_deal(10, 0), 1);
        QCOMPARE(P()->mode_file_deal(10, 1), 0);
        QVERIFY(!QFile::exists(file("/data/modes/custom_mode11")));
        QVERIFY(!QFile::exists(file("/data/modes/MO0b.json")));
        QVERIFY(QFile::exists(file("/data/modes/MO0c.json")));
        QVERIFY(!P()->RynUserModeSaved(10));
        QCOMPARE(P()->UserModes[10].u16(blk::OSD_ENABLE), uint16_t(0));
    }

    // ---- language rule ----
    void languageRule_data() {
        QTest::addColumn<uint>("mask");
        QTest::addColumn<int>("saved");
        QTest::addColumn<int>("chosen");
        QTest::addColumn<bool>("changed");
        QTest::addColumn<int>("language");
        QTest::addColumn<int>("inBlock");
        QTest::newRow("unchanged") << 31u << 2 << 2 << false << 4 << 2;
        QTest::newRow("offered") << 31u << 1 << 2 << true << 2 << 2;
        QTest::newRow("not offered: lowest offered") << 0x19u << 1 << 2 << true << 0 << 0;
        QTest::newRow("not offered: lowest is 3") << 0x18u << 4 << 1 << true << 3 << 3;
        QTest::newRow("none offered keeps the choice") << 0u << 1 << 2 << true << 2 << 2;
        QTest::newRow("no such language") << 31u << 1 << 200 << true << 0 << 0;
        QTest::newRow("no such language, none offered") << 0u << 1 << 300 << true << 1 << 300;
    }
    void languageRule() {
        QFETCH(uint, mask);
        QFETCH(int, saved);
        QFETCH(int, chosen);
        QFETCH(bool, changed);
        QFETCH(int, language);
        QFETCH(int, inBlock);
        g_lcd_lang_valid = mask;
        g_language = 4;
        blk::wr16(P()->RamParaShadow.data(), blk::LCD_LANGUAGE, uint16_t(saved));
        P()->set_u16(blk::LCD_LANGUAGE, uint16_t(chosen));
        QCOMPARE(P()->RynLanguageChanged(), changed);
        QCOMPARE(int(g_language), language);
        QCOMPARE(int(P()->u16(blk::LCD_LANGUAGE)), inBlock);
        QCOMPARE(int(P()->shadow_u16(blk::LCD_LANGUAGE)), saved);
    }

    // ---- start-up files ----
    void startWithoutFiles() {
        const QByteArray f = read_file("/data/ram_device_info");
        QCOMPARE(f.size(), 4096);
        QCOMPARE(uint8_t(f[0]), uint8_t(0xAA));
        QCOMPARE(uint8_t(f[1]), uint8_t(0xAA));
        std::array<uint8_t, blk::SIZE> defaults{};
        RynRamPara::build_defaults(defaults.data());
        QVERIFY(std::memcmp(f.constData() + 768, defaults.data() + 768, 4096 - 768) == 0);
        QVERIFY(P()->RamParaBlock == defaults);
        QVERIFY(P()->RamParaShadow == defaults);
        QCOMPARE(P()->u16(blk::OUT2_H), uint16_t(1080));
        QCOMPARE(P()->u16(blk::edid(5) + 4), uint16_t(60));
        QCOMPARE(P()->window_u16(0, blk::WIN_AUDIO), uint16_t(0x80FF));
        for (int i = 1; i <= 16; ++i) {
            const QByteArray m = read_file(QString("/data/modes/custom_mode%1").arg(i));
            QCOMPARE(m, mode_record(0xFF, 0xFF, 4096));
        }
        QVERIFY(QDir(file("/data/configs")).exists());
    }

    void startWithSavedBlock() {
        QByteArray f(4096, 0);
        f[0] = f[1] = char(0xAA);
        f[300] = 0x77; // live input state is not restored
        f[1000] = 0x5A;
        f[blk::LCD_LANGUAGE] = 2;
        f[blk::crop(0)] = 4;
        f[blk::crop(0) + 1] = char(0x80 + 6); // source 4, crop 7
        write_file("/data/ram_device_info", f);
        g_lcd_lang_valid = 0x19; // Russian not offered
        P()->load_files();
        QCOMPARE(int(block()[1000]), 0x5A);
        QCOMPARE(int(block()[300]), 0);
        QCOMPARE(int(g_language), 0);
        QVERIFY(P()->RamParaShadow == P()->RamParaBlock);
        QCOMPARE(P()->RynGetCropID(4, 1), 7);
    }

    void startWithBadBlockFile_data() {
        QTest::addColumn<QByteArray>("content");
        QByteArray bad_marker(4096, 0x33), shorter(4095, 0x33), longer(4097, 0x33);
        bad_marker[0] = shorter[0] = shorter[1] = longer[0] = longer[1] = char(0xAA);
        QTest::newRow("bad marker") << bad_marker;
        QTest::newRow("short file") << shorter;
        QTest::newRow("long file") << longer;
    }
    void startWithBadBlockFile() {
        QFETCH(QByteArray, content);
        write_file("/data/ram_device_info", content);
        P()->load_files();
        std::array<uint8_t, blk::SIZE> defaults{};
        RynRamPara::build_defaults(defaults.data());
        QVERIFY(P()->RamParaBlock == defaults);
        const QByteArray f = read_file("/data/ram_device_info");
        QCOMPARE(f.size(), 4096);
        QCOMPARE(uint8_t(f[1]), uint8_t(0xAA));
        QCOMPARE(uint8_t(f[2000]), defaults[2000]);
    }

    void startWithOddModeFiles() {
        write_file("/data/modes/custom_mode1", mode_record(0xAA, 0xAA, 4096, 0x44));
        write_file("/data/modes/custom_mode2", mode_record(0xAA, 0xAA, 3202, 0x45));
        write_file("/data/modes/custom_mode3", mode_record(0xAA, 0xAA, 3201, 0x46));
        write_file("/data/modes/custom_mode4", mode_record(0x12, 0x34, 4096, 0x47));
        P()->load_files();
        QVERIFY(P()->RynUserModeSaved(0));
        QCOMPARE(int(P()->UserModes[0].bytes[4000]), 0x44);
        QVERIFY(P()->RynUserModeSaved(1));
        QCOMPARE(int(P()->UserModes[1].bytes[3201]), 0x45);
        QCOMPARE(int(P()->UserModes[1].bytes[3202]), 0);
        for (int i : {2, 3}) {
            QVERIFY(!P()->RynUserModeSaved(i));
            QCOMPARE(read_file(QString("/data/modes/custom_mode%1").arg(i + 1)),
                     mode_record(0xFF, 0xFF, 4096));
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
        QCOMPARE(QDir(file("/data")).entryList({"ram_device_info.tmp-*"}, QDir::Files).size(), 1);
        P()->load_files();
        QCOMPARE(P()->u16(blk::BRIGHTNESS), uint16_t(40));
        QVERIFY(QDir(file("/data")).entryList({"ram_device_info.tmp-*"}, QDir::Files).isEmpty());
    }

    // ---- hand-over to the GUI thread ----
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
        const uint8_t* rec = block() + blk::input_info(3);
        QCOMPARE(blk::rd16(rec, 0), uint16_t(1920));
        QCOMPARE(blk::rd16(rec, 2), uint16_t(1080));
        QCOMPARE(int(rec[4]), 60); // 59 Hz shows as 60

        P()->publish_input_info(3, 720, 576, 50);
        QCOMPARE(int(block()[blk::input_info(3) + 4]), 50);
        P()->publish_input_info(6, 1, 1, 1); // no such input: no write, no signal
        QCOMPARE(page.codes.size(), size_t(2));
    }
};

QTEST_MAIN(TstRynRamPara)
#include "tst_rynrampara.moc"

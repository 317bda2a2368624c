// The parameter model: the start-up files, the crop table, window sources,
// user-mode slots and the language rule, each rule one row.
#include "testsupport.h"

#include "core/global.h"
#include "core/rynrampara.h"
#include "scaler/c331_manage.h"

#include <QtTest>

#include <cstring>

namespace {
using namespace testsupport;
RynRamPara* P() {
    return RynRamPara::pInstance();
}
std::atomic<uint8_t>& flag() {
    return c331_manage::pInstance()->para_update_flag;
}
uint8_t* block() {
    return P()->RamParaBlock.data();
}
const QString kBlock = "/data/ram_device_info", kMode10 = "/data/modes/custom_mode10";
QByteArray bytes(const uint8_t* from, int n) {
    return QByteArray(reinterpret_cast<const char*>(from), n);
}

// Source 2 has crops 1 (record 2), 2 (record 6) and 3 (record 0), source 3
// crop 1 (record 5); record 1 is free, records 3 (source 6) and 4 (crop 45)
// name nothing the state has room for. Window 1 shows source 0, window 2
// is off; current mode 5, as saved.
void crop_table() {
    P()->set_u16(blk::window(1, blk::WIN_ENABLE), 1);
    P()->set_u16(blk::window(1, blk::WIN_SOURCE), 0);
    P()->set_u16(blk::CURRENT_MODE, 5);
    const std::pair<int, uint16_t> recs[] = {{0, 0x8202}, {2, 0x8002}, {3, 0x8006},
                                             {4, 0xAC02}, {5, 0x8003}, {6, 0x8102}};
    for (const auto& r : recs) {
        P()->set_u16(blk::crop(r.first), r.second);
        for (int f = 2; f < blk::CROP_SIZE; f += 2)
            P()->set_u16(blk::crop(r.first) + f, uint16_t(r.first * 10 + f));
    }
    P()->RynCropSourceInit();
    P()->RamParaShadow = P()->RamParaBlock;
}

struct FileRow {
    QByteArray file;
    bool loaded;
};
struct ModeRow {
    QByteArray file;
    bool kept;
    bool saved;
};
struct LangRow {
    uint32_t offered;
    uint16_t chosen;
    int language;
};
struct WriteRow {
    void (*setup)();
    void (*op)();
    int offset;
    QByteArray after;
    bool flag;
};  // the bytes at offset after op
struct IndexRow {
    QVector<int> saved;
    int half_marked, start, dir, found;
};

QByteArray whole_file(char marker0 = char(0xAA), char marker1 = char(0xAA), int size = blk::SIZE) {
    QByteArray f(size, 0);
    for (int i = 2; i < size; ++i)
        f[i] = char(i % 251);
    f[0] = marker0, f[1] = marker1;
    f[blk::LCD_LANGUAGE] = 2, f[blk::LCD_LANGUAGE + 1] = 0;
    return f;
}
QByteArray mode_file(int size, char m0 = char(0xAA), char m1 = char(0xAA)) {
    QByteArray f(size, 0x5C);
    return f.replace(0, 2, QByteArray().append(m0).append(m1));
}
}  // namespace
Q_DECLARE_METATYPE(FileRow)
Q_DECLARE_METATYPE(ModeRow)
Q_DECLARE_METATYPE(LangRow)
Q_DECLARE_METATYPE(WriteRow)
Q_DECLARE_METATYPE(IndexRow)

class TstRynRamPara : public QObject {
    Q_OBJECT
private slots:
    void init() { fresh_device(), g_debugSwitch = 254; }

    // A whole, well-marked file gives bytes 768..4095 and stays as it is;
    // anything else is replaced by the factory defaults, in the block, the
    // shadow and the file.
    void parameterFileAtStart_data() {
        rows<FileRow>({{"whole file: bytes 768..4095 loaded", {whole_file(), true}},
                       {"one byte too many: defaults", {whole_file(char(0xAA), char(0xAA), 4097), false}},
                       {"one byte short: defaults", {whole_file(char(0xAA), char(0xAA), 4095), false}},
                       {"first marker byte wrong: defaults", {whole_file(char(0xAB)), false}},
                       {"second marker byte wrong: defaults", {whole_file(char(0xAA), char(0x55)), false}}});
    }
    void parameterFileAtStart() {
        QFETCH(FileRow, row);
        write_file(kBlock, row.file);
        P()->load_files();
        std::array<uint8_t, blk::SIZE> defaults{};
        RynRamPara::build_defaults(defaults.data());
        const QByteArray file =
            row.loaded ? row.file : "\xAA\xAA" + QByteArray(766, 0) + bytes(defaults.data() + 768, blk::SIZE - 768);
        QCOMPARE(bytes(block(), blk::SIZE).toHex(), (QByteArray(768, 0) + file.mid(768)).toHex());
        QVERIFY(P()->RamParaShadow == P()->RamParaBlock);
        QCOMPARE(int(g_language), row.loaded ? 2 : 1);
        QCOMPARE(read_file(kBlock).toHex(), file.toHex());
    }

    // A slot file holds a whole mode (3202 bytes) under a marker pair;
    // anything else is written as an empty slot at start. The re-read after
    // a save takes any file holding a whole mode, markers as they are.
    void userModeFile_data() {
        rows<ModeRow>({{"whole saved mode", {mode_file(3202), true, true}},
                       {"one byte short of a whole mode", {mode_file(3201), false, false}},
                       {"empty pair kept", {mode_file(4096, char(0xFF), char(0xFF)), true, false}},
                       {"mixed markers: empty", {mode_file(4096, char(0xAA), char(0xFF)), false, false}},
                       {"longer file: its first 4096 bytes", {mode_file(5000), true, true}}});
    }
    void userModeFile() {
        QFETCH(ModeRow, row);
        write_file(kMode10, row.file);
        P()->load_files();
        const QByteArray slot = row.file.left(USER_MODE_RECORD).leftJustified(USER_MODE_RECORD, 0);
        const QByteArray empty = "\xFF\xFF" + QByteArray(USER_MODE_RECORD - 2, 0);
        QCOMPARE(bytes(P()->UserModes[9].bytes.data(), USER_MODE_RECORD), row.kept ? slot : empty);
        QCOMPARE(P()->RynUserModeSaved(9), int(row.saved));
        QCOMPARE(read_file(kMode10), row.kept ? row.file : empty);
        write_file(kMode10, row.file);
        QCOMPARE(P()->mode_file_deal(9, 0), int(row.file.size() >= 3202));
        QCOMPARE(P()->RynUserModeSaved(9), int(row.file.size() >= 3202 && row.file.startsWith("\xAA\xAA")));
    }

    // Delete: the slot's file goes, its OSD file (named in hex) only when
    // the slot's OSD switch is on, and the slot reads empty.
    void userModeDelete() {
        for (uint16_t osd : {1, 0}) {
            P()->UserModes[9].bytes[0] = P()->UserModes[9].bytes[1] = 0xAA;
            blk::wr16(P()->UserModes[9].data(), blk::OSD_ENABLE - blk::MODE_BEGIN, osd);
            QVERIFY(P()->save_mode(9) && write_file("/data/modes/MO0a.json", "{}"));
            QCOMPARE(P()->mode_file_deal(9, 1) + P()->RynUserModeSaved(9) + P()->UserModes[9].u16(blk::OSD_ENABLE), 0);
            QCOMPARE(int(P()->UserModes[9].bytes[0]), 0xFF);
            QCOMPARE(QFile::exists(data_root() + kMode10), false);
            QCOMPARE(QFile::exists(data_root() + "/data/modes/MO0a.json"), osd == 0);
        }
    }

    // A language not offered becomes the lowest offered one, in the block too.
    void languageRule_data() {
        rows<LangRow>({{"offered language stays", {0x1F, 2, 2}},
                       {"not offered: the lowest offered", {0x18, 2, 3}},
                       {"none offered: the block's choice", {0, 4, 4}}});
    }
    void languageRule() {
        QFETCH(LangRow, row);
        g_lcd_lang_valid = row.offered;
        QVERIFY(!P()->RynLanguageChanged());  // same as the shadow
        P()->set_u16(blk::LCD_LANGUAGE, row.chosen);
        QVERIFY(P()->RynLanguageChanged());
        QCOMPARE(int(g_language), row.language);
        QCOMPARE(int(P()->u16(blk::LCD_LANGUAGE)), row.language);
    }

    // Crop operations find a crop by its number among its source's crops;
    // the flag is raised exactly when the block changed.
    void writes_data() {
        rows<WriteRow>({
            {"add: lowest free number of its own source, first free record",
             {nullptr,
              [] {
                  CROP_PARA v{{3, 10, 20, 640, 480}};
                  P()->RynAddNewCrop(3, &v);
              },
              blk::crop(1), "03 81 0a 00 14 00 80 02 e0 01", true}},
            {"set: the crop numbered third, every field at its offset",
             {nullptr,
              [] {
                  CROP_PARA v{{0, 5, 6, 7, 8}};
                  P()->RynSetCropPara(2, 3, &v);
              },
              blk::crop(0), "02 82 05 00 06 00 07 00 08 00", true}},
            {"delete: both id bytes cleared, the rest kept",
             {nullptr, [] { P()->RynDeleteCrop(2, 2); }, blk::crop(6), "00 00 3e 00 40 00 42 00 44 00", true}},
            {"delete past the last crop: nothing",
             {nullptr, [] { P()->RynDeleteCrop(2, 4); }, blk::crop(6), "02 81 3e 00 40 00 42 00 44 00", false}},
            {"set past the last crop: nothing",
             {nullptr,
              [] {
                  CROP_PARA v{{0, 1, 1, 1, 1}};
                  P()->RynSetCropPara(3, 2, &v);
              },
              blk::crop(5), "03 80 34 00 36 00 38 00 3a 00", false}},
            {"add with every number of the source used (stale state): nothing",
             {[] {
                  for (int i = 0; i < CROP_COUNT; ++i)
                      P()->set_u16(blk::crop(i), uint16_t(0x8002 + (i << 8)));
                  std::memset(g_cut_source_state, 0, sizeof g_cut_source_state);
              },
              [] {
                  CROP_PARA v{};
                  P()->RynAddNewCrop(2, &v);
              },
              blk::crop(39), "02 a7 00 00 00 00 00 00 00 00", false}},
            {"EDID: width, height and rate of its input",
             {nullptr, [] { P()->RynSetEDIDPara(3, 1280, 720, 50); }, blk::edid(3), "00 05 d0 02 32 00", true}},
            {"EDID of input 6: nothing",
             {nullptr, [] { P()->RynSetEDIDPara(6, 1280, 720, 50); }, blk::edid(6), "00 00 00 00 00 00", false}},
            {"source entry 0: the id",
             {nullptr, [] { P()->RynSetImageSource(0, 4, 1); }, blk::window(1, blk::WIN_SOURCE), "04 00", true}},
            {"a source change clears the saved mode number",
             {nullptr, [] { P()->RynSetImageSource(0, 4, 1); }, blk::CURRENT_MODE, "00 00", true}},
            {"crop entry 2: 0x8000 + its record",
             {nullptr, [] { P()->RynSetImageSource(2, 2, 1); }, blk::window(1, blk::WIN_SOURCE), "06 80", true}},
            {"crop entry past the last: nothing",
             {nullptr, [] { P()->RynSetImageSource(4, 2, 1); }, blk::window(1, blk::WIN_SOURCE), "00 00", false}},
            {"a recalled mode not yet saved keeps its number",
             {[] { P()->set_u16(blk::CURRENT_MODE, 7); }, [] { P()->RynSetImageSource(0, 3, 1); }, blk::CURRENT_MODE,
              "07 00", true}},
            {"freeze toggles bit 1 of a shown window",
             {nullptr, [] { g_image_current = 1, P()->RynSetImageFreeze(); }, blk::window(1, blk::WIN_OUTPUT), "02 00",
              true}},
            {"freeze leaves a window that is off",
             {nullptr, [] { g_image_current = 2, P()->RynSetImageFreeze(); }, blk::window(2, blk::WIN_OUTPUT), "00 00",
              true}},
            {"black toggles bit 0, also of a window that is off",
             {nullptr, [] { g_image_current = 2, P()->RynSetImageBlack(); }, blk::window(2, blk::WIN_OUTPUT), "01 00",
              true}},
        });
    }
    void writes() {
        QFETCH(WriteRow, row);
        crop_table();
        if (row.setup)
            row.setup();
        row.op();
        QCOMPARE(bytes(block() + row.offset, (row.after.size() + 1) / 3).toHex(' '), row.after);
        QCOMPARE(flag() != 0, row.flag);
    }

    // Reading the table: numbers in ascending order, the id word, and the
    // records no source state has room for.
    void cropReads() {
        crop_table();
        QCOMPARE(QVector<int>({P()->RynGetCropID(2, 1), P()->RynGetCropID(2, 3), P()->RynGetCropID(2, 4),
                               P()->RynGetCropID(6, 1)}),
                 QVector<int>({1, 3, 0, 0}));
        QCOMPARE(P()->RynGetSourceNum(2, 40) + 10 * P()->RynGetSourceNum(6, 40), 3);
        CROP_PARA out;
        int index = -1;
        P()->RynGetCropPara(2, 2, &out, &index);
        QCOMPARE(QVector<int>({index, out.para[0], out.para[1], out.para[4]}), QVector<int>({6, 0x8102, 62, 68}));
        for (uint16_t word : {0x8003, 0x8004, 0x8001, 0x8000 + 40}) {  // source 6, crop 45, free, past the table
            P()->set_u16(blk::window(4, blk::WIN_SOURCE), word);
            short crop_flag = 9;
            QCOMPARE(P()->RynGetImageSource(block(), 4, &crop_flag, nullptr, 0) + crop_flag, 0);
        }
    }

    // The search goes round the 16 slots both ways; 256 when none is saved.
    void userModeIndex_data() {
        rows<IndexRow>({{"next wraps past slot 16", {{2, 9}, 5, 9, 1, 2}},
                        {"previous wraps past slot 1", {{2, 9}, 5, 2, 0, 9}},
                        {"previous skips the start", {{2, 9}, 5, 9, 0, 2}},
                        {"from the start itself", {{2, 9}, 5, 2, 2, 2}},
                        {"the only slot from itself", {{7}, 5, 7, 0, 7}},
                        {"none saved (one half-marked): 256", {{}, 13, 12, 1, 256}}});
    }
    void userModeIndex() {
        QFETCH(IndexRow, row);
        for (int s : row.saved)
            P()->UserModes[size_t(s)].bytes[0] = P()->UserModes[size_t(s)].bytes[1] = 0xAA;
        P()->UserModes[size_t(row.half_marked)].bytes[0] = 0xAA;
        QCOMPARE(P()->RynUserModeIndex(char(row.start), char(row.dir)), row.found);
    }

    void currentModeIndex() {
        const std::pair<uint16_t, int> modes[] = {{16, 16}, {17, 0}, {0x0105, 0}};
        for (const auto& m : modes)
            QCOMPARE((P()->set_u16(blk::CURRENT_MODE, m.first), P()->RynGetCurrentModeIndex()), m.second);
    }

    // The source thread's timing: 55 Hz and more kept as 60, the GUI told.
    void inputTiming() {
        static QVector<int> codes;
        const auto dispatcher = std::exchange(RynRamPara::gui_dispatcher, [](int code) { codes << code; });
        for (int rate : {54, 55, 59})
            P()->publish_input_info(codes.size(), 1920, 1080, uint8_t(rate));
        RynRamPara::gui_dispatcher = dispatcher;
        QCOMPARE(codes, QVector<int>(3, SYNC_INPUT_TIMING));
        QCOMPARE(bytes(block() + blk::input_info(0), 18).toHex(' '),
                 QByteArray("80 07 38 04 36 00 80 07 38 04 3c 00 80 07 38 04 3c 00"));
    }
};

QTEST_MAIN(TstRynRamPara)
#include "tst_rynrampara.moc"

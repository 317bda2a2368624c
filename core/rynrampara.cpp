#include "core/rynrampara.h"

#include "core/devicepath.h"
#include "core/global.h"
#include "core/para_write.h"
#include "core/safefile.h"
#include "core/utils.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QThread>

#include <algorithm>
#include <cstring>
#include <thread>

// File layouts (read back only by this program):
//  "/data/ram_device_info": 4096 bytes, file offset N = block offset N.
//     Bytes 0..1 the marker 0xAA 0xAA, bytes 2..767 zero (the live input
//     state there is not kept), bytes 768..4095 the persisted block.
//  "/data/modes/custom_mode1" .. "custom_mode16": one 4096-byte slot record
//     each, the same as held in memory: bytes 0..1 the markers (0xAA 0xAA
//     saved, 0xFF 0xFF empty), bytes 2..3201 a copy of block bytes 896..4095,
//     the rest zero. A file shorter than 3202 bytes holds no whole mode.
namespace {
const char* const BLOCK_FILE = "/data/ram_device_info";
constexpr uint8_t MARK_SAVED = 0xAA;
constexpr uint8_t MARK_EMPTY = 0xFF;
constexpr int MODE_FILE_MIN = USER_MODE_DATA + blk::MODE_SIZE;  // 3202

QString mode_file(int index) {
    return QStringLiteral("/data/modes/custom_mode%1").arg(index + 1);
}
QString mode_osd_file(int index) {
    return QString::asprintf("/data/modes/MO%02x.json", index + 1);
}

// A (relocated) device file whole (see safefile::read).
safefile::Read read_file(const QString& device_file, QByteArray* out) {
    return safefile::read(device_path(device_file), out);
}

void set_empty(UserModeSlot& slot) {
    slot.bytes.fill(0);
    slot.bytes[0] = slot.bytes[1] = MARK_EMPTY;
}

// Crop record `i` of a block (or of a slot's data, `shift` 896). A record
// counts only when it is used and names a source 0..5 and a crop number
// 1..40: anything else (from a file or the PC) would index past
// g_cut_source_state.
bool crop_entry(const uint8_t* base, int i, int shift, int* source, int* number) {
    const uint8_t* rec = base + blk::crop(i) - shift;
    if (!(rec[blk::CROP_ID] & blk::CROP_USED))
        return false;
    const int s = rec[blk::CROP_SOURCE];
    const int c = (rec[blk::CROP_ID] & 0x7F) + 1;
    if (s >= SOURCE_COUNT || c > CROP_COUNT)
        return false;
    *source = s;
    *number = c;
    return true;
}

bool crop_bit(int source, int number) {
    const int bit = source * CROP_COUNT + number - 1;
    return (g_cut_source_state[bit / 8] >> (bit % 8)) & 1;
}

// g_language from b 768; a language that is not offered moves to the lowest
// offered one, in the block too.
void pick_language(RynRamPara& p) {
    const uint16_t lang = p.u16(blk::LCD_LANGUAGE);
    if (lang < LANG_COUNT && ((g_lcd_lang_valid >> lang) & 1)) {
        g_language = uint8_t(lang);
        return;
    }
    for (int n = 0; n < LANG_COUNT; ++n) {
        if ((g_lcd_lang_valid >> n) & 1) {
            p.set_u16(blk::LCD_LANGUAGE, uint16_t(n));
            g_language = uint8_t(n);
            return;
        }
    }
    // None offered: keep the block's choice; a value that names no language
    // must not reach the text tables.
    if (lang >= LANG_COUNT)
        debug_printf("language %u in the block names no language: using English\n", unsigned(lang));
    g_language = lang < LANG_COUNT ? uint8_t(lang) : uint8_t(LANG_ENGLISH);
}

// A crop record's x, y, width and height from the five-integer form.
void write_crop_rect(uint8_t* rec, const CROP_PARA& values) {
    blk::wr16(rec, blk::CROP_X, uint16_t(values.para[1]));
    blk::wr16(rec, blk::CROP_Y, uint16_t(values.para[2]));
    blk::wr16(rec, blk::CROP_W, uint16_t(values.para[3]));
    blk::wr16(rec, blk::CROP_H, uint16_t(values.para[4]));
}
}  // namespace

RynRamPara* RynRamPara::p_rynrampara_config = nullptr;
void (*RynRamPara::gui_dispatcher)(int) = nullptr;

RynRamPara* RynRamPara::pInstance() {
    static RynRamPara* const instance = [] {
        auto* p = new RynRamPara();
        p_rynrampara_config = p;
        return p;
    }();
    return instance;
}

RynRamPara::RynRamPara() : QObject(nullptr) {
    load_files();
}

void RynRamPara::build_defaults(uint8_t* block) {
    // The factory defaults: one 1920x1080 screen showing HDMI1 full size in
    // window 0, every EDID at 1080p60, English, no crops, no user mode.
    using namespace blk;
    std::memset(block, 0, SIZE);
    wr16(block, LCD_LANGUAGE, LANG_ENGLISH);
    wr16(block, SPLICE_MODE, 0);
    wr16(block, LED_WIDTH, 1920);
    wr16(block, LED_HEIGHT, 1080);
    for (int out : {OUT1_X, OUT2_X}) {
        wr16(block, out + 0, 0);
        wr16(block, out + 2, 0);
        wr16(block, out + 4, 1920);
        wr16(block, out + 6, 1080);
    }
    for (int s = 0; s < SOURCE_COUNT; ++s) {
        wr16(block, edid(s) + 0, 1920);
        wr16(block, edid(s) + 2, 1080);
        wr16(block, edid(s) + 4, 60);
    }
    wr16(block, BRIGHTNESS, 100);
    wr16(block, CONTRAST, 50);
    wr16(block, window(0, WIN_ENABLE), 1);
    wr16(block, window(0, WIN_SOURCE), 2);  // HDMI1
    wr16(block, window(0, WIN_X), 0);
    wr16(block, window(0, WIN_Y), 0);
    wr16(block, window(0, WIN_WIDTH), 1920);
    wr16(block, window(0, WIN_HEIGHT), 1080);
    wr16(block, window(0, WIN_AUDIO), AUDIO_ON | 0xFF);
}

void RynRamPara::load_files() {
    for (const char* folder : {"/data", "/data/modes", "/data/configs"})
        safefile::make_folder(device_path(QString::fromLatin1(folder)));
    safefile::remove_stale_temps(device_path(QStringLiteral("/data")), QStringLiteral("ram_device_info.tmp-*"));
    safefile::remove_stale_temps(device_path(QStringLiteral("/data/modes")), QStringLiteral("custom_mode*.tmp-*"));

    RamParaBlock.fill(0);
    QByteArray file;
    const safefile::Read read = read_file(QString::fromLatin1(BLOCK_FILE), &file);
    if (read == safefile::Read::Ok && file.size() == blk::SIZE && uint8_t(file[0]) == MARK_SAVED &&
        uint8_t(file[1]) == MARK_SAVED) {
        std::memcpy(RamParaBlock.data() + blk::PERSIST_BEGIN, file.constData() + blk::PERSIST_BEGIN,
                    blk::SIZE - blk::PERSIST_BEGIN);
    } else if (read == safefile::Read::Bad) {
        // What could not be read may still hold the settings: it stays, and
        // the first save moves it aside.
        debug_printf("%s: running on the factory defaults\n", BLOCK_FILE);
        build_defaults(RamParaBlock.data());
    } else {
        if (read == safefile::Read::Ok)
            debug_printf("%s: %d bytes or a bad marker: rebuilt from the factory defaults\n", BLOCK_FILE,
                         int(file.size()));
        else
            debug_printf("%s missing: writing the factory defaults\n", BLOCK_FILE);
        Utils::remove_file(device_path_std(BLOCK_FILE));
        build_defaults(RamParaBlock.data());
        if (!save_block())
            debug_printf("%s: cannot write the factory defaults\n", BLOCK_FILE);
    }
    pick_language(*this);
    RamParaShadow = RamParaBlock;

    for (int i = 0; i < USER_MODE_COUNT; ++i) {
        UserModeSlot& slot = UserModes[size_t(i)];
        QByteArray rec;
        const safefile::Read read = read_file(mode_file(i), &rec);
        const bool ok = read == safefile::Read::Ok;
        rec.truncate(USER_MODE_RECORD);
        const uint8_t m0 = rec.size() >= 2 ? uint8_t(rec[0]) : 0;
        const uint8_t m1 = rec.size() >= 2 ? uint8_t(rec[1]) : 0;
        const bool marked = (m0 == MARK_SAVED && m1 == MARK_SAVED) || (m0 == MARK_EMPTY && m1 == MARK_EMPTY);
        if (ok && rec.size() >= MODE_FILE_MIN && marked) {
            slot.bytes.fill(0);
            std::memcpy(slot.bytes.data(), rec.constData(), size_t(rec.size()));
            continue;
        }
        if (ok)
            debug_printf("%s: %d bytes, markers %02x %02x: written as an empty mode\n", qPrintable(mode_file(i)),
                         int(rec.size()), m0, m1);
        if (read == safefile::Read::Bad) {
            // Kept for a save to move aside; empty in memory until then.
            set_empty(slot);
            continue;
        }
        set_empty(slot);
        if (!save_mode(i))
            debug_printf("%s: cannot write\n", qPrintable(mode_file(i)));
    }
    RynCropSourceInit();
}

bool RynRamPara::save_block(const uint8_t* block) {
    if (!block)
        block = RamParaBlock.data();
    std::array<uint8_t, blk::SIZE> file{};
    file[0] = file[1] = MARK_SAVED;
    std::memcpy(file.data() + blk::PERSIST_BEGIN, block + blk::PERSIST_BEGIN, blk::SIZE - blk::PERSIST_BEGIN);
    return Utils::write_file_atomic(device_path_std(BLOCK_FILE), file.data(), file.size()) == 1;
}

bool RynRamPara::save_mode(int index) {
    if (index < 0 || index >= USER_MODE_COUNT)
        return false;
    const UserModeSlot& slot = UserModes[size_t(index)];
    return Utils::write_file_atomic(device_path(mode_file(index)).toStdString(), slot.bytes.data(),
                                    slot.bytes.size()) == 1;
}

void RynRamPara::publish_input_info(int source, uint16_t width, uint16_t height, uint8_t rate) {
    if (source < 0 || source >= SOURCE_COUNT) {
        debug_printf("input timing for source %d ignored\n", source);
        return;
    }
    {
        MutexLocker lock(&mutex);
        uint8_t* rec = RamParaBlock.data() + blk::input_info(source);
        blk::wr16(rec, 0, width);
        blk::wr16(rec, 2, height);
        rec[4] = rate >= 55 ? 60 : rate;  // 59.94 and the like show as 60
        rec[5] = 0;
    }
    test_signal(SYNC_INPUT_TIMING);
}

bool RynRamPara::RynLanguageChanged() {
    if (u16(blk::LCD_LANGUAGE) == shadow_u16(blk::LCD_LANGUAGE))
        return false;
    pick_language(*this);
    return true;
}

// main connects sig_update_para to SyncUpdate::para_sync with
// Qt::QueuedConnection, so a worker's emit only posts the call into the GUI
// thread. The GUI thread calls the dispatcher (gui_dispatcher, installed by
// the pages' side) itself and without the lock:
// para_sync may run a 3-second notice or page code that signals again, while
// the scaler thread waits for this lock holding para_mutex.
//
// Without an application (at exit, once it is gone, while the device's
// threads still run) only the program's main thread may dispatch: a worker
// that did would reach pages being torn down. Its change is dropped.
namespace {
const std::thread::id main_thread = std::this_thread::get_id();  // static init runs there
}

int RynRamPara::test_signal(int code) {
    const QCoreApplication* app = QCoreApplication::instance();
    if (!app && std::this_thread::get_id() != main_thread)
        return 1;
    if (!app || QThread::currentThread() == app->thread()) {
        if (gui_dispatcher)
            gui_dispatcher(code);
        return 1;
    }
    MutexLocker lock(&Utils::_test_signal_mutex);
    Utils::post_to_gui_thread([this, code] { emit sig_update_para(code); });
    return 1;
}

void RynRamPara::RynSetImageSource(int entry, char source, char window) {
    const int w = static_cast<unsigned char>(window);
    const int src = static_cast<unsigned char>(source);
    if (w >= blk::WINDOW_SLOTS) {
        debug_printf("RynSetImageSource: no window %d\n", w);
        return;
    }
    para_write([&](RynRamPara&) {
        uint16_t word = uint16_t(src);
        if (entry > 0) {
            int index = CROP_COUNT;
            CROP_PARA unused;
            RynGetCropPara(src, entry, &unused, &index);
            // A crop that is gone must not switch the window to EXT.
            if (index >= CROP_COUNT) {
                debug_printf("RynSetImageSource: source %d has no crop entry %d\n", src, entry);
                return false;
            }
            word = uint16_t(blk::SOURCE_CROP_BIT + index);
        }
        set_u16(blk::window(w, blk::WIN_SOURCE), word);
        // A recalled mode that still waits to be saved keeps its number.
        if (u16(blk::CURRENT_MODE) == shadow_u16(blk::CURRENT_MODE))
            set_u16(blk::CURRENT_MODE, 0);
        return true;
    });
}

void RynRamPara::RynSetImageFreeze() {
    const int w = g_image_current;
    if (w >= blk::WINDOW_SLOTS) {
        debug_printf("RynSetImageFreeze: no window %d\n", w);
        return;
    }
    para_write([&](RynRamPara&) {
        if (window_shown(w))
            set_u16(blk::window(w, blk::WIN_OUTPUT), window_u16(w, blk::WIN_OUTPUT) ^ blk::OUTPUT_FREEZE);
    });
}

void RynRamPara::RynSetImageBlack() {
    const int w = g_image_current;
    if (w >= blk::WINDOW_SLOTS) {
        debug_printf("RynSetImageBlack: no window %d\n", w);
        return;
    }
    para_write([&](RynRamPara&) {
        set_u16(blk::window(w, blk::WIN_OUTPUT), window_u16(w, blk::WIN_OUTPUT) ^ blk::OUTPUT_BLACK);
    });
}

// The search goes round all 16 slots, so a lone saved slot is also the next
// and the previous one of itself; 256 means no slot is saved.
int RynRamPara::RynUserModeIndex(char start, char dir) {
    const int s = static_cast<unsigned char>(start) % USER_MODE_COUNT;
    for (int k = 0; k < USER_MODE_COUNT; ++k) {
        int i;
        switch (dir) {
        case 2: i = s + k; break;
        case 1: i = s + k + 1; break;
        case 0: i = s - k - 1 + USER_MODE_COUNT; break;
        default: debug_printf("RynUserModeIndex: direction %d\n", int(dir)); return 256;
        }
        i %= USER_MODE_COUNT;
        if (RynUserModeSaved(i))
            return i;
    }
    return 256;
}

int RynRamPara::RynUserModeSaved(int index) const {
    if (index < 0 || index >= USER_MODE_COUNT)
        return 0;
    const auto& b = UserModes[size_t(index)].bytes;
    return (b[0] == MARK_SAVED && b[1] == MARK_SAVED) ? 1 : 0;
}

int RynRamPara::RynGetCurrentModeIndex() const {
    const uint16_t mode = u16(blk::CURRENT_MODE);
    return mode <= USER_MODE_COUNT ? (mode & 0xFF) : 0;
}

int RynRamPara::mode_file_deal(int index, int op) {
    if (index < 0 || index >= USER_MODE_COUNT) {
        debug_printf("mode_file_deal: no slot %d\n", index);
        return 0;
    }
    UserModeSlot& slot = UserModes[size_t(index)];
    if (op == 1) {
        Utils::remove_file(device_path(mode_file(index)).toStdString());
        if (slot.u16(blk::OSD_ENABLE) == 1) {
            Utils::remove_file(device_path(mode_osd_file(index)).toStdString());
            blk::wr16(slot.data(), blk::OSD_ENABLE - blk::MODE_BEGIN, 0);
        }
        Utils::shell_exec("sync");
    }
    MutexLocker lock(&Utils::_file_deal_mutex);
    QByteArray rec;
    const bool ok = read_file(mode_file(index), &rec) == safefile::Read::Ok;
    rec.truncate(USER_MODE_RECORD);
    if (ok && rec.size() >= MODE_FILE_MIN) {
        slot.bytes.fill(0);
        std::memcpy(slot.bytes.data(), rec.constData(), size_t(rec.size()));
        return 1;
    }
    slot.bytes[0] = slot.bytes[1] = MARK_EMPTY;
    return 0;
}

int RynRamPara::RynGetImageSource(const uint8_t* base, uint8_t window, short* crop_flag, char* crop_index,
                                  uint8_t form) const {
    if (crop_flag)
        *crop_flag = 0;
    if (!base || window >= blk::WINDOW_SLOTS)
        return 0;
    const int shift = form ? blk::MODE_BEGIN : 0;
    const uint16_t word = blk::rd16(base, blk::window(window, blk::WIN_SOURCE) - shift);
    if (!(word & blk::SOURCE_CROP_BIT))
        return word & 0xFF;
    const int k = word & 0xFF;
    int source = 0, number = 0;
    if (k >= CROP_COUNT || !crop_entry(base, k, shift, &source, &number)) {
        debug_printf("window %d shows crop %d, which is not in the crop table\n", int(window), k);
        return 0;
    }
    if (crop_flag)
        *crop_flag = 1;
    if (crop_index)
        *crop_index = char(k);
    return source;
}

void RynRamPara::RynCropSourceInit() {
    std::memset(g_cut_source_state, 0, sizeof g_cut_source_state);
    for (int i = 0; i < CROP_COUNT; ++i) {
        int source, number;
        if (!crop_entry(RamParaBlock.data(), i, 0, &source, &number))
            continue;
        const int bit = source * CROP_COUNT + number - 1;
        g_cut_source_state[bit / 8] |= uint8_t(1u << (bit % 8));
    }
}

int RynRamPara::RynGetSourceNum(int source, int n) const {
    n = std::min(n, CROP_COUNT);
    int count = 0;
    for (int i = 0; i < n; ++i) {
        int s, c;
        if (crop_entry(RamParaBlock.data(), i, 0, &s, &c) && s == source)
            ++count;
    }
    return count;
}

int RynRamPara::RynGetCropID(int source, int n) const {
    if (source < 0 || source >= SOURCE_COUNT || n < 1)
        return 0;
    for (int c = 1; c <= CROP_COUNT; ++c)
        if (crop_bit(source, c) && --n == 0)
            return c;
    return 0;
}

int RynRamPara::crop_list_entry(int source, int number) const {
    if (source < 0 || source >= SOURCE_COUNT || number < 1 || number > CROP_COUNT || !crop_bit(source, number))
        return 0;
    int entry = 0;
    for (int c = 1; c <= number; ++c)
        entry += crop_bit(source, c) ? 1 : 0;
    return entry;
}

void RynRamPara::RynGetCropPara(int source, int n, CROP_PARA* out, int* index) const {
    const int wanted = RynGetCropID(source, n);
    int found = CROP_COUNT;
    for (int i = 0; wanted && i < CROP_COUNT; ++i) {
        int s, c;
        if (crop_entry(RamParaBlock.data(), i, 0, &s, &c) && s == source && c == wanted) {
            found = i;
            break;
        }
    }
    if (index)
        *index = found;
    if (found == CROP_COUNT || !out)
        return;
    const uint8_t* rec = RamParaBlock.data() + blk::crop(found);
    out->para[0] = (rec[blk::CROP_ID] << 8) | rec[blk::CROP_SOURCE];
    out->para[1] = blk::rd16(rec, blk::CROP_X);
    out->para[2] = blk::rd16(rec, blk::CROP_Y);
    out->para[3] = blk::rd16(rec, blk::CROP_W);
    out->para[4] = blk::rd16(rec, blk::CROP_H);
}

// Read from the table itself rather than g_cut_source_state, which a caller
// may not have refreshed yet: a stale state would hand out a number twice.
uint8_t RynRamPara::RynAddCropID(int source) const {
    if (source < 0 || source >= SOURCE_COUNT)
        return 0;
    std::array<bool, CROP_COUNT + 1> used{};
    for (int i = 0; i < CROP_COUNT; ++i) {
        int s, c;
        if (crop_entry(RamParaBlock.data(), i, 0, &s, &c) && s == source)
            used[size_t(c)] = true;
    }
    for (int c = 1; c <= CROP_COUNT; ++c)
        if (!used[size_t(c)])
            return uint8_t(c);
    return 0;
}

void RynRamPara::RynSetCropPara(char source, char n, CROP_PARA* values) {
    if (!values)
        return;
    para_write([&](RynRamPara&) {
        int index = CROP_COUNT;
        RynGetCropPara(static_cast<unsigned char>(source), static_cast<unsigned char>(n), nullptr, &index);
        if (index >= CROP_COUNT)
            return false;
        uint8_t* rec = RamParaBlock.data() + blk::crop(index);
        write_crop_rect(rec, *values);
        return true;
    });
}

void RynRamPara::RynAddNewCrop(int source, CROP_PARA* values) {
    if (!values || source < 0 || source >= SOURCE_COUNT)
        return;
    para_write([&](RynRamPara&) {
        // The crop state of every caller after this one starts from the
        // table as it is now; the number itself is read from the table.
        RynCropSourceInit();
        const int c = RynAddCropID(source);
        if (c == 0) {
            // Byte 1 would read 0x7F, a used-bit-less record naming crop 128.
            debug_printf("source %d has all %d crops\n", source, CROP_COUNT);
            return false;
        }
        int free = 0;
        while (free < CROP_COUNT && (RamParaBlock[size_t(blk::crop(free) + blk::CROP_ID)] & blk::CROP_USED))
            ++free;
        if (free == CROP_COUNT) {
            debug_printf("the crop table is full\n");
            return false;
        }
        uint8_t* rec = RamParaBlock.data() + blk::crop(free);
        rec[blk::CROP_SOURCE] = uint8_t(source);
        rec[blk::CROP_ID] = uint8_t(blk::CROP_USED + (c - 1));
        write_crop_rect(rec, *values);
        return true;
    });
}

void RynRamPara::RynDeleteCrop(char source, char n) {
    para_write([&](RynRamPara&) {
        int index = CROP_COUNT;
        RynGetCropPara(static_cast<unsigned char>(source), static_cast<unsigned char>(n), nullptr, &index);
        if (index >= CROP_COUNT)
            return false;
        uint8_t* rec = RamParaBlock.data() + blk::crop(index);
        rec[blk::CROP_SOURCE] = 0;
        rec[blk::CROP_ID] = 0;
        return true;
    });
}

void RynRamPara::RynSetEDIDPara(int input, short width, short height, short refresh) {
    if (input < 0 || input >= SOURCE_COUNT) {
        debug_printf("RynSetEDIDPara: no input %d\n", input);
        return;
    }
    para_write([&](RynRamPara&) {
        blk::wr16(RamParaBlock.data(), blk::edid(input) + 0, uint16_t(width));
        blk::wr16(RamParaBlock.data(), blk::edid(input) + 2, uint16_t(height));
        blk::wr16(RamParaBlock.data(), blk::edid(input) + 4, uint16_t(refresh));
    });
}

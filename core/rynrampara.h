#pragma once
// The parameter model: the live block, its last-saved shadow and the 16
// user-mode slots, with their files.
#include "core/ramblock.h"

#include <QObject>
#include <array>
#include <cstdint>
#include <pthread.h>

struct CROP_PARA {
    int32_t para[5] = {0, 0, 0, 0, 0};  // id word (or source on input), x, y, width, height
};

// One user-mode slot as held in memory and on disk (see rynrampara.cpp for
// the file layout): two marker bytes, then a copy of block bytes 896..4095.
constexpr int USER_MODE_RECORD = 4096;
constexpr int USER_MODE_DATA = 2;  // data offset of block byte 896
struct UserModeSlot {
    std::array<uint8_t, USER_MODE_RECORD> bytes{};
    uint8_t* data() { return bytes.data() + USER_MODE_DATA; }
    const uint8_t* data() const { return bytes.data() + USER_MODE_DATA; }
    // A block field at b N lies at data offset N - 896.
    uint16_t u16(int block_offset) const { return blk::rd16(data(), block_offset - blk::MODE_BEGIN); }
};

class RynRamPara : public QObject {
    Q_OBJECT
public:
    static RynRamPara* pInstance();
    static RynRamPara* p_rynrampara_config;

    std::array<uint8_t, blk::SIZE> RamParaBlock{};
    std::array<uint8_t, blk::SIZE> RamParaShadow{};
    std::array<UserModeSlot, 16> UserModes{};
    // Guards the input summaries written by the source thread.
    pthread_mutex_t mutex = PTHREAD_MUTEX_INITIALIZER;

    // Field helpers over the block and the shadow.
    uint16_t u16(int off) const { return blk::rd16(RamParaBlock.data(), off); }
    void set_u16(int off, uint16_t v) { blk::wr16(RamParaBlock.data(), off, v); }
    uint16_t shadow_u16(int off) const { return blk::rd16(RamParaShadow.data(), off); }
    uint16_t window_u16(int w, int field) const { return u16(blk::window(w, field)); }
    bool window_shown(int w) const { return blk::window_shown(window_u16(w, blk::WIN_ENABLE)); }

    bool RynLanguageChanged();
    int test_signal(int code);

    void RynSetImageSource(int entry, char source, char window);
    void RynSetImageFreeze();
    void RynSetImageBlack();

    int RynUserModeIndex(char start, char dir);
    int RynUserModeSaved(int index) const;
    int RynGetCurrentModeIndex() const;
    int mode_file_deal(int index, int op);

    // Form 0: base is the live block; form 1: a user-mode slot's data.
    int RynGetImageSource(const uint8_t* base, uint8_t window, short* crop_flag, char* crop_index, uint8_t form) const;
    void RynCropSourceInit();
    int RynGetSourceNum(int source, int n) const;
    int RynGetCropID(int source, int n) const;
    // The inverse: the list entry (1..) of crop `number` among the crops of
    // `source`, in ascending crop number; 0 when the source has no such crop.
    int crop_list_entry(int source, int number) const;
    void RynGetCropPara(int source, int n, CROP_PARA* out, int* index) const;
    uint8_t RynAddCropID(int source) const;
    void RynSetCropPara(char source, char n, CROP_PARA* values);
    void RynAddNewCrop(int source, CROP_PARA* values);
    void RynDeleteCrop(char source, char n);
    void RynSetEDIDPara(int input, short width, short height, short refresh);

    // Start-up load of the parameter file and the user-mode files.
    void load_files();
    // Writes the persisted part of `block` (the live block when null) to
    // the parameter file.
    bool save_block(const uint8_t* block = nullptr);
    // Writes slot `index` to its user-mode file.
    bool save_mode(int index);
    // The factory defaults.
    static void build_defaults(uint8_t* block);
    // Publishes one input's live timing (source thread or simulator).
    void publish_input_info(int source, uint16_t width, uint16_t height, uint8_t rate);

    // The parameter-change dispatcher, called by test_signal in the GUI
    // thread. The UI installs it (SyncUpdate); the core knows nothing above
    // itself. Null: a change is not dispatched.
    static void (*gui_dispatcher)(int code);

signals:
    // Emitted by test_signal from worker threads only; main connects it to
    // SyncUpdate::para_sync with Qt::QueuedConnection.
    void sig_update_para(int code);

private:
    RynRamPara();
};

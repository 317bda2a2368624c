#include "ui/frame/syncupdate.h"

#include "core/global.h"
#include "ui/frame/shared_widgets.h"
#include "core/ids.h"
#include "core/jsonfiles.h"
#include "core/para_write.h"
#include "core/rynrampara.h"
#include "ui/frame/mainwindow.h"
#include "ui/frame/pageframe.h"
#include "ui/frame/ryn_keyboard.h"
#include "ui/frame/tip.h"

#include <array>
#include <cstring>

SyncUpdate* SyncUpdate::p_syncupdate = nullptr;

SyncUpdate* SyncUpdate::pInstance() {
    static SyncUpdate* const instance = [] {
        auto* p = new SyncUpdate();
        p_syncupdate = p;
        RynRamPara::gui_dispatcher = [](int code) { p_syncupdate->para_sync(code); };
        return p;
    }();
    return instance;
}

namespace {
void show_tip(int kind) {
    shared_tip()->tip_create(kind);
}

// The refresh of the page in front, with the notices some pages want after it.
void refresh_front_page(int code) {
    const int id = g_page_focus;
    if (id >= PAGE_COUNT) {
        RynRamPara::pInstance()->RynLanguageChanged();
        return;
    }
    RynPage* page = pages::at(id);
    if (!page)
        return;
    page->syncUpdate(code);
    switch (id) {
    case PAGE_MAINWINDOW:
        if (MainWindow* mw = g_mainwindow()) {
            if (mw->tip_done_request) {
                // Cleared first: the notice's own loop may dispatch again.
                mw->tip_done_request = 0;
                show_tip(TIP_DONE);
            }
        }
        break;
    case PAGE_LINKOPTION: show_tip(TIP_DONE); break;
    case PAGE_SMARTMAPPING:
    case PAGE_FIRMWARE_USBGRADE:
        if (code == SYNC_USB_ADDED)
            show_tip(TIP_USB_IN);
        else if (code == SYNC_USB_REMOVED)
            show_tip(TIP_USB_OUT);
        else if (code == SYNC_USB_MOUNTED)
            show_tip(TIP_USB_READING);
        break;
    default: break;
    }
}
}  // namespace

void SyncUpdate::para_sync(int code) {
    RynRamPara* p = RynRamPara::pInstance();

    // The layout view may select a window that is off; elsewhere the current
    // window must be one that shows.
    if (g_page_focus != PAGE_IMAGELAYOUT) {
        if (g_image_current >= WINDOW_COUNT || !p->window_shown(g_image_current))
            g_image_current = 0;
    }
    if (g_ryn_keys)
        ryn_keys_update_lights();
    if (code == SYNC_PC_UPDATE_START || code == SYNC_PC_UPDATE_OVER)
        return;
    // The file may be the alias file, rewritten within one time stamp.
    if (code == SYNC_PC_FILE_END)
        alias_file_changed();

    refresh_front_page(code);
    save_changes();
}

// Saves a requested user mode and the changed block. While a change waits
// for the scaler (apply flag set) nothing is saved and the shadow stays: the
// scaler finds that change against the shadow, and its test_signal brings
// us back here. para_mutex is only tried: a page may hold it through a
// notice; the tick then tries again until the save has run.
void SyncUpdate::save_changes() {
    RynRamPara* p = RynRamPara::pInstance();
    int saved_slot = -1;
    bool write_block = false;
    std::array<uint8_t, blk::SIZE> snapshot{};
    const bool locked = para_try_write([&](RynRamPara& para) {
        if (para_update_pending())
            return false;
        const uint16_t request = para.u16(blk::MODE_SAVE_REQUEST);
        if (request >= 1 && request <= USER_MODE_COUNT) {
            UserModeSlot& slot = para.UserModes[request - 1];
            slot.bytes.fill(0);
            slot.bytes[0] = slot.bytes[1] = 0xAA;
            para.set_u16(blk::CURRENT_MODE, request);
            std::memcpy(slot.data(), para.RamParaBlock.data() + blk::MODE_BEGIN, blk::MODE_SIZE);
            saved_slot = request - 1;
        } else if (request != 0) {
            debug_printf("mode save request %u names no slot: dropped\n", unsigned(request));
        }
        if (request != 0)
            para.set_u16(blk::MODE_SAVE_REQUEST, 0);

        constexpr int persisted = blk::SIZE - blk::PERSIST_BEGIN;
        const bool changed = std::memcmp(para.RamParaBlock.data() + blk::PERSIST_BEGIN,
                                         para.RamParaShadow.data() + blk::PERSIST_BEGIN, persisted) != 0;
        if (changed)
            std::memcpy(para.RamParaShadow.data() + blk::PERSIST_BEGIN, para.RamParaBlock.data() + blk::PERSIST_BEGIN,
                        persisted);
        write_block = changed || block_save_failed_;
        if (write_block)
            snapshot = para.RamParaShadow;
        return false;  // bookkeeping only: nothing for the scaler
    });
    save_skipped_ = !locked;

    // The files are written outside the lock; a failed block write is tried
    // again at the next dispatch.
    if (saved_slot >= 0 && !p->save_mode(saved_slot))
        debug_printf("user mode %d: cannot write its file\n", saved_slot + 1);
    if (MainWindow* mw = saved_slot >= 0 ? g_mainwindow() : nullptr)
        mw->user_mode_saved();
    if (write_block) {
        block_save_failed_ = !p->save_block(snapshot.data());
        if (block_save_failed_)
            debug_printf("the parameter file cannot be written: tried again at the next change\n");
    }
}

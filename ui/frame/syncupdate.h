#pragma once
// The parameter-change dispatcher: refreshes the page in front, performs a
// pending user-mode save and saves the block when it changed. It lives
// with the pages it calls; the core reaches it through
// RynRamPara::gui_dispatcher (GUI thread) and sig_update_para (workers).
#include <QObject>

class SyncUpdate : public QObject {
    Q_OBJECT
public:
    static SyncUpdate* pInstance();
    static SyncUpdate* p_syncupdate;

    // Called by the 10 ms tick: a save that found para_mutex taken is tried
    // again here, not only at the next parameter change.
    void retry_skipped_save() {
        if (save_skipped_)
            save_changes();
    }

public slots:
    void para_sync(int code);

private:
    SyncUpdate() = default;
    void save_changes();
    bool block_save_failed_ = false;
    bool save_skipped_ = false;
};

#pragma once
// The parameter-change dispatcher: refreshes the page in front, performs a
// pending user-mode save and saves the block when it changed.
#include <QObject>

class SyncUpdate : public QObject {
    Q_OBJECT
public:
    static SyncUpdate* pInstance();
    static SyncUpdate* p_syncupdate;

public slots:
    void para_sync(int code);

private:
    SyncUpdate() = default;
    void save_changes();
    bool block_save_failed_ = false;
};

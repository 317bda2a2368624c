#pragma once
// The home screen (page 0), shown with show() over MainWindow.
#include "ui/frame/pageframe.h"

#include <QDialog>

class LockWindow : public FramePage<QDialog> {
    Q_OBJECT
public:
    explicit LockWindow(QWidget* parent = nullptr);
    void language_changed() override;
    void syncUpdate(int code) override;

protected:
    void entry_ok(int) override;
    void back_pressed() override {}
};

inline LockWindow* g_lockwindow() { return pages::get<LockWindow>(PAGE_LOCKWINDOW); }

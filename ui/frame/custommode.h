#pragma once
// The user-mode page (page 4), shown with show() over MainWindow.
#include "ui/frame/pageframe.h"

#include <QWidget>

class CustomMode : public FramePage<QWidget> {
    Q_OBJECT
public:
    static constexpr PAGE_ID ID = PAGE_CUSTOMMODE;
    explicit CustomMode(QWidget* parent = nullptr);
    void language_changed() override;
    void syncUpdate(int code) override;

protected:
    void back_pressed() override;
};

inline CustomMode* g_custommode() { return pages::get<CustomMode>(); }

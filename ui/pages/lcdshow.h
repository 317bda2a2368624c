#pragma once
// The LCD-display page (page 15), opened from the advanced submenu.
#include "ui/frame/servicepage.h"

class lcdshow : public ServicePage {
    Q_OBJECT
public:
    static constexpr PAGE_ID ID = PAGE_LCDSHOW;
    explicit lcdshow(QWidget* parent = nullptr);

public slots:
    void slot_Button_back_clicked();

protected:
    void back_pressed() override { slot_Button_back_clicked(); }
};

inline lcdshow* g_lcdshow() {
    return pages::get<lcdshow>();
}

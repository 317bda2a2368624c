#pragma once
// The LCD-display page (page 15), opened from the advanced submenu.
#include "ui/pages/servicepage.h"

namespace Ui {
class lcdshow;
}

class lcdshow : public ServicePage<Ui::lcdshow> {
    Q_OBJECT
public:
    explicit lcdshow(QWidget* parent = nullptr);

public slots:
    void slot_Button_back_clicked();

protected:
    void back_pressed() override { slot_Button_back_clicked(); }
};

inline lcdshow* g_lcdshow() {
    return pages::get<lcdshow>(PAGE_LCDSHOW);
}

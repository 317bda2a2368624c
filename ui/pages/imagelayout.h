#pragma once
// The window layout view (page 9), opened from the settings menu.
#include "ui/pages/servicepage.h"

namespace Ui {
class ImageLayout;
}

class ImageLayout : public ServicePage<Ui::ImageLayout> {
    Q_OBJECT
public:
    explicit ImageLayout(QWidget* parent = nullptr);

public slots:
    void slot_Button_back_clicked();

protected:
    void back_pressed() override { slot_Button_back_clicked(); }
};

inline ImageLayout* g_imagelayout() {
    return pages::get<ImageLayout>(PAGE_IMAGELAYOUT);
}

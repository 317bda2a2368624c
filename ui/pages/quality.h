#pragma once
// The picture-quality page (page 19), opened from the image-quality submenu.
#include "ui/pages/servicepage.h"

namespace Ui {
class quality;
}

class quality : public ServicePage<Ui::quality> {
    Q_OBJECT
public:
    explicit quality(QWidget* parent = nullptr);

public slots:
    void slot_Button_back_clicked();

protected:
    void back_pressed() override { slot_Button_back_clicked(); }
};

inline quality* g_quality() {
    return pages::get<quality>(PAGE_QUALITY);
}

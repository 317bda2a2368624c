#pragma once
// The picture-quality page (page 19), opened from the image-quality submenu.
#include "ui/frame/servicepage.h"

class quality : public ServicePage {
    Q_OBJECT
public:
    static constexpr PAGE_ID ID = PAGE_QUALITY;
    explicit quality(QWidget* parent = nullptr);

public slots:
    void slot_Button_back_clicked();

protected:
    void back_pressed() override { slot_Button_back_clicked(); }
};

inline quality* g_quality() {
    return pages::get<quality>();
}

#pragma once
// The window layout view (page 9), opened from the settings menu.
#include "ui/pages/servicepage.h"

class ImageLayout : public ServicePage {
    Q_OBJECT
public:
    static constexpr PAGE_ID ID = PAGE_IMAGELAYOUT;
    explicit ImageLayout(QWidget* parent = nullptr);

public slots:
    void slot_Button_back_clicked();

protected:
    void back_pressed() override { slot_Button_back_clicked(); }
};

inline ImageLayout* g_imagelayout() {
    return pages::get<ImageLayout>();
}

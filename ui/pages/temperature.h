#pragma once
// The colour-temperature page (page 20), opened from the image-quality submenu.
#include "ui/frame/servicepage.h"

class temperature : public ServicePage {
    Q_OBJECT
public:
    static constexpr PAGE_ID ID = PAGE_TEMPERATURE;
    explicit temperature(QWidget* parent = nullptr);

public slots:
    void slot_Button_back_clicked();

protected:
    void back_pressed() override { slot_Button_back_clicked(); }
};

inline temperature* g_temperature() {
    return pages::get<temperature>();
}

#pragma once
// The other-settings page (page 17), opened from the advanced submenu.
#include "ui/frame/servicepage.h"

class othersetup : public ServicePage {
    Q_OBJECT
public:
    static constexpr PAGE_ID ID = PAGE_OTHERSETUP;
    explicit othersetup(QWidget* parent = nullptr);

public slots:
    void slot_Button_back_clicked();

protected:
    void back_pressed() override { slot_Button_back_clicked(); }
};

inline othersetup* g_othersetup() {
    return pages::get<othersetup>();
}

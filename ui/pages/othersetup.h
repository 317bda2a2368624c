#pragma once
// The other-settings page (page 17), opened from the advanced submenu.
#include "ui/pages/servicepage.h"

namespace Ui {
class othersetup;
}

class othersetup : public ServicePage<Ui::othersetup> {
    Q_OBJECT
public:
    explicit othersetup(QWidget* parent = nullptr);

public slots:
    void slot_Button_back_clicked();

protected:
    void back_pressed() override { slot_Button_back_clicked(); }
};

inline othersetup* g_othersetup() {
    return pages::get<othersetup>(PAGE_OTHERSETUP);
}

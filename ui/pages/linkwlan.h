#pragma once
// The Ethernet settings page (page 22), opened from the link submenu.
#include "ui/pages/servicepage.h"

namespace Ui {
class linkwlan;
}

class linkwlan : public ServicePage<Ui::linkwlan> {
    Q_OBJECT
public:
    explicit linkwlan(QWidget* parent = nullptr);

public slots:
    void slot_Button_back_clicked();

protected:
    void back_pressed() override { slot_Button_back_clicked(); }
};

inline linkwlan* g_linkwlan() {
    return pages::get<linkwlan>(PAGE_LINKWLAN);
}

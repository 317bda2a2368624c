#pragma once
// The Ethernet settings page (page 22), opened from the link submenu.
#include "ui/frame/servicepage.h"

class linkwlan : public ServicePage {
    Q_OBJECT
public:
    static constexpr PAGE_ID ID = PAGE_LINKWLAN;
    explicit linkwlan(QWidget* parent = nullptr);

public slots:
    void slot_Button_back_clicked();

protected:
    void back_pressed() override { slot_Button_back_clicked(); }
};

inline linkwlan* g_linkwlan() {
    return pages::get<linkwlan>();
}

#pragma once
// The serial-port page (page 21), opened from the link submenu.
#include "ui/frame/servicepage.h"

class linkcom : public ServicePage {
    Q_OBJECT
public:
    static constexpr PAGE_ID ID = PAGE_LINKCOM;
    explicit linkcom(QWidget* parent = nullptr);

public slots:
    void slot_Button_back_clicked();

protected:
    void back_pressed() override { slot_Button_back_clicked(); }
};

inline linkcom* g_linkcom() {
    return pages::get<linkcom>();
}

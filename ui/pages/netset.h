#pragma once
// The output-port view (page 14), opened from the output menu.
#include "ui/frame/servicepage.h"

class netset : public ServicePage {
    Q_OBJECT
public:
    static constexpr PAGE_ID ID = PAGE_NETSET;
    explicit netset(QWidget* parent = nullptr);

public slots:
    void slot_Button_back_clicked();

protected:
    void back_pressed() override { slot_Button_back_clicked(); }
};

inline netset* g_netset() {
    return pages::get<netset>();
}

#pragma once
// The factory page (page 18), opened from the advanced submenu.
#include "ui/frame/servicepage.h"

class factory : public ServicePage {
    Q_OBJECT
public:
    static constexpr PAGE_ID ID = PAGE_FACTORY;
    explicit factory(QWidget* parent = nullptr);

public slots:
    void slot_Button_back_clicked();

protected:
    void back_pressed() override { slot_Button_back_clicked(); }
};

inline factory* g_factory() {
    return pages::get<factory>();
}

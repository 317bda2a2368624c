#pragma once
// The factory page (page 18), opened from the advanced submenu.
#include "ui/pages/servicepage.h"

namespace Ui {
class factory;
}

class factory : public ServicePage<Ui::factory> {
    Q_OBJECT
public:
    explicit factory(QWidget* parent = nullptr);

public slots:
    void slot_Button_back_clicked();

protected:
    void back_pressed() override { slot_Button_back_clicked(); }
};

inline factory* g_factory() {
    return pages::get<factory>(PAGE_FACTORY);
}

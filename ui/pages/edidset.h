#pragma once
// The EDID page (page 8), opened from the source selection page.
#include "ui/pages/servicepage.h"

namespace Ui {
class EDIDset;
}

class EDIDset : public ServicePage<Ui::EDIDset> {
    Q_OBJECT
public:
    explicit EDIDset(QWidget* parent = nullptr);

public slots:
    void slot_Button_back_clicked();

protected:
    void back_pressed() override { slot_Button_back_clicked(); }
};

inline EDIDset* g_edidset() {
    return pages::get<EDIDset>(PAGE_EDIDSET);
}

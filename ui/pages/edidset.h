#pragma once
// The EDID page (page 8), opened from the source selection page.
#include "ui/pages/servicepage.h"

class EDIDset : public ServicePage {
    Q_OBJECT
public:
    static constexpr PAGE_ID ID = PAGE_EDIDSET;
    explicit EDIDset(QWidget* parent = nullptr);

public slots:
    void slot_Button_back_clicked();

protected:
    void back_pressed() override { slot_Button_back_clicked(); }
};

inline EDIDset* g_edidset() {
    return pages::get<EDIDset>();
}

#pragma once
// The LED screen page (page 13), opened from the output menu.
#include "ui/pages/servicepage.h"

class ledset : public ServicePage {
    Q_OBJECT
public:
    static constexpr PAGE_ID ID = PAGE_LEDSET;
    explicit ledset(QWidget* parent = nullptr);

public slots:
    void slot_Button_back_clicked();

protected:
    void back_pressed() override { slot_Button_back_clicked(); }
};

inline ledset* g_ledset() {
    return pages::get<ledset>();
}

#pragma once
// The input crop page (page 7), opened from the settings menu and the source
// selection page.
#include "ui/pages/servicepage.h"

class InputCut : public ServicePage {
    Q_OBJECT
public:
    static constexpr PAGE_ID ID = PAGE_INPUTCUT;
    explicit InputCut(QWidget* parent = nullptr);

public slots:
    void slot_Button_back_clicked();

protected:
    void back_pressed() override { slot_Button_back_clicked(); }
};

inline InputCut* g_inputcut() {
    return pages::get<InputCut>();
}

#pragma once
// The input crop page (page 7), opened from the settings menu and the source
// selection page.
#include "ui/pages/servicepage.h"

namespace Ui {
class InputCut;
}

class InputCut : public ServicePage<Ui::InputCut> {
    Q_OBJECT
public:
    explicit InputCut(QWidget* parent = nullptr);

public slots:
    void slot_Button_back_clicked();

protected:
    void back_pressed() override { slot_Button_back_clicked(); }
};

inline InputCut* g_inputcut() {
    return pages::get<InputCut>(PAGE_INPUTCUT);
}

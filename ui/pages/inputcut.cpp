#include "ui/pages/inputcut.h"

namespace {
const Text5 kTitle = {"输入截取", "Input intercept", "Источник", "Chặn nguồn vào", "輸入截取"};
}

InputCut::InputCut(QWidget* parent) : ServicePage(kTitle, parent) {}

void InputCut::slot_Button_back_clicked() {
    close_page();
}

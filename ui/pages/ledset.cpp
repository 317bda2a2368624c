#include "ui/pages/ledset.h"

namespace {
const Text5 kTitle = {"LED设置", "LED Setting", "Настройка LED", "Cài đặt LED", "LED設置"};
}

ledset::ledset(QWidget* parent) : ServicePage(kTitle, parent) {}

void ledset::slot_Button_back_clicked() {
    close_page();
}

#include "ui/pages/linkwlan.h"

namespace {
const Text5 kTitle = {"网口设置", "Ethernet", "Сеть Ethernet", "Cài đặt mạng", "網口設置"};
}

linkwlan::linkwlan(QWidget* parent) : ServicePage(kTitle, parent) {}

void linkwlan::slot_Button_back_clicked() {
    close_page();
}

#include "ui/pages/netset.h"

namespace {
const Text5 kTitle = {"网口输出", "Port output", "Выходные порты", "Cổng đầu ra", "網口輸出"};
}

netset::netset(QWidget* parent) : ServicePage(kTitle, parent) {}

void netset::slot_Button_back_clicked() {
    close_page();
}

#include "ui/pages/othersetup.h"

namespace {
const Text5 kTitle = {"其他设置", "Other settings", "Другие настройки", "Cài đặt khác", "其他設置"};
}

othersetup::othersetup(QWidget* parent) : ServicePage(kTitle, parent) {}

void othersetup::slot_Button_back_clicked() {
    close_page();
}

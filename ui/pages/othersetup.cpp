#include "ui/pages/othersetup.h"

#include "ui_othersetup.h"

namespace {
const Text5 kTitle = {"其他设置", "Other settings", "Другие настройки", "Cài đặt khác", "其他設置"};
}

othersetup::othersetup(QWidget* parent)
    : ServicePage<Ui::othersetup>(PAGE_OTHERSETUP, kTitle, parent) {
    language_changed();
}

void othersetup::slot_Button_back_clicked() {
    close_page();
}

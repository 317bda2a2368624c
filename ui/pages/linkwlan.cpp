#include "ui/pages/linkwlan.h"

#include "ui_linkwlan.h"

namespace {
const Text5 kTitle = {"网口设置", "Ethernet", "Сеть Ethernet", "Cài đặt mạng", "網口設置"};
}

linkwlan::linkwlan(QWidget* parent) : ServicePage<Ui::linkwlan>(PAGE_LINKWLAN, kTitle, parent) {
    language_changed();
}

void linkwlan::slot_Button_back_clicked() {
    close_page();
}

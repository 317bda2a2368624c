#include "ui/pages/factory.h"

namespace {
const Text5 kTitle = {"工厂设置", "Factory settings", "Заводские настройки", "Cài đặt nhà máy", "工廠設置"};
}

factory::factory(QWidget* parent) : ServicePage(kTitle, parent) {}

void factory::slot_Button_back_clicked() {
    close_page();
}

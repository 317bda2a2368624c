#include "ui/pages/edidset.h"

namespace {
const Text5 kTitle = {"设置EDID", "EDID Settings", "Настройка EDID", "Cài đặt EDID", "設置EDID"};
}

EDIDset::EDIDset(QWidget* parent) : ServicePage(kTitle, parent) {}

void EDIDset::slot_Button_back_clicked() {
    close_page();
}

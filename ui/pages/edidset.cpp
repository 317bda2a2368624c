#include "ui/pages/edidset.h"

#include "ui_edidset.h"

namespace {
const Text5 kTitle = {"设置EDID", "EDID Settings", "Настройка EDID", "Cài đặt EDID", "設置EDID"};
}

EDIDset::EDIDset(QWidget* parent) : ServicePage<Ui::EDIDset>(PAGE_EDIDSET, kTitle, parent) {
    language_changed();
}

void EDIDset::slot_Button_back_clicked() {
    close_page();
}

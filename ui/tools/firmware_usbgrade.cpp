#include "ui/tools/firmware_usbgrade.h"

namespace {
const Text5 kTitle = {"USB升级", "USB upgrade", "Обновление через USB", "Nâng cấp qua USB", "USB升級"};
}

firmware_usbgrade::firmware_usbgrade(QWidget* parent) : ServicePage(kTitle, parent) {}

void firmware_usbgrade::menulist_back_page() {
    close_page();
}

#include "ui/tools/firmware_usbgrade.h"

#include "ui_firmware_usbgrade.h"

namespace {
const Text5 kTitle = {"USB升级", "USB upgrade", "Обновление через USB", "Nâng cấp qua USB",
                      "USB升級"};
}

firmware_usbgrade::firmware_usbgrade(QWidget* parent)
    : ServicePage<Ui::firmware_usbgrade>(PAGE_FIRMWARE_USBGRADE, kTitle, parent) {
    language_changed();
}

void firmware_usbgrade::menulist_back_page() {
    close_page();
}

#include "ui/pages/linkoption.h"

#include "ui_linkoption.h"

#include "ui/pages/linkcom.h"
#include "ui/pages/linkwlan.h"
#include "ui/tools/firmware_usbgrade.h"

namespace {
const Text5 kTitle = {"通讯设置", "Communication", "Подключение", "Cài đặt giao tiếp", "通訊設置"};

const std::array<MenuEntry, 3> kEntries = {{
    {"Button_com",
     pages::opener<linkcom>,
     {"串口连接", "Serial port", "COM-порт", "Cài đặt cổng\n nối tiếp", "串口連接"}},
    {"Button_wlan",
     pages::opener<linkwlan>,
     {"网口设置", "Net connect", "Сетевое по\nдключение", "Cài đặt\ncổng mạng", "網口設置"}},
    {"Button_usb",
     pages::opener<firmware_usbgrade>,
     {"USB升级", "USB UPDATE", "Обновление\nчерез USB", "Sử dụng ổ USB\nđể cập nhập", "USB升級"}},
}};
}  // namespace

LinkOption::LinkOption(QWidget* parent) : MenuPage(Ui::LinkOption(), kTitle, kEntries, MenuTouch::Ignored, parent) {}

#include "ui/pages/linkoption.h"

#include "ui_linkoption.h"

#include "core/rynrampara.h"
#include "ui/pages/linkcom.h"
#include "ui/pages/linkwlan.h"
#include "ui/tools/firmware_usbgrade.h"

#include <array>

namespace {
const Text5 kTitle = {"通讯设置", "Communication", "Подключение", "Cài đặt giao tiếp", "通訊設置"};

struct Entry {
    QPushButton* Ui::LinkOption::*button;
    void (LinkOption::*open)();
    Text5 text;
};
const std::array<Entry, 3> kEntries = {{
    {&Ui::LinkOption::Button_com,
     &LinkOption::on_Button_linkcom_clicked,
     {"串口连接", "Serial port", "COM-порт", "Cài đặt cổng\n nối tiếp", "串口連接"}},
    {&Ui::LinkOption::Button_wlan,
     &LinkOption::on_Button_linkwlan_clicked,
     {"网口设置", "Net connect", "Сетевое по\nдключение", "Cài đặt\ncổng mạng", "網口設置"}},
    {&Ui::LinkOption::Button_usb,
     &LinkOption::on_Button_firmware_usbgrade_clicked,
     {"USB升级", "USB UPDATE", "Обновление\nчерез USB", "Sử dụng ổ USB\nđể cập nhập", "USB昇級"}},
}};

const FocusStyles kStyles{
    "color:rgb(255,255,255);background-color: rgb(33, 36, 53) ; border:2px "
    ";border-radius:10px;padding:2px 4px",
    "color:rgb(255,255,255);background-color: rgb(33, 36, 53); border:2px solid "
    "rgb(255,171,84);border-radius:10px;padding:2px 4px",
    "color:rgb(255,255,255);background-color: rgb(33, 36, 53); border:2px solid "
    "rgb(255,171,84);border-radius:10px;padding:2px 4px"};
} // namespace

LinkOption::LinkOption(QWidget* parent)
    : FramePage<QDialog>(PAGE_LINKOPTION, parent), ui(std::make_unique<Ui::LinkOption>()) {
    ui->setupUi(this);
    styles = &kStyles;
    language_changed();
    menulist_init();
}

LinkOption::~LinkOption() = default;

void LinkOption::menulist_init() {
    std::vector<QWidget*> list;
    for (const Entry& e : kEntries)
        list.push_back((*ui).*e.button);
    set_focus_list(std::move(list));
}

void LinkOption::language_changed() {
    ui->label_title->setText(tr5(kTitle));
    for (const Entry& e : kEntries)
        ((*ui).*e.button)->setText(tr5(e.text));
}

void LinkOption::syncUpdate(int) {
    if (RynRamPara::pInstance()->RynLanguageChanged())
        language_changed();
}

void LinkOption::entry_ok(int index) {
    if (index >= 0 && index < int(kEntries.size()))
        (this->*kEntries[size_t(index)].open)();
}

void LinkOption::on_Button_linkcom_clicked() {
    pages::open<linkcom>(PAGE_LINKCOM);
}
void LinkOption::on_Button_linkwlan_clicked() {
    pages::open<linkwlan>(PAGE_LINKWLAN);
}
void LinkOption::on_Button_firmware_usbgrade_clicked() {
    pages::open<firmware_usbgrade>(PAGE_FIRMWARE_USBGRADE);
}

void LinkOption::slot_Button_back_clicked() {
    close_page();
}

#include "ui/pages/advancedoption.h"

#include "ui_advancedoption.h"

#include "core/rynrampara.h"
#include "fpga/fpga_manage.h"
#include "fpga/rcv_recovery_file.h"
#include "ui/pages/factory.h"
#include "ui/pages/factoryage.h"
#include "ui/pages/lcdshow.h"
#include "ui/pages/othersetup.h"
#include "ui/tools/rcv_recovery.h"

#include <array>

namespace {
const Text5 kTitle = {"高级设置", "Advanced Settings", "Доп.опции", "Cài đặt nâng cao", "高級設置"};

constexpr int kRecoveryEntry = 2;

struct Entry {
    QPushButton* Ui::AdvancedOption::*button;
    void (AdvancedOption::*open)();
    Text5 text;
};
const std::array<Entry, 5> kEntries = {{
    {&Ui::AdvancedOption::Button_LCDshow,
     &AdvancedOption::on_Button_LCDshow_clicked,
     {"液晶显示", "LCD display", "ЖК\nдисплей", "Màn hình\nLCD", "液晶顯示"}},
    {&Ui::AdvancedOption::Button_other,
     &AdvancedOption::on_Button_other_clicked,
     {"其他设置", "Others", "Другие\nнастройки", "Khôi phục\ncài đăt gốc", "其他設置"}},
    {&Ui::AdvancedOption::Button_rcv_recovery,
     &AdvancedOption::on_Button_rcv_recovery_clicked,
     {"接收卡自恢复", "Rcv\nself-recovery", "Самовосст\nановление", "Thẻ nhận tự\nphục hồi",
      "接收卡自恢複"}},
    {&Ui::AdvancedOption::Button_factory,
     &AdvancedOption::on_Button_factory_clicked,
     {"工厂设置", "Factory", "Системные\nнастройки", "Khôi phục\ncàiđăt gốc", "工廠設置"}},
    {&Ui::AdvancedOption::Button_age,
     &AdvancedOption::on_Button_age_clicked,
     {"工厂老化", "Aging", "Сброс\nнастроек", "Lão hóa\nnhà máy", "工廠老化"}},
}};

const FocusStyles kStyles{
    "background-color: rgb(33, 36, 53);border:2px;border-radius:10px;padding:2px "
    "4px;color:rgb(255,255,255)",
    "background-color: rgb(33, 36, 53); border:2px solid "
    "rgb(255,171,84);border-radius:10px;padding:2px "
    "4px;color:rgb(255,255,255)",
    "background-color: rgb(33, 36, 53); border:2px solid "
    "rgb(255,171,84);border-radius:10px;padding:2px "
    "4px;color:rgb(255,255,255)"};
const FocusStyles kDisabledStyles{
    "background-color: gray;border:2px;border-radius:10px;padding:2px 4px;color:rgb(255,255,255)",
    "background-color: gray; border:2px solid rgb(255,171,84);border-radius:10px;padding:2px "
    "4px;color:rgb(255,255,255)",
    "background-color: gray; border:2px solid rgb(255,171,84);border-radius:10px;padding:2px "
    "4px;color:rgb(255,255,255)"};
} // namespace

AdvancedOption::AdvancedOption(QWidget* parent)
    : FramePage<QDialog>(PAGE_ADVANCEDOPTION, parent), ui(std::make_unique<Ui::AdvancedOption>()) {
    ui->setupUi(this);
    styles = &kStyles;
    language_changed();
    menulist_init();
}

AdvancedOption::~AdvancedOption() = default;

void AdvancedOption::menulist_init() {
    std::vector<QWidget*> list;
    for (const Entry& e : kEntries)
        list.push_back((*ui).*e.button);
    set_focus_list(std::move(list));
}

const FocusStyles& AdvancedOption::entry_styles(int index) const {
    return index == kRecoveryEntry && rcv_file_count == 0 ? kDisabledStyles : kStyles;
}

void AdvancedOption::language_changed() {
    // Without the FPGA manager, its parser or the folder, the availability
    // found before stands.
    fpga_manage* fpga = fpga_manage::p_fpga_manage;
    if (fpga && fpga->recovery_parser &&
        fpga->recovery_parser->get_dir_file("/data/rcvrecovery") == 0)
        rcv_file_count = uint8_t(fpga->recovery_parser->file_list.size());

    ui->label_title->setText(tr5(kTitle));
    for (const Entry& e : kEntries)
        ((*ui).*e.button)->setText(tr5(e.text));
    restyle(kRecoveryEntry, ui_select == kRecoveryEntry ? Style::Focused : Style::Normal);
}

void AdvancedOption::syncUpdate(int) {
    if (RynRamPara::pInstance()->RynLanguageChanged())
        language_changed();
}

void AdvancedOption::entry_ok(int index) {
    if (index >= 0 && index < int(kEntries.size()))
        (this->*kEntries[size_t(index)].open)();
}

void AdvancedOption::on_Button_LCDshow_clicked() {
    pages::open<lcdshow>(PAGE_LCDSHOW);
}
void AdvancedOption::on_Button_other_clicked() {
    pages::open<othersetup>(PAGE_OTHERSETUP);
}

void AdvancedOption::on_Button_rcv_recovery_clicked() {
    if (rcv_file_count != 0)
        pages::open<rcv_recovery>(PAGE_RCV_RECOVERY);
}

void AdvancedOption::on_Button_factory_clicked() {
    pages::open<factory>(PAGE_FACTORY);
}

// The access code in front of the ageing log comes with the full submenu.
void AdvancedOption::on_Button_age_clicked() {
    pages::open<factoryage>(PAGE_FACTORYAGE);
}

void AdvancedOption::slot_Button_back_clicked() {
    close_page();
}

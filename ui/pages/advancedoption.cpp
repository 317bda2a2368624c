#include "ui/pages/advancedoption.h"

#include "ui_advancedoption.h"

#include "fpga/fpga_manage.h"
#include "fpga/rcv_recovery_file.h"
#include "ui/pages/factory.h"
#include "ui/pages/factoryage.h"
#include "ui/pages/lcdshow.h"
#include "ui/pages/othersetup.h"
#include "ui/tools/rcv_recovery.h"

namespace {
const Text5 kTitle = {"高级设置", "Advanced Settings", "Доп.опции", "Cài đặt nâng cao", "高級設置"};

constexpr int kRecoveryEntry = 2;

// The access code in front of the ageing log comes with the full submenu.
const std::array<MenuEntry, 5> kEntries = {{
    {"Button_LCDshow", pages::opener<lcdshow>,
     {"液晶显示", "LCD display", "ЖК\nдисплей", "Màn hình\nLCD", "液晶顯示"}},
    {"Button_other", pages::opener<othersetup>,
     {"其他设置", "Others", "Другие\nнастройки", "Khôi phục\ncài đăt gốc", "其他設置"}},
    {"Button_rcv_recovery", pages::opener<rcv_recovery>,
     {"接收卡自恢复", "Rcv\nself-recovery", "Самовосст\nановление", "Thẻ nhận tự\nphục hồi",
      "接收卡自恢複"}},
    {"Button_factory", pages::opener<factory>,
     {"工厂设置", "Factory", "Системные\nнастройки", "Khôi phục\ncàiđăt gốc", "工廠設置"}},
    {"Button_age", pages::opener<factoryage>,
     {"工厂老化", "Aging", "Сброс\nнастроек", "Lão hóa\nnhà máy", "工廠老化"}},
}};
} // namespace

AdvancedOption::AdvancedOption(QWidget* parent)
    : MenuPage(Ui::AdvancedOption(), kTitle, kEntries, MenuTouch::Opens, parent) {}

bool AdvancedOption::entry_available(int index) const {
    return index != kRecoveryEntry || rcv_file_count != 0;
}

void AdvancedOption::language_changed() {
    // Without the FPGA manager, its parser or the folder, the availability
    // found before stands.
    fpga_manage* fpga = fpga_manage::p_fpga_manage;
    if (fpga && fpga->recovery_parser &&
        fpga->recovery_parser->get_dir_file("/data/rcvrecovery") == 0)
        rcv_file_count = uint8_t(fpga->recovery_parser->file_list.size());
    MenuPage::language_changed();
}

#include "ui/frame/outputset.h"

#include "ui_outputset.h"

#include "core/ramblock.h"
#include "core/rynrampara.h"
#include "ui/pages/ledset.h"
#include "ui/pages/netset.h"

namespace {
const Text5 kTitle = {"输出设置", "Output Setting", "Выход", "Thông số đầu ra", "輸出設置"};
const Text5 kLedSize = {"当前设置LED屏宽高为: %dx%d", "LED Screen can be set:%dx%d", "Текущий размер LED (px): %dx%d",
                        "Gợi ý: Kích thước màn hình LED hiện tại::%dx%d", "當前設置LED屏寬高爲: %dx%d"};

const std::array<MenuEntry, 2> kEntries = {{
    {"Button_ledset", pages::opener<ledset>, {"LED设置", "LED Setting", "Настройки\nLED", "Cài đặt\nLED", "LED設置"}},
    {"Button_lanset",
     pages::opener<netset>,
     {"网口输出", "Port output", "Настройка\nLAN", "Cài đặt\ncổng MẠNG", "網口輸出"}},
}};
}  // namespace

OutputSet::OutputSet(QWidget* parent) : MenuPage(Ui::OutputSet(), kTitle, kEntries, MenuTouch::Opens, parent) {}

void OutputSet::language_changed() {
    MenuPage::language_changed();
    const RynRamPara* p = RynRamPara::pInstance();
    if (auto* info = findChild<QLabel*>(QStringLiteral("label_info")))
        set_fitted_text(info, fill_numbers(tr5(kLedSize), {p->u16(blk::LED_WIDTH), p->u16(blk::LED_HEIGHT)}));
}

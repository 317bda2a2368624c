#include "ui/frame/outputset.h"

#include "ui_outputset.h"

#include "ui/pages/ledset.h"
#include "ui/pages/netset.h"

namespace {
const Text5 kTitle = {"输出设置", "Output Seeting", "Выход", "Thông số đầu ra", "輸出設置"};

const std::array<MenuEntry, 2> kEntries = {{
    {"Button_ledset", pages::opener<ledset>,
     {"LED设置", "LED Setting", "Настройки\nLED", "Cài đặt\nLED", "LED設置"}},
    {"Button_lanset", pages::opener<netset>,
     {"网口输出", "Port output", "Настройка\nLAN", "Cài đặt\ncổng MẠNG", "網口輸出"}},
}};
} // namespace

OutputSet::OutputSet(QWidget* parent)
    : MenuPage(Ui::OutputSet(), kTitle, kEntries, MenuTouch::Opens, parent) {}

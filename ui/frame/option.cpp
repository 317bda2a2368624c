#include "ui/frame/option.h"

#include "ui_option.h"

#include "ui/frame/outputset.h"
#include "ui/pages/advancedoption.h"
#include "ui/pages/imagelayout.h"
#include "ui/pages/imagequality.h"
#include "ui/pages/inputcut.h"
#include "ui/pages/linkoption.h"
#include "ui/pages/test_chart.h"
#include "ui/tools/smartmapping.h"

namespace {
const Text5 kTitle = {"设置", "Setting", "Настройки", "Cài đặt", "設置"};

// Picture sizes per language: simplified Chinese, English, Russian,
// Vietnamese, traditional Chinese.
constexpr std::array<QSize, LANG_COUNT> sizes(int zh, int en, int ru, int vn, int tn) {
    return {QSize(zh, 60), QSize(en, 60), QSize(ru, 60), QSize(vn, 60), QSize(tn, 60)};
}

// Focus order: row by row, left to right. The pictures carry the words.
const std::array<MenuEntry, 8> kEntries = {{
    {"output_set", pages::opener<OutputSet>, {}, {"output_set", sizes(55, 75, 55, 55, 55)}},
    {"input_cut", pages::opener<InputCut>, {}, {"input_cut", sizes(55, 70, 70, 70, 55)}},
    {"image_layout", pages::opener<ImageLayout>, {}, {"image_layout", sizes(55, 70, 55, 55, 55)}},
    {"link_set", pages::opener<LinkOption>, {}, {"link_set", sizes(55, 70, 70, 70, 55)}},
    {"image_quality", pages::opener<ImageQuality>, {}, {"image_quality", sizes(55, 75, 55, 55, 55)}},
    {"test_chart", pages::opener<test_chart>, {}, {"test_chart", sizes(55, 55, 55, 55, 55)}},
    {"smart_mapping", pages::opener<SmartMapping>, {}, {"smart_mapping", sizes(55, 55, 55, 55, 55)}},
    {"AdvanceButton",
     pages::opener<AdvancedOption>,
     {},
     {"AdvanceButton", sizes(55, 54, 70, 54, 55), "advance_option"}},
}};
}  // namespace

Option::Option(QWidget* parent) : MenuPage(Ui::Option(), kTitle, kEntries, MenuTouch::Opens, parent) {}

void Option::usb_drive_mounted() {
    if (g_page_focus != ID)
        return;
    if (Option* option = g_option())
        option->slot_Button_back_clicked();
}

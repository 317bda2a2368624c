#include "ui/frame/option.h"

#include "ui_option.h"

#include "core/rynrampara.h"
#include "ui/frame/outputset.h"
#include "ui/pages/advancedoption.h"
#include "ui/pages/imagelayout.h"
#include "ui/pages/imagequality.h"
#include "ui/pages/inputcut.h"
#include "ui/pages/linkoption.h"
#include "ui/pages/test_chart.h"
#include "ui/tools/smartmapping.h"

#include <array>

namespace {
const Text5 kTitle = {"设置", "Setting", "Настройки", "Cài đặt", "設置"};

struct Entry {
    QPushButton* Ui::Option::*button;
    void (Option::*open)();
    Text5 text;
};
// Focus order: row by row, left to right.
const std::array<Entry, 8> kEntries = {{
    {&Ui::Option::output_set,
     &Option::on_output_set_clicked,
     {"输出设置", "Output", "Выход", "Đầu ra", "輸出設置"}},
    {&Ui::Option::input_cut,
     &Option::on_input_cut_clicked,
     {"输入截取", "Input\ncrop", "Обрезка\nвхода", "Cắt\nnguồn", "輸入截取"}},
    {&Ui::Option::image_layout,
     &Option::on_image_layout_clicked,
     {"画面布局", "Layout", "Макет", "Bố cục", "畫面佈局"}},
    {&Ui::Option::link_set,
     &Option::on_link_set_clicked,
     {"通讯设置", "Link", "Связь", "Kết nối", "通訊設置"}},
    {&Ui::Option::image_quality,
     &Option::on_image_quality_clicked,
     {"图像效果", "Image\nquality", "Изобра-\nжение", "Hình ảnh", "圖像效果"}},
    {&Ui::Option::test_chart,
     &Option::on_test_chart_clicked,
     {"测试画面", "Test\npattern", "Тест", "Kiểm tra", "測試畫面"}},
    {&Ui::Option::smart_mapping,
     &Option::on_smart_mapping_clicked,
     {"智能映射", "Smart\nmapping", "Умная\nнастройка", "Ánh xạ", "智能映射"}},
    {&Ui::Option::AdvanceButton,
     &Option::on_AdvanceButton_clicked,
     {"高级设置", "Advanced", "Доп.\nопции", "Nâng cao", "高級設置"}},
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
} // namespace

Option::Option(QWidget* parent)
    : FramePage<QDialog>(PAGE_OPTION, parent), ui(std::make_unique<Ui::Option>()) {
    ui->setupUi(this);
    styles = &kStyles;
    menulist_init();
    language_changed();
}

Option::~Option() = default;

void Option::menulist_init() {
    std::vector<QWidget*> list;
    for (const Entry& e : kEntries)
        list.push_back((*ui).*e.button);
    set_focus_list(std::move(list));
}

void Option::language_changed() {
    ui->label_title->setText(tr5(kTitle));
    for (const Entry& e : kEntries)
        ((*ui).*e.button)->setText(tr5(e.text));
}

void Option::syncUpdate(int) {
    if (RynRamPara::pInstance()->RynLanguageChanged())
        language_changed();
}

void Option::entry_ok(int index) {
    if (index >= 0 && index < int(kEntries.size()))
        (this->*kEntries[size_t(index)].open)();
}

void Option::on_output_set_clicked() {
    pages::open<OutputSet>(PAGE_OUTPUTSET);
}
void Option::on_input_cut_clicked() {
    pages::open<InputCut>(PAGE_INPUTCUT);
}
void Option::on_image_layout_clicked() {
    pages::open<ImageLayout>(PAGE_IMAGELAYOUT);
}
void Option::on_link_set_clicked() {
    pages::open<LinkOption>(PAGE_LINKOPTION);
}
void Option::on_image_quality_clicked() {
    pages::open<ImageQuality>(PAGE_IMAGEQUALITY);
}
void Option::on_test_chart_clicked() {
    pages::open<test_chart>(PAGE_TEST_CHART);
}
void Option::on_smart_mapping_clicked() {
    pages::open<SmartMapping>(PAGE_SMARTMAPPING);
}
void Option::on_AdvanceButton_clicked() {
    pages::open<AdvancedOption>(PAGE_ADVANCEDOPTION);
}

void Option::slot_Button_back_clicked() {
    close_page();
}

#include "ui/pages/imagequality.h"

#include "ui_imagequality.h"

#include "core/rynrampara.h"
#include "ui/pages/quality.h"
#include "ui/pages/temperature.h"

#include <array>

namespace {
const Text5 kTitle = {"图像效果", "Image quality", "Изображение", "Chất lượng hình ảnh",
                      "圖像效果"};

struct Entry {
    QPushButton* Ui::ImageQuality::*button;
    void (ImageQuality::*open)();
    Text5 text;
};
const std::array<Entry, 2> kEntries = {{
    {&Ui::ImageQuality::Button_quality,
     &ImageQuality::on_Button_quality_clicked,
     {"画质", "Quality", "Качество", "Chất lượng", "畫質"}},
    {&Ui::ImageQuality::Button_temperature,
     &ImageQuality::on_Button_temperature_clicked,
     {"色温", "Temperature", "Оттенок", "Độ màu", "色溫"}},
}};

const FocusStyles kStyles{
    "color:rgb(255,255,255);background-color: rgb(33, 36, 53) ; border:2px "
    ";border-radius:10px;padding:2px 4px",
    "color:rgb(255,255,255);background-color: rgb(33, 36, 53); border:2px solid "
    "rgb(255,171,84);border-radius:10px;padding:2px 4px",
    "color:rgb(255,255,255);background-color: rgb(33, 36, 53); border:2px solid "
    "rgb(255,171,84);border-radius:10px;padding:2px 4px"};
} // namespace

ImageQuality::ImageQuality(QWidget* parent)
    : FramePage<QDialog>(PAGE_IMAGEQUALITY, parent), ui(std::make_unique<Ui::ImageQuality>()) {
    ui->setupUi(this);
    styles = &kStyles;
    language_changed();
    menulist_init();
}

ImageQuality::~ImageQuality() = default;

void ImageQuality::menulist_init() {
    std::vector<QWidget*> list;
    for (const Entry& e : kEntries)
        list.push_back((*ui).*e.button);
    set_focus_list(std::move(list));
}

void ImageQuality::language_changed() {
    ui->label_title->setText(tr5(kTitle));
    for (const Entry& e : kEntries)
        ((*ui).*e.button)->setText(tr5(e.text));
}

void ImageQuality::syncUpdate(int) {
    if (RynRamPara::pInstance()->RynLanguageChanged())
        language_changed();
}

void ImageQuality::entry_ok(int index) {
    if (index >= 0 && index < int(kEntries.size()))
        (this->*kEntries[size_t(index)].open)();
}

void ImageQuality::on_Button_quality_clicked() {
    pages::open<quality>(PAGE_QUALITY);
}
void ImageQuality::on_Button_temperature_clicked() {
    pages::open<temperature>(PAGE_TEMPERATURE);
}

void ImageQuality::slot_Button_back_clicked() {
    close_page();
}

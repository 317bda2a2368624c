#include "ui/pages/imagequality.h"

#include "ui_imagequality.h"

#include "ui/pages/quality.h"
#include "ui/pages/temperature.h"

namespace {
const Text5 kTitle = {"图像效果", "Image quality", "Изображение", "Chất lượng hình ảnh", "圖像效果"};

const std::array<MenuEntry, 2> kEntries = {{
    {"Button_quality", pages::opener<quality>, {"画质", "Quality", "Качество", "Chất lượng", "畫質"}},
    {"Button_temperature", pages::opener<temperature>, {"色温", "Temperature", "Оттенок", "Độ màu", "色溫"}},
}};
}  // namespace

ImageQuality::ImageQuality(QWidget* parent)
    : MenuPage(Ui::ImageQuality(), kTitle, kEntries, MenuTouch::Opens, parent) {}

#include "ui/pages/imagelayout.h"

namespace {
const Text5 kTitle = {"画面布局", "Screen layout", "Расположение", "Bố cục màn hình", "畫麵佈局"};
}

ImageLayout::ImageLayout(QWidget* parent)
    : ServicePage(kTitle, parent) {}

void ImageLayout::slot_Button_back_clicked() {
    close_page();
}

#include "ui/pages/imagelayout.h"

#include "ui_imagelayout.h"

namespace {
const Text5 kTitle = {"画面布局", "Screen layout", "Расположение", "Bố cục màn hình", "畫麵佈局"};
}

ImageLayout::ImageLayout(QWidget* parent)
    : ServicePage<Ui::ImageLayout>(PAGE_IMAGELAYOUT, kTitle, parent) {
    language_changed();
}

void ImageLayout::slot_Button_back_clicked() {
    close_page();
}

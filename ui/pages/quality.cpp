#include "ui/pages/quality.h"

namespace {
const Text5 kTitle = {"画质", "Picture quality", "Качество изображения", "Chất lượng hình ảnh", "畫質"};
}

quality::quality(QWidget* parent) : ServicePage(kTitle, parent) {}

void quality::slot_Button_back_clicked() {
    close_page();
}

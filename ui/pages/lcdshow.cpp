#include "ui/pages/lcdshow.h"

namespace {
const Text5 kTitle = {"液晶显示", "LCD display", "ЖК-дисплей", "Màn hình LCD", "液晶顯示"};
}

lcdshow::lcdshow(QWidget* parent) : ServicePage(kTitle, parent) {}

void lcdshow::slot_Button_back_clicked() {
    close_page();
}

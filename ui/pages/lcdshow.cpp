#include "ui/pages/lcdshow.h"

#include "ui_lcdshow.h"

namespace {
const Text5 kTitle = {"液晶显示", "LCD display", "ЖК-дисплей", "Màn hình LCD", "液晶顯示"};
}

lcdshow::lcdshow(QWidget* parent) : ServicePage<Ui::lcdshow>(PAGE_LCDSHOW, kTitle, parent) {
    language_changed();
}

void lcdshow::slot_Button_back_clicked() {
    close_page();
}

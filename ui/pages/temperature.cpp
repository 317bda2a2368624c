#include "ui/pages/temperature.h"

namespace {
const Text5 kTitle = {"色温", "Colour temperature", "Цветовая температура", "Nhiệt độ màu", "色溫"};
}

temperature::temperature(QWidget* parent) : ServicePage(kTitle, parent) {}

void temperature::slot_Button_back_clicked() {
    close_page();
}

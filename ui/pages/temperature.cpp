#include "ui/pages/temperature.h"

#include "ui_temperature.h"

namespace {
const Text5 kTitle = {"色温", "Colour temperature", "Цветовая температура", "Nhiệt độ màu", "色溫"};
}

temperature::temperature(QWidget* parent)
    : ServicePage<Ui::temperature>(PAGE_TEMPERATURE, kTitle, parent) {
    language_changed();
}

void temperature::slot_Button_back_clicked() {
    close_page();
}

#include "ui/pages/linkcom.h"

namespace {
const Text5 kTitle = {"串口连接", "Serial port", "COM-порт", "Cổng nối tiếp", "串口連接"};
}

linkcom::linkcom(QWidget* parent) : ServicePage(kTitle, parent) {}

void linkcom::slot_Button_back_clicked() {
    close_page();
}

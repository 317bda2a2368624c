#include "ui/pages/linkcom.h"

#include "ui_linkcom.h"

namespace {
const Text5 kTitle = {"串口连接", "Serial port", "COM-порт", "Cổng nối tiếp", "串口連接"};
}

linkcom::linkcom(QWidget* parent) : ServicePage<Ui::linkcom>(PAGE_LINKCOM, kTitle, parent) {
    language_changed();
}

void linkcom::slot_Button_back_clicked() {
    close_page();
}

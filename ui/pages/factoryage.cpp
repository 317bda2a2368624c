#include "ui/pages/factoryage.h"

#include "ui_factoryage.h"

#include "core/global.h"

namespace {
const Text5 kTitle = {"老化记录", "Ageing log", "Журнал прогона", "Nhật ký lão hóa", "老化記錄"};
}

factoryage::factoryage(QWidget* parent)
    : ServicePage<Ui::factoryage>(PAGE_FACTORYAGE, kTitle, parent) {
    language_changed();
    update_agelog();
}

void factoryage::update_agelog() {
    ui->listWidget_log->clear();
    ui->listWidget_log->addItems(factoryage_log);
    ui->listWidget_log->scrollToBottom();
    // Advance ranges of the counter between two samples: the wording is the
    // same in every language.
    ui->label_steps->setText(QString::asprintf(
        "1-2:%u  3-4:%u  5-9:%u  10-19:%u  20+:%u", factoryage_log_diff3, factoryage_log_diff5,
        factoryage_log_diff10, factoryage_log_diff20, factoryage_log_diffmore));
}

void factoryage::slot_Button_back_clicked() {
    close_page();
}

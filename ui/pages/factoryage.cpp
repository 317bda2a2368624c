#include "ui/pages/factoryage.h"

#include "core/global.h"

#include <QFont>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace {
const Text5 kTitle = {"老化记录", "Ageing log", "Журнал прогона", "Nhật ký lão hóa", "老化記錄"};
}

factoryage::factoryage(QWidget* parent) : ServicePage(kTitle, parent) {
    QFont small;
    small.setPointSize(8);
    log_list = new QListWidget(this);
    log_list->setObjectName(QStringLiteral("listWidget_log"));
    log_list->setGeometry(10, 38, 300, 138);
    log_list->setFont(small);
    log_list->setStyleSheet("color: rgb(255, 255, 255);\nbackground-color: rgb(33, 36, 53);");
    log_list->setFocusPolicy(Qt::NoFocus);
    steps = new QLabel(this);
    steps->setObjectName(QStringLiteral("label_steps"));
    steps->setGeometry(10, 180, 300, 16);
    steps->setFont(small);
    steps->setStyleSheet("color: rgb(255, 255, 255);");
    back_button->move(back_button->x(), 204);
}

void factoryage::update_agelog() {
    log_list->clear();
    log_list->addItems(factoryage_log);
    log_list->scrollToBottom();
    // Advance ranges of the counter between two samples: the wording is the
    // same in every language.
    steps->setText(QString::asprintf("1-2:%u  3-4:%u  5-9:%u  10-19:%u  20+:%u", factoryage_log_diff3,
                                     factoryage_log_diff5, factoryage_log_diff10, factoryage_log_diff20,
                                     factoryage_log_diffmore));
}

void factoryage::slot_Button_back_clicked() {
    close_page();
}

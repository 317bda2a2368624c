#include "ui/frame/dialog.h"

#include "ui_dialog.h"

Dialog::Dialog(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::Dialog>()) {
    ui->setupUi(this);
    connect(ui->pushButton, &QPushButton::clicked, this, &QDialog::accept);
}

Dialog::~Dialog() = default;

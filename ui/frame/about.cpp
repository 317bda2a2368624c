#include "ui/frame/about.h"

#include "ui_about.h"

About::About(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::About>()) {
    ui->setupUi(this);
    connect(ui->pushButton, &QPushButton::clicked, this, &QDialog::accept);
}

About::~About() = default;

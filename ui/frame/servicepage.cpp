#include "ui/frame/servicepage.h"

#include "ui_servicepage.h"

#include "core/rynrampara.h"

ServicePage::ServicePage(const Text5& title, QWidget* parent)
    : FramePage<QDialog>(parent), ui(std::make_unique<Ui::ServicePage>()), title_(&title) {
    ui->setupUi(this);
    title_label = ui->label_title;
    back_button = ui->Button_back;
    focus.styles = &row_styles_lines();
    QObject::connect(back_button, &QPushButton::clicked, this, [this] { back_pressed(); });
    menulist_init();
}

ServicePage::~ServicePage() = default;

void ServicePage::language_changed() {
    title_label->setText(tr5(*title_));
    back_button->setText(tr5(servicepage::kBack));
}

void ServicePage::menulist_init() {
    set_focus_list({back_button});
}

#pragma once
// The small service pages: a title and a back button over a Designer form
// that names them `label_title` and `Button_back`. The back button is the
// one entry of the focus list, so OK and a touch on it act as Back does.
#include "core/rynrampara.h"
#include "ui/frame/language.h"
#include "ui/frame/pageframe.h"

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <memory>

namespace servicepage {
constexpr Text5 kBack = {"返回", "Back", "Назад", "Quay lại", "返回"};
}

template <class Form> class ServicePage : public FramePage<QDialog> {
public:
    ServicePage(PAGE_ID id, const Text5& title, QWidget* parent)
        : FramePage<QDialog>(id, parent), ui(new Form, [](Form* f) { delete f; }), title_(&title) {
        ui->setupUi(this);
        title_label = ui->label_title;
        back_button = ui->Button_back;
        styles = &row_styles_lines();
        QObject::connect(back_button, &QPushButton::clicked, this, [this] { back_pressed(); });
        menulist_init();
        // The derived page calls language_changed() once it is complete.
    }

    void menulist_init() { set_focus_list({back_button}); }

    void language_changed() override {
        title_label->setText(tr5(*title_));
        back_button->setText(tr5(servicepage::kBack));
    }

    void syncUpdate(int) override {
        if (RynRamPara::pInstance()->RynLanguageChanged())
            language_changed();
    }

protected:
    void entry_ok(int) override { back_pressed(); }

    // Only the constructor, built in the page's own source, sees the
    // generated form; the deleter it gives keeps the rest of the class
    // free of it.
    std::unique_ptr<Form, void (*)(Form*)> ui;

private:
    QLabel* title_label = nullptr;
    QPushButton* back_button = nullptr;
    const Text5* title_;
};

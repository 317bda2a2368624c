#pragma once
// The small service pages: a title and a back button over one shared form
// that names them `label_title` and `Button_back`. The back button is the
// one entry of the focus list, so OK and a touch on it act as Back does.
#include "ui/frame/language.h"
#include "ui/frame/pageframe.h"

#include <QDialog>
#include <memory>

class QLabel;
class QPushButton;

namespace Ui {
class ServicePage;
}

namespace servicepage {
constexpr Text5 kBack = {"返回", "Back", "Назад", "Quay lại", "返回"};
}

class ServicePage : public FramePage<QDialog> {
public:
    ServicePage(const Text5& title, QWidget* parent);
    ~ServicePage() override;

    void menulist_init();
    void language_changed() override;

protected:
    void entry_ok(int) override { back_pressed(); }

    QLabel* title_label = nullptr;
    QPushButton* back_button = nullptr;

private:
    std::unique_ptr<Ui::ServicePage> ui;
    const Text5* title_;
};

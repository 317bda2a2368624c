#pragma once
// The output menu (page 6): the LED screen page and the port output view.
#include "ui/frame/pageframe.h"

#include <QDialog>
#include <memory>

namespace Ui {
class OutputSet;
}

class OutputSet : public FramePage<QDialog> {
    Q_OBJECT
public:
    explicit OutputSet(QWidget* parent = nullptr);
    ~OutputSet() override;

    void menulist_init();
    void language_changed() override;
    void syncUpdate(int code) override;

public slots:
    void on_Button_ledset_clicked();
    void on_Button_lanset_clicked();
    void slot_Button_back_clicked();

protected:
    void entry_ok(int index) override;
    void back_pressed() override { slot_Button_back_clicked(); }

private:
    std::unique_ptr<Ui::OutputSet> ui;
};

inline OutputSet* g_outputset() {
    return pages::get<OutputSet>(PAGE_OUTPUTSET);
}

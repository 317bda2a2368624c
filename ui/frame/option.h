#pragma once
// The settings menu (page 5): eight entries, each opening a page one level
// down.
#include "ui/frame/pageframe.h"

#include <QDialog>
#include <memory>

namespace Ui {
class Option;
}

class Option : public FramePage<QDialog> {
    Q_OBJECT
public:
    explicit Option(QWidget* parent = nullptr);
    ~Option() override;

    void menulist_init();
    void language_changed() override;
    void syncUpdate(int code) override;

public slots:
    void on_output_set_clicked();
    void on_input_cut_clicked();
    void on_image_layout_clicked();
    void on_link_set_clicked();
    void on_image_quality_clicked();
    void on_test_chart_clicked();
    void on_smart_mapping_clicked();
    void on_AdvanceButton_clicked();
    // Back; the USB drive watcher calls it too.
    void slot_Button_back_clicked();

protected:
    void entry_ok(int index) override;
    void back_pressed() override { slot_Button_back_clicked(); }

private:
    std::unique_ptr<Ui::Option> ui;
};

inline Option* g_option() {
    return pages::get<Option>(PAGE_OPTION);
}

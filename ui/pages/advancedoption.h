#pragma once
// The advanced submenu (page 12): LCD display, other settings, card
// self-recovery, factory settings and the ageing log. The recovery entry is
// greyed and does nothing while no recovery package is stored.
#include "ui/frame/pageframe.h"

#include <QDialog>
#include <memory>

namespace Ui {
class AdvancedOption;
}

class AdvancedOption : public FramePage<QDialog> {
    Q_OBJECT
public:
    explicit AdvancedOption(QWidget* parent = nullptr);
    ~AdvancedOption() override;

    void menulist_init();
    // Also finds anew whether recovery packages are stored; the protocol
    // handler calls it after the PC stored or deleted one.
    void language_changed() override;
    void syncUpdate(int code) override;

    // Packages found in the recovery folder at the last re-text (8 bits).
    uint8_t rcv_file_count = 0;

public slots:
    void on_Button_LCDshow_clicked();
    void on_Button_other_clicked();
    void on_Button_rcv_recovery_clicked();
    void on_Button_factory_clicked();
    void on_Button_age_clicked();
    void slot_Button_back_clicked();

protected:
    void entry_ok(int index) override;
    void back_pressed() override { slot_Button_back_clicked(); }
    const FocusStyles& entry_styles(int index) const override;

private:
    std::unique_ptr<Ui::AdvancedOption> ui;
};

inline AdvancedOption* g_advancedoption() {
    return pages::get<AdvancedOption>(PAGE_ADVANCEDOPTION);
}

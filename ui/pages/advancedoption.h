#pragma once
// The advanced submenu (page 12): LCD display, other settings, card
// self-recovery, factory settings and the ageing log. The recovery entry is
// greyed and does nothing while no recovery package is stored; the ageing
// log asks for its access code on the number keypad first.
#include "ui/frame/menupage.h"

class AdvancedOption : public MenuPage {
    Q_OBJECT
public:
    static constexpr PAGE_ID ID = PAGE_ADVANCEDOPTION;
    explicit AdvancedOption(QWidget* parent = nullptr);
    ~AdvancedOption() override;

    // Also finds anew whether recovery packages are stored.
    void language_changed() override;

    // Any thread, after the PC stored or deleted a recovery package: the
    // open page re-texts in the GUI thread, if it is still open and in front
    // by then.
    static void recovery_files_changed();

    // Packages found in the recovery folder at the last re-text, up to 255.
    uint8_t rcv_file_count = 0;
    // 1 only while the ageing page is opened after the right access code.
    uint8_t age_unlocked = 0;

public slots:
    // The ageing tile: the access code on the keypad, then the ageing page.
    void on_Button_age_clicked();

protected:
    bool entry_available(int index) const override;
    void confirmString(const QString& text) override;
};

inline AdvancedOption* g_advancedoption() {
    return pages::get<AdvancedOption>();
}

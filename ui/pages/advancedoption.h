#pragma once
// The advanced submenu (page 12): LCD display, other settings, card
// self-recovery, factory settings and the ageing log. The recovery entry is
// greyed and does nothing while no recovery package is stored.
#include "ui/pages/menupage.h"

class AdvancedOption : public MenuPage {
    Q_OBJECT
public:
    static constexpr PAGE_ID ID = PAGE_ADVANCEDOPTION;
    explicit AdvancedOption(QWidget* parent = nullptr);

    // Also finds anew whether recovery packages are stored; the protocol
    // handler calls it after the PC stored or deleted one.
    void language_changed() override;

    // Packages found in the recovery folder at the last re-text (8 bits).
    uint8_t rcv_file_count = 0;

protected:
    bool entry_available(int index) const override;
};

inline AdvancedOption* g_advancedoption() {
    return pages::get<AdvancedOption>();
}

#pragma once
// The output menu (page 6): the LED screen page and the port output view,
// with the LED screen size currently set.
#include "ui/frame/menupage.h"

class OutputSet : public MenuPage {
    Q_OBJECT
public:
    static constexpr PAGE_ID ID = PAGE_OUTPUTSET;
    explicit OutputSet(QWidget* parent = nullptr);

    // Also the LED size line, read from the block now: a size set by the PC
    // shows only when the menu is opened, re-texted or a child closes.
    void language_changed() override;
};

inline OutputSet* g_outputset() {
    return pages::get<OutputSet>();
}

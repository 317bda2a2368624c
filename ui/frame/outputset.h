#pragma once
// The output menu (page 6): the LED screen page and the port output view.
#include "ui/pages/menupage.h"

class OutputSet : public MenuPage {
    Q_OBJECT
public:
    static constexpr PAGE_ID ID = PAGE_OUTPUTSET;
    explicit OutputSet(QWidget* parent = nullptr);
};

inline OutputSet* g_outputset() {
    return pages::get<OutputSet>();
}

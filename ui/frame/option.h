#pragma once
// The settings menu (page 5): eight picture tiles, each opening a page one
// level down.
#include "ui/pages/menupage.h"

class Option : public MenuPage {
    Q_OBJECT
public:
    static constexpr PAGE_ID ID = PAGE_OPTION;
    explicit Option(QWidget* parent = nullptr);
};

inline Option* g_option() {
    return pages::get<Option>();
}

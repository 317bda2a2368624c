#pragma once
// The link submenu (page 10): serial port, Ethernet and USB upgrade. Only the
// keys open the children; touching an entry does nothing.
#include "ui/frame/menupage.h"

class LinkOption : public MenuPage {
    Q_OBJECT
public:
    static constexpr PAGE_ID ID = PAGE_LINKOPTION;
    explicit LinkOption(QWidget* parent = nullptr);
};

inline LinkOption* g_linkoption() {
    return pages::get<LinkOption>();
}

#pragma once
// The settings menu (page 5): eight picture tiles, each opening a page one
// level down.
#include "ui/frame/menupage.h"

class Option : public MenuPage {
    Q_OBJECT
public:
    static constexpr PAGE_ID ID = PAGE_OPTION;
    explicit Option(QWidget* parent = nullptr);

    // Run in the GUI thread after the USB drive watcher announced a mounted
    // drive: the menu closes, back to the main menu, when it is still the
    // page in front at that moment; a child page in front keeps it open.
    static void usb_drive_mounted();
};

inline Option* g_option() {
    return pages::get<Option>();
}

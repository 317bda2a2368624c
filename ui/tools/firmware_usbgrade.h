#pragma once
// The USB upgrade page (page 26), opened from the link submenu.
#include "ui/frame/servicepage.h"

class firmware_usbgrade : public ServicePage {
    Q_OBJECT
public:
    static constexpr PAGE_ID ID = PAGE_FIRMWARE_USBGRADE;
    explicit firmware_usbgrade(QWidget* parent = nullptr);

public slots:
    void menulist_back_page();

protected:
    void back_pressed() override { menulist_back_page(); }
};

inline firmware_usbgrade* g_firmware_usbgrade() {
    return pages::get<firmware_usbgrade>();
}

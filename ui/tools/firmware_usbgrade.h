#pragma once
// The USB upgrade page (page 26), opened from the link submenu.
#include "ui/pages/servicepage.h"

namespace Ui {
class firmware_usbgrade;
}

class firmware_usbgrade : public ServicePage<Ui::firmware_usbgrade> {
    Q_OBJECT
public:
    explicit firmware_usbgrade(QWidget* parent = nullptr);

public slots:
    void menulist_back_page();

protected:
    void back_pressed() override { menulist_back_page(); }
};

inline firmware_usbgrade* g_firmware_usbgrade() {
    return pages::get<firmware_usbgrade>(PAGE_FIRMWARE_USBGRADE);
}

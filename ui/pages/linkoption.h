#pragma once
// The link submenu (page 10): serial port, Ethernet and USB upgrade. Only the
// keys open the children; touching an entry does nothing.
#include "ui/frame/pageframe.h"

#include <QDialog>
#include <memory>

namespace Ui {
class LinkOption;
}

class LinkOption : public FramePage<QDialog> {
    Q_OBJECT
public:
    explicit LinkOption(QWidget* parent = nullptr);
    ~LinkOption() override;

    void menulist_init();
    void language_changed() override;
    void syncUpdate(int code) override;

    // Reached from OK only (no button is connected to them).
    void on_Button_linkcom_clicked();
    void on_Button_linkwlan_clicked();
    void on_Button_firmware_usbgrade_clicked();

public slots:
    void slot_Button_back_clicked();

protected:
    void entry_ok(int index) override;
    void back_pressed() override { slot_Button_back_clicked(); }

private:
    std::unique_ptr<Ui::LinkOption> ui;
};

inline LinkOption* g_linkoption() {
    return pages::get<LinkOption>(PAGE_LINKOPTION);
}

#pragma once
// The image-quality submenu (page 11): picture quality and colour
// temperature.
#include "ui/frame/pageframe.h"

#include <QDialog>
#include <memory>

namespace Ui {
class ImageQuality;
}

class ImageQuality : public FramePage<QDialog> {
    Q_OBJECT
public:
    explicit ImageQuality(QWidget* parent = nullptr);
    ~ImageQuality() override;

    void menulist_init();
    void language_changed() override;
    void syncUpdate(int code) override;

public slots:
    void on_Button_quality_clicked();
    void on_Button_temperature_clicked();
    void slot_Button_back_clicked();

protected:
    void entry_ok(int index) override;
    void back_pressed() override { slot_Button_back_clicked(); }

private:
    std::unique_ptr<Ui::ImageQuality> ui;
};

inline ImageQuality* g_imagequality() {
    return pages::get<ImageQuality>(PAGE_IMAGEQUALITY);
}

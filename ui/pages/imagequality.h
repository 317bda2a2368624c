#pragma once
// The image-quality submenu (page 11): picture quality and colour
// temperature.
#include "ui/frame/menupage.h"

class ImageQuality : public MenuPage {
    Q_OBJECT
public:
    static constexpr PAGE_ID ID = PAGE_IMAGEQUALITY;
    explicit ImageQuality(QWidget* parent = nullptr);
};

inline ImageQuality* g_imagequality() {
    return pages::get<ImageQuality>();
}

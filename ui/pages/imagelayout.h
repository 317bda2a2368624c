#pragma once
// The window layout view (page 9), opened from the settings menu: the six
// windows as tiles and the values of the selected one. Left and Right pick
// the window, which becomes the panel's current window; nothing is edited.
#include "ui/frame/pageframe.h"

#include <QDialog>
#include <memory>

namespace Ui {
class ImageLayout;
}

class ImageLayout : public FramePage<QDialog> {
    Q_OBJECT
public:
    static constexpr PAGE_ID ID = PAGE_IMAGELAYOUT;
    explicit ImageLayout(QWidget* parent = nullptr);
    ~ImageLayout() override;

    void menulist_init();
    // The state line and the selection frame of the selected window.
    void image_init();
    // The info frame of the selected window.
    void image_para_update();
    // Lights icon attr + 1 for attr 0..3; other values leave the icons.
    void mirror_select(int attr);
    // Both of the above.
    void para_init() override;
    void language_changed() override;
    void syncUpdate(int code) override;

    uint8_t selected() const { return ui_window; }

public slots:
    void slot_Button_back_clicked();

protected:
    bool page_key(PanelKey k, int key) override;
    void back_pressed() override { slot_Button_back_clicked(); }

private:
    void step_window(int dir);

    std::unique_ptr<Ui::ImageLayout> ui;
    uint8_t ui_window = 0;  // the selected window 0..5
    int mirror_lit = -1;    // the icon lit now (4: none), -1 before the first
};

inline ImageLayout* g_imagelayout() {
    return pages::get<ImageLayout>();
}

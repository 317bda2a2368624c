#pragma once
// The user-mode page (page 4), shown with show() over MainWindow: steps
// through the 16 user-mode slots, shows the selected one's summary and a
// preview of its windows or its OSD settings, and invokes or deletes it.
#include "ui/frame/pageframe.h"

#include <QFont>
#include <QWidget>
#include <array>

namespace Ui {
class CustomMode;
}
class QLabel;
class QPushButton;
class ryncontrol;

class CustomMode : public FramePage<QWidget> {
    Q_OBJECT
public:
    static constexpr PAGE_ID ID = PAGE_CUSTOMMODE;
    explicit CustomMode(QWidget* parent = nullptr);
    ~CustomMode() override;

    // Selects the current mode and draws it (after construction).
    void para_init() override;
    void init();
    void menulist_init();
    void language_changed() override;
    // syncUpdate: the frame's (the language only); the slot shown is
    // redrawn by the page's own steps.

    // The summary and the preview of slot g_mode_select.
    void lcd_para_init();
    void image_para_init();
    static void color_fill(QLabel* label, char index);

    void ryn_button_mode_clicked();
    // Mode 0 focuses button `index` and redraws, 1 unfocuses it, 2 all.
    void ryn_button_selinfo(char mode, char index);
    bool get_mode_status() const;

    ryncontrol* mode_box() const { return box; }
    QWidget* preview_widget() const { return preview; }
    // The selected slot 0..15: the focused entry of the browsing level.
    int mode_sel() const { return focus.index(); }
    // 0 browsing, 1 the action row has the focus.
    bool ui_edit() const { return level == &row; }

    uint8_t button_select = 0;  // 0 Button_use, 1 Button_delete, 2 Button_more
    uint8_t button_hidden = 1;  // 1 while Button_more is hidden

public slots:
    void on_Button_use_clicked();
    void on_Button_delete_clicked();
    void slot_Button_back_clicked();

protected:
    bool page_key(PanelKey k, int key) override;
    void back_pressed() override;

private:
    // The three action buttons, in one size.
    void text_buttons();
    void enter_row();
    void leave_row();
    void step_button(int delta);
    void build_preview();
    void show_window_list();
    void show_osd_view();
    QPushButton* action_button(int index) const;

    Ui::CustomMode* ui;
    // The second level: the action buttons, drawn by ryn_button_selinfo.
    FocusList row;
    ryncontrol* box = nullptr;
    QFont preview_font;
    QWidget* preview = nullptr;
    // Per window: number tile, source line, position line.
    std::array<QLabel*, WINDOW_COUNT> tile{}, source_line{}, position_line{};
    QLabel* osd_info = nullptr;
    QLabel* osd_sample = nullptr;
    const QString style_focus;
    const QString style_default;
};

inline CustomMode* g_custommode() {
    return pages::get<CustomMode>();
}

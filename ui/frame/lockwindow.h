#pragma once
// The home screen (page 0): LED size, brightness, contrast, audio state,
// address and one tile per window. Read-only; OK or a touch leads to the
// main menu, MODE to the user modes. Shown with show() over MainWindow.
#include "ui/frame/pageframe.h"

#include <QDialog>
#include <QFrame>
#include <QPointer>

namespace Ui {
class LockWindow;
}

class LockWindow : public FramePage<QDialog> {
    Q_OBJECT
public:
    static constexpr PAGE_ID ID = PAGE_LOCKWINDOW;
    explicit LockWindow(QWidget* parent = nullptr);
    ~LockWindow() override;

    void para_init() override;
    void language_changed() override;
    // Rebuilds the six window tiles from the block.
    void image_init();
    void ip_changed();
    // True when the audio window's sound is on.
    bool volume_check() const;
    void syncUpdate(int code) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    QFrame* tiles_frame() const { return tiles; }

public slots:
    void on_main_Button_clicked();

protected:
    void entry_ok(int) override;
    void back_pressed() override {}

private:
    void set_led_size_text();
    void set_volume_icon();
    void build_tile(int w, uint16_t screen_black, const QFont& font);
    void leave_to_mainwindow();

    Ui::LockWindow* ui;
    QPointer<QFrame> tiles;
};

inline LockWindow* g_lockwindow() { return pages::get<LockWindow>(); }

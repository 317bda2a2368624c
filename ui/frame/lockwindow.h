#pragma once
// The home screen (page 0): LED size, brightness, contrast, audio state,
// address and one tile per window. Read-only; OK or a touch leads to the
// main menu, MODE to the user modes. Shown with show() over MainWindow.
#include "ui/frame/pageframe.h"

#include <QDialog>
#include <QFrame>
#include <QPointer>
#include <array>

class QLabel;
class QRect;

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
    // Brings the six window tiles in line with the block.
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
    // One tile's labels; the name, the current-window mark and the freeze
    // mark exist only while they show.
    struct Tile {
        QLabel* number = nullptr;
        QPointer<QLabel> name;
        QLabel* info = nullptr;
        QPointer<QLabel> mark;
        QPointer<QLabel> freeze;
    };
    void create_tiles();
    QLabel* new_text_label(const QString& name);
    // A home screen built ahead for the next opening (pages::keep_spare).
    static void make_spare();
    void update_tile(int w, uint16_t screen_black);
    static void set_badge(QPointer<QLabel>* badge, QLabel* number, bool shown, const QString& name, const QRect& rect,
                          const QString& image);
    void leave_to_mainwindow();

    Ui::LockWindow* ui;
    QPointer<QFrame> tiles;
    std::array<Tile, WINDOW_COUNT> tile_{};
};

inline LockWindow* g_lockwindow() {
    return pages::get<LockWindow>();
}

#pragma once
// The main menu (page 1) and the program's 10 ms clock.
#include "ui/frame/pageframe.h"

#include <QMainWindow>
#include <memory>

namespace Ui {
class MainWindow;
}
class QLabel;
class ModeGrid;

class MainWindow : public FramePage<QMainWindow> {
    Q_OBJECT
public:
    static constexpr PAGE_ID ID = PAGE_MAINWINDOW;
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // The shared number keypad and notice (g_numberkeyboard, g_tip), each
    // made once: on first use (shared_keypad(), shared_tip()), or by the
    // constructor unless start-up defers them. The menu's pictures and
    // block values: by the constructor, or once the first frame is shown
    // when start-up defers them (the home screen covers the menu then).
    static bool defer_until_first_frame;
    static void create_shared_widgets();
    void show_pictures();

    void menulist_init();
    void para_init() override;
    void language_changed() override;
    void syncUpdate(int code) override;
    void ip_changed();
    // One ageing-log sample (FPGA registers 42, 40, 43 with the time).
    void getagelog();

    // Set after a user mode was loaded or saved from the quick grid; the
    // dispatcher shows the done notice and clears it.
    uint8_t tip_done_request = 0;
    uint8_t lock_state_shown = 0;

    // The tool strip's quick user-mode grid: open for loading or for saving.
    uint8_t load_mode = 0;
    uint8_t save_mode = 0;
    bool grid_open() const { return load_mode || save_mode; }
    int grid_index() const { return grid.index(); }
    QWidget* grid_widget();
    // Fills the grid's 16 slots from the slot markers and the current mode.
    void mode_init();
    // A user mode was saved (the dispatcher saves after the scaler took the
    // request): an open grid shows the slot saved and in use.
    void user_mode_saved() {
        if (grid_open())
            mode_init();
    }
    // Hides the grid before a page opens (the button images stay).
    void mode_window_close();
    // Moves the grid selection: dir 0 left, 1 right.
    void on_usermodesel_clicked(char dir);
    // Back in the grid and Back in the strip.
    void on_deletewidgetmode_clicked();
    void on_toolusermode_clicked();

public slots:
    void slot_update_timer_ticks();
    void update_start();
    void update_over();
    void on_machinestate_clicked();
    void on_inputchoose_clicked();
    void on_custommode_clicked();
    void on_option_clicked();
    void on_Button_lock_clicked();
    void on_tools_clicked();
    void on_toolButton1_clicked();
    void on_toolButton2_clicked();
    void on_toolButton3_clicked();
    void on_toolButton4_clicked();
    // A slot button of the grid (touch, or OK in the grid).
    void ryn_button_mode_clicked();

protected:
    const FocusStyles& entry_styles(int index) const override;
    bool page_key(PanelKey k, int key) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void show_lock(uint16_t value);
    void build_grid();
    void hide_grid();
    void close_grid();
    // Load (false) and save (true) open the grid alike. A reopening after a
    // save keeps the selection on the slot just saved.
    void open_grid(bool save, bool keep_selection = false);
    void show_grid();
    void click_slot(int slot);
    void leave_strip();

    Ui::MainWindow* ui;
    // The strip's four buttons, and the grid's 16 slots (drawn by mode_init).
    FocusList strip;
    FocusList grid;
    std::unique_ptr<ModeGrid> mode_grid;  // made when the grid first opens
    QLabel* pointer = nullptr;
};

inline MainWindow* g_mainwindow() {
    return pages::get<MainWindow>();
}

#pragma once
// The main menu (page 1) and the program's 10 ms clock.
#include "ui/frame/pageframe.h"

#include <QMainWindow>
#include <array>

namespace Ui {
class MainWindow;
}

class MainWindow : public FramePage<QMainWindow> {
    Q_OBJECT
public:
    static constexpr PAGE_ID ID = PAGE_MAINWINDOW;
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

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

protected:
    const FocusStyles& entry_styles(int index) const override;
    bool page_key(PanelKey k, int key) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void show_lock(uint16_t value);

    Ui::MainWindow* ui;
};

inline MainWindow* g_mainwindow() { return pages::get<MainWindow>(); }

#include "ui/frame/shared_widgets.h"

#include "ui/frame/mainwindow.h"

NumberKeyboard* g_numberkeyboard = nullptr;
My_lineEdit* g_lineedit = nullptr;
TIP* g_tip = nullptr;
volatile uint8_t g_tip_flag = 0;
QRoundProgressBar* g_qround_bar = nullptr;
FirmwareUpdate* g_move_update = nullptr;

NumberKeyboard* shared_keypad() {
    if (!g_numberkeyboard)
        MainWindow::create_shared_widgets();
    return g_numberkeyboard;
}

TIP* shared_tip() {
    if (!g_tip)
        MainWindow::create_shared_widgets();
    return g_tip;
}

#include "ui/frame/shared_widgets.h"

#include "ui/frame/mainwindow.h"
#include "ui/frame/numberkeyboard.h"
#include "ui/frame/tip.h"

NumberKeyboard* g_numberkeyboard = nullptr;
My_lineEdit* g_lineedit = nullptr;
TIP* g_tip = nullptr;
volatile uint8_t g_tip_flag = 0;
QRoundProgressBar* g_qround_bar = nullptr;
FirmwareUpdate* g_move_update = nullptr;

NumberKeyboard* shared_keypad() {
    if (!g_numberkeyboard) {
        g_numberkeyboard = new NumberKeyboard(nullptr);
        g_numberkeyboard->setWindowFlags(g_numberkeyboard->windowFlags() | Qt::FramelessWindowHint);
        // Over the right half of the screen, so the page's left half stays
        // visible; the menu shows once the panel has started.
        if (const MainWindow* main = g_mainwindow(); main && main->isVisible())
            g_numberkeyboard->setGeometry(main->x() + 160, main->y(), 160, 240);
    }
    return g_numberkeyboard;
}

TIP* shared_tip() {
    if (!g_tip)
        g_tip = new TIP(nullptr);
    return g_tip;
}

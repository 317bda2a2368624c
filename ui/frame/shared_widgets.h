#pragma once
// The widgets every page shares, each made on first use. GUI thread only.
#include <cstdint>

class NumberKeyboard;
class My_lineEdit;
class TIP;
class QRoundProgressBar;
class FirmwareUpdate;

extern NumberKeyboard* g_numberkeyboard;
extern My_lineEdit* g_lineedit;  // the field the keypad edits, while it shows
extern TIP* g_tip;
extern volatile uint8_t g_tip_flag;  // 1 while a timed notice shows
extern QRoundProgressBar* g_qround_bar;
extern FirmwareUpdate* g_move_update;

// The number keypad and the notice, each made on its first use: the keypad
// costs as much as the home screen, and nothing shows either before a key
// is pressed. MainWindow::create_shared_widgets makes both at once.
NumberKeyboard* shared_keypad();
TIP* shared_tip();

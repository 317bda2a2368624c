#pragma once
// The widgets every page shares, made once by the main window (the tools'
// banner and progress ring on first use). GUI thread only.
#include <cstdint>

class NumberKeyboard;
class My_lineEdit;
class TIP;
class QRoundProgressBar;
class FirmwareUpdate;

extern NumberKeyboard* g_numberkeyboard;
extern My_lineEdit* g_lineedit; // the field the keypad edits, while it shows
extern TIP* g_tip;
extern volatile uint8_t g_tip_flag; // 1 while a timed notice shows
extern QRoundProgressBar* g_qround_bar;
extern FirmwareUpdate* g_move_update;

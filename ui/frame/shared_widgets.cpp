#include "ui/frame/shared_widgets.h"

NumberKeyboard* g_numberkeyboard = nullptr;
My_lineEdit* g_lineedit = nullptr;
TIP* g_tip = nullptr;
volatile uint8_t g_tip_flag = 0;
QRoundProgressBar* g_qround_bar = nullptr;
FirmwareUpdate* g_move_update = nullptr;

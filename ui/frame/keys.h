#pragma once
// The panel keys as they reach the program, and the USB keypad letters.
#include <Qt>

enum PANEL_KEY : int {
    PANEL_KEY_LEFT = Qt::Key_F4,
    PANEL_KEY_RIGHT = Qt::Key_F5,
    PANEL_KEY_OK = Qt::Key_F6,
    PANEL_KEY_BACK = Qt::Key_PowerOff,
    PANEL_KEY_MODE = Qt::Key_Stop
};

// Keypad letters that double the panel keys.
enum PANEL_LETTER : int {
    PANEL_LETTER_LEFT = 'S',
    PANEL_LETTER_RIGHT = 'R',
    PANEL_LETTER_OK = 'Q',
    PANEL_LETTER_BACK = 'O',
    PANEL_LETTER_MODE = 'M'
};

enum USB_KEY : int {
    USB_KEY_WIN0 = 'A',
    USB_KEY_WIN1,
    USB_KEY_WIN2,
    USB_KEY_WIN3,
    USB_KEY_WIN4,
    USB_KEY_WIN5,
    USB_KEY_SRC0 = 'G',
    USB_KEY_SRC1 = 'H',
    USB_KEY_SRC4 = 'I',
    USB_KEY_SRC5 = 'J',
    USB_KEY_SRC2 = 'K',
    USB_KEY_SRC3 = 'L',
    USB_KEY_FREEZE = 'N',
    USB_KEY_BLACK = 'P'
};

enum class PanelKey { Left, Right, Ok, Back, Mode, Other };

constexpr PanelKey panel_key(int key) {
    switch (key) {
    case PANEL_KEY_LEFT:
    case PANEL_LETTER_LEFT: return PanelKey::Left;
    case PANEL_KEY_RIGHT:
    case PANEL_LETTER_RIGHT: return PanelKey::Right;
    case PANEL_KEY_OK:
    case PANEL_LETTER_OK: return PanelKey::Ok;
    case PANEL_KEY_BACK:
    case PANEL_LETTER_BACK: return PanelKey::Back;
    case PANEL_KEY_MODE:
    case PANEL_LETTER_MODE: return PanelKey::Mode;
    default: return PanelKey::Other;
    }
}

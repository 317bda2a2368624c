#pragma once
// Page ids, dispatcher codes, languages and other small enumerations shared
// by the core and the pages.
#include <cstdint>

enum PAGE_ID : uint8_t {
    PAGE_LOCKWINDOW = 0,
    PAGE_MAINWINDOW = 1,
    PAGE_MACHINESTATE = 2,
    PAGE_INPUTCHOOSE = 3,
    PAGE_CUSTOMMODE = 4,
    PAGE_OPTION = 5,
    PAGE_OUTPUTSET = 6,
    PAGE_INPUTCUT = 7,
    PAGE_EDIDSET = 8,
    PAGE_IMAGELAYOUT = 9,
    PAGE_LINKOPTION = 10,
    PAGE_IMAGEQUALITY = 11,
    PAGE_ADVANCEDOPTION = 12,
    PAGE_LEDSET = 13,
    PAGE_NETSET = 14,
    PAGE_LCDSHOW = 15,
    PAGE_TEST_CHART = 16,
    PAGE_OTHERSETUP = 17,
    PAGE_FACTORY = 18,
    PAGE_QUALITY = 19,
    PAGE_TEMPERATURE = 20,
    PAGE_LINKCOM = 21,
    PAGE_LINKWLAN = 22,
    PAGE_FACTORYAGE = 23,
    PAGE_SMARTMAPPING = 24,
    PAGE_RCV_RECOVERY = 25,
    PAGE_FIRMWARE_USBGRADE = 26,
    PAGE_COUNT = 27
};

enum SYNC_CODE : int {
    SYNC_PARA = 1,
    SYNC_USERMODE_PC = 2,
    SYNC_OUTPUT_LINK = 11,
    SYNC_INPUT_TIMING = 12,
    SYNC_RECOVERY_DONE = 99,
    SYNC_USB_ADDED = 100,
    SYNC_USB_REMOVED = 101,
    SYNC_USB_MOUNTED = 102,
    SYNC_PC_FILE_END = 103,
    SYNC_USB_UPGRADE = 104,
    SYNC_PC_UPDATE_START = 105,
    SYNC_PC_UPDATE_OVER = 106
};

enum C331_APPLY : uint8_t { C331_APPLY_NONE = 0, C331_APPLY_EDIT = 1, C331_APPLY_PC_MODES = 2 };

enum LCD_LANG : uint8_t {
    LANG_SCHINESE = 0,
    LANG_ENGLISH = 1,
    LANG_RUSSIAN = 2,
    LANG_VIETNAMESE = 3,
    LANG_TCHINESE = 4,
    LANG_COUNT = 5
};
constexpr uint32_t LCD_LANG_VALID_ALL = 0x1F;

enum LED_PARA_STATE : uint8_t { LED_PARA_IDLE = 0, LED_PARA_REQUEST = 1, LED_PARA_PANEL_DONE = 2 };

enum PASSBY_PORT : uint8_t { PASSBY_RS485 = 1, PASSBY_TCP = 2, PASSBY_UDP = 3, PASSBY_NONE = 255 };

constexpr int SOURCE_COUNT = 6;  // source ids 0 EXT, 1 DVI, 2..5 HDMI1..HDMI4
constexpr int WINDOW_COUNT = 6;  // windows the scaler lays out
constexpr int CROP_COUNT = 40;   // crop records in the block
constexpr int USER_MODE_COUNT = 16;

#pragma once
// Offsets of the fields of the 4096-byte parameter block. All multi-byte
// fields are little-endian; the PC protocol uses the same offsets.
#include <cstdint>

namespace blk {
constexpr int SIZE = 4096;
constexpr int PERSIST_BEGIN = 768;            // bytes 768..4095 are saved to the parameter file
constexpr int MODE_BEGIN = 896;               // bytes 896..4095 are what a user mode keeps
constexpr int MODE_SIZE = SIZE - MODE_BEGIN;  // 3200

constexpr int INPUT_INFO = 256;  // + 6s: u16 width, u16 height, u8 rate, u8 0
constexpr int INPUT_INFO_SIZE = 6;
constexpr int LCD_LANGUAGE = 768;       // u16
constexpr int PANEL_LOCK = 772;         // u16
constexpr int TEST_PATTERN = 864;       // u8
constexpr int CURRENT_MODE = 866;       // u16, 1..16, 0 none
constexpr int MODE_SAVE_REQUEST = 868;  // u16, 1..16, 0 none
constexpr int EDID_PARA = 896;          // + 6s: u16 width, u16 height, u16 rate
constexpr int EDID_PARA_SIZE = 6;
constexpr int SPLICE_MODE = 1376;
constexpr int LED_WIDTH = 1378;
constexpr int LED_HEIGHT = 1380;
constexpr int OUT1_X = 1408;
constexpr int OUT1_Y = 1410;
constexpr int OUT1_W = 1412;
constexpr int OUT1_H = 1414;
constexpr int OUT2_X = 1416;
constexpr int OUT2_Y = 1418;
constexpr int OUT2_W = 1420;
constexpr int OUT2_H = 1422;
constexpr int CROP = 1472;  // 40 records of 10 bytes
constexpr int CROP_SIZE = 10;
constexpr int CROP_SOURCE = 0;  // u8 source id
constexpr int CROP_ID = 1;      // u8 bit 7 used, bits 0..6 crop number - 1
constexpr int CROP_X = 2;
constexpr int CROP_Y = 4;
constexpr int CROP_W = 6;
constexpr int CROP_H = 8;
constexpr int AUDIO_WINDOW = 2112;
constexpr int SCREEN_BLACK = 2116;
constexpr int OSD_ENABLE = 2124;
constexpr int BRIGHTNESS = 2176;
constexpr int CONTRAST = 2178;
constexpr int WINDOW = 2272;  // + 26w, w 0..15
constexpr int WINDOW_SIZE = 26;
constexpr int WINDOW_SLOTS = 16;
constexpr int WIN_ENABLE = 0;
constexpr int WIN_ATTR = 4;
constexpr int WIN_SOURCE = 8;  // bit 15 clear: source id; set: crop index in the low byte
constexpr int WIN_X = 10;
constexpr int WIN_Y = 12;
constexpr int WIN_WIDTH = 14;
constexpr int WIN_HEIGHT = 16;
constexpr int WIN_OUTPUT = 18;  // bit 0 black, bit 1 freeze, bit 8 pixel-to-pixel
constexpr int WIN_AUDIO = 20;   // bit 15 sound on, low byte volume
constexpr int WIN_DBD_MODE = 22;
// A window is shown while bit 0 of its enable word is set. Its writers (the
// factory defaults, the LED page, a recalled mode, the PC's parameter
// writes) store 1 or 0; every page and the keypad read any other value by
// this one rule, so that no two of them disagree on a window.
constexpr bool window_shown(uint16_t enable_word) {
    return (enable_word & 1) != 0;
}

constexpr uint16_t SOURCE_CROP_BIT = 0x8000;
constexpr uint16_t OUTPUT_BLACK = 0x0001;
constexpr uint16_t OUTPUT_FREEZE = 0x0002;
constexpr uint16_t AUDIO_ON = 0x8000;
constexpr uint8_t CROP_USED = 0x80;

constexpr int input_info(int s) {
    return INPUT_INFO + INPUT_INFO_SIZE * s;
}
constexpr int edid(int s) {
    return EDID_PARA + EDID_PARA_SIZE * s;
}
constexpr int crop(int i) {
    return CROP + CROP_SIZE * i;
}
constexpr int window(int w) {
    return WINDOW + WINDOW_SIZE * w;
}
constexpr int window(int w, int field) {
    return WINDOW + WINDOW_SIZE * w + field;
}

inline uint16_t rd16(const uint8_t* b, int off) {
    return static_cast<uint16_t>(b[off] | (b[off + 1] << 8));
}
inline void wr16(uint8_t* b, int off, uint16_t v) {
    b[off] = static_cast<uint8_t>(v & 0xFF);
    b[off + 1] = static_cast<uint8_t>(v >> 8);
}
}  // namespace blk

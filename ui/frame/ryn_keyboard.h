#pragma once
// The USB keypad: shortcut letters and the probe for the keypad at start.
#include <array>
#include <cstdint>

constexpr uint16_t RYN_KEYPAD_VID = 0x28E9;
constexpr uint16_t RYN_KEYPAD_PID = 0x0380;

// Stateless; every page holds one and passes it every released key last.
class ryn_keyboard {
public:
    void update_usb_keyEvent(int key);
};

// 1 when the keypad is attached, 0 if not or if the HID library cannot start.
int check_hiddev();

// Sends the keypad's light report for the current state (no-op unless the
// keypad was found at start).
void ryn_keys_update_lights();
// The five bytes of that report (see ryn_keyboard.cpp for the layout).
std::array<uint8_t, 5> ryn_keys_light_report();

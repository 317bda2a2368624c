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

struct hid_device_info;

// 1 when the keypad is attached, 0 if not or if the HID library cannot start.
int check_hiddev();
// Walks a HID device list (logging each device visited) up to the first
// entry with the keypad's vendor and product id: 1 when there is one.
int find_ryn_keypad(const hid_device_info* list);

// Sends the keypad's light report for the current state (no-op unless the
// keypad was found at start).
void ryn_keys_update_lights();
// The five bytes of that report (see ryn_keyboard.cpp for the layout).
std::array<uint8_t, 5> ryn_keys_light_report();
// Where the report goes: the keypad over HID; a test records it instead.
extern void (*ryn_keys_light_writer)(const std::array<uint8_t, 5>& report);

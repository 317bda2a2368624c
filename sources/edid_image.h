#pragma once
// The 128-byte EDID base block that an input's EEPROM holds, built from the
// width, height and refresh rate of its entry in the parameter block.
#include <array>
#include <cstdint>
#include <string>

using EdidImage = std::array<uint8_t, 128>;

// Fills `out` with an EDID 1.3 base block announcing width x height at
// `rate` Hz as its preferred timing (reduced blanking). Returns false and
// leaves `out` untouched when no timing can be built from the values (a
// zero, a size past the descriptor's 12 bits, a rate or pixel clock out of
// range); `why` then says which.
bool edid_build(uint16_t width, uint16_t height, uint16_t rate, EdidImage* out, std::string* why = nullptr);

// True when the block's header and checksum are those of an EDID base block.
bool edid_valid(const EdidImage& image);

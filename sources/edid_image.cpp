#include "sources/edid_image.h"

#include <algorithm>
#include <cstring>

namespace {
// Reduced blanking: fixed horizontal blanking, a vertical blanking of at
// least 460 microseconds.
constexpr int H_BLANK = 160, H_FRONT = 48, H_SYNC = 32;
constexpr int V_FRONT = 3, V_SYNC = 5, V_BACK_MIN = 6;
constexpr double V_BLANK_US = 460.0;
constexpr int MAX_ACTIVE = 4095;         // 12 bits in the timing descriptor
constexpr long MAX_CLOCK_10KHZ = 65535;  // 16 bits of 10 kHz
constexpr int MAX_RATE = 240;

bool refuse(std::string* why, const char* reason) {
    if (why)
        *why = reason;
    return false;
}

void put_descriptor_text(uint8_t* d, uint8_t tag, const char* text) {
    std::memset(d, 0, 18);
    d[3] = tag;
    size_t i = 0;
    for (; text[i] && i < 13; ++i)
        d[5 + i] = uint8_t(text[i]);
    if (i < 13)
        d[5 + i++] = 0x0A;
    for (; i < 13; ++i)
        d[5 + i] = 0x20;
}
}  // namespace

bool edid_build(uint16_t width, uint16_t height, uint16_t rate, EdidImage* out, std::string* why) {
    // The page stores whatever was typed: every divisor below is checked
    // here, before any arithmetic.
    if (width == 0 || height == 0 || rate == 0)
        return refuse(why, "zero width, height or refresh rate");
    if (width > MAX_ACTIVE || height > MAX_ACTIVE)
        return refuse(why, "size beyond 4095");
    if (rate > MAX_RATE)
        return refuse(why, "refresh rate above 240 Hz");

    const double frame_us = 1e6 / rate;
    const double line_us = (frame_us - V_BLANK_US) / height;
    if (line_us <= 0)
        return refuse(why, "no time left for the picture lines");
    const int v_blank = std::max(int(V_BLANK_US / line_us) + 1, V_FRONT + V_SYNC + V_BACK_MIN);
    if (v_blank > MAX_ACTIVE)
        return refuse(why, "vertical blanking beyond 4095 lines");
    const long h_total = long(width) + H_BLANK;
    const long v_total = long(height) + v_blank;
    const long clock = (h_total * v_total * rate + 5000) / 10000;  // 10 kHz units
    if (clock < 1 || clock > MAX_CLOCK_10KHZ)
        return refuse(why, "pixel clock beyond 655.35 MHz");
    const long h_khz = clock * 10 / h_total;

    EdidImage e{};
    const uint8_t header[8] = {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};
    std::memcpy(e.data(), header, 8);
    e[8] = 0x30;  // maker "LED", three 5-bit letters
    e[9] = 0xA4;
    e[10] = 0x01;  // product 1
    e[16] = 1;     // week 1 of
    e[17] = 30;    // 2020
    e[18] = 1;     // version 1.3
    e[19] = 3;
    e[20] = 0x80;  // digital input
    e[23] = 120;   // gamma 2.2
    e[24] = 0x0A;  // RGB colour, preferred timing in the first descriptor
    const uint8_t srgb[10] = {0xEE, 0x91, 0xA3, 0x54, 0x4C, 0x99, 0x26, 0x0F, 0x50, 0x54};
    std::memcpy(e.data() + 25, srgb, 10);
    for (int i = 38; i < 54; ++i)
        e[size_t(i)] = 0x01;  // no standard timings

    uint8_t* d = e.data() + 54;  // preferred timing
    d[0] = uint8_t(clock & 0xFF);
    d[1] = uint8_t(clock >> 8);
    d[2] = uint8_t(width & 0xFF);
    d[3] = uint8_t(H_BLANK & 0xFF);
    d[4] = uint8_t(((width >> 8) << 4) | (H_BLANK >> 8));
    d[5] = uint8_t(height & 0xFF);
    d[6] = uint8_t(v_blank & 0xFF);
    d[7] = uint8_t(((height >> 8) << 4) | (v_blank >> 8));
    d[8] = uint8_t(H_FRONT);
    d[9] = uint8_t(H_SYNC);
    d[10] = uint8_t((V_FRONT << 4) | V_SYNC);
    d[11] = 0;
    d[17] = 0x1A;  // digital separate sync, horizontal +, vertical -

    d = e.data() + 72;  // range limits
    std::memset(d, 0, 18);
    d[3] = 0xFD;
    d[5] = uint8_t(std::min<int>(rate, 24));
    d[6] = uint8_t(std::max<int>(rate, 75));
    d[7] = uint8_t(std::min<long>(h_khz, 15));
    d[8] = uint8_t(std::min<long>(std::max<long>(h_khz + 1, 80), 255));
    d[9] = uint8_t(std::min<long>((clock + 999) / 1000, 255));  // 10 MHz units
    d[10] = 0x00;
    d[11] = 0x0A;
    for (int i = 12; i < 18; ++i)
        d[i] = 0x20;

    put_descriptor_text(e.data() + 90, 0xFC, "LED PROCESSOR");
    e[108 + 3] = 0x10;  // dummy descriptor

    uint8_t sum = 0;
    for (size_t i = 0; i < 127; ++i)
        sum = uint8_t(sum + e[i]);
    e[127] = uint8_t(0x100 - sum);
    *out = e;
    return true;
}

bool edid_valid(const EdidImage& image) {
    const uint8_t header[8] = {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};
    if (std::memcmp(image.data(), header, 8) != 0)
        return false;
    uint8_t sum = 0;
    for (uint8_t b : image)
        sum = uint8_t(sum + b);
    return sum == 0;
}

#pragma once
// The language rule for every text and image of the front panel.
#include <QString>
#include <array>

// Five texts of one label: simplified Chinese, English, Russian,
// Vietnamese, traditional Chinese.
using Text5 = std::array<const char*, 5>;

// The language to show: g_language when it is 0..4 and offered in
// g_lcd_lang_valid, English otherwise.
int lang_pick();
// The text of `t` for the language to show.
QString tr5(const Text5& t);
// ":/png/" + the language prefix ("", "en_", "ru_", "vn_", "tn_") + `name`.
QString png_lang(const QString& name);
// ":/png/" + `name`, for images without a language.
QString png(const QString& name);

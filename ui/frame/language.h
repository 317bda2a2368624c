#pragma once
// The language rule for every text and image of the front panel.
#include <QString>

class QWidget;
#include <array>
#include <initializer_list>
#include <utility>
#include <vector>

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
// Fills each "%d" of a translated text in turn with the next value.
QString fill_numbers(QString text, std::initializer_list<int> values);
class QFont;
// The application's font at `px` pixels.
QFont pixel_font(int px);
// The pixel size of `base` or smaller, down to 6, in which every line of
// `text` is at most `room` pixels wide.
int fitting_pixel_size(const QFont& base, const QString& text, int room);
class QAbstractButton;
// The width a button's text may take: inside its style sheet's border and
// padding, beside its icon.
int button_text_room(QAbstractButton* button);
// Sets `text` on a label or button, in the widget's own font when the text
// fits its width, else in the largest smaller pixel size that fits (down to
// 6 pixels): the longer languages keep their words and stay in the box.
// Soft hyphens are left out.
void set_fitted_text(QWidget* widget, const QString& text);
// Sets each text as set_fitted_text does, all in the one pixel size that
// the tightest needs: a row of buttons or a block of lines reads as a set.
void set_fitted_texts(const std::vector<std::pair<QWidget*, QString>>& items);

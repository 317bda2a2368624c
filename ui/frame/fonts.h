#pragma once
// The panel's fonts: the texts of the five languages must fit the boxes
// the pages give them on the 320x240 screen.
#include <QString>
#include <Qt>

class QFont;
class QLabel;

// Sets the application font: a narrow family for Latin, Cyrillic and
// Vietnamese, with the Chinese characters from WenQuanYi Micro Hei. main
// calls it once the application exists; so do tests that measure texts.
void panel_fonts_init();
// `text` as it fits one line of `label`: without soft hyphens, and cut
// with "…" at the label's own width when it is wider.
QString fitted_text(const QLabel* label, QString text);
// QFontMetrics(font).elidedText(text, Qt::ElideRight, width), remembered:
// pages cut the same few names again at every redraw, and measuring them
// lays the text out anew each time. GUI thread only.
QString elided_text(const QFont& font, const QString& text, int width);
// For a one-line label lower than its font's line (the 12-pixel rows of
// 10-pixel text): sets it on the bottom edge, so the line gives up the
// empty row above the capitals rather than an underscore or a descender.
void align_short_row(QLabel* label, Qt::Alignment horizontal = Qt::AlignLeft);

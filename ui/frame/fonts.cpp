#include "ui/frame/fonts.h"

#include <QApplication>
#include <QFont>
#include <QFontMetrics>
#include <QLabel>

void panel_fonts_init() {
    // DejaVu Sans Condensed (fonts-dejavu-extra) sets the Russian and
    // Vietnamese texts about a tenth narrower than DejaVu Sans at the same
    // height; the Chinese characters come from WenQuanYi.
    QFont font = QApplication::font();
    font.setFamilies({QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("WenQuanYi Micro Hei")});
    QApplication::setFont(font);
}

QString fitted_text(const QLabel* label, QString text) {
    // A soft hyphen (U+00AD) marks where a word may break; on a one-line
    // label Qt draws it as a visible hyphen at the end.
    text.remove(QChar(0x00AD));
    if (!label)
        return text;
    label->ensurePolished();  // the font a style sheet gives it
    return QFontMetrics(label->font()).elidedText(text, Qt::ElideRight, label->contentsRect().width());
}

void align_short_row(QLabel* label, Qt::Alignment horizontal) {
    if (label)
        label->setAlignment(horizontal | Qt::AlignBottom);
}

#include "ui/frame/fonts.h"

#include <QApplication>
#include <QFont>
#include <QFontMetrics>
#include <QHash>
#include <QLabel>
#include <vector>

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
    return elided_text(label->font(), text, label->contentsRect().width());
}

QString elided_text(const QFont& font, const QString& text, int width) {
    struct Cut {
        QFont font;
        int width;
        QString text;
    };
    static QHash<QString, std::vector<Cut>> cuts;
    // A few dozen names and widths in use; a user renaming things for
    // long does not grow it without end.
    if (cuts.size() > 256)
        cuts.clear();
    std::vector<Cut>& known = cuts[text];
    for (const Cut& c : known)
        if (c.width == width && c.font == font)
            return c.text;
    known.push_back({font, width, QFontMetrics(font).elidedText(text, Qt::ElideRight, width)});
    return known.back().text;
}

void align_short_row(QLabel* label, Qt::Alignment horizontal) {
    if (label)
        label->setAlignment(horizontal | Qt::AlignBottom);
}

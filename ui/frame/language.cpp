#include "ui/frame/language.h"

#include "core/global.h"

#include <QtGlobal>
#include <algorithm>
#include <climits>
#include <QAbstractButton>
#include <QDir>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QStyle>
#include <QTextDocument>
#include <QStyleOptionButton>
#include <QVariant>

int lang_pick() {
    if (g_language < LANG_COUNT && (g_lcd_lang_valid & (1u << g_language)))
        return g_language;
    return LANG_ENGLISH;
}

QString tr5(const Text5& t) {
    return QString::fromUtf8(t[size_t(lang_pick())]);
}

QString fill_numbers(QString text, std::initializer_list<int> values) {
    for (int v : values) {
        const int at = text.indexOf(QLatin1String("%d"));
        if (at < 0)
            break;
        text.replace(at, 2, QString::number(v));
    }
    return text;
}

// The images live in the application library, which is static: make sure
// its resources are registered before the first image is asked for.
static void ensure_png_resources() {
    static const bool done = [] {
        Q_INIT_RESOURCE(png);
        return true;
    }();
    (void)done;
}

QString png_lang(const QString& name) {
    ensure_png_resources();
    static const char* const prefix[LANG_COUNT] = {"", "en_", "ru_", "vn_", "tn_"};
    return QStringLiteral(":/png/") + prefix[lang_pick()] + name;
}

QString png(const QString& name) {
    ensure_png_resources();
    return QStringLiteral(":/png/") + name;
}

int button_text_room(QAbstractButton* button) {
    // The style sheet's border and padding, where the button has one.
    button->ensurePolished();
    QStyleOptionButton opt;
    opt.initFrom(button);
    int room = button->style()->subElementRect(QStyle::SE_PushButtonContents, &opt, button).width();
    if (!button->icon().isNull())
        room -= button->iconSize().width() + 4;
    return room;
}

QFont pixel_font(int px) {
    QFont f;
    f.setPixelSize(px);
    return f;
}

// `text` is at most `room` pixels wide.
int fitting_pixel_size(const QFont& base, const QString& text, int room) {
    const QStringList lines = text.split(QLatin1Char('\n'));
    QFont font = base;
    int px = QFontInfo(base).pixelSize();
    for (;;) {
        int widest = 0;
        for (const QString& line : lines)
            widest = qMax(widest, QFontMetrics(font).horizontalAdvance(line));
        if (widest <= room || px <= 6)
            return px;
        font.setPixelSize(--px);
    }
}

// A row lower than the font's line (the 12-pixel rows of the summaries)
// stands on its bottom edge and takes the largest size up to `px` whose ink
// fits it: marks above and below the letters ("độ", "Chế") stay whole.
static int row_pixel_size(QLabel* label, const QFont& base, const QString& text, int px) {
    const int height = label->contentsRect().height() - 2 * label->margin();
    QFont font = base;
    font.setPixelSize(px);
    if (QFontMetrics(font).height() <= height)
        return px;
    label->setAlignment((label->alignment() & Qt::AlignHorizontal_Mask) | Qt::AlignBottom);
    for (; px > 6; font.setPixelSize(--px)) {
        const QFontMetrics fm(font);
        const QRect ink = fm.tightBoundingRect(text);
        const int baseline = height - fm.descent();
        if (baseline + ink.top() >= 0 && baseline + ink.bottom() < height)
            break;
    }
    return px;
}

void set_fitted_text(QWidget* widget, const QString& given) {
    // A soft hyphen (U+00AD) only marks where a word may break; a one-line
    // text would show it as a hyphen at its end.
    QString text = given;
    text.remove(QChar(0x00AD));
    auto* label = qobject_cast<QLabel*>(widget);
    auto* button = qobject_cast<QAbstractButton*>(widget);
    if (!label && !button)
        return;
    // The form's font is kept aside the first time, so that a shorter text
    // later gets it back.
    const char* const kBase = "fit_base_font";
    if (!widget->property(kBase).isValid())
        widget->setProperty(kBase, widget->font());
    const QFont base = widget->property(kBase).value<QFont>();
    const int room = button ? button_text_room(button) : label->contentsRect().width() - 2 * label->margin();
    int px = fitting_pixel_size(base, text, room);
    if (label && !label->wordWrap() && !text.contains(QLatin1Char('\n')) && !Qt::mightBeRichText(text))
        px = row_pixel_size(label, base, text, px);
    QFont font = base;
    if (px != QFontInfo(base).pixelSize())
        font.setPixelSize(px);
    if (widget->font() != font)
        widget->setFont(font);
    if (label && label->text() != text)
        label->setText(text);
    if (button && button->text() != text)
        button->setText(text);
}

void set_fitted_texts(const std::vector<std::pair<QWidget*, QString>>& items) {
    int px = INT_MAX;
    for (const auto& [widget, text] : items) {
        set_fitted_text(widget, text);
        px = std::min(px, QFontInfo(widget->font()).pixelSize());
    }
    for (const auto& item : items) {
        QFont font = item.first->font();
        if (QFontInfo(font).pixelSize() != px) {
            font.setPixelSize(px);
            item.first->setFont(font);
        }
    }
}

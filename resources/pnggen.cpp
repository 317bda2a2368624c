// Draws every ":/png/" image of the front panel into <out>/ and lists
// them in <out>/png.qrc. All pictures are painted here in the panel's own
// colours; pictures with words come once per language, under the prefixes
// "" (simplified Chinese), "en_", "ru_", "vn_" and "tn_".
#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QSaveFile>
#include <QTextStream>
#include <QtMath>
#include <algorithm>
#include <array>
#include <cstdio>
#include <map>
#include <set>

namespace {

const QColor kPage(33, 36, 53);
const QColor kFrame(16, 16, 28);
const QColor kWhite(255, 255, 255);
const QColor kOrange(255, 171, 84);
const QColor kGreen(0, 214, 91);
const QColor kSignal(46, 184, 84);
const QColor kRed(232, 58, 58);
const QColor kGrey(124, 127, 140);
const QColor kDim(96, 98, 112);
const QColor kBlue(71, 119, 255);
const QColor kIce(130, 205, 255);
const QColor kAmber(255, 200, 0);

constexpr int kLanguages = 5;
const std::array<const char*, kLanguages> kPrefix = {"", "en_", "ru_", "vn_", "tn_"};
using Words = std::array<const char*, kLanguages>;
using Sizes = std::array<QSize, kLanguages>;

bool is_chinese(int lang) {
    return lang == 0 || lang == 4;
}

enum class Glyph {
    None,
    Globe,
    LockClosed,
    LockOpen,
    Wrench,
    Gear,
    Led,
    Sun,
    Contrast,
    Speaker,
    SpeakerMute,
    Menu,
    Tick,
    Snowflake,
    BackArrow,
    Plus,
    Backspace,
    Warning,
    SlotEmpty,
    SlotSaved,
    Pointer,
    Dot,
    Port,
    MirrorNone,
    MirrorH,
    MirrorV,
    MirrorHV,
    EnterArrow,
    ReturnArrow,
    ScreenLit,
    ScreenBlack,
    Load,
    Save,
    Device,
    Input,
    UserModes,
    OutputArrow,
    Crop,
    Layout,
    Network,
    Picture,
    ColourBars,
    Mapping,
    Sliders,
};

// What one painter call needs: the shape, its colour, and the words or
// label in the language being drawn.
struct Art {
    Glyph glyph;
    QColor colour;
    QString text;
    int lang;
    int px = 0;  // the word's pixel size shared by a set of tiles; 0: its own
    // A taller tile of a set lays out its glyph and word in the set's own
    // height, centred, so that its word stands level with its neighbours'.
    qreal frame_h = 0;
    // The width the word may take: the button's room inside its focused
    // border and padding, where the picture is wider; 0: the picture's.
    qreal word_w = 0;
};

using Paint = void (*)(QPainter&, const QRectF&, const Art&);

// ---------------------------------------------------------------- helpers

QRectF centred_square(const QRectF& r) {
    const qreal s = std::min(r.width(), r.height());
    return QRectF(r.center().x() - s / 2, r.center().y() - s / 2, s, s);
}

// Maps unit coordinates onto a square, so that each glyph is written once
// for every size it is drawn at.
struct Unit {
    QRectF sq;
    QPointF at(qreal fx, qreal fy) const { return {sq.left() + fx * sq.width(), sq.top() + fy * sq.height()}; }
    QRectF box(qreal x0, qreal y0, qreal x1, qreal y1) const { return QRectF(at(x0, y0), at(x1, y1)); }
    qreal len(qreal f) const { return f * sq.width(); }
};

QPen line_pen(const QColor& c, qreal w) {
    return QPen(c, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

QPolygonF poly(const Unit& u, std::initializer_list<std::pair<qreal, qreal>> pts) {
    QPolygonF p;
    for (const auto& pt : pts)
        p << u.at(pt.first, pt.second);
    return p;
}

// Punches a transparent hole, for holes in solid glyphs (gear, wrench).
void clear_ellipse(QPainter& p, const QPointF& c, qreal r) {
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_Clear);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawEllipse(c, r, r);
    p.restore();
}

QFont word_font(int lang, int px, bool bold = false) {
    QFont f(QString::fromLatin1(is_chinese(lang) ? "WenQuanYi Micro Hei" : "DejaVu Sans"));
    f.setPixelSize(std::max(1, px));
    f.setBold(bold);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

constexpr int kMinWordPx = 7;

// The largest pixel size up to `px` at which `text` fits `width`, and not
// below kMinWordPx.
int fitting_px(const QString& text, int lang, qreal width, int px, bool bold = false) {
    while (px > kMinWordPx && QFontMetricsF(word_font(lang, px, bold)).horizontalAdvance(text) > width)
        --px;
    return px;
}

// Writes `text` centred in `box` at up to `px` pixels, shrinking the font
// to fit and squeezing it sideways when even the smallest size is too wide.
void draw_word(QPainter& p, const QRectF& box, const QString& text, int lang, const QColor& c, int px,
               bool bold = false) {
    px = fitting_px(text, lang, box.width(), px, bold);
    const QFont f = word_font(lang, px, bold);
    const qreal width = QFontMetricsF(f).horizontalAdvance(text);
    p.save();
    p.setFont(f);
    p.setPen(c);
    if (width > box.width() && width > 0) {
        p.translate(box.center());
        p.scale(box.width() / width, 1.0);
        p.drawText(QRectF(-width / 2, -box.height() / 2, width, box.height()), Qt::AlignCenter, text);
    } else {
        p.drawText(box, Qt::AlignCenter, text);
    }
    p.restore();
}

// ---------------------------------------------------------------- glyphs

void draw_mirror(QPainter& p, const Unit& u, const QColor& c, bool flip_h, bool flip_v) {
    p.setPen(line_pen(c, u.len(0.05)));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(u.box(0.06, 0.06, 0.94, 0.94), u.len(0.12), u.len(0.12));
    // An "F" shows which way the picture is turned.
    const std::initializer_list<std::pair<qreal, qreal>> f = {{0.32, 0.22}, {0.70, 0.22}, {0.70, 0.33}, {0.44, 0.33},
                                                              {0.44, 0.45}, {0.62, 0.45}, {0.62, 0.56}, {0.44, 0.56},
                                                              {0.44, 0.78}, {0.32, 0.78}};
    QPolygonF shape;
    for (const auto& pt : f)
        shape << u.at(flip_h ? 1.0 - pt.first : pt.first, flip_v ? 1.0 - pt.second : pt.second);
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawPolygon(shape);
}

void draw_screen(QPainter& p, const Unit& u, const QColor& c, bool lit) {
    const QRectF panel = u.box(0.08, 0.14, 0.92, 0.70);
    p.setPen(line_pen(c, u.len(0.07)));
    p.setBrush(lit ? QColor(kBlue.red(), kBlue.green(), kBlue.blue(), 170) : QColor(Qt::black));
    p.drawRoundedRect(panel, u.len(0.05), u.len(0.05));
    p.drawLine(u.at(0.5, 0.70), u.at(0.5, 0.84));
    p.drawLine(u.at(0.28, 0.86), u.at(0.72, 0.86));
    if (!lit) {
        p.setPen(line_pen(c, u.len(0.06)));
        p.drawLine(u.at(0.28, 0.26), u.at(0.72, 0.58));
    }
}

void draw_speaker(QPainter& p, const Unit& u, const QColor& c, bool muted) {
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawPolygon(poly(u, {{0.08, 0.37}, {0.26, 0.37}, {0.48, 0.16}, {0.48, 0.84}, {0.26, 0.63}, {0.08, 0.63}}));
    p.setBrush(Qt::NoBrush);
    if (muted) {
        p.setPen(line_pen(kRed, u.len(0.09)));
        p.drawLine(u.at(0.62, 0.36), u.at(0.90, 0.64));
        p.drawLine(u.at(0.62, 0.64), u.at(0.90, 0.36));
        return;
    }
    p.setPen(line_pen(c, u.len(0.08)));
    for (const qreal r : {0.18, 0.34}) {
        const QRectF arc(u.at(0.5 - r, 0.5 - r), u.at(0.5 + r, 0.5 + r));
        p.drawArc(arc, -45 * 16, 90 * 16);
    }
}

void draw_gear(QPainter& p, const Unit& u, const QColor& c) {
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    const QPointF centre = u.at(0.5, 0.5);
    for (int i = 0; i < 8; ++i) {
        p.save();
        p.translate(centre);
        p.rotate(45.0 * i);
        p.drawRect(QRectF(-u.len(0.08), -u.len(0.46), u.len(0.16), u.len(0.2)));
        p.restore();
    }
    p.drawEllipse(centre, u.len(0.33), u.len(0.33));
    clear_ellipse(p, centre, u.len(0.13));
}

void draw_hint_arrow(QPainter& p, const Unit& u, const QColor& c, bool enter) {
    p.setPen(line_pen(c, u.len(0.1)));
    p.setBrush(Qt::NoBrush);
    QPainterPath path;
    if (enter) {
        path.moveTo(u.at(0.85, 0.15));
        path.lineTo(u.at(0.85, 0.62));
        path.lineTo(u.at(0.2, 0.62));
    } else {
        path.moveTo(u.at(0.2, 0.35));
        path.lineTo(u.at(0.6, 0.35));
        path.arcTo(u.box(0.4, 0.35, 0.9, 0.85), 90, -180);
        path.lineTo(u.at(0.35, 0.85));
    }
    p.drawPath(path);
    const qreal y = enter ? 0.62 : 0.35;
    p.drawPolyline(poly(u, {{0.42, y - 0.22}, {0.2, y}, {0.42, y + 0.22}}));
}

void draw_glyph(QPainter& p, Glyph g, const QRectF& r, const QColor& c) {
    const Unit u{centred_square(r)};
    const qreal w = std::max<qreal>(1.0, u.len(1.0 / 12));
    p.save();
    p.setPen(line_pen(c, w));
    p.setBrush(Qt::NoBrush);
    switch (g) {
    case Glyph::None: break;
    case Glyph::Globe: {
        const QRectF o = u.box(0.08, 0.08, 0.92, 0.92);
        p.drawEllipse(o);
        p.drawEllipse(u.box(0.3, 0.08, 0.7, 0.92));
        p.drawLine(u.at(0.08, 0.5), u.at(0.92, 0.5));
        break;
    }
    case Glyph::LockClosed:
    case Glyph::LockOpen: {
        const bool open = g == Glyph::LockOpen;
        p.setPen(line_pen(c, std::max<qreal>(1.2, u.len(0.11))));
        QPainterPath shackle;
        const qreal lift = open ? 0.1 : 0.0;
        shackle.moveTo(u.at(0.31, 0.48));
        shackle.lineTo(u.at(0.31, 0.32 - lift));
        shackle.arcTo(u.box(0.31, 0.12 - lift, 0.69, 0.50 - lift), 180, -180);
        shackle.lineTo(u.at(0.69, open ? 0.30 - lift : 0.48));
        p.drawPath(shackle);
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        p.drawRoundedRect(u.box(0.16, 0.44, 0.84, 0.94), u.len(0.08), u.len(0.08));
        clear_ellipse(p, u.at(0.5, 0.66), u.len(0.08));
        break;
    }
    case Glyph::Wrench: {
        p.setPen(line_pen(c, u.len(0.18)));
        p.drawLine(u.at(0.18, 0.82), u.at(0.58, 0.42));
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        p.drawEllipse(u.at(0.66, 0.34), u.len(0.22), u.len(0.22));
        clear_ellipse(p, u.at(0.8, 0.2), u.len(0.12));
        break;
    }
    case Glyph::Gear: draw_gear(p, u, c); break;
    case Glyph::Led: {
        p.setBrush(Qt::NoBrush);
        p.drawRect(u.box(0.06, 0.16, 0.94, 0.84));
        p.setPen(Qt::NoPen);
        for (int row = 0; row < 3; ++row)
            for (int col = 0; col < 4; ++col) {
                p.setBrush((row + col) % 2 ? kOrange : c);
                p.drawEllipse(u.at(0.24 + 0.173 * col, 0.32 + 0.18 * row), u.len(0.055), u.len(0.055));
            }
        break;
    }
    case Glyph::Sun: {
        p.setBrush(c);
        p.drawEllipse(u.at(0.5, 0.5), u.len(0.2), u.len(0.2));
        for (int i = 0; i < 8; ++i) {
            const qreal a = qDegreesToRadians(45.0 * i);
            p.drawLine(u.at(0.5 + 0.31 * qCos(a), 0.5 + 0.31 * qSin(a)),
                       u.at(0.5 + 0.45 * qCos(a), 0.5 + 0.45 * qSin(a)));
        }
        break;
    }
    case Glyph::Contrast: {
        const QRectF o = u.box(0.1, 0.1, 0.9, 0.9);
        p.drawEllipse(o);
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        p.drawPie(o, 90 * 16, 180 * 16);
        break;
    }
    case Glyph::Speaker:
    case Glyph::SpeakerMute: draw_speaker(p, u, c, g == Glyph::SpeakerMute); break;
    case Glyph::Menu:
        p.setPen(line_pen(c, u.len(0.12)));
        for (const qreal y : {0.25, 0.5, 0.75})
            p.drawLine(u.at(0.16, y), u.at(0.84, y));
        break;
    case Glyph::Tick:
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        p.drawEllipse(u.box(0.03, 0.03, 0.97, 0.97));
        p.setPen(line_pen(kWhite, u.len(0.12)));
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(poly(u, {{0.27, 0.52}, {0.44, 0.69}, {0.75, 0.34}}));
        break;
    case Glyph::Snowflake:
        for (int i = 0; i < 6; ++i) {
            p.save();
            p.translate(u.at(0.5, 0.5));
            p.rotate(60.0 * i);
            p.drawLine(QPointF(0, 0), QPointF(0, -u.len(0.44)));
            p.drawLine(QPointF(0, -u.len(0.26)), QPointF(-u.len(0.11), -u.len(0.37)));
            p.drawLine(QPointF(0, -u.len(0.26)), QPointF(u.len(0.11), -u.len(0.37)));
            p.restore();
        }
        break;
    case Glyph::BackArrow:
        p.setPen(line_pen(c, u.len(0.1)));
        p.drawPolyline(poly(u, {{0.45, 0.22}, {0.17, 0.5}, {0.45, 0.78}}));
        p.drawLine(u.at(0.17, 0.5), u.at(0.83, 0.5));
        break;
    case Glyph::Plus:
        p.drawEllipse(u.box(0.06, 0.06, 0.94, 0.94));
        p.setPen(line_pen(c, u.len(0.1)));
        p.drawLine(u.at(0.5, 0.28), u.at(0.5, 0.72));
        p.drawLine(u.at(0.28, 0.5), u.at(0.72, 0.5));
        break;
    case Glyph::Backspace:
        p.drawPolygon(poly(u, {{0.06, 0.5}, {0.32, 0.2}, {0.94, 0.2}, {0.94, 0.8}, {0.32, 0.8}}));
        p.drawLine(u.at(0.5, 0.37), u.at(0.76, 0.63));
        p.drawLine(u.at(0.5, 0.63), u.at(0.76, 0.37));
        break;
    case Glyph::Warning:
        p.setPen(line_pen(c, u.len(0.06)));
        p.setBrush(c);
        p.drawPolygon(poly(u, {{0.5, 0.08}, {0.95, 0.9}, {0.05, 0.9}}));
        p.setPen(line_pen(kFrame, u.len(0.11)));
        p.drawLine(u.at(0.5, 0.38), u.at(0.5, 0.6));
        p.drawPoint(u.at(0.5, 0.76));
        break;
    case Glyph::SlotEmpty: {
        QPen pen = line_pen(c, w);
        pen.setDashPattern({2.0, 1.5});
        p.setPen(pen);
        p.drawRoundedRect(u.box(0.1, 0.1, 0.9, 0.9), u.len(0.12), u.len(0.12));
        p.setPen(line_pen(c, w));
        p.drawLine(u.at(0.5, 0.34), u.at(0.5, 0.66));
        p.drawLine(u.at(0.34, 0.5), u.at(0.66, 0.5));
        break;
    }
    case Glyph::SlotSaved: {
        // Four tiles in the colours the home screen gives windows 1..4.
        static const std::array<QColor, 4> tiles = {QColor(0x86, 0x7A, 0xE9), QColor(0xEB, 0xA8, 0x3A),
                                                    QColor(0x39, 0xA9, 0xCB), QColor(0xFC, 0x54, 0x04)};
        p.setPen(Qt::NoPen);
        for (int i = 0; i < 4; ++i) {
            p.setBrush(tiles[i]);
            const qreal x = 0.08 + 0.45 * (i % 2), y = 0.08 + 0.45 * (i / 2);
            p.drawRoundedRect(u.box(x, y, x + 0.39, y + 0.39), u.len(0.06), u.len(0.06));
        }
        break;
    }
    case Glyph::Pointer: {
        // Fills its whole rectangle, not a square: it is taller than wide.
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        p.drawPolygon(QPolygonF() << r.topLeft() << QPointF(r.right(), r.center().y()) << r.bottomLeft());
        break;
    }
    case Glyph::Dot:
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        p.drawEllipse(u.box(0.06, 0.06, 0.94, 0.94));
        break;
    case Glyph::Port: {
        // A network jack; fills the whole (wider than tall) rectangle.
        const QRectF body = r.adjusted(1, 1, -1, -1);
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        p.drawRoundedRect(body, 2, 2);
        p.setBrush(kFrame);
        const qreal x0 = body.left() + body.width() * 0.2, x1 = body.right() - body.width() * 0.2;
        const qreal y0 = body.top() + body.height() * 0.22, y1 = body.bottom() - body.height() * 0.3;
        p.drawRect(QRectF(QPointF(x0, y0), QPointF(x1, y1)));
        p.drawRect(QRectF(QPointF(body.center().x() - body.width() * 0.14, y1 - 0.5),
                          QPointF(body.center().x() + body.width() * 0.14, body.bottom() - body.height() * 0.1)));
        break;
    }
    case Glyph::MirrorNone:
    case Glyph::MirrorH:
    case Glyph::MirrorV:
    case Glyph::MirrorHV:
        draw_mirror(p, u, c, g == Glyph::MirrorH || g == Glyph::MirrorHV, g == Glyph::MirrorV || g == Glyph::MirrorHV);
        break;
    case Glyph::EnterArrow:
    case Glyph::ReturnArrow: draw_hint_arrow(p, u, c, g == Glyph::EnterArrow); break;
    case Glyph::ScreenLit:
    case Glyph::ScreenBlack: draw_screen(p, u, c, g == Glyph::ScreenLit); break;
    case Glyph::Load:
        p.setPen(line_pen(c, u.len(0.09)));
        p.drawPolyline(poly(u, {{0.12, 0.6}, {0.12, 0.88}, {0.88, 0.88}, {0.88, 0.6}}));
        p.drawLine(u.at(0.5, 0.1), u.at(0.5, 0.66));
        p.drawPolyline(poly(u, {{0.3, 0.46}, {0.5, 0.66}, {0.7, 0.46}}));
        break;
    case Glyph::Save:
        p.setPen(line_pen(c, u.len(0.08)));
        p.drawPolygon(poly(u, {{0.12, 0.12}, {0.74, 0.12}, {0.88, 0.26}, {0.88, 0.88}, {0.12, 0.88}}));
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        p.drawRect(u.box(0.3, 0.12, 0.66, 0.36));
        p.drawRect(u.box(0.26, 0.56, 0.74, 0.88));
        break;
    case Glyph::Device: {
        p.setPen(line_pen(c, u.len(0.05)));
        p.drawRoundedRect(u.box(0.06, 0.3, 0.94, 0.72), u.len(0.05), u.len(0.05));
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        for (int i = 0; i < 4; ++i)
            p.drawRect(u.box(0.16 + 0.13 * i, 0.45, 0.25 + 0.13 * i, 0.57));
        p.setBrush(kGreen);
        p.drawEllipse(u.at(0.8, 0.51), u.len(0.05), u.len(0.05));
        p.setBrush(kOrange);
        p.drawRect(u.box(0.2, 0.74, 0.3, 0.82));
        p.drawRect(u.box(0.7, 0.74, 0.8, 0.82));
        break;
    }
    case Glyph::Input:
        p.setPen(line_pen(c, u.len(0.06)));
        p.drawPolygon(poly(u, {{0.16, 0.56}, {0.84, 0.56}, {0.84, 0.74}, {0.74, 0.88}, {0.26, 0.88}, {0.16, 0.74}}));
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        p.drawRect(u.box(0.3, 0.66, 0.7, 0.74));
        p.setPen(line_pen(kOrange, u.len(0.08)));
        p.drawLine(u.at(0.5, 0.08), u.at(0.5, 0.44));
        p.drawPolyline(poly(u, {{0.36, 0.3}, {0.5, 0.44}, {0.64, 0.3}}));
        break;
    case Glyph::UserModes:
        p.setPen(line_pen(c, u.len(0.05)));
        for (int i = 0; i < 4; ++i) {
            const qreal x = 0.1 + 0.44 * (i % 2), y = 0.1 + 0.44 * (i / 2);
            p.setBrush(i == 3 ? QBrush(kOrange) : QBrush(Qt::NoBrush));
            p.drawRoundedRect(u.box(x, y, x + 0.36, y + 0.36), u.len(0.06), u.len(0.06));
        }
        break;
    case Glyph::OutputArrow:
        p.setPen(line_pen(c, u.len(0.06)));
        p.drawRect(u.box(0.06, 0.2, 0.6, 0.7));
        p.drawLine(u.at(0.2, 0.82), u.at(0.46, 0.82));
        p.setPen(line_pen(kOrange, u.len(0.08)));
        p.drawLine(u.at(0.42, 0.45), u.at(0.92, 0.45));
        p.drawPolyline(poly(u, {{0.78, 0.31}, {0.92, 0.45}, {0.78, 0.59}}));
        break;
    case Glyph::Crop:
        p.setPen(line_pen(c, u.len(0.08)));
        p.drawPolyline(poly(u, {{0.26, 0.06}, {0.26, 0.74}, {0.94, 0.74}}));
        p.drawPolyline(poly(u, {{0.06, 0.26}, {0.74, 0.26}, {0.74, 0.94}}));
        p.setPen(Qt::NoPen);
        p.setBrush(kOrange);
        p.drawRect(u.box(0.34, 0.34, 0.66, 0.66));
        break;
    case Glyph::Layout:
        p.setPen(Qt::NoPen);
        p.setBrush(kOrange);
        p.drawRect(u.box(0.08, 0.16, 0.56, 0.84));
        p.setPen(line_pen(c, u.len(0.06)));
        p.setBrush(Qt::NoBrush);
        p.drawRect(u.box(0.08, 0.16, 0.92, 0.84));
        p.drawLine(u.at(0.56, 0.16), u.at(0.56, 0.84));
        p.drawLine(u.at(0.56, 0.5), u.at(0.92, 0.5));
        break;
    case Glyph::Network: {
        p.setPen(line_pen(c, u.len(0.06)));
        p.drawPolygon(poly(u, {{0.5, 0.22}, {0.2, 0.76}, {0.8, 0.76}}));
        p.setPen(Qt::NoPen);
        p.setBrush(kOrange);
        p.drawEllipse(u.at(0.5, 0.22), u.len(0.13), u.len(0.13));
        p.setBrush(c);
        p.drawEllipse(u.at(0.2, 0.76), u.len(0.12), u.len(0.12));
        p.drawEllipse(u.at(0.8, 0.76), u.len(0.12), u.len(0.12));
        break;
    }
    case Glyph::Picture:
        p.setPen(line_pen(c, u.len(0.06)));
        p.drawRect(u.box(0.06, 0.16, 0.94, 0.84));
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        p.drawPolygon(poly(u, {{0.12, 0.78}, {0.38, 0.44}, {0.56, 0.64}, {0.68, 0.52}, {0.88, 0.78}}));
        p.setBrush(kOrange);
        p.drawEllipse(u.at(0.72, 0.34), u.len(0.08), u.len(0.08));
        break;
    case Glyph::ColourBars: {
        static const std::array<QColor, 7> bars = {QColor(235, 235, 235), QColor(235, 235, 16), QColor(16, 235, 235),
                                                   QColor(16, 235, 16),   QColor(235, 16, 235), QColor(235, 16, 16),
                                                   QColor(16, 16, 235)};
        p.setPen(Qt::NoPen);
        const qreal step = 0.88 / bars.size();
        for (size_t i = 0; i < bars.size(); ++i) {
            p.setBrush(bars[i]);
            p.drawRect(u.box(0.06 + step * i, 0.16, 0.06 + step * (i + 1), 0.84));
        }
        break;
    }
    case Glyph::Mapping:
        p.setPen(line_pen(c, u.len(0.05)));
        p.drawRect(u.box(0.06, 0.2, 0.94, 0.8));
        p.drawLine(u.at(0.35, 0.2), u.at(0.35, 0.8));
        p.drawLine(u.at(0.65, 0.2), u.at(0.65, 0.8));
        p.drawLine(u.at(0.06, 0.5), u.at(0.94, 0.5));
        p.setPen(line_pen(kOrange, u.len(0.08)));
        p.drawLine(u.at(0.2, 0.68), u.at(0.78, 0.32));
        p.drawPolyline(poly(u, {{0.6, 0.3}, {0.78, 0.32}, {0.72, 0.48}}));
        break;
    case Glyph::Sliders:
        for (int i = 0; i < 3; ++i) {
            const qreal y = 0.24 + 0.26 * i;
            p.setPen(line_pen(c, u.len(0.06)));
            p.drawLine(u.at(0.1, y), u.at(0.9, y));
            p.setPen(Qt::NoPen);
            p.setBrush(kOrange);
            p.drawEllipse(u.at(std::array<qreal, 3>{0.34, 0.7, 0.5}[i], y), u.len(0.09), u.len(0.09));
        }
        break;
    }
    p.restore();
}

// --------------------------------------------------------------- painters

void paint_icon(QPainter& p, const QRectF& r, const Art& a) {
    draw_glyph(p, a.glyph, r, a.colour);
}

// A menu tile or tool button: the glyph above, the word below.
QRectF tile_word_box(const QRectF& r) {
    const qreal word_h = std::round(r.height() * 0.28);
    return QRectF(r.left() + 1, r.bottom() - word_h, r.width() - 2, word_h);
}
int tile_word_px(const QRectF& word) {
    return int(word.height() * 0.8);
}

// The part of a tile picture its glyph and word are laid out in (Art).
QRectF tile_frame(const QRectF& r, qreal frame_h) {
    if (frame_h <= 0 || frame_h >= r.height())
        return r;
    return QRectF(r.left(), r.top() + std::round((r.height() - frame_h) / 2), r.width(), frame_h);
}
QRectF tile_word_box(const QRectF& r, const Art& a) {
    QRectF word = tile_word_box(tile_frame(r, a.frame_h));
    if (a.word_w > 0 && a.word_w < word.width())
        word = QRectF(word.center().x() - a.word_w / 2, word.top(), a.word_w, word.height());
    return word;
}

void paint_tile(QPainter& p, const QRectF& whole, const Art& a) {
    const QRectF r = tile_frame(whole, a.frame_h);
    const QRectF word = tile_word_box(whole, a);
    const qreal pad = std::max<qreal>(1.0, r.height() * 0.04);
    draw_glyph(p, a.glyph, QRectF(r.left(), r.top() + pad, r.width(), r.height() - word.height() - 2 * pad), a.colour);
    draw_word(p, word, a.text, a.lang, a.colour, a.px ? a.px : tile_word_px(word));
}

QRectF tab_inner(const QRectF& r) {
    return r.adjusted(1, 3, -1, -3);
}

// A narrow upright tab beside a box of the status page. Chinese stands
// character by character; the other scripts run upwards.
void paint_tab(QPainter& p, const QRectF& r, const Art& a) {
    p.setPen(Qt::NoPen);
    p.setBrush(a.colour);
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    const QRectF inner = tab_inner(r);
    if (is_chinese(a.lang)) {
        const int n = a.text.size();
        const qreal cell = inner.height() / std::max(1, n);
        const int px = a.px ? a.px : int(std::min(inner.width(), cell));
        for (int i = 0; i < n; ++i)
            draw_word(p, QRectF(inner.left(), inner.top() + cell * i, inner.width(), cell), a.text.mid(i, 1), a.lang,
                      kFrame, px, true);
        return;
    }
    p.save();
    p.translate(inner.center());
    p.rotate(-90);
    const QRectF turned(-inner.height() / 2, -inner.width() / 2, inner.height(), inner.width());
    draw_word(p, turned, a.text, a.lang, kFrame, a.px ? a.px : int(inner.width()), true);
    p.restore();
}

// The connector badges are designed on a 50 x 16 grid and scaled to the
// picture, so the large "with signal" badges are the same designs.
void to_badge_grid(QPainter& p, const QRectF& r) {
    p.translate(r.topLeft());
    p.scale(r.width() / 50.0, r.height() / 16.0);
}

void paint_hdmi(QPainter& p, const QRectF& r, const Art& a) {
    p.save();
    to_badge_grid(p, r);
    p.setPen(Qt::NoPen);
    p.setBrush(a.colour);
    p.drawRoundedRect(QRectF(0.5, 0.5, 49, 15), 3, 3);
    p.setBrush(kFrame);
    p.drawPolygon(QPolygonF({{4, 4}, {22, 4}, {22, 9}, {19, 12}, {7, 12}, {4, 9}}));
    p.setBrush(kGrey.lighter(150));
    p.drawRect(QRectF(7, 6, 12, 2));
    draw_word(p, QRectF(23, 0, 26, 16), a.text, 1, kWhite, 11, true);
    p.restore();
}

void paint_dvi(QPainter& p, const QRectF& r, const Art& a) {
    p.save();
    to_badge_grid(p, r);
    p.setPen(Qt::NoPen);
    p.setBrush(a.colour);
    p.drawRoundedRect(QRectF(0.5, 0.5, 49, 15), 3, 3);
    p.setBrush(kFrame);
    p.drawPolygon(QPolygonF({{4, 2.5}, {46, 2.5}, {46, 10}, {42, 13.5}, {8, 13.5}, {4, 10}}));
    p.setBrush(kWhite);
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 8; ++col)
            p.drawEllipse(QPointF(8 + 3.2 * col, 5 + 3 * row), 0.9, 0.9);
    p.drawRect(QRectF(35, 7.2, 8, 1.6));
    for (const qreal x : {36.5, 41.5})
        for (const qreal y : {5.0, 11.0})
            p.drawEllipse(QPointF(x, y), 0.9, 0.9);
    p.restore();
}

// The external input: a slot with a line along it.
void paint_slot(QPainter& p, const QRectF& r, const Art& a) {
    const bool signal = a.colour == kSignal;
    p.save();
    to_badge_grid(p, r);
    p.setPen(QPen(signal ? kSignal.lighter(130) : kDim, 1));
    p.setBrush(signal ? kSignal : QColor(44, 47, 66));
    p.drawRoundedRect(QRectF(1, 3, 48, 10), 4, 4);
    p.setPen(QPen(signal ? kWhite : kBlue, 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(7, 8), QPointF(43, 8));
    p.restore();
}

// A hint at the foot of a menu: the key's name on a key cap and its arrow.
void paint_keyhint(QPainter& p, const QRectF& r, const Art& a) {
    p.setPen(QPen(a.colour, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
    const qreal arrow = r.height() - 4;
    draw_word(p, QRectF(r.left() + 3, r.top(), r.width() - arrow - 7, r.height()), a.text, 1, a.colour, 10, true);
    draw_glyph(p, a.glyph, QRectF(r.right() - arrow - 3, r.top() + 2, arrow, arrow), a.colour);
}

// ----------------------------------------------------------------- tables

struct Plain {
    const char* name;
    QSize size;
    Paint paint;
    Glyph glyph;
    QColor colour;
    const char* label = "";
};

// Pictures without words, one file each.
const Plain kPlain[] = {
    {"ip.png", {16, 16}, paint_icon, Glyph::Globe, kWhite},
    {"unlock.png", {16, 16}, paint_icon, Glyph::LockOpen, kWhite},
    {"lock.png", {16, 16}, paint_icon, Glyph::LockClosed, kOrange},
    {"tools.png", {16, 16}, paint_icon, Glyph::Wrench, kWhite},
    {"pointer.png", {9, 12}, paint_icon, Glyph::Pointer, kWhite},
    {"mode_blank.png", {16, 16}, paint_icon, Glyph::SlotEmpty, QColor(70, 72, 84)},
    {"mode_exist.png", {16, 16}, paint_icon, Glyph::SlotSaved, kWhite},
    {"check_180.png", {180, 180}, paint_icon, Glyph::Tick, kGreen},
    {"LED.png", {16, 16}, paint_icon, Glyph::Led, kWhite},
    {"bright.png", {16, 16}, paint_icon, Glyph::Sun, kWhite},
    {"contrast.png", {16, 16}, paint_icon, Glyph::Contrast, kWhite},
    {"volume_open.png", {16, 16}, paint_icon, Glyph::Speaker, kWhite},
    {"volume_close.png", {16, 16}, paint_icon, Glyph::SpeakerMute, kWhite},
    {"menu_status.png", {20, 20}, paint_icon, Glyph::Menu, kWhite},
    {"osd_yes.png", {12, 12}, paint_icon, Glyph::Tick, kOrange},
    {"freeze.png", {16, 16}, paint_icon, Glyph::Snowflake, kIce},
    {"back.png", {32, 32}, paint_icon, Glyph::BackArrow, kWhite},
    {"online.png", {16, 14}, paint_icon, Glyph::Port, kGreen},
    {"offline.png", {16, 14}, paint_icon, Glyph::Port, kGrey},
    {"state_on.png", {14, 14}, paint_icon, Glyph::Dot, kGreen},
    {"state_off.png", {14, 14}, paint_icon, Glyph::Dot, kRed},
    {"add.png", {20, 20}, paint_icon, Glyph::Plus, kWhite},
    // Drawn dark: the keypad's keys are white.
    {"delete.png", {20, 20}, paint_icon, Glyph::Backspace, kFrame},
    {"warning.png", {16, 16}, paint_icon, Glyph::Warning, kAmber},
    {"mirror1_on.png", {32, 32}, paint_icon, Glyph::MirrorNone, kOrange},
    {"mirror1_off.png", {32, 32}, paint_icon, Glyph::MirrorNone, kDim},
    {"mirror2_on.png", {32, 32}, paint_icon, Glyph::MirrorH, kOrange},
    {"mirror2_off.png", {32, 32}, paint_icon, Glyph::MirrorH, kDim},
    {"mirror3_on.png", {32, 32}, paint_icon, Glyph::MirrorV, kOrange},
    {"mirror3_off.png", {32, 32}, paint_icon, Glyph::MirrorV, kDim},
    {"mirror4_on.png", {32, 32}, paint_icon, Glyph::MirrorHV, kOrange},
    {"mirror4_off.png", {32, 32}, paint_icon, Glyph::MirrorHV, kDim},
    {"OK_Enter.png", {51, 17}, paint_keyhint, Glyph::EnterArrow, kWhite, "OK"},
    {"back_return.png", {56, 17}, paint_keyhint, Glyph::ReturnArrow, kWhite, "BACK"},
    // Inputs: grey badges without signal, green ones with signal.
    {"HDMI.png", {50, 16}, paint_slot, Glyph::None, kGrey},
    {"extlv.png", {50, 16}, paint_slot, Glyph::None, kSignal},
    {"DVI.png", {50, 16}, paint_dvi, Glyph::None, kGrey},
    {"dvilv.png", {100, 32}, paint_dvi, Glyph::None, kSignal},
    {"HDMI13.png", {50, 16}, paint_hdmi, Glyph::None, kGrey, "1.3"},
    {"HDMI13_1.png", {50, 16}, paint_hdmi, Glyph::None, kGrey, "1.3"},
    {"HDMI13_lv.png", {100, 32}, paint_hdmi, Glyph::None, kSignal, "1.3"},
    {"HDMI20.png", {50, 16}, paint_hdmi, Glyph::None, kGrey, "2.0"},
    {"HDMI20_lv.png", {100, 32}, paint_hdmi, Glyph::None, kSignal, "2.0"},
};

// Tiles shown side by side write their words in one size (per language):
// the largest at which every word of the set fits its own tile.
enum class TileSet { None, MainMenu, ToolStrip, SettingsMenu, StatusTabs };

struct Worded {
    const char* name;  // without prefix and without ".png"
    Sizes size;
    Paint paint;
    Glyph glyph;
    QColor colour;
    Words words;
    TileSet set = TileSet::None;
    const char* english_name = nullptr;  // where English has a name of its own
};

Sizes same(int w, int h) {
    return {QSize(w, h), QSize(w, h), QSize(w, h), QSize(w, h), QSize(w, h)};
}
Sizes option_sizes(int zh, int en, int ru, int vn, int tn) {
    return {QSize(zh, 60), QSize(en, 60), QSize(ru, 60), QSize(vn, 60), QSize(tn, 60)};
}

const Words kBlackWords = {"黑屏", "Black", "Чёрн.", "Đen", "黑屏"};
const Words kMuteWords = {"静音", "Mute", "Звук", "Tắt âm", "靜音"};
const Words kLoadWords = {"调用", "Load", "Загр.", "Tải", "調用"};
const Words kSaveWords = {"保存", "Save", "Сохр.", "Lưu", "保存"};

// Pictures with words, five files each (one per language).
const Worded kWorded[] = {
    // Main menu tiles.
    {"machinestate",
     same(64, 64),
     paint_tile,
     Glyph::Device,
     kWhite,
     {"设备信息", "Devices", "Устройство", "Thiết bị", "設備信息"},
     TileSet::MainMenu},
    {"inputchoose",
     {QSize(64, 64), QSize(90, 64), QSize(96, 76), QSize(96, 76), QSize(64, 64)},
     paint_tile,
     Glyph::Input,
     kWhite,
     {"信源切换", "Source switch", "Источник", "Chuyển nguồn", "信源切換"},
     TileSet::MainMenu},
    {"custommode",
     same(64, 64),
     paint_tile,
     Glyph::UserModes,
     kWhite,
     {"用户模式", "User mode", "Режимы", "Chế độ", "用戶模式"},
     TileSet::MainMenu},
    {"option",
     same(64, 64),
     paint_tile,
     Glyph::Gear,
     kWhite,
     {"设置", "Settings", "Настройки", "Cài đặt", "設置"},
     TileSet::MainMenu},
    // Tool strip, idle and active.
    {"uncloseled", same(24, 36), paint_tile, Glyph::ScreenLit, kWhite, kBlackWords, TileSet::ToolStrip},
    {"closeled", same(24, 36), paint_tile, Glyph::ScreenBlack, kOrange, kBlackWords, TileSet::ToolStrip},
    {"unslience", same(24, 36), paint_tile, Glyph::Speaker, kWhite, kMuteWords, TileSet::ToolStrip},
    {"slience", same(24, 36), paint_tile, Glyph::SpeakerMute, kOrange, kMuteWords, TileSet::ToolStrip},
    {"uncall", same(24, 36), paint_tile, Glyph::Load, kWhite, kLoadWords, TileSet::ToolStrip},
    {"call", same(24, 36), paint_tile, Glyph::Load, kOrange, kLoadWords, TileSet::ToolStrip},
    {"unsave", same(24, 36), paint_tile, Glyph::Save, kWhite, kSaveWords, TileSet::ToolStrip},
    {"save", same(24, 36), paint_tile, Glyph::Save, kOrange, kSaveWords, TileSet::ToolStrip},
    // Settings menu tiles.
    {"output_set",
     option_sizes(55, 75, 55, 55, 55),
     paint_tile,
     Glyph::OutputArrow,
     kWhite,
     {"输出设置", "Output", "Выход", "Đầu ra", "輸出設置"},
     TileSet::SettingsMenu},
    {"input_cut",
     option_sizes(55, 70, 70, 70, 55),
     paint_tile,
     Glyph::Crop,
     kWhite,
     {"输入截取", "Crop", "Обрезка", "Cắt nguồn", "輸入截取"},
     TileSet::SettingsMenu},
    {"image_layout",
     option_sizes(55, 70, 55, 55, 55),
     paint_tile,
     Glyph::Layout,
     kWhite,
     {"画面布局", "Layout", "Окна", "Bố cục", "畫面佈局"},
     TileSet::SettingsMenu},
    {"link_set",
     option_sizes(55, 70, 70, 70, 55),
     paint_tile,
     Glyph::Network,
     kWhite,
     {"通讯设置", "Link", "Связь", "Kết nối", "通訊設置"},
     TileSet::SettingsMenu},
    {"image_quality",
     option_sizes(55, 75, 55, 55, 55),
     paint_tile,
     Glyph::Picture,
     kWhite,
     {"图像效果", "Picture", "Качество", "Hình ảnh", "圖像效果"},
     TileSet::SettingsMenu},
    {"test_chart",
     option_sizes(55, 55, 55, 55, 55),
     paint_tile,
     Glyph::ColourBars,
     kWhite,
     {"测试画面", "Test", "Тест", "Kiểm tra", "測試畫面"},
     TileSet::SettingsMenu},
    {"smart_mapping",
     option_sizes(55, 55, 55, 55, 55),
     paint_tile,
     Glyph::Mapping,
     kWhite,
     {"智能映射", "Mapping", "Маппинг", "Ánh xạ", "智能映射"},
     TileSet::SettingsMenu},
    {"AdvanceButton",
     option_sizes(55, 54, 70, 54, 55),
     paint_tile,
     Glyph::Sliders,
     kWhite,
     {"高级设置", "Advanced", "Доп.опции", "Nâng cao", "高級設置"},
     TileSet::SettingsMenu,
     "advance_option"},
    // Device status tabs.
    {"output_state",
     same(15, 65),
     paint_tab,
     Glyph::None,
     kOrange,
     {"输出", "Output", "Выход", "Đầu ra", "輸出"},
     TileSet::StatusTabs},
    {"input_state",
     same(15, 55),
     paint_tab,
     Glyph::None,
     kOrange,
     {"输入", "Input", "Вход", "Đầu vào", "輸入"},
     TileSet::StatusTabs},
    {"version_state",
     same(15, 40),
     paint_tab,
     Glyph::None,
     kOrange,
     {"版本", "Version", "Версия", "Phiên bản", "版本"},
     TileSet::StatusTabs},
};

// ------------------------------------------------------------------- main

// The settings menu's tiles are 70 pixels wide with a 2-pixel focused
// border and 4 pixels of padding: a wider picture's word keeps inside.
constexpr qreal kSettingsWordRoom = 70 - 2 * 2 - 2 * 4;

// How a picture of a set is laid out in `lang`, with the word size it
// alone would take (the set then takes the smallest).
Art set_art(const Worded& pic, int lang, int frame_h) {
    Art a{pic.glyph, pic.colour, QString::fromUtf8(pic.words[lang]), lang};
    const QRectF r(QPointF(0, 0), QSizeF(pic.size[lang]));
    if (pic.paint == paint_tab) {
        const QRectF inner = tab_inner(r);
        if (is_chinese(lang)) {
            const qreal cell = inner.height() / std::max(1, int(a.text.size()));
            a.px = int(std::min(inner.width(), cell));
            for (const QChar c : a.text)
                a.px = std::min(a.px, fitting_px(QString(c), lang, inner.width(), a.px, true));
        } else {
            a.px = fitting_px(a.text, lang, inner.height(), int(inner.width()), true);
        }
        return a;
    }
    a.frame_h = frame_h;
    if (pic.set == TileSet::SettingsMenu)
        a.word_w = kSettingsWordRoom;
    const QRectF word = tile_word_box(r, a);
    a.px = fitting_px(a.text, lang, word.width(), tile_word_px(word));
    return a;
}

bool write_png(const QString& dir, const QString& name, QSize size, Paint paint, const Art& art) {
    QImage img(size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    {
        QPainter p(&img);
        p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
        paint(p, QRectF(QPointF(0, 0), QSizeF(size)), art);
    }
    if (!img.save(dir + QLatin1Char('/') + name, "PNG")) {
        std::fprintf(stderr, "pnggen: cannot write %s/%s\n", qPrintable(dir), qPrintable(name));
        return false;
    }
    return true;
}

// A missing font still gives pictures (in a fallback face); say so, since
// the words may then show as empty boxes on the panel.
void report_fonts() {
    for (const int lang : {0, 1}) {
        const QFont f = word_font(lang, 12);
        const QFontInfo info(f);
        if (info.family() != f.family())
            std::fprintf(stderr, "pnggen: font \"%s\" not found, using \"%s\"\n", qPrintable(f.family()),
                         qPrintable(info.family()));
    }
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: pnggen <output folder>\n");
        return 1;
    }
    const QString out = QFile::decodeName(argv[1]);
    if (!QDir().mkpath(out)) {
        std::fprintf(stderr, "pnggen: cannot create %s\n", argv[1]);
        return 1;
    }
    report_fonts();

    // One layout height and one word size per set of tiles and language.
    std::map<std::pair<TileSet, int>, int> set_h, set_px;
    for (const Worded& pic : kWorded)
        for (int lang = 0; lang < kLanguages && pic.set != TileSet::None; ++lang) {
            auto it = set_h.emplace(std::make_pair(pic.set, lang), pic.size[lang].height()).first;
            it->second = std::min(it->second, pic.size[lang].height());
        }
    for (const Worded& pic : kWorded) {
        for (int lang = 0; lang < kLanguages && pic.set != TileSet::None; ++lang) {
            const int px = set_art(pic, lang, set_h[std::make_pair(pic.set, lang)]).px;
            auto it = set_px.emplace(std::make_pair(pic.set, lang), px).first;
            it->second = std::min(it->second, px);
        }
    }

    QStringList names;
    bool ok = true;
    for (const Plain& pic : kPlain) {
        names << QString::fromLatin1(pic.name);
        ok &= write_png(out, names.last(), pic.size, pic.paint,
                        {pic.glyph, pic.colour, QString::fromLatin1(pic.label), 1});
    }
    for (const Worded& pic : kWorded) {
        for (int lang = 0; lang < kLanguages; ++lang) {
            const char* base = lang == 1 && pic.english_name ? pic.english_name : pic.name;
            names << QString::fromLatin1(kPrefix[lang]) + QString::fromLatin1(base) + QStringLiteral(".png");
            Art art{pic.glyph, pic.colour, QString::fromUtf8(pic.words[lang]), lang};
            if (pic.set != TileSet::None) {
                art = set_art(pic, lang, set_h[std::make_pair(pic.set, lang)]);
                art.px = set_px[std::make_pair(pic.set, lang)];
            }
            ok &= write_png(out, names.last(), pic.size[lang], pic.paint, art);
        }
    }
    if (!ok)
        return 1;

    names.sort();
    const std::set<QString> unique(names.cbegin(), names.cend());
    if (unique.size() != size_t(names.size())) {
        std::fprintf(stderr, "pnggen: an image name is listed twice\n");
        return 1;
    }

    QSaveFile qrc(out + QStringLiteral("/png.qrc"));
    if (!qrc.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "pnggen: cannot write %s/png.qrc\n", argv[1]);
        return 1;
    }
    QTextStream ts(&qrc);
    ts << "<RCC>\n  <qresource prefix=\"/png\">\n";
    for (const QString& name : names)
        ts << "    <file alias=\"" << name << "\">" << name << "</file>\n";
    ts << "  </qresource>\n</RCC>\n";
    ts.flush();
    return qrc.commit() ? 0 : 1;
}

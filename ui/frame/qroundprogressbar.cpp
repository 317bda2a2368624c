#include "ui/frame/qroundprogressbar.h"

#include "core/global.h"
#include "ui/frame/shared_widgets.h"

#include <QDialog>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace {
const QColor kBaseGrey("#DEE3E7");
const QColor kValueBlue("#2F8DED");
const QColor kTextGrey("#606266");
}  // namespace

QRoundProgressBar::QRoundProgressBar(QWidget* parent, BarStyle style) : QWidget(parent), bar_style(style) {}

QRoundProgressBar::~QRoundProgressBar() {
    // Deleted with its page while still shown: leave no dangling pointer.
    if (g_qround_bar == this)
        g_qround_bar = nullptr;
}

void QRoundProgressBar::create_qround_bar(QDialog* page) {
    if (g_qround_bar)
        return;
    auto* bar = new QRoundProgressBar(page, StyleRing);
    g_qround_bar = bar;
    bar->setGeometry(120, 70, 100, 100);
    bar->setValue(0);
    bar->show();
    debug_printf("\n create_qround_bar");
}

void QRoundProgressBar::setStartAngle(double angle) {
    change(start_angle, angle);
}
void QRoundProgressBar::setOutlinePenWidth(double width) {
    change(outline_pen_width, width);
}
void QRoundProgressBar::setDataPenWidth(double width) {
    change(data_pen_width, width);
}
void QRoundProgressBar::setBarStyle(BarStyle style) {
    change(bar_style, style);
}

void QRoundProgressBar::setDecimals(int count) {
    if (count >= 0)
        change(decimals, count);
}

void QRoundProgressBar::setRange(double a, double b) {
    minimum = std::min(a, b);
    maximum = std::max(a, b);
    value = std::clamp(value, minimum, maximum);
    update();
}

void QRoundProgressBar::setValue(double v) {
    if (v == value)
        return;
    value = std::clamp(v, minimum, maximum);
    update();
}

double QRoundProgressBar::arc_degrees() const {
    const double span = maximum - minimum;
    return span > 0 ? 360.0 * (value - minimum) / span : 0.0;
}

QString QRoundProgressBar::percent_text() const {
    const double span = maximum - minimum;
    const double percent = span > 0 ? (value - minimum) / span * 100.0 : 0.0;
    return QString::number(percent, 'f', decimals) + QLatin1Char('%');
}

void QRoundProgressBar::para_sync(int percent) {
    QRoundProgressBar* bar = g_qround_bar;
    if (!bar)
        return;
    if (percent > 99) {
        // Hidden, not deleted: it goes with its page.
        bar->close();
        g_qround_bar = nullptr;
        return;
    }
    bar->setValue(percent);
    bar->update();
}

void QRoundProgressBar::paintEvent(QPaintEvent*) {
    const double side = width();
    const QRectF base(0, 0, side, side);
    QPainter p(this);
    p.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    p.fillRect(base, Qt::transparent);

    const double d = bar_style == StyleRing ? 0.9 * side : side - outline_pen_width;
    const QRectF inner((side - d) * 0.5, (side - d) * 0.5, d, d);
    const QPen outline(QBrush(Qt::white), outline_pen_width, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);

    // The base.
    switch (bar_style) {
    case StyleRing: {
        QPainterPath path;
        path.setFillRule(Qt::OddEvenFill);
        path.moveTo(base.center());
        path.addEllipse(inner);
        p.setPen(QPen(kBaseGrey, 10));
        p.setBrush(Qt::white);
        p.drawPath(path);
        break;
    }
    case StyleSector:
        p.setPen(outline);
        p.setBrush(kBaseGrey);
        p.drawEllipse(base);
        break;
    case StyleOutline: {
        const double half = outline_pen_width / 2;
        p.setPen(outline);
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(base.adjusted(half, half, -half, -half));
        break;
    }
    }

    // The value: nothing at the minimum (or for an empty range).
    const double arc = arc_degrees();
    if (value != minimum && arc != 0) {
        const int start16 = int(start_angle * 16);
        const int span16 = int(-arc * 16);
        switch (bar_style) {
        case StyleRing:
        case StyleOutline: {
            QPen pen(kValueBlue, bar_style == StyleRing ? 10 : outline_pen_width);
            if (bar_style == StyleRing)
                pen.setCapStyle(Qt::RoundCap);
            p.setPen(pen);
            p.setBrush(Qt::NoBrush);
            p.drawArc(bar_style == StyleRing ? inner : base, start16, span16);
            break;
        }
        case StyleSector: {
            QPainterPath path;
            path.setFillRule(Qt::WindingFill);
            path.moveTo(base.center());
            path.arcTo(base, start_angle, -arc);
            path.lineTo(base.center());
            p.setPen(QPen(QBrush(kValueBlue), data_pen_width, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
            p.setBrush(kValueBlue);
            p.drawPath(path);
            break;
        }
        }
    }

    // The percentage.
    QFont font(QStringLiteral("微软雅黑"));
    font.setPixelSize(36);
    p.setFont(font);
    p.setPen(kTextGrey);
    p.drawText(base, Qt::AlignCenter, percent_text());
}

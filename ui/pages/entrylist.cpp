#include "ui/pages/entrylist.h"

#include "core/ids.h"
#include "core/ramblock.h"
#include "core/rynrampara.h"
#include "ui/frame/fonts.h"
#include "ui/frame/imagecache.h"
#include "ui/frame/pageframe.h"
#include "ui/frame/sourceinfo.h"

#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <QStyle>
#include <QStyleOption>

namespace {
const Text5 kNoSignal = {"无信号", "No signal", "Нет сигнала", "Không có tín hiệu", "無信號"};
// The Chinese badges end in an invisible soft hyphen (U+00AD).
const Text5 kUsing = {"使用中\xC2\xAD", "Using", "Использовать", "sử dụng", "使用中\xC2\xAD"};

// The boxes' three looks, by the "entry" property of a frame of the list.
// The boxes themselves draw nothing: the list draws each box's look from a
// picture of it, made once per look by a frame with that property.
const char* const kLookNames[] = {"normal", "focused", "in_use"};
const QString kEntryLooks = QStringLiteral("QFrame[entry=\"focused\"]{border:1px solid #FFAB54;border-radius:5px;}"
                                           "QFrame[entry=\"in_use\"]{border:1px solid #00D65B;border-radius:5px;}"
                                           "QFrame[entry=\"normal\"]{border:1px solid #CCCCCC;border-radius:5px;}");
constexpr QSize kBoxSize(92, 50);
constexpr int kRadius = 5;
constexpr QRect kIconRect(12, 5, 25, 8);

// An entry box: its look is drawn under it by the list (see above).
class BareBox : public QFrame {
public:
    using QFrame::QFrame;

protected:
    void paintEvent(QPaintEvent*) override {}
};

const char* const kBadge = "background-color: #00D65B;color: rgb(255, 255, 255);font: 7px;border-radius:5px;";

// A one-line plain-text label of ours that lies wholly on one plain fill
// of its parent's (an entry box's inside). Made opaque, it draws that fill
// itself, so that a new text repaints the label alone, not the box, frame
// and page under it. Opaque only while its page is shown: drawn whole, a
// page with opaque children clips every fill behind them around each. It
// draws its text as QLabel does, with one painter for the fill and the
// text, but no frame: it has none, and asking the style sheet for one
// costs as much as a short text.
class FillLabel : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        if (testAttribute(Qt::WA_OpaquePaintEvent))
            p.fillRect(rect(), palette().brush(QPalette::Window));
        const Qt::LayoutDirection direction = text().isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight;
        const int flags = int(QStyle::visualAlignment(direction, alignment())) |
                          (direction == Qt::LeftToRight ? Qt::TextForceLeftToRight : Qt::TextForceRightToLeft);
        QStyleOption opt;
        opt.initFrom(this);
        style()->drawItemText(&p, contentsRect(), flags, opt.palette, isEnabled(), text(), foregroundRole());
    }
};

// A picture label of ours (an entry's state dot and icon): draws its
// picture, made to its size by set_label_picture, as QLabel does, but no
// frame, as FillLabel.
class PictureLabel : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent*) override {
        const QPixmap picture = pixmap(Qt::ReturnByValue);
        if (!picture.isNull())
            QPainter(this).drawPixmap(contentsRect().topLeft(), picture);
    }
};
}  // namespace

bool input_has_signal(int source) {
    if (source < 0 || source >= SOURCE_COUNT)
        return false;
    const RynRamPara* p = RynRamPara::pInstance();
    const int off = blk::input_info(source);
    return p->u16(off) != 0 && p->u16(off + 2) != 0 && p->u16(off + 4) != 0;
}

EntryList::EntryList(QWidget* page) : QFrame(page) {
    setObjectName(QStringLiteral("frame"));
    setGeometry(1, 127, 318, 70);
    lower();
    // Before it is shown: showing polishes it.
    setStyleSheet(kEntryLooks);
    // The inputs' icons are read with the page, not by the first key that
    // lists an input.
    for (int s = 0; s < SOURCE_COUNT; ++s)
        cached_pixmap(sourceinfo::source_pixmap(s), kIconRect.size());
}

void EntryList::show_entries(const View& view) {
    show();
    for (size_t i = size_t(view.shown); i < boxes_.size(); ++i) {
        boxes_[i].box->hide();
        if (boxes_[i].badge)
            boxes_[i].badge->hide();
    }
    while (int(boxes_.size()) < view.shown)
        boxes_.push_back(make_box(int(boxes_.size())));
    const bool page_shown = parentWidget()->isVisible();
    for (int i = 0; i < view.shown; ++i) {
        const int e = view.first + i;
        Box& b = boxes_[size_t(i)];
        for (QLabel* l : {b.name, b.info})
            l->setAttribute(Qt::WA_OpaquePaintEvent, page_shown);
        set_label_picture(b.icon, sourceinfo::source_pixmap(view.source));
        fill_texts(b, view, e);

        const bool used = e == view.in_use;
        set_look(b, e == view.focused ? FOCUSED : used ? IN_USE : NORMAL);
        b.box->show();
        set_label_picture(b.state, png(used ? "state_on.png" : "state_off.png"));
        show_badge(b, used);
    }
    language_ = lang_pick();
}

// Entry 0 is the input with its timing; entry e >= 1 its e-th crop.
void EntryList::fill_texts(Box& b, const View& view, int e) {
    const RynRamPara* p = RynRamPara::pInstance();
    if (e == 0) {
        b.name->setText(view.name);
        const int off = blk::input_info(view.source);
        b.info->setText(input_has_signal(view.source)
                            ? QString::asprintf("%dx%d@%dHz", p->u16(off), p->u16(off + 2), p->u16(off + 4))
                            : tr5(kNoSignal));
        return;
    }
    CROP_PARA crop;
    int index = CROP_COUNT;
    p->RynGetCropPara(view.source, e, &crop, &index);
    if (index < 0 || index >= CROP_COUNT) {
        // Counted but not found: the table holds a duplicate crop number.
        qWarning("InputChoose: entry %d of source %d has no crop record", e, view.source);
        b.name->clear();
        b.info->clear();
        return;
    }
    bool found = false;
    const QString alias = sourceinfo::alias_name("crop", index, &found);
    b.name->setText(found ? elided_text(pixel_font(10), alias, b.name->width())
                          : view.name + QString::asprintf("_crop%d", p->RynGetCropID(view.source, e)));
    b.info->setText(QString::asprintf("%dx%d", crop.para[3], crop.para[4]));
}

// The badge is made on the first box that shows the window's own choice.
void EntryList::show_badge(Box& b, bool used) {
    if (used && !b.badge) {
        b.badge = new QLabel(b.box);
        b.badge->setObjectName(QStringLiteral("badge"));
        b.badge->setGeometry(60, 0, 30, 12);
        b.badge->setAlignment(Qt::AlignCenter);
        b.badge->setStyleSheet(kBadge);
    }
    if (b.badge) {
        b.badge->setVisible(used);
        if (used)
            b.badge->setText(fitted_text(b.badge, tr5(kUsing)));
    }
}

// One box of the list, at place `i` of the three.
EntryList::Box EntryList::make_box(int i) {
    Box b;
    b.box = frame::on_same_fill(new BareBox(this));
    b.box->setObjectName(QStringLiteral("source_frame"));
    b.box->setGeometry(QRect(QPoint(14 + 95 * i, 10), kBoxSize));
    b.state = frame::on_same_fill(new PictureLabel(b.box));
    b.state->setObjectName(QStringLiteral("state"));
    b.state->setGeometry(3, 5, 7, 7);
    b.icon = frame::on_same_fill(new PictureLabel(b.box));
    b.icon->setGeometry(kIconRect);
    b.name = frame::on_same_fill(new FillLabel(b.box));
    b.name->setObjectName(QStringLiteral("name"));
    b.name->setGeometry(3, 15, 80, 12);
    b.info = frame::on_same_fill(new FillLabel(b.box));
    b.info->setObjectName(QStringLiteral("info"));
    b.info->setGeometry(3, 30, 88, 12);
    const QFont font = pixel_font(10);
    for (QLabel* l : {b.name, b.info}) {
        l->setStyleSheet("color: rgb(255, 255, 255)");
        l->setFont(font);
        l->setTextFormat(Qt::PlainText);
        align_short_row(l);
    }
    return b;
}

// Its border is drawn here rather than by a style sheet ("#frame{border:1px
// solid ...}"), so that a box shown, hidden or restyled repaints the list's
// plain inside, not the border with it, and a level change recolours the
// border without polishing every box anew.
void EntryList::set_border(const QColor& colour) {
    if (colour == border_)
        return;
    border_ = colour;
    const QRect r = rect();
    update(QRegion(r) - QRegion(r.adjusted(1, 1, -1, -1)));
}

void EntryList::set_foot(int from, int width) {
    const QRect foot = from < 0 ? QRect() : QRect(from, 0, width, 1);
    if (foot == foot_)
        return;
    update(QRegion(foot_) + QRegion(foot));
    foot_ = foot;
}

// The list has no frame of its own to draw: its border, the marker's foot
// and the boxes' looks, each only where the event asks.
void EntryList::paintEvent(QPaintEvent* e) {
    QPainter p(this);
    const QRegion& dirty = e->region();
    const QRect r = rect();
    for (const QRect& side :
         {QRect(r.x(), r.y(), r.width(), 1), QRect(r.x(), r.bottom(), r.width(), 1),
          QRect(r.x(), r.y() + 1, 1, r.height() - 2), QRect(r.right(), r.y() + 1, 1, r.height() - 2)})
        if (dirty.intersects(side))
            p.fillRect(side, border_);
    if (!foot_.isNull() && dirty.intersects(foot_))
        p.fillRect(foot_, Qt::black);
    for (const Box& b : boxes_)
        if (!b.box->isHidden() && dirty.intersects(b.box->geometry()))
            p.drawPixmap(b.box->pos(), looks_[size_t(b.look)]);
}

// A look's picture: a frame of the list with the look's property, drawn on
// the fill it lies on, as a box would draw itself.
void EntryList::make_look(Look look) {
    QPixmap& picture = looks_[size_t(look)];
    if (!picture.isNull())
        return;
    picture = QPixmap(kBoxSize);
    picture.fill(palette().color(QPalette::Window));
    QFrame model(this);
    model.setProperty("entry", QLatin1String(kLookNames[look]));
    model.resize(kBoxSize);
    model.render(&picture);
}

// A new look repaints the box's border and rounded corners, not its labels.
void EntryList::set_look(Box& b, Look look) {
    make_look(look);
    if (b.look == look)
        return;
    b.look = look;
    if (b.box->isHidden())
        return;
    // The rows of the rounded corners and the sides between them: four
    // rectangles, clear of the labels.
    const QRect r = b.box->geometry();
    QRegion ring(r.x(), r.y(), r.width(), kRadius);
    ring += QRect(r.x(), r.bottom() - kRadius + 1, r.width(), kRadius);
    ring += QRect(r.x(), r.y() + kRadius, 1, r.height() - 2 * kRadius);
    ring += QRect(r.right(), r.y() + kRadius, 1, r.height() - 2 * kRadius);
    update(ring);
}

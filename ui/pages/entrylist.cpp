#include "ui/pages/entrylist.h"

#include "core/ids.h"
#include "core/ramblock.h"
#include "core/rynrampara.h"
#include "ui/frame/fonts.h"
#include "ui/frame/imagecache.h"
#include "ui/frame/pageframe.h"
#include "ui/frame/sourceinfo.h"

#include <QLabel>
#include <QPainter>
#include <QRegion>
#include <QStyle>
#include <QStyleOption>

namespace {
const Text5 kNoSignal = {"无信号", "No signal", "Нет сигнала", "Không có tín hiệu", "無信號"};
// The Chinese badges end in an invisible soft hyphen (U+00AD).
const Text5 kUsing = {"使用中\xC2\xAD", "Using", "Использовать", "sử dụng", "使用中\xC2\xAD"};

// The list frame carries the boxes' three looks, picked by the box's
// "entry" property: a focus move re-polishes two boxes, not their labels.
const QString kEntryLooks = QStringLiteral(
    "#source_frame[entry=\"focused\"]{border:1px solid #FFAB54;border-radius:5px;}"
    "#source_frame[entry=\"in_use\"]{border:1px solid #00D65B;border-radius:5px;}"
    "#source_frame[entry=\"normal\"]{border:1px solid #CCCCCC;border-radius:5px;}");
const char* const kBadge =
    "background-color: #00D65B;color: rgb(255, 255, 255);font: 7px;border-radius:5px;";

// A one-line plain-text label of ours that lies wholly on one plain fill
// of its parent's (an entry box's inside). Made opaque, it draws that fill
// itself, so that a new text repaints the label alone, not the box, frame
// and page under it. Opaque only while its page is shown: drawn whole, a
// page with opaque children clips every fill behind them around each. It
// draws as QLabel does, with one painter for the fill and the text.
class FillLabel : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        if (testAttribute(Qt::WA_OpaquePaintEvent))
            p.fillRect(rect(), palette().brush(QPalette::Window));
        drawFrame(&p);
        const Qt::LayoutDirection direction =
            text().isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight;
        const int flags = int(QStyle::visualAlignment(direction, alignment())) |
                          (direction == Qt::LeftToRight ? Qt::TextForceLeftToRight
                                                        : Qt::TextForceRightToLeft);
        QStyleOption opt;
        opt.initFrom(this);
        style()->drawItemText(&p, contentsRect(), flags, opt.palette, isEnabled(), text(),
                              foregroundRole());
    }
};
} // namespace

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
        sourceinfo::set_source_pixmap(b.icon, view.source);
        fill_texts(b, view, e);

        const bool used = e == view.in_use;
        const char* look = e == view.focused ? "focused" : used ? "in_use" : "normal";
        if (b.box->property("entry").toString() != QLatin1String(look)) {
            b.box->setProperty("entry", QLatin1String(look));
            repolish(b.box);
        }
        b.box->show();  // a new box: after its style, as the frame
        set_label_pixmap(b.state, png(used ? "state_on.png" : "state_off.png"));
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
        b.info->setText(
            input_has_signal(view.source)
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
                          : view.name + QString::asprintf("_crop%d",
                                                          p->RynGetCropID(view.source, e)));
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
    b.box = new QFrame(this);
    b.box->setObjectName(QStringLiteral("source_frame"));
    b.box->setGeometry(14 + 95 * i, 10, 92, 50);
    b.state = frame::on_same_fill(new QLabel(b.box));
    b.state->setObjectName(QStringLiteral("state"));
    b.state->setGeometry(3, 5, 7, 7);
    b.state->setScaledContents(true);
    b.icon = frame::on_same_fill(new QLabel(b.box));
    b.icon->setGeometry(12, 5, 25, 8);
    b.icon->setScaledContents(true);
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

void EntryList::paintEvent(QPaintEvent* e) {
    QFrame::paintEvent(e);
    QPainter p(this);
    const QRect r = rect();
    for (const QRect& side :
         {QRect(r.x(), r.y(), r.width(), 1), QRect(r.x(), r.bottom(), r.width(), 1),
          QRect(r.x(), r.y() + 1, 1, r.height() - 2), QRect(r.right(), r.y() + 1, 1, r.height() - 2)})
        p.fillRect(side, border_);
    if (!foot_.isNull())
        p.fillRect(foot_, Qt::black);
}

#include "ui/frame/lookcache.h"

#include <QBackingStore>
#include <QEvent>
#include <QPaintEngine>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <algorithm>

bool LookCache::enabled = true;

void LookCache::add(QPushButton* button) {
    if (!button || entry(button))
        return;
    Entry e;
    e.button = button;
    entries_.push_back(e);
    button->installEventFilter(this);
    connect(button, &QObject::destroyed, this, [this](QObject* gone) {
        entries_.erase(std::remove_if(entries_.begin(), entries_.end(),
                                      [gone](const Entry& x) { return x.button == gone; }),
                       entries_.end());
    });
}

int LookCache::ready() const {
    int n = 0;
    for (const Entry& e : entries_)
        for (const Picture& p : e.looks)
            n += matches(p, e.button) ? 1 : 0;
    return n;
}

bool LookCache::matches(const Picture& p, const QPushButton* b) {
    return !p.image.isNull() && p.size == b->size() && p.icon == b->icon().cacheKey() &&
           p.icon_size == b->iconSize() && p.enabled == b->isEnabled() && p.text == b->text();
}

LookCache::Entry* LookCache::entry(const QObject* button) {
    for (Entry& e : entries_)
        if (e.button == button)
            return &e;
    return nullptr;
}

bool LookCache::eventFilter(QObject* watched, QEvent* event) {
    Entry* e = entry(watched);
    if (!e)
        return false;
    switch (event->type()) {
    case QEvent::Paint:
        return paint(*e);
    // What the pictures were drawn with, beyond what matches() compares.
    case QEvent::StyleChange:
    case QEvent::PaletteChange:
    case QEvent::FontChange:
    case QEvent::LayoutDirectionChange:
    case QEvent::ParentChange:
    case QEvent::Move:  // another spot of the ancestors' backgrounds
        e->looks = {};
        break;
    default:
        break;
    }
    return false;
}

// True when the picture was drawn in place of the button's own painting.
bool LookCache::paint(Entry& e) {
    QPushButton* b = e.button;
    if (!enabled || b == drawing_ || b->isDown() || b->isChecked() || b->hasFocus() ||
        (b->testAttribute(Qt::WA_Hover) && b->underMouse()))
        return false;
    QBackingStore* store = b->window()->backingStore();
    if (!store)
        return false;
    const Picture& p = e.looks[b->isFlat() ? 1 : 0];
    if (!matches(p, b)) {
        schedule(b);
        return false;
    }
    QPainter painter(b);
    // Only the window's own frame; a grab draws the button as the style does.
    if (painter.paintEngine()->paintDevice() != store->paintDevice())
        return false;
    painter.drawImage(QPointF(0, 0), p.image);
    return true;
}

void LookCache::schedule(QPushButton* button) {
    for (const QPointer<QPushButton>& b : pending_)
        if (b == button)
            return;
    pending_.emplace_back(button);
    if (pending_.size() == 1)
        QTimer::singleShot(0, this, [this] { draw_pending(); });
}

void LookCache::draw_pending() {
    const std::vector<QPointer<QPushButton>> buttons = std::move(pending_);
    pending_.clear();
    for (const QPointer<QPushButton>& b : buttons)
        if (Entry* e = b ? entry(b) : nullptr)
            draw(*e);
}

// Both looks, each on the ancestors' backgrounds from the window down, in
// the backing store's own format so that every blended edge pixel comes out
// as on the screen. The look the button shows is set back at the end; the
// repaint this asks for copies the new picture.
void LookCache::draw(Entry& e) {
    QPushButton* b = e.button;
    QBackingStore* store = b->window()->backingStore();
    QPaintDevice* device = store ? store->paintDevice() : nullptr;
    if (!device || device->devType() != QInternal::Image || !b->isVisible() || b->isWindow())
        return;
    const QImage::Format format = static_cast<const QImage*>(device)->format();
    std::vector<QWidget*> ancestors;
    for (QWidget* w = b->parentWidget(); w; w = w->isWindow() ? nullptr : w->parentWidget())
        ancestors.push_back(w);
    const qreal ratio = b->devicePixelRatioF();
    const bool flat = b->isFlat();
    drawing_ = b;
    for (size_t look = 0; look < e.looks.size(); ++look) {
        Picture& p = e.looks[look];
        if (matches(p, b))
            continue;
        b->setFlat(look == 1);
        QImage image(b->size() * ratio, format);
        image.setDevicePixelRatio(ratio);
        for (auto it = ancestors.rbegin(); it != ancestors.rend(); ++it) {
            QWidget* w = *it;
            const QRegion spot(QRect(b->mapTo(w, QPoint(0, 0)), b->size()));
            w->render(&image, QPoint(0, 0), spot,
                      w->isWindow() ? QWidget::DrawWindowBackground : QWidget::RenderFlags());
        }
        b->render(&image, QPoint(0, 0), QRegion(), QWidget::RenderFlags());
        p.image = image;
        p.icon = b->icon().cacheKey();
        p.icon_size = b->iconSize();
        p.size = b->size();
        p.text = b->text();
        p.enabled = b->isEnabled();
    }
    if (b->isFlat() != flat)
        b->setFlat(flat);
    drawing_ = nullptr;
}

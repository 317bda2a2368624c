#include "floor.h"
#include "ui/frame/keys.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>

namespace bench {
namespace {
// The home screen's texts where it shows them, with its colours: the
// status line (9 pt) and six window tiles (20 px numbers, 10 px names).
struct Text {
    QRect box;
    const char* text;
    int point_size;  // 0: pixel_size
    int pixel_size;
};
const Text kTexts[] = {
    {{31, 10, 160, 22}, "LED size:1920 x 1080", 9, 0},
    {{218, 10, 100, 20}, "192.168.1.199", 9, 0},
    {{31, 44, 29, 22}, "100", 9, 0},
    {{156, 44, 29, 22}, "50", 9, 0},
    {{55, 93, 100, 15}, "HDMI1", 0, 10},
    {{55, 108, 100, 12}, "No signal", 0, 10},
    {{210, 100, 40, 15}, "Close", 0, 10},
    {{55, 150, 40, 15}, "Close", 0, 10},
    {{210, 150, 40, 15}, "Close", 0, 10},
    {{55, 200, 40, 15}, "Close", 0, 10},
    {{210, 200, 40, 15}, "Close", 0, 10},
};
const QColor kTileColours[] = {0x867AE9, 0xEBA83A, 0x005A8D, 0xFF96AD, 0x39A9CB, 0xFC5404};

QRect tile_rect(int w) {
    return QRect(10 + 155 * (w % 2), 83 + 50 * (w / 2), 40, 40);
}
}  // namespace

FloorWindow::FloorWindow(bool texts) : texts_(texts) {
    resize(320, 240);
    setFocusPolicy(Qt::StrongFocus);
    connect(&tick_, &QTimer::timeout, this, [this] { ++ticks_; });
    tick_.start(10);
}

void FloorWindow::refresh() {
    update(kTexts[2].box);
}

QRect FloorWindow::mark_rect() const {
    return tile_rect(mark_).adjusted(-2, -2, 2, 2);
}

// Draws only what the update asks for, as the panel's widgets do.
void FloorWindow::paintEvent(QPaintEvent* e) {
    QPainter p(this);
    p.fillRect(e->rect(), QColor(16, 16, 28));
    p.setPen(QColor(255, 152, 0));
    p.drawRect(mark_rect().adjusted(0, 0, -1, -1));
    if (!texts_)
        return;
    p.fillRect(QRect(10, 73, 300, 1), QColor(133, 129, 153));
    QFont number = font();
    number.setPixelSize(20);
    p.setFont(number);
    p.setPen(Qt::white);
    for (int w = 0; w < 6; ++w) {
        if (!e->rect().intersects(tile_rect(w)))
            continue;
        p.fillRect(tile_rect(w), kTileColours[w]);
        p.drawText(tile_rect(w), Qt::AlignCenter, QString::number(w + 1));
    }
    for (const Text& t : kTexts) {
        if (!e->rect().intersects(t.box))
            continue;
        QFont f = font();
        if (t.point_size)
            f.setPointSize(t.point_size);
        else
            f.setPixelSize(t.pixel_size);
        p.setFont(f);
        p.drawText(t.box, Qt::AlignLeft | Qt::AlignVCenter, QString::fromUtf8(t.text));
    }
}

void FloorWindow::keyReleaseEvent(QKeyEvent* e) {
    if (e->key() == PANEL_KEY_LEFT || e->key() == PANEL_KEY_RIGHT) {
        const QRect old = mark_rect();
        mark_ = (mark_ + (e->key() == PANEL_KEY_RIGHT ? 1 : 5)) % 6;
        update(old | mark_rect());
    } else {
        update();
    }
}

IdleWatch::IdleWatch(std::function<void()> reached) : reached_(std::move(reached)) {
    qApp->installEventFilter(this);
    connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
            &IdleWatch::about_to_block);
}

bool IdleWatch::eventFilter(QObject* watched, QEvent* e) {
    // A tick: a timer event of a 10 ms QTimer. Everything else is work.
    const auto* timer = qobject_cast<QTimer*>(watched);
    if (!(e->type() == QEvent::Timer && timer && timer->interval() == 10))
        busy_ = true;
    return false;
}

void IdleWatch::about_to_block() {
    if (armed_ && !busy_ && reached_) {
        auto reached = std::move(reached_);
        reached_ = nullptr;
        reached();
        return;
    }
    busy_ = false;
}
}  // namespace bench

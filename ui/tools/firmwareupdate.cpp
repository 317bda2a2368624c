#include "ui/tools/firmwareupdate.h"

#include "core/global.h"
#include "ui/frame/shared_widgets.h"
#include "ui/frame/language.h"

#include <QPainter>

namespace {
const Text5 kText = {"固件升级中", "Firmware updating", "Обновление прошивки", "Đang cập nhật firmware", "韌體升級中"};
}

FirmwareUpdate::FirmwareUpdate(QWidget* parent) : QWidget(parent) {
    setWindowFlags(Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    // The page underneath keeps the panel keys.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setGeometry(0, 80, 320, 80);
}

FirmwareUpdate::~FirmwareUpdate() {
    if (g_move_update == this)
        g_move_update = nullptr;
}

void FirmwareUpdate::update_time_deal() {
    if (g_move_update)
        g_move_update->tick();
}

void FirmwareUpdate::tick() {
    ++ticks_;
    if (ticks_ % 2 == 0)
        slide_step_ = (slide_step_ + 1) % kSlideSteps;
    if (ticks_ % 100 == 0)
        dots_step_ = (dots_step_ + 1) % kDotsSteps;
    update();
}

void FirmwareUpdate::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), QColor(16, 16, 28));
    p.setPen(QPen(QColor(255, 171, 84), 2));
    p.drawRoundedRect(rect().adjusted(1, 1, -1, -1), 10, 10);

    QFont f = font();
    f.setPointSize(12);
    p.setFont(f);
    p.setPen(Qt::white);
    const QString text = tr5(kText) + QString(dots_step_, QChar('.'));
    p.drawText(QRect(10, 12, width() - 20, 26), Qt::AlignCenter, text);

    // A block sliding along the track, left to right, then again.
    const QRect track(30, 50, width() - 60, 12);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(33, 36, 53));
    p.drawRoundedRect(track, 6, 6);
    const int block = 40;
    const int x = track.left() + (track.width() - block) * slide_step_ / (kSlideSteps - 1);
    p.setBrush(QColor(255, 171, 84));
    p.drawRoundedRect(QRect(x, track.top(), block, track.height()), 6, 6);
}

void firmware_update_start() {
    if (!g_move_update)
        g_move_update = new FirmwareUpdate(nullptr);
    g_move_update->show();
    g_move_update->raise();
}

void firmware_update_over() {
    FirmwareUpdate* banner = g_move_update;
    if (!banner)
        return;
    g_move_update = nullptr;
    banner->setAttribute(Qt::WA_DeleteOnClose);
    banner->close();
}

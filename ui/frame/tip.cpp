#include "ui/frame/tip.h"

#include "core/global.h"
#include "ui/frame/shared_widgets.h"
#include "ui/frame/imagecache.h"
#include "ui/frame/language.h"
#include "ui/frame/popup.h"
#include "ui_tip.h"

#include <QFrame>
#include <QLabel>
#include <QPixmap>

namespace {
constexpr int kShowTicks = 300;  // 3 s of 10 ms ticks

const Text5 kUsbIn = {"U盘已接入\n请稍候…", "USB driver is connected,please wait...",
                      "Драйвер USB подключен,\nпожалуйста,подождите...", "Usb đã truy cập\nxin vui lòng chờ …",
                      "U盤已接入\n請稍候…"};
const Text5 kUsbOut = {"U盘已拔出", "USB drive is unplugged.", "USB-накопитель отключен \nот сети.",
                       "USB Thì không kết nối.", "U盤已拔出"};
const Text5 kUsbReading = {"正在读取中，请稍候…", "Reading the data,pls wait",
                           "Прочитайте данные,\nпожалуйста,подождите", "Đang đọc,xin vui lòng chờ …",
                           "正在讀取中，請稍候…"};

const Text5* text_of(int kind) {
    switch (kind) {
    case TIP_USB_IN: return &kUsbIn;
    case TIP_USB_OUT: return &kUsbOut;
    case TIP_USB_READING: return &kUsbReading;
    default: return nullptr;
    }
}
}  // namespace

TIP::TIP(QWidget* parent) : QDialog(parent) {
    Ui::TIP ui;
    ui.setupUi(this);
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
    raise_when_shown(this);
}

void TIP::tip_create(int kind) {
    // A kind without a notice leaves a notice that is showing intact rather
    // than emptying its box for the rest of its time.
    if (kind != TIP_DONE && !text_of(kind))
        return;
    delete frame_;
    frame_ = nullptr;
    kind_ = kind;

    const QRect box = kind == TIP_DONE ? QRect(100, 60, 120, 120) : QRect(50, 60, 220, 120);
    setGeometry(box);
    frame_ = new QFrame(this);
    frame_->setGeometry(0, 0, box.width(), box.height());
    frame_->setStyleSheet("background-color:rgb(136, 138, 133);");
    if (kind == TIP_DONE) {
        auto* image = new QLabel(frame_);
        image->setGeometry(20, 20, 80, 80);
        image->setPixmap(cached_pixmap(png("check_180.png")).scaled(80, 80));
        image->raise();
    } else {
        auto* text = new QLabel(frame_);
        text->setGeometry(5, 5, 200, 100);
        text->setStyleSheet("font: 15px");
        text->setAlignment(Qt::AlignCenter);
        text->setWordWrap(true);
        text->setText(tr5(*text_of(kind)));
    }
    frame_->show();

    // A notice asked for while one shows (a refresh from inside its loop)
    // replaces the content and restarts the count instead of nesting a
    // second modal loop.
    if (g_tip_flag) {
        count_ = 0;
        return;
    }
    tip_show();
}

void TIP::tip_show() {
    count_ = 0;
    g_tip_flag = 1;
    exec();
}

void TIP::tip_outtime_deal() {
    if (++count_ < kShowTicks)
        return;
    hide();
    count_ = 0;
    g_tip_flag = 0;
    debug_printf("\n tip over! ");
}

#include "ui/frame/modegrid.h"

#include "core/ids.h"
#include "core/rynrampara.h"
#include "ui/frame/focuslist.h"
#include "ui/frame/imagecache.h"
#include "ui/frame/language.h"

#include <QFont>
#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QWidget>

namespace {
const Text5 kGridLoad = {"用户模式调用", "User mode invocation", "Загрузка настроек", "Điều chỉnh chế độ",
                         "用戶模式調用"};
const Text5 kGridSave = {"用户模式保存", "User mode save", "Сохранение настроек", "Chế độ lưu", "用戶模式保存"};
const Text5 kSlotUsing = {"使用中\u00AD", "Using", "Использовать", "sử dụng", "使用中\u00AD"};
const QString kGridStyle =
    QStringLiteral("#widget_mode{background-color: rgb(255, 255, 255);border:1px groove gray;border-radius:1px;}");
// The window's white text would vanish on the white grid: the title and
// the slot buttons say their own colour and border.
const QString kGridTitleStyle = QStringLiteral("background-color: rgb(255, 255, 255);color: rgb(33, 36, 53);");
const QString kSavedFrame = QStringLiteral("background-color: #212435;border-radius:5px;");
const QString kEmptyFrame = QStringLiteral("background-color: #B2B2B2;border-radius:5px;");
const QString kClickedFrame = QStringLiteral("background-color: #00D65B;border-radius:5px;");
const QString kBadgeStyle = QStringLiteral("background-color: #4777FF;color: #FFFFFF;border-radius:3px;font: 7px;");
const QString kSlotButton = QStringLiteral("background-color:transparent;border:none;");
const QString kSlotButtonSelected =
    QStringLiteral("background-color:transparent;border-radius:5px;border:2px solid rgb(255,171,84);");
constexpr int kUsingPixels = 7;
constexpr int kUsingWidth = 36;

bool slot_saved(int slot) {
    return RynRamPara::pInstance()->RynUserModeSaved(slot);
}
}  // namespace

// The grid's widgets are made once, when the grid first opens: the first
// frame does not need them. fill() draws them in place.
ModeGrid::ModeGrid(QWidget* parent) : widget_(new QWidget(parent)) {
    widget_->setObjectName(QStringLiteral("widget_mode"));
    widget_->setStyleSheet(kGridStyle);
    widget_->hide();
    title_ = new QLabel(widget_);
    title_->setObjectName(QStringLiteral("label_mode_title"));
    title_->setGeometry(10, 5, 210, 28);
    title_->setStyleSheet(kGridTitleStyle);
    QFont title_font = title_->font();
    title_font.setPointSize(9);
    title_->setFont(title_font);
    for (int i = 0; i < USER_MODE_COUNT; ++i) {
        const QRect box(15 + 63 * (i % 4), 33 + 45 * (i / 4), 50, 40);
        Slot& slot = slots_[size_t(i)];
        slot.frame = new QFrame(widget_);
        slot.frame->setObjectName(QStringLiteral("mode_frame_%1").arg(i));
        slot.frame->setGeometry(box);
        auto* number = new QLabel(QString::number(i + 1), widget_);
        number->setObjectName(QStringLiteral("mode_number_%1").arg(i));
        number->setGeometry(box.x(), box.y(), 12, 12);
        number->setStyleSheet(kBadgeStyle);
        number->setAlignment(Qt::AlignCenter);
        slot.image = new QLabel(slot.frame);
        slot.image->setObjectName(QStringLiteral("mode_image_%1").arg(i));
        slot.image->setGeometry(17, 12, 16, 16);
        slot.image->setScaledContents(true);
        slot.using_label = new QLabel(slot.frame);
        slot.using_label->setObjectName(QStringLiteral("mode_using_%1").arg(i));
        slot.using_label->setGeometry(7, 23, kUsingWidth, 17);
        slot.using_label->setAlignment(Qt::AlignCenter);
        slot.using_label->hide();
        slot.button = new QPushButton(widget_);
        slot.button->setObjectName(QString::number(i));
        slot.button->setGeometry(box);
        slot.button->setFocusPolicy(Qt::NoFocus);
        slot.button->setStyleSheet(kSlotButton);
    }
}

QPushButton* ModeGrid::button(int slot) const {
    return slot >= 0 && slot < USER_MODE_COUNT ? slots_[size_t(slot)].button : nullptr;
}

void ModeGrid::fill(int selected, bool frame_saved, bool frame_empty) {
    const int current = RynRamPara::pInstance()->RynGetCurrentModeIndex();
    // The "Using" text keeps the label's 7 pixels where it fits its box;
    // a longer word takes the frame's width inside the selected slot's
    // 2-pixel border, with a pixel's gap, and a smaller size.
    QString using_text = tr5(kSlotUsing);
    using_text.remove(QChar(0x00AD));  // a break mark, drawn as a hyphen on one line
    QFont using_font;
    using_font.setPixelSize(kUsingPixels);
    const bool wide = QFontMetrics(using_font).horizontalAdvance(using_text) > kUsingWidth;
    const QRect using_box = wide ? QRect(3, 23, 44, 17) : QRect(7, 23, kUsingWidth, 17);
    const QString using_style = QStringLiteral("color: rgb(255, 255, 255); font: %1px;")
                                    .arg(fitting_pixel_size(using_font, using_text, using_box.width()));
    for (int i = 0; i < USER_MODE_COUNT; ++i) {
        Slot& slot = slots_[size_t(i)];
        const bool saved = slot_saved(i);
        const bool framed = i == selected && (saved ? frame_saved : frame_empty);
        const bool in_use = saved && i + 1 == current;
        set_style(slot.frame, saved ? kSavedFrame : kEmptyFrame);
        set_label_pixmap(slot.image, png(saved ? "mode_exist.png" : "mode_blank.png"));
        slot.image->move(17, in_use ? 7 : 12);
        set_style(slot.button, framed ? kSlotButtonSelected : kSlotButton);
        if (in_use) {
            slot.using_label->setGeometry(using_box);
            set_style(slot.using_label, using_style);
            if (slot.using_label->text() != using_text)
                slot.using_label->setText(using_text);
        }
        slot.using_label->setVisible(in_use);
    }
}

void ModeGrid::show_titled(bool save) {
    widget_->setGeometry(11, 6, 270, 230);
    set_fitted_text(title_, tr5(save ? kGridSave : kGridLoad));
    widget_->show();
    widget_->raise();
}

void ModeGrid::hide() {
    widget_->hide();
}

void ModeGrid::show_slot_state(int slot) {
    if (slot >= 0 && slot < USER_MODE_COUNT)
        set_style(slots_[size_t(slot)].frame, slot_saved(slot) ? kSavedFrame : kEmptyFrame);
}

void ModeGrid::show_clicked(int slot) {
    if (slot >= 0 && slot < USER_MODE_COUNT)
        set_style(slots_[size_t(slot)].frame, kClickedFrame);
}

#include "ui/pages/ledset.h"

#include "ui_ledset.h"

#include "core/global.h"
#include "ui/frame/shared_widgets.h"
#include "core/para_write.h"
#include "core/ramblock.h"
#include "core/rynrampara.h"
#include "core/utils.h"
#include "fpga/fpga_manage.h"
#include "ui/frame/imagecache.h"
#include "ui/frame/outputset.h"
#include "ui/frame/tip.h"

#include <QPointer>
#include <QRegularExpression>
#include <climits>

namespace {
const Text5 kTitle = {"LED设置", "LED Setting", "Настройка LED", "Cài đặt LED", "LED設置"};
const Text5 kHeading = {"设置LED屏宽高", "Set LED W&H", "Разрешение LED шир и выс", "Cài đặt thông số led",
                        "設置LED屏寬高"};
const Text5 kWidth = {"宽", "W", "Ширина", "Rộng", "寬"};
const Text5 kHeight = {"高", "H", "Высота", "Cao", "高"};
const Text5 kApply = {"应用", "Apply", "OK", "Đồng ý", "應用"};
const Text5 kCancel = {"取消", "Cancel", "Отмена", "Hủy bỏ", "取消"};
const Text5 kTip = {"可设LED屏最大点数:%d(宽),%d(高)", "LED max:%d(w),%d(h)", "Ширина:%d(px)Высота:%d(px)",
                    "Điểm ảnh lớn nhất:%d(ngang),%d(dọc)", "可設LED屏最大點數:%d(寬),%d(高)"};
// The keypad's titles: Chinese where chosen, else the English letter.
const Text5 kKeypadWidth = {"宽", "W", "W", "W", "寬"};
const Text5 kKeypadHeight = {"高", "H", "H", "H", "高"};

const FocusStyles kFieldStyles{
    "color:rgb(255, 255, 255);background-color:rgb(33, 36, 53);border:1px solid rgb(255,255,255);",
    "color:rgb(255, 255, 255);background-color: rgb(33, 36, 53);border:1px solid rgb(255,171,84);",
    "color:rgb(255, 255, 255);background-color: rgb(33, 36, 53);border:1px solid rgb(255,171,84);"};
const FocusStyles kButtonStyles{
    "color: rgb(255, 255, 255);background-color: rgb(33, 36, 53) ; border:1px solid rgb(255,255,255) ;",
    "color: rgb(255, 255, 255);background-color: rgb(33, 36, 53); border:1px solid rgb(255,171,84);",
    "color: rgb(255, 255, 255);background-color: rgb(33, 36, 53); border:1px solid rgb(255,171,84);"};

RynRamPara* para() {
    return RynRamPara::pInstance();
}

// The keypad sends digits only; a text that is no number reads 0, and one
// too long for an int is as far above the limit as any.
int typed_number(const QString& text) {
    static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
    if (!digits.match(text).hasMatch())
        return 0;
    bool ok = false;
    const int n = text.toInt(&ok);
    return ok ? n : INT_MAX;
}

// A field's number; 0 when it is none. A size word above 32767 that the PC
// wrote reads as itself, so that Apply writes it back unchanged instead of
// a zero size, and the pixel limit still holds against it.
int field_number(const QString& text) {
    bool ok = false;
    const int n = text.toInt(&ok);
    return ok && n >= 0 && n <= 0xFFFF ? n : 0;
}

// Byte 80 of FPGA 0's register shadow is 3 while it runs. Without the
// manager or its shadow the FPGA counts as not running.
bool fpga_running() {
    const fpga_manage* f = fpga_manage::p_fpga_manage;
    return f && f->MCU_REG_func[0] && f->MCU_REG_func[0][fpga_reg::STATE] == fpga_reg::STATE_RUNNING;
}
}  // namespace

ledset::ledset(QWidget* parent) : FramePage<QDialog>(parent), ui(std::make_unique<Ui::ledset>()) {
    ui->setupUi(this);
    set_label_pixmap(ui->label_warning, png("warning.png"));
    connect_number_field(ui->lineEdit_ledw);
    connect_number_field(ui->lineEdit_ledh);
    menulist_init();
}

ledset::~ledset() = default;

void ledset::para_init() {
    ui->lineEdit_ledw->setText(QString::number(para()->u16(blk::LED_WIDTH)));
    ui->lineEdit_ledh->setText(QString::number(para()->u16(blk::LED_HEIGHT)));
}

void ledset::menulist_init() {
    set_focus_list({ui->lineEdit_ledw, ui->lineEdit_ledh, ui->Button_apply, ui->Button_cancle});
}

const FocusStyles& ledset::entry_styles(int index) const {
    return index <= ENTRY_HEIGHT ? kFieldStyles : kButtonStyles;
}

void ledset::language_changed() {
    set_fitted_text(ui->label_ledset, tr5(kTitle));
    set_fitted_text(ui->label_note_led_w, tr5(kHeading));
    set_fitted_texts({{ui->label_ledw, tr5(kWidth)}, {ui->label_ledh, tr5(kHeight)}});
    set_fitted_text(ui->Button_apply, tr5(kApply));
    set_fitted_text(ui->Button_cancle, tr5(kCancel));
    set_fitted_text(ui->label_tip, fill_numbers(tr5(kTip), {kMaxSide, kMaxSide}));
}

void ledset::syncUpdate(int) {
    const RynRamPara* p = para();
    const bool size_changed = p->u16(blk::LED_WIDTH) != p->shadow_u16(blk::LED_WIDTH) ||
                              p->u16(blk::LED_HEIGHT) != p->shadow_u16(blk::LED_HEIGHT);
    if (para()->RynLanguageChanged())
        language_changed();
    // A size set elsewhere (the PC, a user mode) replaces what is typed.
    if (size_changed)
        para_init();
}

void ledset::entry_ok(int index) {
    switch (index) {
    case ENTRY_WIDTH: emit ui->lineEdit_ledw->send_show(ui->lineEdit_ledw->objectName()); break;
    case ENTRY_HEIGHT: emit ui->lineEdit_ledh->send_show(ui->lineEdit_ledh->objectName()); break;
    case ENTRY_APPLY: on_Button_apply1_clicked(); break;
    case ENTRY_CANCEL: slot_Button_back_clicked(); break;
    default: break;
    }
}

QString ledset::number_title(const My_lineEdit* field) const {
    if (field == ui->lineEdit_ledw)
        return tr5(kKeypadWidth);
    if (field == ui->lineEdit_ledh)
        return tr5(kKeypadHeight);
    return QString();
}

// Each side stays within 64..8188 and the pixel count within its limit;
// the other side gives way when the typed one would pass it.
void ledset::confirmString(const QString& text) {
    QLineEdit* edited = g_lineedit;
    const bool width = edited == ui->lineEdit_ledw;
    if (!width && edited != ui->lineEdit_ledh)
        return;
    QLineEdit* other = width ? ui->lineEdit_ledh : ui->lineEdit_ledw;
    const int typed = typed_number(text);
    const int32_t other_value = field_number(other->text());
    if (typed > kMaxSide) {
        edited->setText(QString::number(kMaxSide));
        if (other_value * kMaxSide > kMaxPixels)
            other->setText(QString::number(kMaxPixels / kMaxSide));
    } else if (typed >= kMinSide) {
        edited->setText(text);
        const int32_t limit = width ? kMaxPixels : kMaxPixelsHeightTyped;
        if (int32_t(typed) * other_value > limit)
            other->setText(QString::number(limit / typed));
    } else {
        edited->setText(QString::number(kMinSide));
    }
}

void ledset::on_Button_apply1_clicked() {
    const uint16_t w = uint16_t(field_number(ui->lineEdit_ledw->text()));
    const uint16_t h = uint16_t(field_number(ui->lineEdit_ledh->text()));
    // A new size is confirmed by a notice (a nested loop) with the lock
    // held, so that the scaler takes it up only once the user has seen it.
    QPointer<ledset> alive(this);
    para_write_noticed(
        [w, h](RynRamPara& p) {
            p.set_u16(blk::SPLICE_MODE, 0);
            p.set_u16(blk::LED_WIDTH, w);
            p.set_u16(blk::LED_HEIGHT, h);
            for (int out : {blk::OUT1_X, blk::OUT2_X}) {
                p.set_u16(out, 0);      // x
                p.set_u16(out + 2, 0);  // y
                p.set_u16(out + 4, w);  // width
                p.set_u16(out + 6, h);  // height
            }
            // The saved size again: the outputs only, without a notice.
            if (w == p.shadow_u16(blk::LED_WIDTH) && h == p.shadow_u16(blk::LED_HEIGHT))
                return false;
            p.set_u16(blk::window(0, blk::WIN_X), 0);
            p.set_u16(blk::window(0, blk::WIN_Y), 0);
            p.set_u16(blk::window(0, blk::WIN_WIDTH), w);
            p.set_u16(blk::window(0, blk::WIN_HEIGHT), h);
            for (int win = 1; win < WINDOW_COUNT; ++win)
                p.set_u16(blk::window(win, blk::WIN_ENABLE), 0);
            if (fpga_running()) {
                MutexLocker led(&Utils::_led_para_init_mutex);
                g_set_led_para = LED_PARA_REQUEST;
                g_set_led_setup = 0;
            }
            return true;
        },
        [this, alive] {
            applying = true;
            shared_tip()->tip_create(TIP_DONE);
            if (alive)
                applying = false;
        });
}

void ledset::keyReleaseEvent(QKeyEvent* e) {
    if (applying) {
        frame::log_key("ledset", "keyReleaseEvent (applying, ignored)", e->key());
        return;
    }
    FramePage<QDialog>::keyReleaseEvent(e);
}

void ledset::slot_Button_back_clicked() {
    close_page();
}

#include "ui/frame/numberkeyboard.h"

#include "ui/frame/imagecache.h"
#include "ui/frame/keys.h"
#include "ui/frame/fonts.h"
#include "ui/frame/language.h"
#include "ui/frame/popup.h"

#include "ui_numberkeyboard.h"

#include <QDebug>
#include <QIcon>
#include <QKeyEvent>
#include <QRegExpValidator>

namespace {
// The digits typed with the keys since the keypad was last filled or
// cleared. The keypad is a single instance, so it lives here.
QString l_str;

const Text5 kCancel = {"取消", "Cancel", "Отмена", "Hủy bỏ", "取消"};
const Text5 kOk = {"确定", "OK", "OK", "Đồng ý", "確定"};

// Looked at as characters, not as a number: a long entry would overflow a
// numeric conversion and a stray character would read as zero.
bool only_zeros(const QString& s) {
    for (const QChar c : s)
        if (c != QLatin1Char('0'))
            return false;
    return true;
}
}  // namespace

NumberKeyboard::NumberKeyboard(QWidget* parent) : QDialog(parent), ui(new Ui::NumberKeyboard) {
    ui->setupUi(this);
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
    raise_when_shown(this);
    // Typed text only: what the program sets is not checked.
    ui->lineEdit->setValidator(new QRegExpValidator(QRegExp(QStringLiteral("[*0-9]+$")), ui->lineEdit));
    ui->ButtonX->setIcon(cached_icon(png(QStringLiteral("delete.png"))));
    ui->ButtonX->setIconSize(QSize(20, 20));

    // A touch on a digit types it, as the OK key on the focused digit does.
    const std::array<QPushButton*, 10> digits = {ui->Button0, ui->Button1, ui->Button2, ui->Button3, ui->Button4,
                                                 ui->Button5, ui->Button6, ui->Button7, ui->Button8, ui->Button9};
    for (int d = 0; d < 10; ++d)
        connect(digits[size_t(d)], &QPushButton::clicked, this, [this, d] { type_digit(d); });

    menulist_init();
    language_changed();
}

NumberKeyboard::~NumberKeyboard() {
    delete ui;
}

void NumberKeyboard::menulist_init() {
    ui_list = {ui->Button1, ui->Button2, ui->Button3, ui->Button4, ui->Button5, ui->Button6,      ui->Button7,
               ui->Button8, ui->Button9, ui->Button0, ui->ButtonC, ui->ButtonX, ui->Button_close, ui->Button_ok};
    ui_select = 0;
    ui_focus = ui_list[0];
    ui_focus->setStyleSheet(style_focus);
}

void NumberKeyboard::label_show(const QString& title, const QString& value) {
    ui->label->setText(fitted_text(ui->label, title));
    l_str.clear();
    ui->lineEdit->setText(value);
    // Showing a dialog hands its remembered focus widget a tab focus, and
    // a line edit takes that as "select all": the value would open
    // selected from the second time on. Forgotten, it opens as the first.
    ui->lineEdit->clearFocus();
    language_changed();
}

void NumberKeyboard::language_changed() {
    ui->Button_close->setText(tr5(kCancel));
    ui->Button_ok->setText(tr5(kOk));
}

QString NumberKeyboard::title() const {
    return ui->label->text();
}
QString NumberKeyboard::value() const {
    return ui->lineEdit->text();
}

// A leading 0 stays a lone "0" so that the next digit replaces it.
void NumberKeyboard::type_digit(int digit) {
    if (digit == 0 && only_zeros(l_str)) {
        l_str.clear();
        ui->lineEdit->setText(QStringLiteral("0"));
        return;
    }
    l_str.append(QChar('0' + digit));
    ui->lineEdit->setText(l_str);
}

void NumberKeyboard::on_ButtonC_clicked() {
    ui->lineEdit->setText(QStringLiteral("0"));
    l_str.clear();
}

// Later digits append to what is left of the value shown.
void NumberKeyboard::on_ButtonX_clicked() {
    QString text = ui->lineEdit->text();
    text.chop(1);
    ui->lineEdit->setText(text);
    l_str = text;
}

void NumberKeyboard::on_Button_ok_clicked() {
    emit sendKeyBoardUIDataToLineEdit(ui->lineEdit->text());
    hide();
}

void NumberKeyboard::on_Button_close_clicked() {
    hide();
}

void NumberKeyboard::press(int index) {
    if (index < KEY_ZERO)
        type_digit(index + 1);
    else if (index == KEY_ZERO)
        type_digit(0);
    else if (index == KEY_C)
        on_ButtonC_clicked();
    else if (index == KEY_X)
        on_ButtonX_clicked();
    else if (index == KEY_CANCEL)
        on_Button_close_clicked();
    else if (index == KEY_OK)
        on_Button_ok_clicked();
}

void NumberKeyboard::move_focus(int delta) {
    ui_focus->setStyleSheet(ui_select == KEY_OK ? style_ok_default : style_default);
    ui_select = uint8_t(((int(ui_select) + delta) % KEY_COUNT + KEY_COUNT) % KEY_COUNT);
    ui_focus = ui_list[ui_select];
    ui_focus->setStyleSheet(ui_select == KEY_OK ? style_ok_focus : style_focus);
}

// Logs only; in particular Escape must not reject the keypad behind the
// keys' back.
void NumberKeyboard::keyPressEvent(QKeyEvent* event) {
    const PanelKey k = panel_key(event->key());
    if (k == PanelKey::Ok || k == PanelKey::Back)
        qDebug("in NumberKeyboard keyPressEvent event %#x", unsigned(event->key()));
}

// MODE and the other keypad letters are swallowed: the keypad is modal and
// passes nothing on to the shortcuts.
void NumberKeyboard::keyReleaseEvent(QKeyEvent* event) {
    qDebug("in NumberKeyboard keyReleaseEvent event %#x", unsigned(event->key()));
    switch (panel_key(event->key())) {
    case PanelKey::Left: move_focus(-1); break;
    case PanelKey::Right: move_focus(1); break;
    case PanelKey::Ok: press(ui_select); break;
    case PanelKey::Back: on_Button_close_clicked(); break;
    case PanelKey::Mode:
    case PanelKey::Other: break;
    }
}

// The shared number keypad: typing rules with the panel keys and touch,
// C, X, OK and Cancel, focus wrap-around, keys it must swallow, and the
// number field that opens it.
#include "testsupport.h"

#include "core/global.h"
#include "core/ramblock.h"
#include "core/rynrampara.h"
#include "scaler/c331_manage.h"
#include "ui/frame/keys.h"
#include "ui/frame/my_lineedit.h"
#include "ui/frame/numberkeyboard.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QValidator>
#include <QtTest>
#include <memory>

namespace {
// Focus indexes of the keys.
constexpr int KEY_ZERO = 9, KEY_C = 10, KEY_X = 11, KEY_CANCEL = 12, KEY_OK = 13;

const QString kStyleDefault = "background-color: rgb(255, 255, 255);border:1px ;";
const QString kStyleFocus = "background-color: rgb(255, 255, 255);border:1px solid rgb(255,171,84);";
const QString kStyleOkFocus = "background-color: rgb(71, 119, 255);border:1px solid rgb(255,171,84);";

void release(QWidget* w, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    QKeyEvent rel(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(w, &rel);
}

// Moves the focus with Right to `index` (at most one lap) and presses OK.
void press_key(NumberKeyboard* kb, int index) {
    for (int i = 0; i < 14 && kb->focused_index() != index; ++i)
        release(kb, PANEL_KEY_RIGHT);
    QCOMPARE(int(kb->focused_index()), index);
    release(kb, PANEL_KEY_OK);
}

// '0'..'9' a digit, 'C' clear, 'X' delete, typed with focus and OK.
void type(NumberKeyboard* kb, const QString& seq) {
    for (const QChar c : seq) {
        if (c.isDigit())
            press_key(kb, c == '0' ? KEY_ZERO : c.digitValue() - 1);
        else if (c == 'C')
            press_key(kb, KEY_C);
        else if (c == 'X')
            press_key(kb, KEY_X);
    }
}

QPushButton* button(NumberKeyboard* kb, const char* name) {
    return kb->findChild<QPushButton*>(name);
}
}  // namespace

class TstNumberKeyboard : public QObject {
    Q_OBJECT
private slots:
    void init() {
        testsupport::fresh_device();
        kb = std::make_unique<NumberKeyboard>();
        kb->show();
    }
    void cleanup() { kb.reset(); }

    void typing_rules_data();
    void typing_rules();
    void touch_on_digit_types_it();
    void ok_sends_entry_and_hides_data();
    void ok_sends_entry_and_hides();
    void back_and_cancel_send_nothing_data();
    void back_and_cancel_send_nothing();
    void mode_and_letters_are_swallowed();
    void focus_wraps_with_ok_key_styles();
    void refill_keeps_focus_and_empties_typed_digits();
    void exec_returns_on_ok();
    void texts_follow_language_rule();
    void form_and_frameless();
    void line_edit_press_sends_text();

private:
    std::unique_ptr<NumberKeyboard> kb;
};

void TstNumberKeyboard::typing_rules_data() {
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("shown");
    QTest::newRow("filled value stays") << "1920" << "" << "1920";
    QTest::newRow("first digit replaces value") << "1920" << "5" << "5";
    QTest::newRow("digits append") << "1920" << "123" << "123";
    QTest::newRow("X then digit appends to rest") << "1920" << "X5" << "1925";
    QTest::newRow("X after program-set value") << "1920" << "X" << "192";
    QTest::newRow("X then 0 appends") << "1920" << "X0" << "1920";
    QTest::newRow("0 on fresh keypad") << "1920" << "0" << "0";
    QTest::newRow("0 then 7 gives 7") << "1920" << "07" << "7";
    QTest::newRow("zeros stay single") << "1920" << "0007" << "7";
    QTest::newRow("9 then 0 gives 90") << "1920" << "90" << "90";
    QTest::newRow("100") << "" << "100" << "100";
    QTest::newRow("C shows 0") << "1920" << "C" << "0";
    QTest::newRow("C then 0 then 5") << "1920" << "C05" << "5";
    QTest::newRow("digits then C then digit") << "1920" << "12C3" << "3";
    QTest::newRow("X on one character empties") << "7" << "X" << "";
    QTest::newRow("X on empty changes nothing") << "7" << "XX" << "";
    QTest::newRow("X to empty then 0") << "7" << "X0" << "0";
    QTest::newRow("X on typed digits") << "1920" << "45X6" << "46";
    QTest::newRow("X back to 1 then 0 gives 10") << "12" << "X0" << "10";
    // Typed digits are kept as characters: twenty digits neither overflow
    // nor wipe the entry when a 0 follows.
    QTest::newRow("long entry then 0") << "" << "12345678901234567890" << "12345678901234567890";
    QTest::newRow("long entry keeps 0") << "" << "999999999999990" << "999999999999990";
    // A stray character left by X is not read as zero.
    QTest::newRow("non-digit left then 0") << "12*3" << "X0" << "12*0";
}

void TstNumberKeyboard::typing_rules() {
    QFETCH(QString, start);
    QFETCH(QString, keys);
    QFETCH(QString, shown);
    kb->label_show("W", start);
    type(kb.get(), keys);
    QCOMPARE(kb->value(), shown);
}

void TstNumberKeyboard::touch_on_digit_types_it() {
    kb->label_show("W", "1920");
    QTest::mouseClick(button(kb.get(), "Button7"), Qt::LeftButton);
    QCOMPARE(kb->value(), QString("7"));
    QTest::mouseClick(button(kb.get(), "Button0"), Qt::LeftButton);
    QCOMPARE(kb->value(), QString("70"));
    QTest::mouseClick(button(kb.get(), "ButtonX"), Qt::LeftButton);
    QTest::mouseClick(button(kb.get(), "Button3"), Qt::LeftButton);
    QCOMPARE(kb->value(), QString("73"));
    // A touch does not move the panel-key focus.
    QCOMPARE(int(kb->focused_index()), 0);
    QTest::mouseClick(button(kb.get(), "ButtonC"), Qt::LeftButton);
    QCOMPARE(kb->value(), QString("0"));
}

void TstNumberKeyboard::ok_sends_entry_and_hides_data() {
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("sent");
    QTest::newRow("ok at once sends value") << "1920" << "" << "1920";
    QTest::newRow("C then OK sends 0") << "1920" << "C" << "0";
    QTest::newRow("empty entry sent as empty") << "7" << "X" << "";
    QTest::newRow("typed value") << "1920" << "1280" << "1280";
}

void TstNumberKeyboard::ok_sends_entry_and_hides() {
    QFETCH(QString, start);
    QFETCH(QString, keys);
    QFETCH(QString, sent);
    QSignalSpy spy(kb.get(), &NumberKeyboard::sendKeyBoardUIDataToLineEdit);
    kb->label_show("W", start);
    type(kb.get(), keys);
    QVERIFY(spy.isEmpty());
    press_key(kb.get(), KEY_OK);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toString(), sent);
    QVERIFY(spy.at(0).at(0).toString().isEmpty() == sent.isEmpty());
    QVERIFY(!kb->isVisible());

    // Touching OK does the same.
    kb->show();
    QTest::mouseClick(button(kb.get(), "Button_ok"), Qt::LeftButton);
    QCOMPARE(spy.count(), 2);
    QCOMPARE(spy.at(1).at(0).toString(), sent);
    QVERIFY(!kb->isVisible());
}

void TstNumberKeyboard::back_and_cancel_send_nothing_data() {
    QTest::addColumn<int>("how");
    QTest::newRow("BACK key") << 0;
    QTest::newRow("BACK letter O") << 1;
    QTest::newRow("OK on Cancel") << 2;
    QTest::newRow("touch Cancel") << 3;
}

void TstNumberKeyboard::back_and_cancel_send_nothing() {
    QFETCH(int, how);
    QSignalSpy spy(kb.get(), &NumberKeyboard::sendKeyBoardUIDataToLineEdit);
    kb->label_show("W", "1920");
    type(kb.get(), "55");
    switch (how) {
    case 0: release(kb.get(), PANEL_KEY_BACK); break;
    case 1: release(kb.get(), PANEL_LETTER_BACK); break;
    case 2: press_key(kb.get(), KEY_CANCEL); break;
    case 3: QTest::mouseClick(button(kb.get(), "Button_close"), Qt::LeftButton); break;
    }
    QVERIFY(!kb->isVisible());
    QCOMPARE(spy.count(), 0);
}

// The keypad is modal over a page: MODE must not open the user modes and
// the USB shortcut letters must not reach the block.
void TstNumberKeyboard::mode_and_letters_are_swallowed() {
    QSignalSpy spy(kb.get(), &NumberKeyboard::sendKeyBoardUIDataToLineEdit);
    RynRamPara* p = RynRamPara::pInstance();
    p->set_u16(blk::window(1, blk::WIN_ENABLE), 1);
    const auto before = p->RamParaBlock;
    kb->label_show("W", "1920");
    type(kb.get(), "3");
    const int focus = kb->focused_index();
    for (int key : {int(PANEL_KEY_MODE), int(PANEL_LETTER_MODE), int('B'), int('G'), int('K'),
                    int('N'), int('P'), int(Qt::Key_Escape), int(Qt::Key_Return)})
        release(kb.get(), key);
    QVERIFY(kb->isVisible());
    QCOMPARE(spy.count(), 0);
    QCOMPARE(kb->value(), QString("3"));
    QCOMPARE(int(kb->focused_index()), focus);
    QCOMPARE(int(g_image_current), 0);
    QCOMPARE(g_page_focus, uint8_t(PAGE_LOCKWINDOW));
    QVERIFY(p->RamParaBlock == before);
    QCOMPARE(int(c331_manage::pInstance()->para_update_flag), 0);
}

void TstNumberKeyboard::focus_wraps_with_ok_key_styles() {
    kb->label_show("W", "1");
    QCOMPARE(button(kb.get(), "Button1")->styleSheet(), kStyleFocus);
    // LEFT on key "1" focuses the OK key, blue with the orange border.
    release(kb.get(), PANEL_KEY_LEFT);
    QCOMPARE(int(kb->focused_index()), KEY_OK);
    QCOMPARE(button(kb.get(), "Button_ok")->styleSheet(), kStyleOkFocus);
    QCOMPARE(button(kb.get(), "Button1")->styleSheet(), kStyleDefault);
    // RIGHT on the OK key wraps to key "1", and OK gets its own plain style.
    release(kb.get(), PANEL_LETTER_RIGHT);
    QCOMPARE(int(kb->focused_index()), 0);
    QCOMPARE(button(kb.get(), "Button_ok")->styleSheet(),
             QString("background-color: rgb(71, 119, 255);border:1px ;"));
    // The letters double the keys.
    release(kb.get(), PANEL_LETTER_LEFT);
    QCOMPARE(int(kb->focused_index()), KEY_OK);
    release(kb.get(), PANEL_LETTER_LEFT);
    QCOMPARE(int(kb->focused_index()), KEY_CANCEL);
    QCOMPARE(button(kb.get(), "Button_close")->styleSheet(), kStyleFocus);
    QCOMPARE(button(kb.get(), "Button_ok")->styleSheet(),
             QString("background-color: rgb(71, 119, 255);border:1px ;"));
}

void TstNumberKeyboard::refill_keeps_focus_and_empties_typed_digits() {
    kb->label_show("A", "10");
    type(kb.get(), "56");  // focus left on key "6"
    release(kb.get(), PANEL_KEY_BACK);
    kb->label_show("Height", "1080");
    QCOMPARE(kb->title(), QString("Height"));
    QCOMPARE(kb->value(), QString("1080"));
    QCOMPARE(int(kb->focused_index()), 5);
    // The digits typed before are gone: the next digit replaces the value.
    release(kb.get(), PANEL_KEY_OK);
    QCOMPARE(kb->value(), QString("6"));
}

// The way the pages use it: fill, exec(), and the result through the signal.
void TstNumberKeyboard::exec_returns_on_ok() {
    kb->hide();
    QSignalSpy spy(kb.get(), &NumberKeyboard::sendKeyBoardUIDataToLineEdit);
    kb->label_show("W", "1920");
    QTimer failsafe;
    failsafe.setSingleShot(true);
    connect(&failsafe, &QTimer::timeout, kb.get(), &QWidget::hide);
    failsafe.start(5000);
    testsupport::post([this] {
        type(kb.get(), "X5");
        press_key(kb.get(), KEY_OK);
    });
    kb->exec();
    QVERIFY(failsafe.isActive());
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toString(), QString("1925"));
}

void TstNumberKeyboard::texts_follow_language_rule() {
    struct Row {
        uint8_t lang;
        uint32_t valid;
        const char* cancel;
        const char* ok;
    };
    const Row rows[] = {{LANG_VIETNAMESE, 0x1F, "Hủy bỏ", "Đồng ý"},
                        {LANG_TCHINESE, 0x1F, "取消", "確定"},
                        {LANG_VIETNAMESE, 0x17, "Cancle", "OK"},  // not offered
                        {7, 0x1F, "Cancle", "OK"}};              // out of range
    for (const Row& r : rows) {
        g_language = r.lang;
        g_lcd_lang_valid = r.valid;
        kb->label_show("W", "1");  // the texts follow every fill
        QCOMPARE(button(kb.get(), "Button_close")->text(), QString::fromUtf8(r.cancel));
        QCOMPARE(button(kb.get(), "Button_ok")->text(), QString::fromUtf8(r.ok));
    }
}

void TstNumberKeyboard::form_and_frameless() {
    QVERIFY(kb->windowFlags() & Qt::FramelessWindowHint);
    // A button taking the focus would steal the panel keys.
    for (QPushButton* b : kb->findChildren<QPushButton*>())
        QCOMPARE(b->focusPolicy(), Qt::NoFocus);
    // Typed text is limited to digits and '*'; what the program sets is not.
    auto* edit = kb->findChild<QLineEdit*>("lineEdit");
    QVERIFY(edit && edit->validator());
    int pos = 0;
    QString typed = "12*3";
    QCOMPARE(edit->validator()->validate(typed, pos), QValidator::Acceptable);
    typed = "12S";
    QCOMPARE(edit->validator()->validate(typed, pos), QValidator::Invalid);
}

void TstNumberKeyboard::line_edit_press_sends_text() {
    My_lineEdit edit;
    QCOMPARE(edit.text(), QString());
    edit.setText("1080");
    QSignalSpy spy(&edit, &My_lineEdit::send_show);
    QTest::mousePress(&edit, Qt::LeftButton);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toString(), QString("1080"));
}

QTEST_MAIN(TstNumberKeyboard)
#include "tst_numberkeyboard.moc"

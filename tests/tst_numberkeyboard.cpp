// The shared number keypad: typing rules with panel keys and touch, what OK,
// Back and Cancel send, and keys it must swallow.
#include "page_driver.h"

#include <QPushButton>
#include <QSignalSpy>
#include <memory>

namespace {
using keypad::type; // on g_numberkeyboard, the keypad under test
void key(int k) { testsupport::key(k, g_numberkeyboard); }
void touch(NumberKeyboard* kb, const char* button) {
    QTest::mouseClick(kb->findChild<QPushButton*>(button), Qt::LeftButton);
}
}  // namespace

class TstNumberKeyboard : public QObject {
    Q_OBJECT
    std::unique_ptr<NumberKeyboard> kb;
    std::unique_ptr<QSignalSpy> sent;  // the values OK sent
private slots:
    void init() {
        testsupport::fresh_device();
        kb = std::make_unique<NumberKeyboard>();
        g_numberkeyboard = kb.get();
        sent = std::make_unique<QSignalSpy>(kb.get(), &NumberKeyboard::sendKeyBoardUIDataToLineEdit);
        kb->show();
        kb->label_show("W", "1920");
    }
    void cleanup() {
        g_numberkeyboard = nullptr;
        sent.reset();
        kb.reset();
    }

    void typing_and_ok_data() {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("shown");
        QTest::newRow("filled value sent as is") << "1920" << "" << "1920";
        QTest::newRow("X then digit appends to rest") << "1920" << "X5" << "1925";
        QTest::newRow("0 then 7 gives 7") << "1920" << "007" << "7";
        QTest::newRow("C then 0 then 5") << "1920" << "12C05" << "5";
        QTest::newRow("empty entry sent as empty") << "7" << "XX" << "";
        QTest::newRow("X back to 1 then 0 gives 10") << "12" << "X0" << "10";
        QTest::newRow("long entry") << "" << "12345678901234567890" << "12345678901234567890";
        QTest::newRow("non-digit left then 0") << "12*3" << "X0" << "12*0";
    }
    void typing_and_ok() {
        QFETCH(QString, start);
        QFETCH(QString, keys);
        QFETCH(QString, shown);
        kb->label_show("W", start);
        type(keys);
        QCOMPARE(kb->value(), shown);
        QVERIFY(sent->isEmpty());
        type("K");
        QCOMPARE(sent->count(), 1);
        QCOMPARE(sent->at(0).at(0).toString(), shown);
        QVERIFY(!kb->isVisible());
    }

    // Touch types as the keys do and leaves the key focus alone.
    void touch_types_as_keys_do() {
        for (const char* b : {"Button7", "Button0", "ButtonX", "Button3"})
            touch(kb.get(), b);
        QCOMPARE(kb->value(), QString("73"));
        QCOMPARE(int(kb->focused_index()), 0);
        touch(kb.get(), "ButtonC");
        touch(kb.get(), "Button_ok");
        QCOMPARE(sent->count(), 1);
        QCOMPARE(sent->at(0).at(0).toString(), QString("0"));
    }

    void back_and_cancel_send_nothing_data() {
        QTest::addColumn<int>("how");
        QTest::newRow("BACK key") << 0;
        QTest::newRow("BACK letter O") << 1;
        QTest::newRow("OK on Cancel") << 2;
        QTest::newRow("touch Cancel") << 3;
    }
    void back_and_cancel_send_nothing() {
        QFETCH(int, how);
        type("55");
        if (how < 2)
            key(how ? int(PANEL_LETTER_BACK) : int(PANEL_KEY_BACK));
        else if (how == 2)
            type("N");
        else
            touch(kb.get(), "Button_close");
        QVERIFY(!kb->isVisible());
        QCOMPARE(sent->count(), 0);
    }

    // Modal over a page: MODE must not open the user modes and the USB
    // shortcut letters must not reach the block.
    void mode_and_letters_are_swallowed() {
        RynRamPara* p = RynRamPara::pInstance();
        p->set_u16(blk::window(1, blk::WIN_ENABLE), 1);
        const auto before = p->RamParaBlock;
        type("3");
        for (int k : {int(PANEL_KEY_MODE), int(PANEL_LETTER_MODE), int('B'), int('G'), int('K'), int('N'), int('P'),
                      int(Qt::Key_Escape), int(Qt::Key_Return)})
            key(k);
        QVERIFY(kb->isVisible() && sent->isEmpty());
        QCOMPARE(kb->value(), QString("3"));
        QCOMPARE(int(kb->focused_index()), 2);
        QCOMPARE(int(g_image_current), 0);
        QCOMPARE(g_page_focus, uint8_t(PAGE_LOCKWINDOW));
        QVERIFY(p->RamParaBlock == before);
        QCOMPARE(int(c331_manage::pInstance()->para_update_flag), 0);
    }

    // Left from "1" wraps to OK, Right from OK to "1"; a refill after Back
    // forgets what was typed and keeps the focus.
    void focus_wraps_and_refill_forgets_typing() {
        kb->label_show("W", "1");
        key(PANEL_LETTER_LEFT);
        QCOMPARE(int(kb->focused_index()), keypad::KEY_OK);
        key(PANEL_KEY_RIGHT);
        QCOMPARE(int(kb->focused_index()), 0);
        type("56");
        key(PANEL_KEY_BACK);
        kb->label_show("Height", "1080");
        QCOMPARE(kb->value(), QString("1080"));
        QCOMPARE(int(kb->focused_index()), 5);
        key(PANEL_KEY_OK); // a fresh fill: the digit replaces the value
        QCOMPARE(kb->value(), QString("6"));
    }
};

QTEST_MAIN(TstNumberKeyboard)
#include "tst_numberkeyboard.moc"

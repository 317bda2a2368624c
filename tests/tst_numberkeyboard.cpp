// The shared number keypad: typing rules, what OK, Back and Cancel send,
// and keys it must swallow.
#include "page_driver.h"

#include <QPushButton>
#include <QSignalSpy>
#include <memory>

namespace {
using keypad::type; // on g_numberkeyboard, the keypad under test
void key(int k) { testsupport::key(k, g_numberkeyboard); }
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
        QTest::newRow("X then digit appends to rest") << "1920" << "X5" << "1925";
        QTest::newRow("0 then 7 gives 7") << "1920" << "007" << "7";
        QTest::newRow("empty entry sent as empty") << "7" << "XX" << "";
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

    void back_and_cancel_send_nothing_data() {
        QTest::addColumn<int>("how");
        QTest::newRow("BACK key") << 0;
        QTest::newRow("OK on Cancel") << 1;
        QTest::newRow("touch Cancel") << 2;
    }
    void back_and_cancel_send_nothing() {
        QFETCH(int, how);
        type("55");
        if (how == 0)
            key(PANEL_KEY_BACK);
        else if (how == 1)
            type("N");
        else
            QTest::mouseClick(kb->findChild<QPushButton*>("Button_close"), Qt::LeftButton);
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
        for (int k : {int(PANEL_KEY_MODE), int(PANEL_LETTER_MODE), int('B'), int('G'), int('N')})
            key(k);
        QVERIFY(kb->isVisible() && sent->isEmpty());
        QCOMPARE(kb->value(), QString("3"));
        QCOMPARE(int(g_image_current), 0);
        QCOMPARE(g_page_focus, uint8_t(PAGE_LOCKWINDOW));
        QVERIFY(p->RamParaBlock == before);
        QCOMPARE(int(c331_manage::pInstance()->para_update_flag), 0);
    }
};

QTEST_MAIN(TstNumberKeyboard)
#include "tst_numberkeyboard.moc"

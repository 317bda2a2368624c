// The shared number keypad: typing rules, what OK, Back and Cancel send,
// and keys it must swallow.
#include "page_driver.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <memory>

using keypad::type; // on g_numberkeyboard, the keypad under test

class TstNumberKeyboard : public QObject {
    Q_OBJECT
    std::unique_ptr<NumberKeyboard> kb;
    std::unique_ptr<QSignalSpy> sent; // the values OK sent
private slots:
    void init() {
        testsupport::fresh_device();
        g_numberkeyboard = (kb = std::make_unique<NumberKeyboard>()).get();
        sent = std::make_unique<QSignalSpy>(kb.get(), &NumberKeyboard::sendKeyBoardUIDataToLineEdit);
        kb->show();
        kb->label_show("W", "1920");
    }
    void cleanup() { g_numberkeyboard = nullptr, sent.reset(), kb.reset(); }

    void typing_and_ok_data() { // keys typed on "1920", the value then sent by OK
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("shown");
        QTest::newRow("leading 0 dropped") << "007" << "7";
        QTest::newRow("empty entry sent as empty") << "XXXX" << "";
    }
    void typing_and_ok() {
        QFETCH(QString, keys);
        QFETCH(QString, shown);
        type(keys);
        QVERIFY(sent->isEmpty());
        type("K");
        QCOMPARE(sent->count(), 1);
        QCOMPARE(sent->at(0).at(0).toString(), shown);
        QVERIFY(!kb->isVisible());
    }

    void back_and_cancel_send_nothing() {
        type("55");
        testsupport::key(PANEL_KEY_BACK, kb.get());
        QVERIFY(!kb->isVisible());
        kb->show();
        QTest::mouseClick(kb->findChild<QPushButton*>("Button_close"), Qt::LeftButton);
        QVERIFY(!kb->isVisible());
        QCOMPARE(sent->count(), 0);
    }

    // Reopened, the value must not show selected as if the next digit
    // would only replace it.
    void reopened_as_first_opened() {
        for (int open = 0; open < 3; ++open) {
            kb->hide();
            kb->label_show("W", "1920");
            kb->show();
            QApplication::setActiveWindow(kb.get()); // as the display does
            QVERIFY2(!kb->findChild<QLineEdit*>("lineEdit")->hasSelectedText(), qPrintable(QString::number(open)));
        }
    }

    // Modal over a page: MODE must not open the user modes and the USB
    // shortcut letters must not reach the block.
    void mode_and_letters_are_swallowed() {
        RynRamPara* p = RynRamPara::pInstance();
        p->set_u16(blk::window(1, blk::WIN_ENABLE), 1);
        const auto before = p->RamParaBlock;
        type("3");
        for (int k : {int(PANEL_KEY_MODE), int(PANEL_LETTER_MODE), int('B'), int('N')})
            testsupport::key(k, kb.get());
        QVERIFY(kb->isVisible() && sent->isEmpty());
        QCOMPARE(kb->value(), QString("3"));
        QCOMPARE(g_page_focus, uint8_t(PAGE_LOCKWINDOW));
        QVERIFY(p->RamParaBlock == before && g_image_current == 0);
    }
};

QTEST_MAIN(TstNumberKeyboard)
#include "tst_numberkeyboard.moc"

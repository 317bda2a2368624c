// The shared number keypad: typing rules, what OK, Back and Cancel send,
// and keys it must swallow.
#include "page_driver.h"

#include <QLineEdit>

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

    // Keys typed on a keypad filled with "1920" ("K" its OK key, "<" the
    // panel's Left then OK, "F" filled again), and what it sent.
    void typing_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("OK at once sends the value") << "K" << QStringList{"1920"};
        QTest::newRow("a digit replaces the value") << "5K" << QStringList{"5"};
        QTest::newRow("X, then a digit appends") << "X5K" << QStringList{"1925"};
        QTest::newRow("C sends 0") << "CK" << QStringList{"0"};
        QTest::newRow("leading 0 dropped") << "007K" << QStringList{"7"};
        QTest::newRow("9 then 0") << "90K" << QStringList{"90"};
        QTest::newRow("past a number's range") << "999999999990K" << QStringList{"999999999990"};
        QTest::newRow("empty entry sent as empty") << "XXXXXK" << QStringList{""};
        QTest::newRow("a new fill forgets the digits") << "12F5K" << QStringList{"5"};
        QTest::newRow("Left from key 1 wraps to OK") << "1<" << QStringList{"1"};
    }
    void typing() {
        QFETCH(QString, keys);
        QFETCH(QStringList, expected);
        for (const QChar c : keys) {
            if (c == 'F')
                kb->label_show("W", "1920");
            else if (c == '<')
                testsupport::key(PANEL_KEY_LEFT, kb.get()), testsupport::key(PANEL_KEY_OK, kb.get());
            else
                type(c);
        }
        QStringList values;
        for (const QList<QVariant>& signal : *sent)
            values << signal.at(0).toString();
        QCOMPARE(values, expected);
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

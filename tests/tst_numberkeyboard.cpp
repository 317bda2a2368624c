// The shared number keypad: typing rules, what OK, Back and Cancel send,
// and keys it must swallow.
#include "page_driver.h"

using keypad::type;  // on g_numberkeyboard, the keypad under test

class TstNumberKeyboard : public QObject {
    Q_OBJECT
    std::unique_ptr<NumberKeyboard> kb;
    std::unique_ptr<QSignalSpy> sent;  // the values OK sent
private slots:
    void init() {
        testsupport::fresh_device();
        g_numberkeyboard = (kb = std::make_unique<NumberKeyboard>()).get();
        sent = std::make_unique<QSignalSpy>(kb.get(), &NumberKeyboard::sendKeyBoardUIDataToLineEdit);
        kb->show();
        kb->label_show("W", "1920");
    }
    void cleanup() { g_numberkeyboard = nullptr, sent.reset(), kb.reset(); }

    // Keys typed on a keypad filled with "1920" ("K" its OK key, "N" its
    // Cancel key, "<" the panel's Left then OK, "F" filled again; "b" Back,
    // "m" MODE and the letters M, B, P sent as they are), and what it sent.
    // Modal over a page, it passes no key on: no user modes, no shortcut.
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
        QTest::newRow("Back sends nothing") << "55b" << QStringList{};
        QTest::newRow("Cancel sends nothing") << "55N" << QStringList{};
        QTest::newRow("MODE and shortcut letters swallowed") << "3mMBPK" << QStringList{"3"};
    }
    void typing() {
        QFETCH(QString, keys);
        QFETCH(QStringList, expected);
        RynRamPara* p = RynRamPara::pInstance();
        p->set_u16(blk::window(1, blk::WIN_ENABLE), 1);
        const auto before = p->RamParaBlock;
        const QHash<QChar, int> raw{{'b', PANEL_KEY_BACK}, {'m', PANEL_KEY_MODE}, {'M', 'M'}, {'B', 'B'}, {'P', 'P'}};
        for (const QChar c : keys) {
            if (c == 'F')
                kb->label_show("W", "1920");
            else if (c == '<')
                testsupport::key(PANEL_KEY_LEFT, kb.get()), testsupport::key(PANEL_KEY_OK, kb.get());
            else if (raw.contains(c))
                testsupport::key(raw[c], kb.get());
            else
                type(c);
        }
        QStringList values;
        for (const QList<QVariant>& signal : *sent)
            values << signal.at(0).toString();
        QCOMPARE(values, expected);
        QVERIFY(!kb->isVisible());
        QVERIFY(p->RamParaBlock == before && g_image_current == 0 && g_page_focus == PAGE_LOCKWINDOW);
    }

    // Reopened, the value must not show selected as if the next digit
    // would only replace it.
    void reopened_as_first_opened() {
        for (int open = 0; open < 3; ++open) {
            kb->hide();
            kb->label_show("W", "1920");
            kb->show();
            QApplication::setActiveWindow(kb.get());  // as the display does
            QVERIFY2(!kb->findChild<QLineEdit*>("lineEdit")->hasSelectedText(), qPrintable(QString::number(open)));
        }
    }
};

QTEST_MAIN(TstNumberKeyboard)
#include "tst_numberkeyboard.moc"

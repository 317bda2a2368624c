// The frame every page shares: focus wrap-around, edit mode, the apply
// flag, the close protocol, MODE through nested pages, the language rule.
#include "testsupport.h"

#include "core/global.h"
#include "core/para_write.h"
#include "core/ramblock.h"
#include "core/rynrampara.h"
#include "scaler/c331_manage.h"
#include "ui/frame/custommode.h"
#include "ui/frame/keys.h"
#include "ui/frame/language.h"
#include "ui/frame/my_lineedit.h"
#include "ui/frame/numberkeyboard.h"
#include "ui/frame/pageframe.h"

#include <QPushButton>
#include <QtTest>

namespace {
RynRamPara* para() { return RynRamPara::pInstance(); }
int brightness() { return para()->u16(blk::BRIGHTNESS); }
void keys(std::initializer_list<int> ks) {
    for (int k : ks)
        testsupport::key(k);
}

// Entry 1 edits the brightness (0..100), entry 2 opens a child of the next id.
class TestPageBase : public FramePage<QDialog> {
public:
    static inline int language_calls[PAGE_COUNT + 1] = {};
    std::array<QPushButton*, 3> buttons;
    QStringList confirmed;
    explicit TestPageBase(QWidget* parent) : FramePage<QDialog>(parent) {
        for (auto& b : buttons)
            b = new QPushButton(this);
        set_focus_list({buttons[0], buttons[1], buttons[2]});
    }
    // Counted while open: the call the frame makes while opening is not a
    // parent's re-text.
    void language_changed() override { ++language_calls[page_id()]; }
    My_lineEdit* add_number_field() {
        auto* field = new My_lineEdit(this);
        field->setText("1920");
        connect_number_field(field);
        return field;
    }
    QString number_title(const My_lineEdit*) const override { return tr5({"宽", "Width", "Ширина", "Rộng", "寬"}); }
    void confirmString(const QString& text) override {
        confirmed << text;
        FramePage<QDialog>::confirmString(text);
    }

protected:
    bool entry_editable(int index) const override { return index == 1; }
    int entry_value(int) const override { return brightness(); }
    int step_value(int, int value, int dir) const override { return qBound(0, value + dir, 100); }
    void apply_value(int, int value) override {
        para_write([value](RynRamPara& p) { p.set_u16(blk::BRIGHTNESS, uint16_t(value)); });
    }
};

template <PAGE_ID Id> class TestPage : public TestPageBase {
public:
    static constexpr PAGE_ID ID = Id;
    explicit TestPage(QWidget* parent = nullptr) : TestPageBase(parent) {}

protected:
    void entry_ok(int index) override {
        if constexpr (Id + 1 < PAGE_COUNT)
            if (index == 2)
                pages::open<TestPage<PAGE_ID(Id + 1)>>();
    }
};

template <PAGE_ID Id = PAGE_OPTION> TestPage<Id>* open_shown() {
    auto* page = new TestPage<Id>;
    pages::set(Id, page, PAGE_MAINWINDOW);
    g_page_focus = Id;
    page->show();
    return page;
}
// Opens a page and puts entry 1 in edit mode at `value`.
TestPage<PAGE_OPTION>* editing(int value) {
    TestPage<PAGE_OPTION>* page = open_shown();
    para()->set_u16(blk::BRIGHTNESS, uint16_t(value));
    keys({PANEL_KEY_RIGHT, PANEL_KEY_OK});
    return page;
}
}  // namespace

class TstPageFrame : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        if (!g_numberkeyboard)
            g_numberkeyboard = new NumberKeyboard(nullptr);
    }
    void init() {
        testsupport::fresh_device();
        std::fill(std::begin(TestPageBase::language_calls), std::end(TestPageBase::language_calls), 0);
    }
    void cleanup() { testsupport::close_all_pages(); }

    void focus_wraps_both_ways_data() {
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<int>("focus");
        QTest::newRow("left from entry 0 to the last") << QList<int>{PANEL_KEY_LEFT} << 2;
        QTest::newRow("right from the last to entry 0") << QList<int>{PANEL_KEY_RIGHT, PANEL_KEY_RIGHT, PANEL_KEY_RIGHT} << 0;
        QTest::newRow("keypad letters") << QList<int>{int('R'), int('R'), int('S')} << 1;
    }
    void focus_wraps_both_ways() {
        QFETCH(QList<int>, keys);
        QFETCH(int, focus);
        TestPageBase* page = open_shown();
        for (int k : keys)
            testsupport::key(k);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(page->buttons[i]->styleSheet(), i == focus ? row_styles().focused : row_styles().normal);
    }

    void step_refused_while_flag_set() {
        editing(50);
        c331_manage::pInstance()->para_update_flag = 1;
        keys({PANEL_KEY_RIGHT, PANEL_KEY_LEFT, PANEL_KEY_LEFT});
        QCOMPARE(brightness(), 50);
        keys({PANEL_KEY_OK, PANEL_KEY_BACK});  // OK leaves edit mode, so Back closes
        QVERIFY(!pages::is_open(PAGE_OPTION));
    }

    // The restore is never refused, even while the last step is not taken up.
    void back_while_editing_restores_even_while_flag_set() {
        TestPageBase* page = editing(40);
        QCOMPARE(page->buttons[1]->styleSheet(), row_styles().editing);
        testsupport::key(PANEL_KEY_LEFT);
        QCOMPARE(brightness(), 39);
        QCOMPARE(int(c331_manage::pInstance()->para_update_flag), 1);
        testsupport::key(PANEL_KEY_BACK);
        QCOMPARE(brightness(), 40);
        QCOMPARE(page->buttons[1]->styleSheet(), row_styles().focused);
        QVERIFY(pages::is_open(PAGE_OPTION));
        testsupport::key(PANEL_KEY_BACK);
        QVERIFY(!pages::is_open(PAGE_OPTION));
    }

    void back_closes_and_returns_to_parent() {
        TestPageBase* parent = open_shown();
        QPointer<TestPageBase> child;
        testsupport::post([&] {
            child = pages::get<TestPage<PAGE_OUTPUTSET>>();
            QCOMPARE(int(g_page_focus), int(PAGE_OUTPUTSET));
            QCOMPARE(pages::parent_of(PAGE_OUTPUTSET), int(PAGE_OPTION));
            testsupport::key(PANEL_KEY_BACK);
        });
        keys({PANEL_KEY_LEFT, PANEL_KEY_OK});  // returns when the child has closed
        QVERIFY(!pages::is_open(PAGE_OUTPUTSET));
        QCOMPARE(int(g_page_focus), int(PAGE_OPTION));
        QCOMPARE(TestPageBase::language_calls[PAGE_OPTION], 1);
        QTRY_VERIFY(child.isNull());
        QVERIFY(parent->isVisible());
    }

    void escape_does_not_reject_the_dialog() {
        TestPageBase* page = open_shown();
        testsupport::key(Qt::Key_Escape);
        QVERIFY(page->isVisible());
        QCOMPARE(pages::get<TestPage<PAGE_OPTION>>(), page);
    }

    void mode_closes_three_nested_pages() {
        QPointer<TestPageBase> first = open_shown(), second, third;
        testsupport::post([&] {
            second = pages::get<TestPage<PAGE_OUTPUTSET>>();
            testsupport::post([&] {
                third = pages::get<TestPage<PAGE_INPUTCUT>>();
                testsupport::key(PANEL_KEY_MODE);
            });
            keys({PANEL_KEY_LEFT, PANEL_KEY_OK});
        });
        keys({PANEL_KEY_LEFT, PANEL_KEY_OK});  // returns after MODE
        QVERIFY(second && third);
        for (int id : {PAGE_OPTION, PAGE_OUTPUTSET, PAGE_INPUTCUT})
            QVERIFY2(!pages::is_open(id), qPrintable(QString("page %1 still open").arg(id)));
        QCOMPARE(int(g_page_focus), int(PAGE_CUSTOMMODE));
        QVERIFY(g_custommode() && g_custommode()->isVisible());
        QCOMPARE(int(g_mode_shortcut_key), 1);
        QCOMPARE(TestPageBase::language_calls[PAGE_OPTION] + TestPageBase::language_calls[PAGE_OUTPUTSET], 0);
        QTRY_VERIFY(first.isNull() && second.isNull() && third.isNull());
    }

    // Under the lock MODE neither acts nor reaches the keypad handler; other keys still do.
    void mode_under_lock_does_nothing() {
        TestPageBase* page = open_shown();
        para()->set_u16(blk::PANEL_LOCK, 1);
        g_debugSwitch = 254;
        const QByteArray mode_log = testsupport::capture_stdout([] { keys({PANEL_KEY_MODE, 'M'}); });
        QVERIFY2(!mode_log.contains("update_usb_keyEvent"), mode_log.constData());
        QVERIFY(testsupport::capture_stdout([] { keys({PANEL_KEY_LEFT}); }).contains("update_usb_keyEvent"));
        QCOMPARE(int(g_page_focus), int(PAGE_OPTION));
        QVERIFY(!pages::is_open(PAGE_CUSTOMMODE));
        QVERIFY(page->isVisible());
    }

    void language_rule_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<int>("valid");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("image");
        QTest::newRow("russian offered") << 2 << 31 << "ru" << ":/png/ru_option.png";
        QTest::newRow("vietnamese not offered") << 3 << 0x17 << "en" << ":/png/en_option.png";
        QTest::newRow("simplified chinese") << 0 << 1 << "zh" << ":/png/option.png";
        QTest::newRow("traditional chinese") << 4 << 0x10 << "tw" << ":/png/tn_option.png";
        QTest::newRow("language byte out of range") << 9 << 0xFFFF << "en" << ":/png/en_option.png";
    }
    void language_rule() {
        QFETCH(int, language);
        QFETCH(int, valid);
        g_language = uint8_t(language);
        g_lcd_lang_valid = uint32_t(valid);
        QTEST(tr5({"zh", "en", "ru", "vn", "tw"}), "text");
        QTEST(png_lang("option.png"), "image");
        QCOMPARE(png("lock.png"), QString(":/png/lock.png"));
    }

    // The keypad's OK goes to the page whose field opened it, not to one further down.
    void number_field_runs_the_keypad_for_its_page_only() {
        TestPageBase* below = open_shown();
        below->add_number_field();
        TestPageBase* front = open_shown<PAGE_OUTPUTSET>();
        My_lineEdit* field = front->add_number_field();
        QString title, value;
        testsupport::post([&] {
            title = g_numberkeyboard->title();
            value = g_numberkeyboard->value();
            QCOMPARE(g_lineedit, field);
            QMetaObject::invokeMethod(g_numberkeyboard, "on_Button_ok_clicked");
        });
        QTest::mouseClick(field, Qt::LeftButton);  // returns when the keypad has gone
        QCOMPARE(title + value, QString("Width1920"));
        QCOMPARE(front->confirmed, QStringList{"1920"});
        QVERIFY2(below->confirmed.isEmpty(), qPrintable(below->confirmed.join(',')));
        QVERIFY(!g_lineedit);
        QVERIFY(!g_numberkeyboard->isVisible());
    }
};

QTEST_MAIN(TstPageFrame)
#include "tst_pageframe.moc"

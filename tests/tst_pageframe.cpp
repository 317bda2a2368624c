// The frame every page shares: focus wrap-around, edit mode, the apply
// flag, the close protocol, MODE through nested pages, the language rule.
#include "testsupport.h"

#include "core/global.h"
#include "core/ramblock.h"
#include "core/rynrampara.h"
#include "core/para_write.h"
#include "scaler/c331_manage.h"
#include "ui/frame/custommode.h"
#include "ui/frame/keys.h"
#include "ui/frame/language.h"
#include "ui/frame/pageframe.h"

#include <QPushButton>
#include <QtTest>

namespace {
RynRamPara* para() { return RynRamPara::pInstance(); }

// A page of three entries: entry 1 edits the brightness (0..100, step 1),
// entry 2 opens a child page of the next id.
class TestPage : public FramePage<QDialog> {
public:
    static int language_calls[PAGE_COUNT];
    explicit TestPage(QWidget* parent = nullptr) : FramePage<QDialog>(next_id, parent) {
        for (auto& b : buttons)
            b = new QPushButton(this);
        set_focus_list({buttons[0], buttons[1], buttons[2]});
    }
    void language_changed() override { ++language_calls[page_id]; }
    QPushButton* buttons[3];
    static PAGE_ID next_id;

protected:
    bool entry_editable(int index) const override { return index == 1; }
    int entry_value(int) const override { return para()->u16(blk::BRIGHTNESS); }
    int step_value(int, int value, int dir) const override {
        return qBound(0, value + dir, 100);
    }
    void apply_value(int, int value) override {
        para_write([value](RynRamPara& p) { p.set_u16(blk::BRIGHTNESS, uint16_t(value)); });
    }
    void entry_ok(int index) override {
        if (index == 2) {
            next_id = PAGE_ID(page_id + 1);
            pages::open<TestPage>(next_id);
        }
    }
};
int TestPage::language_calls[PAGE_COUNT] = {};
PAGE_ID TestPage::next_id = PAGE_OPTION;

TestPage* open_shown(PAGE_ID id) {
    TestPage::next_id = id;
    auto* page = new TestPage;
    pages::set(id, page, PAGE_MAINWINDOW);
    g_page_focus = id;
    page->show();
    return page;
}

const FocusStyles& st() { return row_styles(); }
}  // namespace

class TstPageFrame : public QObject {
    Q_OBJECT
private slots:
    void init() {
        testsupport::fresh_device();
        std::fill(std::begin(TestPage::language_calls), std::end(TestPage::language_calls), 0);
    }
    void cleanup() { testsupport::close_all_pages(); }

    void focus_wraps_both_ways_data();
    void focus_wraps_both_ways();
    void edit_steps_and_confirms();
    void back_while_editing_restores_even_while_flag_set();
    void step_refused_while_flag_set();
    void back_closes_and_returns_to_parent();
    void escape_does_not_bypass_the_close_protocol();
    void mode_closes_three_nested_pages();
    void mode_under_lock_does_nothing();
    void language_rule_data();
    void language_rule();
};

void TstPageFrame::focus_wraps_both_ways_data() {
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<int>("focus");
    QTest::newRow("left from entry 0 to the last") << QList<int>{PANEL_KEY_LEFT} << 2;
    QTest::newRow("right from the last to entry 0")
        << QList<int>{PANEL_KEY_RIGHT, PANEL_KEY_RIGHT, PANEL_KEY_RIGHT} << 0;
    QTest::newRow("keypad letters") << QList<int>{int('R'), int('R'), int('S')} << 1;
}

void TstPageFrame::focus_wraps_both_ways() {
    QFETCH(QList<int>, keys);
    QFETCH(int, focus);
    TestPage* page = open_shown(PAGE_OPTION);
    for (int k : keys)
        testsupport::key(k);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(page->buttons[i]->styleSheet(), i == focus ? st().focused : st().normal);
}

void TstPageFrame::edit_steps_and_confirms() {
    TestPage* page = open_shown(PAGE_OPTION);
    para()->set_u16(blk::BRIGHTNESS, 99);
    testsupport::key(PANEL_KEY_RIGHT);
    testsupport::key(PANEL_KEY_OK);
    QCOMPARE(page->buttons[1]->styleSheet(), st().editing);
    testsupport::key(PANEL_KEY_RIGHT);
    QCOMPARE(int(para()->u16(blk::BRIGHTNESS)), 100);
    c331_manage::pInstance()->para_update_flag = 0;
    testsupport::key(PANEL_KEY_RIGHT);  // clamped at the top
    QCOMPARE(int(para()->u16(blk::BRIGHTNESS)), 100);
    c331_manage::pInstance()->para_update_flag = 0;
    testsupport::key(PANEL_KEY_OK);
    QCOMPARE(page->buttons[1]->styleSheet(), st().focused);
    testsupport::key(PANEL_KEY_BACK);  // not editing: closes
    QVERIFY(!pages::is_open(PAGE_OPTION));
    QCOMPARE(int(para()->u16(blk::BRIGHTNESS)), 100);
}

// The restore is never refused: the block must not keep the edited value
// while the page shows the old one.
void TstPageFrame::back_while_editing_restores_even_while_flag_set() {
    TestPage* page = open_shown(PAGE_OPTION);
    para()->set_u16(blk::BRIGHTNESS, 40);
    testsupport::key(PANEL_KEY_RIGHT);
    testsupport::key(PANEL_KEY_OK);
    testsupport::key(PANEL_KEY_LEFT);
    QCOMPARE(int(para()->u16(blk::BRIGHTNESS)), 39);
    QCOMPARE(int(c331_manage::pInstance()->para_update_flag), 1);  // not taken up yet
    testsupport::key(PANEL_KEY_BACK);
    QCOMPARE(int(para()->u16(blk::BRIGHTNESS)), 40);
    QCOMPARE(page->buttons[1]->styleSheet(), st().focused);
    QVERIFY(pages::is_open(PAGE_OPTION));
    testsupport::key(PANEL_KEY_BACK);  // the second Back closes the page
    QVERIFY(!pages::is_open(PAGE_OPTION));
}

void TstPageFrame::step_refused_while_flag_set() {
    open_shown(PAGE_OPTION);
    para()->set_u16(blk::BRIGHTNESS, 50);
    testsupport::key(PANEL_KEY_RIGHT);
    testsupport::key(PANEL_KEY_OK);
    c331_manage::pInstance()->para_update_flag = 1;
    testsupport::key(PANEL_KEY_RIGHT);
    testsupport::key(PANEL_KEY_LEFT);
    testsupport::key(PANEL_KEY_LEFT);
    QCOMPARE(int(para()->u16(blk::BRIGHTNESS)), 50);
}

void TstPageFrame::back_closes_and_returns_to_parent() {
    TestPage* parent = open_shown(PAGE_OPTION);
    QPointer<TestPage> child;
    testsupport::post([&] {
        child = pages::get<TestPage>(PAGE_OUTPUTSET);
        QCOMPARE(int(g_page_focus), int(PAGE_OUTPUTSET));
        QCOMPARE(pages::parent_of(PAGE_OUTPUTSET), int(PAGE_OPTION));
        testsupport::key(PANEL_KEY_BACK);
    });
    testsupport::key(PANEL_KEY_LEFT);  // entry 2 opens the child
    testsupport::key(PANEL_KEY_OK);    // returns when the child has closed
    QVERIFY(!pages::is_open(PAGE_OUTPUTSET));
    QCOMPARE(int(g_page_focus), int(PAGE_OPTION));
    QCOMPARE(TestPage::language_calls[PAGE_OPTION], 1);
    QTRY_VERIFY(child.isNull());  // deleted on close
    QVERIFY(parent->isVisible());
}

// Escape must not reject a dialog behind the close protocol's back.
void TstPageFrame::escape_does_not_bypass_the_close_protocol() {
    TestPage* page = open_shown(PAGE_OPTION);
    testsupport::key(Qt::Key_Escape);
    QVERIFY(page->isVisible());
    QCOMPARE(pages::get<TestPage>(PAGE_OPTION), page);
}

void TstPageFrame::mode_closes_three_nested_pages() {
    QPointer<TestPage> first = open_shown(PAGE_OPTION);
    QPointer<TestPage> second, third;
    testsupport::post([&] {
        second = pages::get<TestPage>(PAGE_OUTPUTSET);
        testsupport::post([&] {
            third = pages::get<TestPage>(PAGE_INPUTCUT);
            testsupport::key(PANEL_KEY_MODE);
        });
        testsupport::key(PANEL_KEY_LEFT);
        testsupport::key(PANEL_KEY_OK);  // the third page
    });
    testsupport::key(PANEL_KEY_LEFT);
    testsupport::key(PANEL_KEY_OK);  // the second page; returns after MODE
    QVERIFY(second && third);
    for (int id : {PAGE_OPTION, PAGE_OUTPUTSET, PAGE_INPUTCUT})
        QVERIFY2(!pages::is_open(id), qPrintable(QString("page %1 still open").arg(id)));
    QCOMPARE(int(g_page_focus), int(PAGE_CUSTOMMODE));
    QVERIFY(g_custommode() && g_custommode()->isVisible());
    QCOMPARE(int(g_mode_shortcut_key), 1);
    // MODE calls no language_changed() on the way down.
    QCOMPARE(TestPage::language_calls[PAGE_OPTION], 0);
    QCOMPARE(TestPage::language_calls[PAGE_OUTPUTSET], 0);
    QTRY_VERIFY(first.isNull() && second.isNull() && third.isNull());
}

void TstPageFrame::mode_under_lock_does_nothing() {
    TestPage* page = open_shown(PAGE_OPTION);
    para()->set_u16(blk::PANEL_LOCK, 1);
    testsupport::key(PANEL_KEY_MODE);
    testsupport::key('M');
    QCOMPARE(int(g_page_focus), int(PAGE_OPTION));
    QVERIFY(!pages::is_open(PAGE_CUSTOMMODE));
    QVERIFY(page->isVisible());
}

void TstPageFrame::language_rule_data() {
    QTest::addColumn<int>("language");
    QTest::addColumn<int>("valid");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("image");
    QTest::newRow("russian offered") << 2 << 31 << "ru" << ":/png/ru_option.png";
    QTest::newRow("vietnamese not offered") << 3 << 0x17 << "en" << ":/png/en_option.png";
    QTest::newRow("none offered") << 0 << 0 << "en" << ":/png/en_option.png";
    QTest::newRow("simplified chinese") << 0 << 1 << "zh" << ":/png/option.png";
    QTest::newRow("traditional chinese") << 4 << 0x10 << "tw" << ":/png/tn_option.png";
    QTest::newRow("language byte out of range") << 9 << 0xFFFF << "en" << ":/png/en_option.png";
}

void TstPageFrame::language_rule() {
    QFETCH(int, language);
    QFETCH(int, valid);
    QFETCH(QString, text);
    QFETCH(QString, image);
    g_language = uint8_t(language);
    g_lcd_lang_valid = uint32_t(valid);
    QCOMPARE(tr5({"zh", "en", "ru", "vn", "tw"}), text);
    QCOMPARE(png_lang("option.png"), image);
    QCOMPARE(png("lock.png"), QString(":/png/lock.png"));
}

QTEST_MAIN(TstPageFrame)
#include "tst_pageframe.moc"

// The frame every page shares: focus levels and wrap-around, edit mode and
// the apply flag, the open and close protocol, MODE and the panel lock, the
// language rule and the number keypad.
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

#include <QLabel>
#include <QPushButton>
#include <QtTest>

namespace {
using testsupport::looks_focused;
RynRamPara* para() { return RynRamPara::pInstance(); }
int brightness() { return para()->u16(blk::BRIGHTNESS); }
void keys(std::initializer_list<int> ks) {
    for (int k : ks)
        testsupport::key(k);
}
QList<int> open_ids() {
    QList<int> ids;
    for (int id = 0; id < PAGE_COUNT; ++id)
        if (pages::at(id))
            ids << id;
    return ids;
}

// Entry 0 enters a second level of two entries that stops at its ends,
// entry 1 edits the brightness (0..100), entry 2 opens a child of the next id.
class TestPageBase : public FramePage<QDialog> {
public:
    static inline int language_calls[PAGE_COUNT + 1] = {};
    static inline QStringList opening;  // calls made before the page was registered
    std::array<QPushButton*, 3> buttons;
    std::array<QPushButton*, 2> sub_buttons;
    FocusList sub;
    QStringList confirmed;
    explicit TestPageBase(QWidget* parent) : FramePage<QDialog>(parent) {
        for (auto& b : buttons)
            b = new QPushButton(this);
        for (auto& b : sub_buttons)
            b = new QPushButton(this);
        set_focus_list({buttons[0], buttons[1], buttons[2]});
        sub.set({sub_buttons[0], sub_buttons[1]});
        sub.wrap = false;
        sub.back = [this] { set_level(focus); };
    }
    void para_init() override { opening << "para_init"; }
    void language_changed() override {
        if (page_id() == PAGE_COUNT)
            opening << "language_changed";
        ++language_calls[page_id()];
    }
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
    const FocusList& current_level() const { return *level; }

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
        if (index == 0)
            set_level(sub);
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
        TestPageBase::opening.clear();
    }
    void cleanup() { testsupport::close_all_pages(); }

    // The focus on the default level, on the second (-1 while closed), then the keys.
    void focus_levels_data() {
        const int L = PANEL_KEY_LEFT, R = PANEL_KEY_RIGHT, K = PANEL_KEY_OK, B = PANEL_KEY_BACK;
        testsupport::int_rows({{"left from entry 0 to the last", {2, -1, L}},
                               {"right from the last to entry 0", {0, -1, R, R, R}},
                               {"keypad letters", {1, -1, 'R', 'R', 'S'}},
                               {"second level stops at its ends", {0, 1, K, L, R, R}},
                               {"Back returns to the first level", {1, -1, K, R, B, R}}});
    }
    void focus_levels() {
        QFETCH(QVector<int>, r);
        const int focus = r[0], sub_focus = r[1];
        TestPageBase* page = open_shown();
        for (int k : r.mid(2))
            testsupport::key(k);
        QCOMPARE(&page->current_level() == &page->sub, sub_focus >= 0);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(looks_focused(page->buttons[i]), i == focus);
        for (int i = 0; i < 2 && sub_focus >= 0; ++i)
            QCOMPARE(looks_focused(page->sub_buttons[i]), i == sub_focus);
        QVERIFY(pages::is_open(PAGE_OPTION));
    }

    // A button entry draws each look (focused, normal, editing) exactly as
    // the same declarations in a sheet of its own, whatever its parent's
    // sheet, after a page set a look itself, and for looks that differ in
    // more than the border. The first four rows each add one step.
    void looks_draw_as_own_sheets_data() {
        QTest::addColumn<int>("c");
        QTest::newRow("parent without a sheet") << 0;
        QTest::newRow("selector-free parent sheet") << 1;
        QTest::newRow("parent sheet parsed before") << 2;
        QTest::newRow("parent sheet set again") << 3;
        QTest::newRow("page set a look in between") << 4;
        QTest::newRow("focused look in another colour") << 5;
    }
    void looks_draw_as_own_sheets() {
        QFETCH(int, c);
        const bool parsed_before = c == 2 || c == 3, parent_restyled = c == 3, own_sheet_between = c == 4,
                   colour_differs = c == 5;
        static const FocusStyles coloured{"color: white; border:1px solid white;",
                                          "color: red; border:1px solid red;",
                                          "color: blue; border:1px solid blue;"};
        const FocusStyles& looks = colour_differs ? coloured : tile_styles();
        QDialog parent;
        parent.setStyleSheet(c ? "background-color: rgb(16, 16, 28);" : "");
        parent.resize(200, 120);
        auto* early = new QLabel("early", &parent);
        if (parsed_before)
            early->show();  // polishes the label, which parses the parent's sheet
        std::array<QPushButton*, 2> entries{new QPushButton("A", &parent), new QPushButton("B", &parent)};
        auto* twin = new QPushButton("A", &parent);  // the look as its own sheet
        for (int i = 0; i < 3; ++i)
            (i < 2 ? entries[size_t(i)] : twin)->setGeometry(5 + 65 * i, 40, 60, 30);
        FocusList list(&looks);
        list.set({entries[0], entries[1]});
        parent.show();
        QVERIFY(QTest::qWaitForWindowExposed(&parent));
        if (parent_restyled)
            set_style(&parent, "background-color: rgb(20, 20, 30);");
        const auto drawn_as = [&](QPushButton* entry, const QString& look) {
            twin->setText(entry->text());
            twin->setStyleSheet(look);
            return look_of(entry) == look && entry->grab().toImage() == twin->grab().toImage();
        };
        if (own_sheet_between) {
            set_style(entries[1], looks.focused);  // as a page marks a second entry
            QVERIFY(drawn_as(entries[1], looks.focused));
            list.restyle(1);
        }
        QVERIFY(drawn_as(entries[0], looks.focused));
        QVERIFY(drawn_as(entries[1], looks.normal));
        list.begin_edit();
        QVERIFY(drawn_as(entries[0], looks.editing));
        list.end_edit(true);
        list.move(1);
        QVERIFY(drawn_as(entries[0], looks.normal));
        QVERIFY(drawn_as(entries[1], looks.focused));
    }

    // A step is refused while the last one is not taken up; the restore on
    // Back never is. OK leaves edit mode, so the next Back closes the page.
    void edit_mode_and_the_apply_flag() {
        TestPageBase* page = open_shown();
        para()->set_u16(blk::BRIGHTNESS, 40);
        keys({PANEL_KEY_RIGHT, PANEL_KEY_OK, PANEL_KEY_LEFT});
        QCOMPARE(brightness(), 39);
        QCOMPARE(int(c331_manage::pInstance()->para_update_flag), 1);
        keys({PANEL_KEY_RIGHT, PANEL_KEY_LEFT, PANEL_KEY_LEFT});
        QCOMPARE(brightness(), 39);
        keys({PANEL_KEY_BACK});
        QCOMPARE(brightness(), 40);
        QVERIFY(looks_focused(page->buttons[1]));
        QVERIFY(pages::is_open(PAGE_OPTION));
        keys({PANEL_KEY_OK, PANEL_KEY_OK, PANEL_KEY_BACK});
        QVERIFY(!pages::is_open(PAGE_OPTION));
    }

    // A child opened by its class is filled before it is registered, under
    // its own id; Back closes it and re-texts the parent. Escape does not
    // reject a page past the close protocol.
    void back_closes_and_returns_to_parent() {
        TestPageBase* parent = open_shown();
        QPointer<TestPageBase> child;
        testsupport::post([&] {
            child = pages::get<TestPage<PAGE_OUTPUTSET>>();
            QCOMPARE(TestPageBase::opening, QStringList({"para_init", "language_changed"}));
            QCOMPARE(pages::parent_of(PAGE_OUTPUTSET), int(PAGE_OPTION));
            testsupport::key(Qt::Key_Escape);
            QVERIFY(child->isVisible());
            testsupport::key(PANEL_KEY_BACK);
        });
        keys({PANEL_KEY_LEFT, PANEL_KEY_OK});  // returns when the child has closed
        QVERIFY(!pages::is_open(PAGE_OUTPUTSET));
        QCOMPARE(int(g_page_focus), int(PAGE_OPTION));
        QCOMPARE(TestPageBase::language_calls[PAGE_OPTION], 1);
        QTRY_VERIFY(child.isNull());
        QVERIFY(parent->isVisible());
    }

    // MODE (or the keypad's M) on the third of three nested pages closes
    // them all without re-texting them and shows the user-mode page; under
    // the panel lock it does nothing.
    void mode_key_data() { testsupport::int_rows({{"unlocked", {0}}, {"locked", {1}}}); }
    void mode_key() {
        QFETCH(QVector<int>, r);
        const bool locked = r[0];
        para()->set_u16(blk::PANEL_LOCK, locked ? 1 : 0);
        QPointer<TestPageBase> first = open_shown(), second, third;
        QList<int> left;
        int front = -1;
        testsupport::post([&] {
            second = pages::get<TestPage<PAGE_OUTPUTSET>>();
            testsupport::post([&] {
                third = pages::get<TestPage<PAGE_INPUTCUT>>();
                keys({PANEL_KEY_MODE, 'M'});
                left = open_ids();
                front = g_page_focus;
                testsupport::close_all_pages();
            });
            keys({PANEL_KEY_LEFT, PANEL_KEY_OK});
        });
        keys({PANEL_KEY_LEFT, PANEL_KEY_OK});  // returns when the pages have closed
        QVERIFY(second && third);
        const QList<int> nested{PAGE_OPTION, PAGE_OUTPUTSET, PAGE_INPUTCUT};
        QCOMPARE(left, locked ? nested : QList<int>{PAGE_CUSTOMMODE});
        QCOMPARE(front, locked ? int(PAGE_INPUTCUT) : int(PAGE_CUSTOMMODE));
        QCOMPARE(int(g_mode_shortcut_key), locked ? 0 : 1);
        QCOMPARE(TestPageBase::language_calls[PAGE_OPTION] + TestPageBase::language_calls[PAGE_OUTPUTSET], 0);
        QTRY_VERIFY(first.isNull() && second.isNull() && third.isNull());
    }

    // Language n where it is offered, else English (each language's own
    // pictures are checked on the status page).
    void language_rule_data() { // language, offered mask, language shown
        testsupport::int_rows({{"russian offered", {2, 31, 2}}, {"vietnamese not offered", {3, 0x17, 1}},
                               {"language byte out of range", {9, 0xFFFF, 1}}});
    }
    void language_rule() {
        QFETCH(QVector<int>, r);
        g_language = uint8_t(r[0]);
        g_lcd_lang_valid = uint32_t(r[1]);
        const QString code = QStringList{"zh", "en", "ru", "vn", "tw"}[r[2]];
        QCOMPARE(tr5({"zh", "en", "ru", "vn", "tw"}), code);
        QCOMPARE(png_lang("option.png"), ":/png/" + code + "_option.png");
    }

    // The keypad's OK goes to the page whose field opened it, not to one further down.
    void number_field_runs_the_keypad_for_its_page_only() {
        TestPageBase* below = open_shown();
        below->add_number_field();
        TestPageBase* front = open_shown<PAGE_OUTPUTSET>();
        My_lineEdit* field = front->add_number_field();
        QString shown;
        testsupport::post([&] {
            shown = g_numberkeyboard->title() + g_numberkeyboard->value();
            QMetaObject::invokeMethod(g_numberkeyboard, "on_Button_ok_clicked");
        });
        QTest::mouseClick(field, Qt::LeftButton);  // returns when the keypad has gone
        QCOMPARE(shown, QString("Width1920"));
        QCOMPARE(front->confirmed, QStringList{"1920"});
        QVERIFY2(below->confirmed.isEmpty(), qPrintable(below->confirmed.join(',')));
        QVERIFY(!g_lineedit && !g_numberkeyboard->isVisible());
    }
};

QTEST_MAIN(TstPageFrame)
#include "tst_pageframe.moc"

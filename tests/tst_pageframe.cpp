// The frame every page shares: edit mode, MODE through the pages below and
// the number keypad.
#include "testsupport.h"

#include "core/para_write.h"
#include "ui/frame/custommode.h"

namespace {
using testsupport::looks_focused;
RynRamPara* para() {
    return RynRamPara::pInstance();
}
int brightness() {
    return para()->u16(blk::BRIGHTNESS);
}
void keys(std::initializer_list<int> ks) {
    for (int k : ks)
        testsupport::key(k);
}
int language_calls = 0;
// Entry 1 edits the brightness (0..100); entry 2 of the settings page opens
// the output page.
template <PAGE_ID Id> class TestPage : public FramePage<QDialog> {
public:
    static constexpr PAGE_ID ID = Id;
    std::array<QPushButton*, 3> buttons;
    QStringList confirmed;
    explicit TestPage(QWidget* parent = nullptr) : FramePage<QDialog>(parent) {
        for (auto& b : buttons)
            b = new QPushButton(this);
        set_focus_list({buttons[0], buttons[1], buttons[2]});
    }
    void language_changed() override { ++language_calls; }
    My_lineEdit* add_number_field() {
        auto* field = new My_lineEdit(this);
        field->setText("1920");
        connect_number_field(field);
        return field;
    }
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
    void entry_ok(int index) override {
        if constexpr (Id == PAGE_OPTION)
            if (index == 2)
                pages::open<TestPage<PAGE_OUTPUTSET>>();
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
    void init() { testsupport::fresh_device(); }
    void cleanup() { testsupport::close_all_pages(); }

    // A step is refused while the last one is not taken up, the restore on
    // Back never is; after OK, Back closes the page.
    void edit_mode_and_the_apply_flag() {
        auto* page = open_shown();
        para()->set_u16(blk::BRIGHTNESS, 40);
        keys({PANEL_KEY_RIGHT, PANEL_KEY_OK, PANEL_KEY_LEFT});
        QCOMPARE(brightness(), 39);
        QCOMPARE(int(c331_manage::pInstance()->para_update_flag), 1);
        keys({PANEL_KEY_RIGHT, PANEL_KEY_LEFT, PANEL_KEY_LEFT});
        QCOMPARE(brightness(), 39);
        keys({PANEL_KEY_BACK});
        QCOMPARE(brightness(), 40);
        QVERIFY(looks_focused(page->buttons[1]) && pages::is_open(PAGE_OPTION));
        keys({PANEL_KEY_OK, PANEL_KEY_OK, PANEL_KEY_BACK});
        QVERIFY(!pages::is_open(PAGE_OPTION));
    }

    // MODE on a nested page closes all without re-texting them and shows
    // the user-mode page (the lock: tst_mainwindow). Escape closes no page
    // past the close protocol.
    void mode_key() {
        QPointer<QDialog> first = open_shown(), second;
        bool escaped = true;
        int retexted = -1;
        testsupport::post([&] {
            second = pages::get<TestPage<PAGE_OUTPUTSET>>();
            language_calls = 0;
            keys({Qt::Key_Escape});
            escaped = !second->isVisible();
            keys({PANEL_KEY_MODE});
            retexted = language_calls;
        });
        keys({PANEL_KEY_LEFT, PANEL_KEY_OK});  // returns when the pages have closed
        QVERIFY(!escaped && retexted == 0 && g_mode_shortcut_key == 1);
        QVERIFY(!pages::is_open(PAGE_OPTION) && !pages::is_open(PAGE_OUTPUTSET) && pages::is_open(PAGE_CUSTOMMODE));
        QCOMPARE(int(g_page_focus), int(PAGE_CUSTOMMODE));
        QTRY_VERIFY(first.isNull() && second.isNull());
    }

    // The keypad's OK goes to the page whose field opened it.
    void number_field_runs_the_keypad_for_its_page_only() {
        auto* below = open_shown();
        below->add_number_field();
        auto* front = open_shown<PAGE_OUTPUTSET>();
        My_lineEdit* field = front->add_number_field();
        QString shown;
        testsupport::post([&] {
            shown = g_numberkeyboard->value();
            QMetaObject::invokeMethod(g_numberkeyboard, "on_Button_ok_clicked");
        });
        QTest::mouseClick(field, Qt::LeftButton);  // returns when the keypad has gone
        QCOMPARE(shown, QString("1920"));
        QCOMPARE(front->confirmed, QStringList{"1920"});
        QVERIFY2(below->confirmed.isEmpty(), qPrintable(below->confirmed.join(',')));
        QVERIFY(!g_lineedit && !g_numberkeyboard->isVisible());
    }
};

QTEST_MAIN(TstPageFrame)
#include "tst_pageframe.moc"

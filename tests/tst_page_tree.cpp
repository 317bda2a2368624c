// The page tree: every page id opened from its parent by keys and closed
// again, MODE through three levels, the panel lock, the pages with their own
// Back (test pattern reset, the progress-bar refusal), the ageing list and
// the firmware-update banner.
#include "testsupport.h"

#include "core/devicepath.h"
#include "core/global.h"
#include "core/ramblock.h"
#include "core/rynrampara.h"
#include "fpga/fpga_manage.h"
#include "scaler/c331_manage.h"
#include "ui/frame/keys.h"
#include "ui/frame/lockwindow.h"
#include "ui/frame/mainwindow.h"
#include "ui/frame/option.h"
#include "ui/frame/outputset.h"
#include "ui/frame/pageframe.h"
#include "ui/pages/advancedoption.h"
#include "ui/pages/edidset.h"
#include "ui/pages/factory.h"
#include "ui/pages/factoryage.h"
#include "ui/pages/imagelayout.h"
#include "ui/pages/imagequality.h"
#include "ui/pages/inputcut.h"
#include "ui/pages/lcdshow.h"
#include "ui/pages/ledset.h"
#include "ui/pages/linkcom.h"
#include "ui/pages/linkoption.h"
#include "ui/pages/linkwlan.h"
#include "ui/pages/netset.h"
#include "ui/pages/othersetup.h"
#include "ui/pages/quality.h"
#include "ui/pages/temperature.h"
#include "ui/pages/test_chart.h"
#include "ui/tools/firmware_usbgrade.h"
#include "ui/tools/firmwareupdate.h"
#include "ui/tools/rcv_recovery.h"
#include "ui/tools/smartmapping.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QtTest>
#include <set>
#include <vector>

namespace {
RynRamPara* para() {
    return RynRamPara::pInstance();
}

// Stands in for the round progress bar: only its being non-null counts.
char fake_bar_storage;
QRoundProgressBar* fake_bar() {
    return reinterpret_cast<QRoundProgressBar*>(&fake_bar_storage);
}

bool has_focus_style(const QWidget* w) {
    return w && w->styleSheet().contains("255,171,84");
}

// Drives the pages as a user does, from queued calls, so that the script
// goes on inside the nested exec() of every modal page. Each check waits
// for its condition; a step that does not come true within two seconds
// fails the script and closes every page, so that the nested loops unwind.
class Walk {
public:
    // The pages expected open, bottom (MainWindow) to front.
    std::vector<int> chain{PAGE_MAINWINDOW};
    std::set<int> visited;
    QString error;
    bool finished = false;

    void key(int k, const QString& what) { steps.push_back({Step::Key, what, k, {}, {}}); }
    void check(const QString& what, std::function<bool()> cond) {
        steps.push_back({Step::Check, what, 0, {}, std::move(cond)});
    }
    // Moves the focus of the page in front onto `name` with Right (or Left).
    void focus(const QString& name, int dir = PANEL_KEY_RIGHT) {
        steps.push_back({Step::Focus, "focus " + name, dir, name, {}});
    }
    // The registry holds exactly the chain, and its top is in front.
    void expect_chain(const QString& what) {
        const std::vector<int> want = chain;
        check(what, [want] {
            if (g_page_focus != want.back())
                return false;
            for (int id = 0; id < PAGE_COUNT; ++id) {
                const bool open = std::find(want.begin(), want.end(), id) != want.end();
                if ((pages::at(id) != nullptr) != open)
                    return false;
            }
            return true;
        });
    }
    // OK on entry `name` of the page in front opens page `id` over it.
    void open(const QString& name, int id, int dir = PANEL_KEY_RIGHT) {
        focus(name, dir);
        key(PANEL_KEY_OK, QString("OK on %1").arg(name));
        chain.push_back(id);
        visited.insert(id);
        expect_chain(QString("page %1 open in front").arg(id));
    }
    // Back closes the page in front and returns to its parent.
    void back() {
        const int closing = chain.back();
        key(PANEL_KEY_BACK, QString("Back on page %1").arg(closing));
        chain.pop_back();
        expect_chain(QString("page %1 closed, back on %2").arg(closing).arg(chain.back()));
    }
    void open_and_back(const QString& name, int id, int dir = PANEL_KEY_RIGHT) {
        open(name, id, dir);
        back();
    }

    // Runs the script and waits until it is done (or has failed).
    bool run(int timeout_ms = 60000) {
        timer.start();
        QTimer::singleShot(0, [this] { poll(); });
        QElapsedTimer total;
        total.start();
        while (!finished && total.elapsed() < timeout_ms)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        if (!finished)
            error = "script did not finish at step " + current();
        return error.isEmpty();
    }

private:
    struct Step {
        enum Kind { Key, Check, Focus } kind;
        QString what;
        int key;
        QString name;
        std::function<bool()> cond;
    };
    std::vector<Step> steps;
    size_t index = 0;
    QElapsedTimer timer;
    int focus_presses = 0;

    QString current() const { return index < steps.size() ? steps[index].what : QString("end"); }

    void fail(const QString& why) {
        error = why + " (front page " + QString::number(g_page_focus) + ")";
        finished = true;
        testsupport::close_all_pages();
    }
    void next() {
        ++index;
        focus_presses = 0;
        timer.restart();
    }
    void poll() {
        if (finished)
            return;
        if (index >= steps.size()) {
            finished = true;
            return;
        }
        if (timer.elapsed() > 2000) {
            fail("timed out at: " + current());
            return;
        }
        // Queue the next turn first: the key below may block in a nested
        // exec(), and the script goes on from inside it.
        QTimer::singleShot(1, [this] { poll(); });
        const Step s = steps[index];
        switch (s.kind) {
        case Step::Key:
            next();
            testsupport::key(s.key);
            break;
        case Step::Check:
            if (s.cond())
                next();
            break;
        case Step::Focus: {
            QWidget* page = testsupport::front_page();
            QWidget* w = page ? page->findChild<QWidget*>(s.name) : nullptr;
            if (!w) {
                fail("no entry " + s.name + " on the page in front");
            } else if (has_focus_style(w)) {
                next();
            } else if (++focus_presses > 16) {
                fail("focus never reached " + s.name);
            } else {
                testsupport::key(s.key);
            }
            break;
        }
        }
    }
};

// The home screen over MainWindow, as after start-up.
void show_home_screen() {
    g_page_focus = PAGE_MAINWINDOW;
    pages::open<LockWindow>(PAGE_LOCKWINDOW, false);
}

void store_recovery_package() {
    QDir().mkpath(device_path("/data/rcvrecovery"));
    QFile f(device_path("/data/rcvrecovery/card.rcv"));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("package");
}

// From the home screen down to the settings menu.
void walk_to_option(Walk& w) {
    w.chain = {PAGE_MAINWINDOW, PAGE_LOCKWINDOW};
    w.expect_chain("home screen in front");
    w.key(PANEL_KEY_OK, "OK on the home screen");
    w.chain.pop_back();
    w.expect_chain("main menu in front");
    w.open("option", PAGE_OPTION);
}

// Back from the settings menu to the main menu, then to the home screen.
void walk_home_from_option(Walk& w) {
    w.back();
    w.key(PANEL_KEY_BACK, "Back on the main menu");
    w.chain.push_back(PAGE_LOCKWINDOW);
    w.expect_chain("home screen over the main menu");
}
} // namespace

class TstPageTree : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        testsupport::fresh_device();
        if (!g_mainwindow()) {
            auto* mw = new MainWindow;
            pages::set(PAGE_MAINWINDOW, mw, PAGE_MAINWINDOW);
            mw->show();
        }
        fpga_manage::pInstance();
    }
    void init() {
        testsupport::fresh_device();
        g_qround_bar = nullptr;
        show_home_screen();
    }
    void cleanup() {
        g_qround_bar = nullptr;
        // The home screen in front is where every walk ends.
        if (RynPage* home = pages::at(PAGE_LOCKWINDOW)) {
            home->page_widget()->setAttribute(Qt::WA_DeleteOnClose);
            home->page_widget()->close();
            pages::clear(PAGE_LOCKWINDOW);
        }
        QVERIFY2(testsupport::close_all_pages() || QTest::currentTestFailed(),
                 "a page was left open");
        QVERIFY(g_mainwindow());
    }

    void every_page_opens_and_closes_from_its_parent();
    void recovery_entry_does_nothing_without_packages();
    void mode_on_third_level_closes_all_and_shows_user_mode();
    void mode_under_the_lock_does_nothing();
    void test_chart_back_resets_the_pattern();
    void tools_pages_stay_while_the_bar_shows_data();
    void tools_pages_stay_while_the_bar_shows();
    void every_page_has_a_title_in_each_language_data();
    void every_page_has_a_title_in_each_language();
    void ageing_page_redraws_the_record();
    void firmware_banner_without_banner_does_nothing();
    void firmware_banner_start_animate_over();
};

void TstPageTree::every_page_opens_and_closes_from_its_parent() {
    store_recovery_package();
    Walk w;
    w.chain = {PAGE_MAINWINDOW, PAGE_LOCKWINDOW};
    w.visited = {PAGE_LOCKWINDOW, PAGE_MAINWINDOW};
    w.expect_chain("home screen in front");
    w.key(PANEL_KEY_OK, "OK on the home screen");
    w.chain.pop_back();
    w.expect_chain("main menu in front");

    w.open_and_back("machinestate", PAGE_MACHINESTATE);
    w.open("inputchoose", PAGE_INPUTCHOOSE);
    // Left from the first window tab reaches the EDID button, then crop.
    w.open_and_back("button_EDID", PAGE_EDIDSET, PANEL_KEY_LEFT);
    w.open_and_back("button_inputcut", PAGE_INPUTCUT, PANEL_KEY_LEFT);
    w.back();
    w.open_and_back("custommode", PAGE_CUSTOMMODE);

    w.open("option", PAGE_OPTION);
    w.open("output_set", PAGE_OUTPUTSET);
    w.open_and_back("Button_ledset", PAGE_LEDSET);
    w.open_and_back("Button_lanset", PAGE_NETSET);
    w.back();
    w.open_and_back("input_cut", PAGE_INPUTCUT);
    w.open_and_back("image_layout", PAGE_IMAGELAYOUT);
    w.open("link_set", PAGE_LINKOPTION);
    w.open_and_back("Button_com", PAGE_LINKCOM);
    w.open_and_back("Button_wlan", PAGE_LINKWLAN);
    w.open_and_back("Button_usb", PAGE_FIRMWARE_USBGRADE);
    w.back();
    w.open("image_quality", PAGE_IMAGEQUALITY);
    w.open_and_back("Button_quality", PAGE_QUALITY);
    w.open_and_back("Button_temperature", PAGE_TEMPERATURE);
    w.back();
    w.open_and_back("test_chart", PAGE_TEST_CHART);
    w.open_and_back("smart_mapping", PAGE_SMARTMAPPING);
    w.open("AdvanceButton", PAGE_ADVANCEDOPTION);
    w.open_and_back("Button_LCDshow", PAGE_LCDSHOW);
    w.open_and_back("Button_other", PAGE_OTHERSETUP);
    w.open_and_back("Button_rcv_recovery", PAGE_RCV_RECOVERY);
    w.open_and_back("Button_factory", PAGE_FACTORY);
    w.open_and_back("Button_age", PAGE_FACTORYAGE);
    w.back();
    // A child's Back leaves the entry that opened it focused.
    w.check("advanced entry still focused", [] {
        QWidget* page = testsupport::front_page();
        return page && has_focus_style(page->findChild<QWidget*>("AdvanceButton"));
    });
    walk_home_from_option(w);

    QVERIFY2(w.run(), qPrintable(w.error));
    QCOMPARE(int(w.visited.size()), int(PAGE_COUNT));
}

void TstPageTree::recovery_entry_does_nothing_without_packages() {
    // The folder exists but holds nothing: the entry is greyed and OK on it
    // must not open the recovery page.
    QDir().mkpath(device_path("/data/rcvrecovery"));
    Walk w;
    walk_to_option(w);
    w.open("AdvanceButton", PAGE_ADVANCEDOPTION);
    w.focus("Button_rcv_recovery");
    w.check("recovery entry drawn grey", [] {
        QWidget* page = testsupport::front_page();
        QWidget* b = page ? page->findChild<QWidget*>("Button_rcv_recovery") : nullptr;
        return b && b->styleSheet().contains("gray");
    });
    w.key(PANEL_KEY_OK, "OK on the greyed recovery entry");
    w.expect_chain("still on the advanced submenu");
    // Right moves on to the factory entry as usual.
    w.key(PANEL_KEY_RIGHT, "Right from the recovery entry");
    w.check("factory entry focused", [] {
        QWidget* page = testsupport::front_page();
        return page && has_focus_style(page->findChild<QWidget*>("Button_factory"));
    });
    w.back();
    walk_home_from_option(w);
    QVERIFY2(w.run(), qPrintable(w.error));
}

void TstPageTree::mode_on_third_level_closes_all_and_shows_user_mode() {
    Walk w;
    walk_to_option(w);
    w.open("output_set", PAGE_OUTPUTSET);
    w.open("Button_ledset", PAGE_LEDSET);
    w.key(PANEL_KEY_MODE, "MODE on the LED page");
    w.chain = {PAGE_MAINWINDOW, PAGE_CUSTOMMODE};
    w.expect_chain("user-mode page alone over the main menu");
    w.check("opened by the shortcut", [] { return g_mode_shortcut_key == 1; });
    // Back on a page that MODE opened returns to the home screen.
    w.key(PANEL_KEY_BACK, "Back on the user-mode page");
    w.chain = {PAGE_MAINWINDOW, PAGE_LOCKWINDOW};
    w.expect_chain("home screen after the shortcut page");
    QVERIFY2(w.run(), qPrintable(w.error));
    QCOMPARE(g_page_focus, uint8_t(PAGE_LOCKWINDOW));
    QCOMPARE(g_mode_shortcut_key, uint8_t(0));
}

void TstPageTree::mode_under_the_lock_does_nothing() {
    para()->set_u16(blk::PANEL_LOCK, 1);
    Walk w;
    w.chain = {PAGE_MAINWINDOW, PAGE_LOCKWINDOW};
    w.key(PANEL_KEY_MODE, "MODE on the locked home screen");
    w.key(PANEL_LETTER_MODE, "keypad M on the locked home screen");
    w.expect_chain("home screen unchanged");
    w.key(PANEL_KEY_OK, "OK on the home screen");
    w.chain.pop_back();
    w.open("option", PAGE_OPTION);
    w.open("output_set", PAGE_OUTPUTSET);
    w.open("Button_ledset", PAGE_LEDSET);
    w.key(PANEL_KEY_MODE, "MODE on the locked LED page");
    w.expect_chain("all three pages still open");
    w.check("no shortcut taken", [] { return g_mode_shortcut_key == 0; });
    w.back();
    w.back();
    walk_home_from_option(w);
    QVERIFY2(w.run(), qPrintable(w.error));
}

void TstPageTree::test_chart_back_resets_the_pattern() {
    para()->RamParaBlock[blk::TEST_PATTERN] = 3;
    Walk w;
    walk_to_option(w);
    w.open("test_chart", PAGE_TEST_CHART);
    w.check("pattern untouched while the page is open", [] {
        return para()->RamParaBlock[blk::TEST_PATTERN] == 3 &&
               c331_manage::pInstance()->para_update_flag == 0;
    });
    w.back();
    w.check("pattern off and the change raised", [] {
        return para()->RamParaBlock[blk::TEST_PATTERN] == 0 &&
               c331_manage::pInstance()->para_update_flag == 1;
    });
    walk_home_from_option(w);
    QVERIFY2(w.run(), qPrintable(w.error));
}

void TstPageTree::tools_pages_stay_while_the_bar_shows_data() {
    QTest::addColumn<QString>("menu");
    QTest::addColumn<int>("menu_id");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<int>("id");
    QTest::newRow("smart mapping") << QString() << 0 << "smart_mapping" << int(PAGE_SMARTMAPPING);
    QTest::newRow("card recovery") << "AdvanceButton" << int(PAGE_ADVANCEDOPTION)
                                   << "Button_rcv_recovery" << int(PAGE_RCV_RECOVERY);
}

void TstPageTree::tools_pages_stay_while_the_bar_shows() {
    QFETCH(QString, menu);
    QFETCH(int, menu_id);
    QFETCH(QString, entry);
    QFETCH(int, id);
    store_recovery_package();
    Walk w;
    walk_to_option(w);
    if (!menu.isEmpty())
        w.open(menu, menu_id);
    w.open(entry, id);
    w.check("a card job starts", [] {
        g_qround_bar = fake_bar();
        return true;
    });
    w.key(PANEL_KEY_BACK, "Back while the bar shows");
    w.key(PANEL_LETTER_BACK, "keypad O while the bar shows");
    w.key(PANEL_KEY_OK, "OK on the back button while the bar shows");
    // MODE would delete the page and the bar that is its child with it.
    w.key(PANEL_KEY_MODE, "MODE while the bar shows");
    w.expect_chain("page still open after the keys");
    w.check("touch on the back button while the bar shows", [] {
        QWidget* page = testsupport::front_page();
        auto* back = page ? page->findChild<QPushButton*>("Button_back") : nullptr;
        if (back)
            back->click();
        return back != nullptr;
    });
    w.check("the PC's close request while the bar shows", [id] {
        if (auto* p = pages::get<rcv_recovery>(id))
            p->menulist_back_page();
        return true;
    });
    w.expect_chain("page still open");
    w.check("the job ends", [] {
        g_qround_bar = nullptr;
        return true;
    });
    w.back();
    if (!menu.isEmpty())
        w.back();
    walk_home_from_option(w);
    QVERIFY2(w.run(), qPrintable(w.error));
}

namespace {
using Factory = std::function<QWidget*()>;
template <class T> Factory make() {
    return [] { return new T; };
}
} // namespace
Q_DECLARE_METATYPE(Factory)

void TstPageTree::every_page_has_a_title_in_each_language_data() {
    QTest::addColumn<Factory>("create");
    QTest::addColumn<QString>("english");
    QTest::newRow("Option") << make<Option>() << "Setting";
    QTest::newRow("OutputSet") << make<OutputSet>() << "Output Seeting";
    QTest::newRow("InputCut") << make<InputCut>() << "Input intercept";
    QTest::newRow("EDIDset") << make<EDIDset>() << "EDID Settings";
    QTest::newRow("ImageLayout") << make<ImageLayout>() << "Screen layout";
    QTest::newRow("LinkOption") << make<LinkOption>() << "Communication";
    QTest::newRow("ImageQuality") << make<ImageQuality>() << "Image quality";
    QTest::newRow("AdvancedOption") << make<AdvancedOption>() << "Advanced Settings";
    QTest::newRow("ledset") << make<ledset>() << "LED Setting";
    QTest::newRow("netset") << make<netset>() << "Port output";
    QTest::newRow("lcdshow") << make<lcdshow>() << "LCD display";
    QTest::newRow("test_chart") << make<test_chart>() << "Test pattern";
    QTest::newRow("othersetup") << make<othersetup>() << "Other settings";
    QTest::newRow("factory") << make<factory>() << "Factory settings";
    QTest::newRow("quality") << make<quality>() << "Picture quality";
    QTest::newRow("temperature") << make<temperature>() << "Colour temperature";
    QTest::newRow("linkcom") << make<linkcom>() << "Serial port";
    QTest::newRow("linkwlan") << make<linkwlan>() << "Ethernet";
    QTest::newRow("factoryage") << make<factoryage>() << "Ageing log";
    QTest::newRow("SmartMapping") << make<SmartMapping>() << "Smart mapping";
    QTest::newRow("rcv_recovery") << make<rcv_recovery>() << "Card self-recovery";
    QTest::newRow("firmware_usbgrade") << make<firmware_usbgrade>() << "USB upgrade";
}

void TstPageTree::every_page_has_a_title_in_each_language() {
    QFETCH(Factory, create);
    QFETCH(QString, english);
    auto title_of = [&] {
        std::unique_ptr<QWidget> page(create());
        auto* label = page->findChild<QLabel*>("label_title");
        return label ? label->text() : QString("<no title label>");
    };
    std::set<QString> seen;
    for (int lang = 0; lang < LANG_COUNT; ++lang) {
        g_language = uint8_t(lang);
        const QString t = title_of();
        QVERIFY2(!t.isEmpty(), qPrintable(QString("language %1").arg(lang)));
        if (lang == LANG_ENGLISH)
            QCOMPARE(t, english);
        seen.insert(t);
    }
    // Each language has its own wording, not English everywhere.
    QVERIFY2(seen.size() >= 3, qPrintable(QString("only %1 distinct titles").arg(seen.size())));
    // Vietnamese not offered: English.
    g_language = LANG_VIETNAMESE;
    g_lcd_lang_valid = LCD_LANG_VALID_ALL & ~(1u << LANG_VIETNAMESE);
    QCOMPARE(title_of(), english);
    // A language byte out of range: English, no crash.
    g_language = 200;
    g_lcd_lang_valid = LCD_LANG_VALID_ALL;
    QCOMPARE(title_of(), english);
}

void TstPageTree::ageing_page_redraws_the_record() {
    factoryage_log.clear();
    factoryage_log_diff3 = factoryage_log_diff5 = factoryage_log_diff10 = 0;
    factoryage_log_diff20 = factoryage_log_diffmore = 0;
    g_page_focus = PAGE_ADVANCEDOPTION;
    auto* page = new factoryage;
    pages::set(PAGE_FACTORYAGE, page, PAGE_ADVANCEDOPTION);
    g_page_focus = PAGE_FACTORYAGE;
    page->show();
    auto* list = page->findChild<QListWidget*>("listWidget_log");
    auto* steps = page->findChild<QLabel*>("label_steps");
    QVERIFY(list && steps);
    QCOMPARE(list->count(), 0);

    factoryage_log << "03-01 10:00 250 7 9"
                   << "03-01 10:03 3 7 9";
    factoryage_log_diff10 = 1;
    factoryage_log_diffmore = 4294967295u; // the counters are never reset
    g_factoryage()->update_agelog();
    QCOMPARE(list->count(), 2);
    QCOMPARE(list->item(1)->text(), QString("03-01 10:03 3 7 9"));
    QVERIFY2(steps->text().contains("5-9:1") && steps->text().contains("20+:4294967295"),
             qPrintable(steps->text()));

    // The capped record: the page shows what the list holds, no more.
    factoryage_log.clear();
    for (int i = 0; i < 3360; ++i)
        factoryage_log << QString("03-02 00:00 %1 0 0").arg(i % 256);
    g_factoryage()->update_agelog();
    QCOMPARE(list->count(), 3360);

    // Back returns to the advanced submenu's id even with that menu closed.
    testsupport::key(PANEL_KEY_BACK);
    QVERIFY(!g_factoryage());
    QCOMPARE(g_page_focus, uint8_t(PAGE_ADVANCEDOPTION));
    g_page_focus = PAGE_LOCKWINDOW;
}

void TstPageTree::firmware_banner_without_banner_does_nothing() {
    g_move_update = nullptr;
    for (int i = 0; i < 200; ++i)
        FirmwareUpdate::update_time_deal();
    firmware_update_over();
    QVERIFY(!g_move_update);
}

void TstPageTree::firmware_banner_start_animate_over() {
    firmware_update_start();
    QPointer<FirmwareUpdate> banner = g_move_update;
    QVERIFY(banner);
    QVERIFY(banner->isVisible());
    // Shown again, not created twice.
    banner->hide();
    firmware_update_start();
    QCOMPARE(g_move_update, banner.data());
    QVERIFY(banner->isVisible());
    // The banner never takes the keys from the page in front.
    QVERIFY(banner->testAttribute(Qt::WA_ShowWithoutActivating));

    FirmwareUpdate::update_time_deal();
    QCOMPARE(banner->slide_step(), 0);
    FirmwareUpdate::update_time_deal();
    QCOMPARE(banner->slide_step(), 1);
    for (int i = 2; i < 99; ++i)
        FirmwareUpdate::update_time_deal();
    QCOMPARE(banner->dots_step(), 0);
    FirmwareUpdate::update_time_deal(); // tick 100
    QCOMPARE(banner->dots_step(), 1);
    QCOMPARE(banner->slide_step(), 50 % FirmwareUpdate::kSlideSteps);
    // Both animations wrap instead of running off their range.
    for (int i = 0; i < 100 * FirmwareUpdate::kDotsSteps; ++i)
        FirmwareUpdate::update_time_deal();
    QVERIFY(banner->slide_step() < FirmwareUpdate::kSlideSteps);
    QCOMPARE(banner->dots_step(), 1);
    banner->repaint();

    firmware_update_over();
    QVERIFY(!g_move_update);
    QTRY_VERIFY(banner.isNull());
    firmware_update_over(); // a second over finds nothing
    FirmwareUpdate::update_time_deal();

    // A later update gets a fresh banner.
    firmware_update_start();
    QVERIFY(g_move_update);
    QCOMPARE(g_move_update->dots_step(), 0);
    firmware_update_over();
    QVERIFY(!g_move_update);
}

QTEST_MAIN(TstPageTree)
#include "tst_page_tree.moc"

// The page tree: every page id opened from its parent by keys and closed
// again, MODE through three levels and under the lock, the pages with their
// own Back, and the firmware-update banner.
#include "page_driver.h"
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
#include "ui/frame/pageframe.h"
#include "ui/tools/firmwareupdate.h"
#include "ui/tools/rcv_recovery.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPointer>
#include <QPushButton>
#include <QtTest>
#include <set>
#include <vector>

namespace {
RynRamPara* para() {
    return RynRamPara::pInstance();
}
bool has_focus_style(const QWidget* w) {
    return w && look_of(w).contains("255,171,84");
}

// Drives the pages from queued calls, so that the script goes on inside the
// nested exec() of every modal page. A step that does not come true within
// two seconds fails the script and closes every page so the loops unwind.
class Walk {
public:
    std::vector<int> chain{PAGE_MAINWINDOW, PAGE_LOCKWINDOW}; // open pages, bottom to front
    std::set<int> visited{PAGE_MAINWINDOW, PAGE_LOCKWINDOW};
    QString error;

    void key(int k, const QString& what) { steps.push_back({what, k, {}, {}}); }
    void check(const QString& what, std::function<bool()> cond) {
        steps.push_back({what, 0, {}, std::move(cond)});
    }
    // Moves the focus of the page in front onto `name` with Right (or Left).
    void focus(const QString& name, int dir) { steps.push_back({"focus " + name, dir, name, {}}); }
    // The registry holds exactly the chain, and its top is in front.
    void expect_chain(const QString& what) {
        check(what, [want = chain] {
            for (int id = 0; id < PAGE_COUNT; ++id)
                if ((pages::at(id) != nullptr) != (std::count(want.begin(), want.end(), id) > 0))
                    return false;
            return g_page_focus == want.back();
        });
    }
    void open(const QString& name, int id, int dir = PANEL_KEY_RIGHT) {
        focus(name, dir);
        key(PANEL_KEY_OK, "OK on " + name);
        chain.push_back(id);
        visited.insert(id);
        expect_chain(QString("page %1 open in front").arg(id));
    }
    void back() {
        key(PANEL_KEY_BACK, QString("Back on page %1").arg(chain.back()));
        chain.pop_back();
        expect_chain(QString("back on %1").arg(chain.back()));
    }
    // Each entry in turn: opened and closed again.
    void open_and_back(std::initializer_list<std::pair<const char*, int>> entries, int dir = PANEL_KEY_RIGHT) {
        for (const auto& e : entries) {
            open(e.first, e.second, dir);
            back();
        }
    }
    // From the home screen to the settings menu, and back home.
    void to_option() {
        key(PANEL_KEY_OK, "OK on the home screen");
        chain.pop_back();
        expect_chain("main menu in front");
        open("option", PAGE_OPTION);
    }
    void home_from_option() {
        back();
        key(PANEL_KEY_BACK, "Back on the main menu");
        chain.push_back(PAGE_LOCKWINDOW);
        expect_chain("home screen over the main menu");
    }

    bool run() {
        timer.start();
        QTimer::singleShot(0, [this] { poll(); });
        QElapsedTimer total;
        total.start();
        while (!finished && total.elapsed() < 60000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        if (!finished)
            error = "script did not finish at step " + current();
        return error.isEmpty();
    }

private:
    struct Step {
        QString what;
        int key;
        QString name;
        std::function<bool()> cond;
    };
    std::vector<Step> steps;
    size_t index = 0;
    QElapsedTimer timer;
    int presses = 0;
    bool finished = false;

    QString current() const { return index < steps.size() ? steps[index].what : "end"; }
    void fail(const QString& why) {
        error = why + " (front page " + QString::number(g_page_focus) + ")";
        finished = true;
        testsupport::close_all_pages();
    }
    void next() {
        ++index;
        presses = 0;
        timer.restart();
    }
    void poll() {
        if (finished || (finished = index >= steps.size()))
            return;
        if (timer.elapsed() > 2000)
            return fail("timed out at: " + current());
        // Queue the next turn first: the key may block in a nested exec().
        QTimer::singleShot(1, [this] { poll(); });
        const Step s = steps[index];
        if (s.cond) {
            if (s.cond())
                next();
        } else if (s.name.isEmpty()) {
            next();
            testsupport::key(s.key);
        } else {
            QWidget* page = testsupport::front_page();
            QWidget* w = page ? page->findChild<QWidget*>(s.name) : nullptr;
            if (!w)
                fail("no entry " + s.name + " on the page in front");
            else if (has_focus_style(w))
                next();
            else if (++presses > 16)
                fail("focus never reached " + s.name);
            else
                testsupport::key(s.key);
        }
    }
};

void store_recovery_package() {
    QDir().mkpath(device_path("/data/rcvrecovery"));
    QFile f(device_path("/data/rcvrecovery/card.rcv"));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("package");
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
        g_page_focus = PAGE_MAINWINDOW;
        pages::open<LockWindow>(false);
    }
    void cleanup() {
        g_qround_bar = nullptr;
        if (RynPage* home = pages::at(PAGE_LOCKWINDOW)) {
            home->page_widget()->setAttribute(Qt::WA_DeleteOnClose);
            home->page_widget()->close();
            pages::clear(PAGE_LOCKWINDOW);
        }
        QVERIFY2(testsupport::close_all_pages() || QTest::currentTestFailed(),
                 "a page was left open");
        QVERIFY(g_mainwindow());
    }

    void every_page_opens_and_closes_from_its_parent() {
        store_recovery_package();
        Walk w;
        w.expect_chain("home screen in front");
        w.key(PANEL_KEY_OK, "OK on the home screen");
        w.chain.pop_back();
        w.expect_chain("main menu in front");
        w.open_and_back({{"machinestate", PAGE_MACHINESTATE}});
        w.open("inputchoose", PAGE_INPUTCHOOSE);
        w.open_and_back({{"button_EDID", PAGE_EDIDSET}, {"button_inputcut", PAGE_INPUTCUT}}, PANEL_KEY_LEFT);
        w.back();
        w.open_and_back({{"custommode", PAGE_CUSTOMMODE}});
        w.open("option", PAGE_OPTION);
        w.open("output_set", PAGE_OUTPUTSET);
        w.open_and_back({{"Button_ledset", PAGE_LEDSET}, {"Button_lanset", PAGE_NETSET}});
        w.back();
        w.open_and_back({{"input_cut", PAGE_INPUTCUT}, {"image_layout", PAGE_IMAGELAYOUT}});
        w.open("link_set", PAGE_LINKOPTION);
        w.open_and_back({{"Button_com", PAGE_LINKCOM}, {"Button_wlan", PAGE_LINKWLAN},
                         {"Button_usb", PAGE_FIRMWARE_USBGRADE}});
        w.back();
        w.open("image_quality", PAGE_IMAGEQUALITY);
        w.open_and_back({{"Button_quality", PAGE_QUALITY}, {"Button_temperature", PAGE_TEMPERATURE}});
        w.back();
        w.open_and_back({{"test_chart", PAGE_TEST_CHART}, {"smart_mapping", PAGE_SMARTMAPPING}});
        w.open("AdvanceButton", PAGE_ADVANCEDOPTION);
        w.open_and_back({{"Button_LCDshow", PAGE_LCDSHOW}, {"Button_other", PAGE_OTHERSETUP},
                         {"Button_rcv_recovery", PAGE_RCV_RECOVERY}, {"Button_factory", PAGE_FACTORY}});
        // The ageing log behind its access code on the keypad.
        w.focus("Button_age", PANEL_KEY_RIGHT);
        w.key(PANEL_KEY_OK, "OK on Button_age");
        w.check("access code typed", [] {
            if (!g_numberkeyboard || !g_numberkeyboard->isVisible())
                return false;
            testsupport::post([] { keypad::type("6157K"); });
            return true;
        });
        w.chain.push_back(PAGE_FACTORYAGE);
        w.visited.insert(PAGE_FACTORYAGE);
        w.expect_chain("ageing page open in front");
        w.back();
        w.back();
        // A child's Back leaves the entry that opened it focused.
        w.check("advanced entry still focused", [] {
            QWidget* page = testsupport::front_page();
            return page && has_focus_style(page->findChild<QWidget*>("AdvanceButton"));
        });
        w.home_from_option();
        QVERIFY2(w.run(), qPrintable(w.error));
        QCOMPARE(int(w.visited.size()), int(PAGE_COUNT));
    }

    void mode_on_third_level_and_under_the_lock_data() {
        QTest::addColumn<bool>("locked");
        QTest::newRow("unlocked") << false;
        QTest::newRow("locked") << true;
    }
    void mode_on_third_level_and_under_the_lock() {
        QFETCH(bool, locked);
        para()->set_u16(blk::PANEL_LOCK, locked ? 1 : 0);
        Walk w;
        if (locked) {
            w.key(PANEL_KEY_MODE, "MODE on the locked home screen");
            w.key(PANEL_LETTER_MODE, "keypad M on the locked home screen");
            w.expect_chain("home screen unchanged");
        }
        w.to_option();
        w.open("output_set", PAGE_OUTPUTSET);
        w.open("Button_ledset", PAGE_LEDSET);
        w.key(PANEL_KEY_MODE, "MODE on the LED page");
        if (locked) {
            w.expect_chain("all three pages still open");
            w.check("no shortcut taken", [] { return g_mode_shortcut_key == 0; });
            w.back();
            w.back();
            w.home_from_option();
        } else {
            w.chain = {PAGE_MAINWINDOW, PAGE_CUSTOMMODE};
            w.expect_chain("user-mode page alone over the main menu");
            w.check("opened by the shortcut", [] { return g_mode_shortcut_key == 1; });
            // Back on a page that MODE opened returns to the home screen.
            w.key(PANEL_KEY_BACK, "Back on the user-mode page");
            w.chain = {PAGE_MAINWINDOW, PAGE_LOCKWINDOW};
            w.expect_chain("home screen after the shortcut page");
        }
        QVERIFY2(w.run(), qPrintable(w.error));
        QCOMPARE(g_mode_shortcut_key, uint8_t(0));
    }

    void test_chart_back_resets_the_pattern() {
        para()->RamParaBlock[blk::TEST_PATTERN] = 3;
        Walk w;
        w.to_option();
        w.open("test_chart", PAGE_TEST_CHART);
        w.check("pattern untouched while open", [] {
            return para()->RamParaBlock[blk::TEST_PATTERN] == 3 &&
                   c331_manage::pInstance()->para_update_flag == 0;
        });
        w.back();
        w.check("pattern off and the change raised", [] {
            return para()->RamParaBlock[blk::TEST_PATTERN] == 0 &&
                   c331_manage::pInstance()->para_update_flag == 1;
        });
        w.home_from_option();
        QVERIFY2(w.run(), qPrintable(w.error));
    }

    void tools_pages_stay_while_the_bar_shows_data() {
        QTest::addColumn<bool>("advanced");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<int>("id");
        QTest::newRow("smart mapping") << false << "smart_mapping" << int(PAGE_SMARTMAPPING);
        QTest::newRow("card recovery") << true << "Button_rcv_recovery" << int(PAGE_RCV_RECOVERY);
    }
    void tools_pages_stay_while_the_bar_shows() {
        QFETCH(bool, advanced);
        QFETCH(QString, entry);
        QFETCH(int, id);
        store_recovery_package();
        Walk w;
        w.to_option();
        if (advanced)
            w.open("AdvanceButton", PAGE_ADVANCEDOPTION);
        w.open(entry, id);
        static char bar; // only its being non-null counts
        w.check("a card job starts", [] {
            g_qround_bar = reinterpret_cast<QRoundProgressBar*>(&bar);
            return true;
        });
        w.key(PANEL_KEY_BACK, "Back while the bar shows");
        w.key(PANEL_LETTER_BACK, "keypad O while the bar shows");
        // MODE would delete the page and the bar that is its child with it.
        w.key(PANEL_KEY_MODE, "MODE while the bar shows");
        w.check("touch and the PC's close request while the bar shows", [id] {
            if (auto* back = testsupport::front_page()->findChild<QPushButton*>("Button_back"))
                back->click();
            if (auto* p = dynamic_cast<rcv_recovery*>(pages::at(id)))
                p->menulist_back_page();
            return true;
        });
        w.expect_chain("page still open");
        w.check("the job ends", [] { return !(g_qround_bar = nullptr); });
        w.back();
        if (advanced)
            w.back();
        w.home_from_option();
        QVERIFY2(w.run(), qPrintable(w.error));
    }

    // The banner a worker asks for: shown again rather than made twice,
    // animated by the tick (also when the flag comes before any banner),
    // and a fresh one for a later update.
    void firmware_banner_start_animate_over() {
        g_move_update = nullptr;
        g_update_flag = 1;
        g_mainwindow()->slot_update_timer_ticks();  // no banner yet: nothing to animate
        g_update_flag = 0;
        firmware_update_over();
        firmware_update_start();
        QPointer<FirmwareUpdate> banner = g_move_update;
        QVERIFY(banner && banner->isVisible());
        banner->hide();
        firmware_update_start();
        QCOMPARE(g_move_update, banner.data());
        QVERIFY(banner->isVisible());
        for (int i = 0; i < 99; ++i)
            FirmwareUpdate::update_time_deal();
        QCOMPARE(banner->dots_step(), 0);
        FirmwareUpdate::update_time_deal(); // tick 100
        QCOMPARE(banner->dots_step(), 1);
        // Both animations wrap instead of running off their range.
        for (int i = 0; i < 100 * FirmwareUpdate::kDotsSteps; ++i)
            FirmwareUpdate::update_time_deal();
        QVERIFY(banner->slide_step() < FirmwareUpdate::kSlideSteps);
        QCOMPARE(banner->dots_step(), 1);
        firmware_update_over();
        QVERIFY(!g_move_update);
        QTRY_VERIFY(banner.isNull());
        firmware_update_over(); // a second over finds nothing
        firmware_update_start(); // a later update gets a fresh banner
        QCOMPARE(g_move_update->dots_step(), 0);
        firmware_update_over();
    }
};

QTEST_MAIN(TstPageTree)
#include "tst_page_tree.moc"

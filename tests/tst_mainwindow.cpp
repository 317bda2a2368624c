// The main menu and the 10 ms tick.
#include "testsupport.h"

#include "core/global.h"
#include "core/rynrampara.h"
#include "fpga/fpga_manage.h"
#include "scaler/c331_manage.h"
#include "ui/frame/syncupdate.h"
#include "ui/frame/keys.h"
#include "ui/frame/language.h"
#include "ui/frame/lockwindow.h"
#include "ui/frame/mainwindow.h"

#include <QPushButton>
#include <QtTest>
#include <cstdio>
#include <sys/wait.h>
#include <unistd.h>

namespace {
RynRamPara* para() { return RynRamPara::pInstance(); }
MainWindow* mw = nullptr;
QWidget* entry(const char* name) { return mw->findChild<QWidget*>(name); }
bool focused(const char* name) { return testsupport::looks_focused(entry(name)); }
// The focused frame of a large tile has rounded corners, of a small button square ones.
bool rounded(const char* name) { return entry(name)->grab().toImage().pixelColor(0, 1) != QColor(255, 171, 84); }

void ticks(int n) {
    for (int i = 0; i < n; ++i)
        mw->slot_update_timer_ticks();
}
void keys(int k, int times = 1) {
    for (int i = 0; i < times; ++i)
        testsupport::key(k);
}
// The button's icon equals the image `name` drawn at `size`.
bool shows(const char* button, const QString& name, QSize size) {
    auto* b = mw->findChild<QPushButton*>(button);
    return b->icon().pixmap(b->iconSize()).toImage() == QIcon(name).pixmap(size).toImage();
}
}  // namespace

class TstMainWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { mw = new MainWindow(nullptr); }
    void init() {
        testsupport::fresh_device();
        g_page_focus = PAGE_MAINWINDOW;
        mw->menulist_init();
        mw->language_changed();
        mw->show();
        g_delay_usbserver = 0;
        G_delay_usbserver_ticks = 0;
    }
    void cleanup() { testsupport::close_all_pages(); }

    // The focus wraps both ways and each entry keeps its own shape; Back
    // shows the home screen, whose OK returns to the menu as it was left.
    void focus_wraps_and_home_returns_to_same_menu() {
        keys(PANEL_KEY_LEFT);
        QVERIFY(focused("tools") && !rounded("tools") && !focused("machinestate"));
        keys(PANEL_KEY_RIGHT, 3);
        keys(PANEL_KEY_BACK);
        QCOMPARE(int(g_page_focus), int(PAGE_LOCKWINDOW));
        keys(PANEL_KEY_OK);
        QVERIFY(!g_lockwindow() && g_mainwindow() == mw);
        QCOMPARE(int(g_page_focus), int(PAGE_MAINWINDOW));
        QVERIFY(focused("custommode") && rounded("custommode"));
        keys(PANEL_KEY_RIGHT);
        QVERIFY(focused("option") && rounded("option"));
        keys(PANEL_KEY_RIGHT);
        QVERIFY(focused("Button_lock") && !rounded("Button_lock") && !focused("option"));
    }

    // The padlock shows what MODE will do: closed for every non-zero value,
    // whether it came from the file, from the lock entry or from outside
    // (the PC) through the dispatcher's refresh.
    void lock_icon_follows_the_value_data() {
        // start, then the value after each OK on the entry
        testsupport::int_rows({{"unlocked, twice", {0, 1, 0}}, {"3 from the file", {3, 0, 1}},
                               {"0x0100 from the file", {0x100, 1, 0}}});
    }
    void lock_icon_follows_the_value() {
        QFETCH(QVector<int>, r);
        const int start = r[0];
        auto shows_lock = [](int value) {
            return shows("Button_lock", png(value ? "lock.png" : "unlock.png"), QSize(16, 16));
        };
        para()->set_u16(blk::PANEL_LOCK, uint16_t(start));
        para()->RamParaShadow = para()->RamParaBlock;
        mw->language_changed();
        QVERIFY(shows_lock(start));
        keys(PANEL_KEY_RIGHT, 4);
        for (int value : r.mid(1)) {
            keys(PANEL_KEY_OK);
            QCOMPARE(int(para()->u16(blk::PANEL_LOCK)), value);
            QVERIFY(shows_lock(value));
            QCOMPARE(int(c331_manage::pInstance()->para_update_flag), 0);  // the scaler ignores the lock
        }
        // Set from outside, seen at the next refresh.
        const int outside = para()->u16(blk::PANEL_LOCK) ? 0 : 2;
        para()->set_u16(blk::PANEL_LOCK, uint16_t(outside));
        SyncUpdate::pInstance()->para_sync(SYNC_PARA);
        QVERIFY(shows_lock(outside));
    }

    // b 2112 comes from files and the PC: 6 is a window the panel lacks, 70 is past the block.
    void audio_window_out_of_range_reads_window_0_data() {
        testsupport::int_rows({{"first index past the windows", {6}}, {"past the block", {70}}});
    }
    void audio_window_out_of_range_reads_window_0() {
        QFETCH(QVector<int>, r);
        const int audio_window = r[0];
        para()->set_u16(blk::AUDIO_WINDOW, uint16_t(audio_window));
        para()->set_u16(blk::window(6, blk::WIN_AUDIO), 0x0000);
        para()->set_u16(blk::window(0, blk::WIN_AUDIO), 0x80FF);
        mw->para_init();
        QCOMPARE(int(para()->u16(blk::AUDIO_WINDOW)), audio_window);  // not written back
        QVERIFY(shows("toolButton2", png_lang("unslience.png"), QSize(24, 36)));
        para()->set_u16(blk::window(0, blk::WIN_AUDIO), 0x00FF);
        mw->syncUpdate(SYNC_PARA);
        QVERIFY(shows("toolButton2", png_lang("slience.png"), QSize(24, 36)));
    }

    // On a PC the reboot ends the program: run the clock in a forked copy.
    void reboot_300_ticks_after_the_request() {
        int status = 0;
        const QByteArray out = testsupport::run_forked(
            [] {
                G_timeTicks = G_reboot_tickTicks = 1000;
                g_app_reset_flag = 1;
                ticks(299);
                std::printf("[still up after 299]\n");
                std::fflush(stdout);
                ticks(1);  // the copy ends with status 3 when the reboot did not come
            },
            false, &status);
        QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        QVERIFY2(out.contains("[still up after 299]"), out.constData());
        QVERIFY2(out.indexOf("reboot") > out.indexOf("[still up after 299]"), out.constData());
    }

    // The USB watcher starts at tick 1000; an ageing sample every 18000
    // ticks, skipped while a PC command runs (the stamp renewed all the same).
    void tick_schedule() {
        fpga_manage::pInstance()->bringup();
        factoryage_log.clear();
        G_timeTicks = G_factoryage_ticks = 0;
        ticks(999);
        QCOMPARE(int(g_delay_usbserver), 0);
        ticks(1);
        QCOMPARE(int(g_delay_usbserver), 1);
        ticks(17000);
        QCOMPARE(factoryage_log.size(), 1);
        pc_cmd_valid = 1;
        ticks(18000);
        pc_cmd_valid = 0;
        ticks(17999);
        QCOMPARE(factoryage_log.size(), 1);
        ticks(1);
        QCOMPARE(factoryage_log.size(), 2);
    }

    void ageing_advance_counts_data() {
        // from, to, the counter that counts it: 0 none, 3, 5, 10, 20, 99 more
        testsupport::int_rows({{"equal counts nothing", {7, 7, 0}}, {"3", {7, 10, 5}},
                               {"wraps 250 to 3 is 9", {250, 3, 10}}, {"20", {0, 20, 99}},
                               {"255 down by one", {5, 4, 99}}});
    }
    void ageing_advance_counts() {
        QFETCH(QVector<int>, r);
        const int from = r[0], to = r[1], counter = r[2];
        auto counts = [] {
            return std::array<uint32_t, 5>{factoryage_log_diff3, factoryage_log_diff5, factoryage_log_diff10,
                                           factoryage_log_diff20, factoryage_log_diffmore};
        };
        fpga_manage* fpga = fpga_manage::pInstance();
        factoryage_log.clear();
        fpga->sim_set_register(0, 42, uint8_t(from));
        mw->getagelog();
        const auto before = counts();
        fpga->sim_set_register(0, 42, uint8_t(to));
        mw->getagelog();
        const int which[] = {3, 5, 10, 20, 99};
        for (int i = 0; i < 5; ++i)
            QCOMPARE(counts()[i] - before[i], which[i] == counter ? 1u : 0u);
        QCOMPARE(factoryage_log.last().split(' ').value(2).toInt(), to);
    }

    // The 3,361st line pushes out the first; the rest keep their order.
    void ageing_log_keeps_3360_lines() {
        fpga_manage* fpga = fpga_manage::pInstance();
        factoryage_log.clear();
        const auto step = [](int line) { return factoryage_log.at(line).split(' ').value(2).toInt(); };
        for (int i = 0; i < 3361; ++i) {
            fpga->sim_set_register(0, 42, uint8_t(i));
            mw->getagelog();
            if (i == 3359)
                QCOMPARE(step(0), 0);
        }
        QCOMPARE(factoryage_log.size(), 3360);
        QCOMPARE(QVector<int>({step(0), step(1), step(3359)}), QVector<int>({1, 2, 3360 % 256}));
    }
};

QTEST_MAIN(TstMainWindow)
#include "tst_mainwindow.moc"

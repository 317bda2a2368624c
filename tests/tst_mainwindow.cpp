// The main menu and the 10 ms tick.
#include "testsupport.h"

#include "fpga/fpga_manage.h"
#include "ui/frame/syncupdate.h"
#include "ui/frame/lockwindow.h"
#include "ui/frame/mainwindow.h"

#include <cstdio>
#include <sys/wait.h>

namespace {
RynRamPara* para() {
    return RynRamPara::pInstance();
}
MainWindow* mw = nullptr;
bool focused(const char* name) {
    return testsupport::looks_focused(mw->findChild<QWidget*>(name));
}

void ticks(int n) {
    for (int i = 0; i < n; ++i)
        mw->slot_update_timer_ticks();
}
void keys(int k, int times = 1) {
    for (int i = 0; i < times; ++i)
        testsupport::key(k);
}
// `button` shows `picture` (a name under :/png/).
bool shows(const char* button, const QString& picture) {
    auto* b = mw->findChild<QPushButton*>(button);
    return b->icon().pixmap(b->iconSize()).toImage() == QIcon(":/png/" + picture).pixmap(b->iconSize()).toImage();
}
// The register-42 value written in ageing line `line`.
int logged_step(int line) {
    return factoryage_log.at(line).split(' ').value(2).toInt();
}

// A block field changed from outside, and the picture a button shows after
// the dispatcher's refresh.
struct Picture {
    int offset;
    uint16_t value;
    const char *button, *picture;
};
// MODE and the keypad's M on the main menu or the home screen over it.
struct Mode {
    bool home;
    uint16_t lock;
};
}  // namespace
Q_DECLARE_METATYPE(Picture)
Q_DECLARE_METATYPE(Mode)

class TstMainWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        g_str_ip = "10.1.2.3";
        mw = new MainWindow(nullptr);
        // The address shows from the start, not the form's placeholder.
        QCOMPARE(mw->findChild<QLabel*>("label_IPaddr")->text(), QString("10.1.2.3"));
    }
    void init() {
        testsupport::fresh_device();
        g_page_focus = PAGE_MAINWINDOW;
        mw->menulist_init();
        mw->language_changed();
        mw->show();
        factoryage_log.clear();
    }
    void cleanup() { testsupport::close_all_pages(); }

    // The focus wraps; the home screen's OK returns to the menu as left.
    void focus_wraps_and_home_returns_to_same_menu() {
        keys(PANEL_KEY_LEFT);
        QVERIFY(focused("tools") && !focused("machinestate"));
        keys(PANEL_KEY_RIGHT, 3);
        keys(PANEL_KEY_BACK);
        QCOMPARE(int(g_page_focus), int(PAGE_LOCKWINDOW));
        keys(PANEL_KEY_OK);
        QVERIFY(!g_lockwindow() && g_mainwindow() == mw);
        QCOMPARE(int(g_page_focus), int(PAGE_MAINWINDOW));
        QVERIFY(focused("custommode"));
    }

    // Pictures follow the block as the dispatcher's refresh brings a change
    // from outside: any non-zero lock shows the closed padlock; the audio
    // window past the six reads window 0 (sound on).
    void pictures_data() {
        testsupport::rows<Picture>({{"lock 3", {blk::PANEL_LOCK, 3, "Button_lock", "lock.png"}},
                                    {"audio window 7", {blk::AUDIO_WINDOW, 7, "toolButton2", "en_unslience.png"}},
                                    {"screen black", {blk::SCREEN_BLACK, 1, "toolButton1", "en_closeled.png"}}});
    }
    void pictures() {
        QFETCH(Picture, row);
        para()->set_u16(row.offset, row.value);
        SyncUpdate::pInstance()->para_sync(SYNC_PARA);
        QVERIFY(shows(row.button, row.picture));
    }

    // The lock entry writes 0 from any lock value, and shows what it wrote.
    void lock_entry_toggles() {
        para()->set_u16(blk::PANEL_LOCK, 3);
        keys(PANEL_KEY_RIGHT, 4);
        for (int value : {0, 1}) {
            keys(PANEL_KEY_OK);
            QCOMPARE(int(para()->u16(blk::PANEL_LOCK)), value);
            QVERIFY(shows("Button_lock", value ? "lock.png" : "unlock.png"));
        }
    }

    // Any non-zero lock refuses MODE; unlocked, the user-mode page opens,
    // marked as opened by MODE (its Back returns to the home screen).
    void mode_key_data() {
        testsupport::rows<Mode>({{"menu", {false, 0}},
                                 {"menu, lock 1", {false, 1}},
                                 {"menu, lock 2", {false, 2}},
                                 {"home", {true, 0}},
                                 {"home, lock 2", {true, 2}},
                                 {"home, lock 0x100", {true, 0x100}}});
    }
    void mode_key() {
        QFETCH(Mode, row);
        const Mode& m = row;
        para()->set_u16(blk::PANEL_LOCK, m.lock);
        if (m.home)
            keys(PANEL_KEY_BACK);
        const int front = g_page_focus;
        keys(PANEL_KEY_MODE), keys(PANEL_LETTER_MODE);
        QCOMPARE(int(g_page_focus), m.lock ? front : int(PAGE_CUSTOMMODE));
        QCOMPARE(int(g_mode_shortcut_key), m.lock ? 0 : 1);
        QCOMPARE(pages::is_open(PAGE_LOCKWINDOW), m.lock && m.home);
    }

    // The USB watcher is enabled 1000 ticks (10 s) after its stamp; an ageing
    // sample every 18000 ticks, skipped (the stamp renewed) while a PC
    // command runs; a banner request before the banner exists does no harm.
    void tick_schedule() {
        fpga_manage::pInstance()->bringup();
        G_timeTicks = G_delay_usbserver_ticks = G_factoryage_ticks = g_delay_usbserver = 0;
        g_update_flag = 1;
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

    // A reboot request ends the program (the PC's reboot) 300 ticks later.
    void reboot_three_seconds_after_the_request() {
        int status = 0;
        const QByteArray out = testsupport::run_forked(
            [] {
                G_timeTicks = G_reboot_tickTicks = 77, g_app_reset_flag = 1;
                ticks(299);
                std::printf("299 ticks\n"), std::fflush(stdout);
                ticks(1);
                std::printf("still running\n");
            },
            false, &status);
        QVERIFY2(out.startsWith("299 ticks\nreboot") && !out.contains("still running"), out.constData());
        QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }

    // Register 42 from 250 to 3 advanced 9 across the 8-bit wrap, from 252
    // to 1 advanced 5, not 4: both in the "5-9" counter. The 3,361st line
    // pushes out the first.
    void ageing_log() {
        uint32_t* const counters[] = {&factoryage_log_diff3, &factoryage_log_diff5, &factoryage_log_diff10,
                                      &factoryage_log_diff20, &factoryage_log_diffmore};
        for (int value : {250, 3, 252, 1}) {
            fpga_manage::pInstance()->sim_set_register(0, 42, uint8_t(value));
            mw->getagelog();
            if (value == 250)
                for (uint32_t* c : counters)
                    *c = 0;
        }
        QCOMPARE(std::vector<uint32_t>({*counters[0], *counters[1], *counters[2], *counters[3], *counters[4]}),
                 std::vector<uint32_t>({0, 0, 2, 0, 1}));
        for (int i = 4; i < 3361; ++i)
            mw->getagelog();
        QCOMPARE(factoryage_log.size(), 3360);
        QCOMPARE(QVector<int>({logged_step(0), logged_step(1), logged_step(3359)}), QVector<int>({3, 252, 1}));
    }
};

QTEST_MAIN(TstMainWindow)
#include "tst_mainwindow.moc"

// The main menu and the 10 ms tick.
#include "testsupport.h"

#include "core/global.h"
#include "core/ramblock.h"
#include "core/rynrampara.h"
#include "fpga/fpga_manage.h"
#include "scaler/c331_manage.h"
#include "ui/frame/custommode.h"
#include "ui/frame/keys.h"
#include "ui/frame/language.h"
#include "ui/frame/lockwindow.h"
#include "ui/frame/mainwindow.h"
#include "ui/tools/firmwareupdate.h"

#include <QPushButton>
#include <QtTest>
#include <cstdio>
#include <sys/wait.h>
#include <unistd.h>

namespace {
RynRamPara* para() { return RynRamPara::pInstance(); }
MainWindow* mw = nullptr;
QPushButton* button(const char* name) { return mw->findChild<QPushButton*>(name); }

const QString kTileNormal =
    "background-color: rgb(33, 36, 53);border:2px;border-radius:10px;padding:2px 4px";
const QString kTileFocused = "background-color: rgb(33, 36, 53);border:2px solid "
                             "rgb(255,171,84);border-radius:10px;padding:2px 4px;";
const QString kSmallFocused = "background-color: rgb(33, 36, 53);border:1px solid "
                              "rgb(255,171,84);border-radius:1px;padding:1px 1px";

void ticks(int n) {
    for (int i = 0; i < n; ++i)
        mw->slot_update_timer_ticks();
}

QImage icon_image(QPushButton* b) { return b->icon().pixmap(b->iconSize()).toImage(); }
QImage file_image(const QString& name, QSize size) {
    return QIcon(name).pixmap(size).toImage();
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

    void focus_wraps_around();
    void tile_style_left_when_moving_to_the_lock();
    void back_shows_home_and_ok_returns_to_same_menu();
    void lock_entry_twice();
    void mode_opens_user_modes_unless_locked();
    void audio_window_out_of_range_reads_window_0();
    void english_icons_when_language_not_offered();
    void reboot_300_ticks_after_the_request();
    void usb_watcher_enabled_at_tick_1000();
    void banner_animated_only_when_it_exists();
    void ageing_sample_every_18000_ticks();
    void ageing_advance_counts_data();
    void ageing_advance_counts();
    void ageing_log_keeps_3360_lines();
};

void TstMainWindow::focus_wraps_around() {
    testsupport::key(PANEL_KEY_LEFT);
    QCOMPARE(button("tools")->styleSheet(), kSmallFocused);
    QCOMPARE(button("machinestate")->styleSheet(), kTileNormal);
    testsupport::key(PANEL_KEY_RIGHT);
    QCOMPARE(button("machinestate")->styleSheet(), kTileFocused);
}

void TstMainWindow::tile_style_left_when_moving_to_the_lock() {
    for (int i = 0; i < 4; ++i)
        testsupport::key(PANEL_KEY_RIGHT);
    QCOMPARE(button("option")->styleSheet(), kTileNormal);
    QCOMPARE(button("Button_lock")->styleSheet(), kSmallFocused);
}

void TstMainWindow::back_shows_home_and_ok_returns_to_same_menu() {
    testsupport::key(PANEL_KEY_RIGHT);
    testsupport::key(PANEL_KEY_RIGHT);  // custommode focused
    testsupport::key(PANEL_KEY_BACK);
    QVERIFY(g_lockwindow());
    QCOMPARE(int(g_page_focus), int(PAGE_LOCKWINDOW));
    QCOMPARE(g_mainwindow(), mw);
    testsupport::key(PANEL_KEY_OK);
    QVERIFY(!g_lockwindow());
    QCOMPARE(int(g_page_focus), int(PAGE_MAINWINDOW));
    QCOMPARE(button("custommode")->styleSheet(), kTileFocused);
    testsupport::key(PANEL_KEY_RIGHT);
    QCOMPARE(button("option")->styleSheet(), kTileFocused);
}

void TstMainWindow::lock_entry_twice() {
    for (int i = 0; i < 4; ++i)
        testsupport::key(PANEL_KEY_RIGHT);
    testsupport::key(PANEL_KEY_OK);
    QCOMPARE(int(para()->u16(blk::PANEL_LOCK)), 1);
    QCOMPARE(int(mw->lock_state_shown), 1);
    // The scaler ignores the lock: no apply flag.
    QCOMPARE(int(c331_manage::pInstance()->para_update_flag), 0);
    QCOMPARE(icon_image(button("Button_lock")), file_image(png("lock.png"), QSize(16, 16)));
    testsupport::key(PANEL_KEY_OK);
    QCOMPARE(int(para()->u16(blk::PANEL_LOCK)), 0);
    QCOMPARE(int(mw->lock_state_shown), 0);
    QCOMPARE(icon_image(button("Button_lock")), file_image(png("unlock.png"), QSize(16, 16)));
}

void TstMainWindow::mode_opens_user_modes_unless_locked() {
    para()->set_u16(blk::PANEL_LOCK, 1);
    testsupport::key(PANEL_KEY_MODE);
    testsupport::key('M');
    QVERIFY(!g_custommode());
    QCOMPARE(int(g_page_focus), int(PAGE_MAINWINDOW));
    para()->set_u16(blk::PANEL_LOCK, 0);
    testsupport::key(PANEL_KEY_MODE);
    QVERIFY(g_custommode());
    QCOMPARE(int(g_page_focus), int(PAGE_CUSTOMMODE));
    QCOMPARE(int(g_mode_shortcut_key), 1);
}

// b 2112 comes from files and the PC; 70 or more would read past the block.
void TstMainWindow::audio_window_out_of_range_reads_window_0() {
    para()->set_u16(blk::AUDIO_WINDOW, 70);
    para()->set_u16(blk::window(0, blk::WIN_AUDIO), 0x80FF);
    mw->para_init();
    QCOMPARE(int(para()->u16(blk::AUDIO_WINDOW)), 70);  // not written back
    QCOMPARE(icon_image(button("toolButton2")),
             file_image(png_lang("unslience.png"), QSize(24, 36)));
    para()->set_u16(blk::window(0, blk::WIN_AUDIO), 0x00FF);
    mw->syncUpdate(SYNC_PARA);
    QCOMPARE(icon_image(button("toolButton2")),
             file_image(png_lang("slience.png"), QSize(24, 36)));
}

void TstMainWindow::english_icons_when_language_not_offered() {
    g_language = LANG_VIETNAMESE;
    g_lcd_lang_valid = LCD_LANG_VALID_ALL & ~(1u << LANG_VIETNAMESE);
    mw->language_changed();
    QCOMPARE(button("inputchoose")->iconSize(), QSize(90, 64));
    QCOMPARE(icon_image(button("option")), file_image(":/png/en_option.png", QSize(64, 64)));
    g_lcd_lang_valid = LCD_LANG_VALID_ALL;
    mw->language_changed();
    QCOMPARE(button("inputchoose")->iconSize(), QSize(96, 76));
    QCOMPARE(icon_image(button("option")), file_image(":/png/vn_option.png", QSize(64, 64)));
}

// On a PC the reboot ends the program: run the clock in a forked copy and
// see that it ends exactly at the 300th tick after the request.
void TstMainWindow::reboot_300_ticks_after_the_request() {
    std::fflush(stdout);
    int pipefd[2];
    QVERIFY(::pipe(pipefd) == 0);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(pipefd[1], STDOUT_FILENO);
        G_timeTicks = 1000;
        G_reboot_tickTicks = G_timeTicks;
        g_app_reset_flag = 1;
        ticks(299);
        std::printf("[still up after 299]\n");
        std::fflush(stdout);
        ticks(1);
        ::_exit(3);  // reached only when the reboot did not come
    }
    ::close(pipefd[1]);
    QByteArray out;
    char buf[256];
    ssize_t n;
    while ((n = ::read(pipefd[0], buf, sizeof buf)) > 0)
        out.append(buf, int(n));
    ::close(pipefd[0]);
    int status = 0;
    QCOMPARE(::waitpid(pid, &status, 0), pid);
    QVERIFY2(out.contains("[still up after 299]"), out.constData());
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), 0);
    QVERIFY2(out.indexOf("reboot") > out.indexOf("[still up after 299]"), out.constData());
}

void TstMainWindow::usb_watcher_enabled_at_tick_1000() {
    ticks(999);
    QCOMPARE(int(g_delay_usbserver), 0);
    ticks(1);
    QCOMPARE(int(g_delay_usbserver), 1);
}

// A worker may raise the update flag before the banner exists.
void TstMainWindow::banner_animated_only_when_it_exists() {
    g_update_flag = 1;
    QVERIFY(!g_move_update);
    ticks(5);
    QVERIFY(!g_move_update);
    mw->update_start();
    QVERIFY(g_move_update);
    ticks(5);
    mw->update_over();
    QVERIFY(!g_move_update);
    g_update_flag = 0;
}

void TstMainWindow::ageing_sample_every_18000_ticks() {
    fpga_manage* fpga = fpga_manage::pInstance();
    fpga->bringup();  // the FPGA runs (its thread is not needed here)
    factoryage_log.clear();
    G_timeTicks = 0;
    G_factoryage_ticks = 0;
    ticks(17999);
    QCOMPARE(factoryage_log.size(), 0);
    ticks(1);
    QCOMPARE(factoryage_log.size(), 1);
    // Skipped while a PC command is in progress; the stamp is renewed all the same.
    pc_cmd_valid = 1;
    ticks(18000);
    QCOMPARE(factoryage_log.size(), 1);
    pc_cmd_valid = 0;
    ticks(17999);
    QCOMPARE(factoryage_log.size(), 1);
    ticks(1);
    QCOMPARE(factoryage_log.size(), 2);
}

void TstMainWindow::ageing_advance_counts_data() {
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<int>("counter");  // 0 none, 3, 5, 10, 20, 99 more
    QTest::newRow("equal counts nothing") << 7 << 7 << 0;
    QTest::newRow("1") << 7 << 8 << 3;
    QTest::newRow("2") << 7 << 9 << 3;
    QTest::newRow("3") << 7 << 10 << 5;
    QTest::newRow("wraps 250 to 3 is 9") << 250 << 3 << 10;
    QTest::newRow("10") << 0 << 10 << 20;
    QTest::newRow("19") << 0 << 19 << 20;
    QTest::newRow("20") << 0 << 20 << 99;
    QTest::newRow("255 down by one") << 5 << 4 << 99;
}

void TstMainWindow::ageing_advance_counts() {
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(int, counter);
    fpga_manage* fpga = fpga_manage::pInstance();
    factoryage_log.clear();
    fpga->sim_set_register(0, 42, uint8_t(from));
    mw->getagelog();
    const uint32_t before[5] = {factoryage_log_diff3, factoryage_log_diff5, factoryage_log_diff10,
                                factoryage_log_diff20, factoryage_log_diffmore};
    fpga->sim_set_register(0, 42, uint8_t(to));
    mw->getagelog();
    const uint32_t after[5] = {factoryage_log_diff3, factoryage_log_diff5, factoryage_log_diff10,
                               factoryage_log_diff20, factoryage_log_diffmore};
    const int which[] = {3, 5, 10, 20, 99};
    for (int i = 0; i < 5; ++i)
        QCOMPARE(after[i] - before[i], which[i] == counter ? 1u : 0u);
    QCOMPARE(factoryage_log.last().split(' ').value(2).toInt(), to);
}

void TstMainWindow::ageing_log_keeps_3360_lines() {
    fpga_manage::pInstance();
    factoryage_log.clear();
    for (int i = 0; i < 3359; ++i)
        factoryage_log.append(QString("01-01 00:00 %1 0 0").arg(i));
    const uint32_t first_diff = factoryage_log_diffmore;
    mw->getagelog();  // line 3360: the first one stays
    QCOMPARE(factoryage_log.size(), 3360);
    QCOMPARE(factoryage_log.first(), QString("01-01 00:00 0 0 0"));
    mw->getagelog();  // line 3361 pushes out the first
    QCOMPARE(factoryage_log.size(), 3360);
    QCOMPARE(factoryage_log.first(), QString("01-01 00:00 1 0 0"));
    QVERIFY(factoryage_log_diffmore >= first_diff);
}

QTEST_MAIN(TstMainWindow)
#include "tst_mainwindow.moc"

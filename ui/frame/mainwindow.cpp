#include "ui/frame/mainwindow.h"

#include "core/global.h"
#include "core/ramblock.h"
#include "core/rynrampara.h"
#include "ui/frame/syncupdate.h"
#include "core/utils.h"
#include "fpga/fpga_manage.h"
#include "scaler/c331_manage.h"
#include "ui/frame/custommode.h"
#include "ui/frame/imagecache.h"
#include "ui/frame/lockwindow.h"
#include "ui/frame/machinestate.h"
#include "ui/frame/numberkeyboard.h"
#include "ui/frame/option.h"
#include "ui/frame/tip.h"
#include "ui/pages/factoryage.h"
#include "ui/pages/inputchoose.h"
#include "ui/tools/firmwareupdate.h"
#include "ui_mainwindow.h"

#include <QDateTime>
#include <QDebug>

namespace {
// Entries 0..3 are the large tiles; the lock, the tools button and the
// strip buttons are small.
constexpr int kTileCount = 4;
const FocusStyles kSmallStyles{
    "background-color: rgb(33, 36, 53);border:1px;border-radius:1px;padding:1px 1px",
    "background-color: rgb(33, 36, 53);border:1px solid rgb(255,171,84);border-radius:1px;padding:1px 1px",
    "background-color: rgb(33, 36, 53);border:1px solid rgb(255,0,0);border-radius:1px;padding:1px 1px"};

constexpr uint32_t kRebootDelayTicks = 300;     // 3 s after the request
constexpr uint32_t kAgeingPeriodTicks = 18000;  // one ageing sample every 3 minutes
constexpr uint32_t kUsbWatcherDelayTicks = 1000;
constexpr int kAgeingLogMax = 3360;             // 7 days of samples

// audio_window comes from files and the PC: an index past the six windows
// reads window 0 rather than past the block.
uint16_t audio_word(const uint8_t* block) {
    int w = blk::rd16(block, blk::AUDIO_WINDOW);
    if (w >= WINDOW_COUNT)
        w = 0;
    return blk::rd16(block, blk::window(w, blk::WIN_AUDIO));
}

void set_icon(QAbstractButton* button, const QString& image, int w, int h) {
    set_button_icon(button, image, QSize(w, h));
}
}  // namespace

MainWindow::MainWindow(QWidget* parent)
    : FramePage<QMainWindow>(parent), ui(new Ui::MainWindow) {
    ui->setupUi(this);
    ui->widget->hide();

    set_label_pixmap(ui->label_IP, png("ip.png"));
    set_icon(ui->Button_lock, png("unlock.png"), 16, 16);
    set_icon(ui->tools, png("tools.png"), 16, 16);
    set_icon(ui->toolButton3, png("uncall.png"), 24, 36);
    set_icon(ui->toolButton4, png("unsave.png"), 24, 36);

    g_numberkeyboard = new NumberKeyboard(nullptr);
    g_numberkeyboard->setWindowFlags(g_numberkeyboard->windowFlags() | Qt::FramelessWindowHint);
    g_tip = new TIP(nullptr);

    pages::set(PAGE_MAINWINDOW, this, PAGE_MAINWINDOW);
    menulist_init();
    language_changed();
    // The address is known before the window exists; without this the
    // designer's placeholder would show until the first refresh.
    ip_changed();
}

MainWindow::~MainWindow() { delete ui; }

void MainWindow::menulist_init() {
    focus.styles = &tile_styles();
    set_focus_list({ui->machinestate, ui->inputchoose, ui->custommode, ui->option, ui->Button_lock,
                    ui->tools});
}

const FocusStyles& MainWindow::entry_styles(int index) const {
    return index < kTileCount ? tile_styles() : kSmallStyles;
}

void MainWindow::language_changed() {
    set_icon(ui->machinestate, png_lang("machinestate.png"), 64, 64);
    switch (lang_pick()) {
    case LANG_ENGLISH: set_icon(ui->inputchoose, png_lang("inputchoose.png"), 90, 64); break;
    case LANG_RUSSIAN:
    case LANG_VIETNAMESE: set_icon(ui->inputchoose, png_lang("inputchoose.png"), 96, 76); break;
    default: set_icon(ui->inputchoose, png_lang("inputchoose.png"), 64, 64); break;
    }
    set_icon(ui->custommode, png_lang("custommode.png"), 64, 64);
    set_icon(ui->option, png_lang("option.png"), 64, 64);
    set_icon(ui->toolButton3, png_lang("uncall.png"), 24, 36);
    set_icon(ui->toolButton4, png_lang("unsave.png"), 24, 36);
    para_init();
}

void MainWindow::para_init() {
    const RynRamPara* para = RynRamPara::pInstance();
    const uint8_t* block = para->RamParaBlock.data();
    set_icon(ui->toolButton1,
             png_lang(para->u16(blk::SCREEN_BLACK) == 1 ? "closeled.png" : "uncloseled.png"), 24,
             36);
    set_icon(ui->toolButton2,
             png_lang((audio_word(block) & blk::AUDIO_ON) ? "unslience.png" : "slience.png"), 24,
             36);
    show_lock(para->u16(blk::PANEL_LOCK));
}

// Any non-zero value locks the panel (MODE is refused), so any non-zero
// value shows the closed padlock.
void MainWindow::show_lock(uint16_t value) {
    lock_state_shown = value != 0 ? 1 : 0;
    set_icon(ui->Button_lock, png(lock_state_shown ? "lock.png" : "unlock.png"), 16, 16);
}

void MainWindow::syncUpdate(int) {
    RynRamPara* para = RynRamPara::pInstance();
    if (para->RynLanguageChanged())
        language_changed();
    const uint8_t* block = para->RamParaBlock.data();
    const uint8_t* shadow = para->RamParaShadow.data();
    const bool same = para->u16(blk::SCREEN_BLACK) == para->shadow_u16(blk::SCREEN_BLACK) &&
                      audio_word(block) == audio_word(shadow) &&
                      para->u16(blk::PANEL_LOCK) == para->shadow_u16(blk::PANEL_LOCK);
    if (!same)
        para_init();
    ip_changed();
}

void MainWindow::ip_changed() { ui->label_IPaddr->setText(g_str_ip); }

void MainWindow::on_machinestate_clicked() { pages::open<MachineState>(); }

void MainWindow::on_inputchoose_clicked() { pages::open<InputChoose>(); }

void MainWindow::on_custommode_clicked() { pages::open<CustomMode>(); }

void MainWindow::on_option_clicked() { pages::open<Option>(); }

void MainWindow::on_Button_lock_clicked() {
    c331_manage* scaler = c331_manage::pInstance();
    RynRamPara* para = RynRamPara::pInstance();
    uint16_t value;
    {
        // The scaler ignores the lock, so no apply flag: the block (and the
        // lock with it) is saved with the next change the dispatcher handles.
        MutexLocker lock(&scaler->para_mutex);
        value = uint16_t((para->u16(blk::PANEL_LOCK) + 1) & 1);
        para->set_u16(blk::PANEL_LOCK, value);
    }
    // The icon tells what was written, whatever it showed before.
    show_lock(value);
}

// The tool strip and the quick user-mode grid are not built yet: the tools
// entry keeps its place in the menu and does nothing.
void MainWindow::on_tools_clicked() { qDebug("MainWindow: tool strip not available"); }

void MainWindow::keyPressEvent(QKeyEvent* e) {
    if (e->key() == PANEL_KEY_OK)
        qDebug("this is OK button(MainWindow)[Press]\n");
    else if (e->key() == PANEL_KEY_BACK)
        qDebug("this is back button(MainWindow)[Press]\n");
}

bool MainWindow::page_key(PanelKey k, int) {
    switch (k) {
    case PanelKey::Left: move_focus(-1); return true;
    case PanelKey::Right: move_focus(1); return true;
    case PanelKey::Ok:
        switch (ui_select()) {
        case 0: on_machinestate_clicked(); break;
        case 1: on_inputchoose_clicked(); break;
        case 2: on_custommode_clicked(); break;
        case 3: on_option_clicked(); break;
        case 4: on_Button_lock_clicked(); break;
        case 5: on_tools_clicked(); break;
        default: break;
        }
        return true;
    case PanelKey::Back: pages::open<LockWindow>(false); return true;
    case PanelKey::Mode:
        // The frame has already refused MODE under the lock.
        g_mode_shortcut_key = 1;
        on_custommode_clicked();
        return true;
    case PanelKey::Other: return false;
    }
    return false;
}

void MainWindow::update_start() { firmware_update_start(); }

void MainWindow::update_over() { firmware_update_over(); }

void MainWindow::slot_update_timer_ticks() {
    G_timeTicks = G_timeTicks + 1;
    SyncUpdate::pInstance()->retry_skipped_save();
    // A worker may raise the update flag before the banner exists.
    if (g_update_flag && g_move_update)
        g_move_update->update_time_deal();
    if (g_tip_flag && g_tip)
        g_tip->tip_outtime_deal();
    if (g_app_reset_flag && Utils::getTimeSpace(G_reboot_tickTicks) >= kRebootDelayTicks)
        Utils::shell_exec("reboot");
    if (Utils::getTimeSpace(G_factoryage_ticks) > kAgeingPeriodTicks - 1) {
        G_factoryage_ticks = G_timeTicks;
        fpga_manage* fpga = fpga_manage::p_fpga_manage;
        if (fpga && pc_cmd_valid == 0 && fpga->get_fpga_status())
            getagelog();
        if (factoryage* page = g_factoryage())
            page->update_agelog();
        G_factoryage_ticks = G_timeTicks;
    }
    if (g_delay_usbserver == 0 &&
        Utils::getTimeSpace(G_delay_usbserver_ticks) >= kUsbWatcherDelayTicks)
        g_delay_usbserver = 1;
}

void MainWindow::getagelog() {
    QDateTime now;
    {
        MutexLocker lock(&Utils::_system_mutex);  // apart from commands that set the clock
        now = QDateTime::currentDateTime();
    }
    fpga_manage* fpga = fpga_manage::p_fpga_manage;
    if (!fpga)
        return;
    for (unsigned char reg : {40, 42, 43})
        fpga->read_from_register(reg, 0);
    const uint8_t* regs = fpga->MCU_REG_func[0];
    if (!regs)
        return;
    factoryage_log.append(QStringLiteral("%1 %2 %3 %4")
                              .arg(now.toString("MM-dd hh:mm"))
                              .arg(regs[42])
                              .arg(regs[40])
                              .arg(regs[43]));
    while (factoryage_log.size() > kAgeingLogMax)
        factoryage_log.removeFirst();
    if (factoryage_log.size() < 2)
        return;
    // Field 2 of a line is register 42 (fields 0 and 1 are the date and time).
    const int now42 = factoryage_log.at(factoryage_log.size() - 1).split(' ').value(2).toInt();
    const int was42 = factoryage_log.at(factoryage_log.size() - 2).split(' ').value(2).toInt();
    const int advance = now42 >= was42 ? now42 - was42 : now42 - was42 + 256;
    if (advance >= 20)
        ++factoryage_log_diffmore;
    else if (advance >= 10)
        ++factoryage_log_diff20;
    else if (advance >= 5)
        ++factoryage_log_diff10;
    else if (advance >= 3)
        ++factoryage_log_diff5;
    else if (advance >= 1)
        ++factoryage_log_diff3;
}

#include "ui/frame/mainwindow.h"

#include "core/global.h"
#include "ui/frame/shared_widgets.h"
#include "core/para_write.h"
#include "core/ramblock.h"
#include "core/rynrampara.h"
#include "ui/frame/syncupdate.h"
#include "core/utils.h"
#include "fpga/fpga_manage.h"
#include "ui/frame/custommode.h"
#include "ui/frame/imagecache.h"
#include "ui/frame/lockwindow.h"
#include "ui/frame/machinestate.h"
#include "ui/frame/modegrid.h"
#include "ui/frame/numberkeyboard.h"
#include "ui/frame/option.h"
#include "ui/frame/tip.h"
#include "ui/pages/factoryage.h"
#include "ui/pages/inputchoose.h"
#include "ui/tools/firmwareupdate.h"
#include "ui_mainwindow.h"

#include <QDateTime>
#include <QDebug>
#include <QLabel>
#include <QPushButton>

#include <cstring>

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
constexpr int kAgeingLogMax = 3360;  // 7 days of samples

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

constexpr int kAudioOnFull = blk::AUDIO_ON | 0xFF;  // sound on, volume 255
constexpr int kNoSlot = 256;                        // RynUserModeIndex: no slot is saved
}  // namespace

MainWindow::MainWindow(QWidget* parent) : FramePage<QMainWindow>(parent), ui(new Ui::MainWindow) {
    ui->setupUi(this);
    ui->widget->hide();
    pointer = new QLabel(this);
    pointer->setObjectName(QStringLiteral("label_pointer"));
    pointer->setScaledContents(true);
    pointer->hide();

    pages::set(PAGE_MAINWINDOW, this, PAGE_MAINWINDOW);
    menulist_init();
    if (!defer_until_first_frame) {
        create_shared_widgets();
        show_pictures();
    }
    // The address is known before the window exists; without this the
    // designer's placeholder would show until the first refresh.
    ip_changed();
}

bool MainWindow::defer_until_first_frame = false;

void MainWindow::show_pictures() {
    set_label_pixmap(pointer, png("pointer.png"));
    set_label_pixmap(ui->label_IP, png("ip.png"));
    set_icon(ui->Button_lock, png("unlock.png"), 16, 16);
    set_icon(ui->tools, png("tools.png"), 16, 16);
    set_icon(ui->toolButton3, png("uncall.png"), 24, 36);
    set_icon(ui->toolButton4, png("unsave.png"), 24, 36);
    language_changed();
}

void MainWindow::create_shared_widgets() {
    shared_keypad();
    shared_tip();
}

MainWindow::~MainWindow() {
    delete ui;
}

void MainWindow::menulist_init() {
    focus.styles = &tile_styles();
    set_focus_list({ui->machinestate, ui->inputchoose, ui->custommode, ui->option, ui->Button_lock, ui->tools});
    // The strip and the grid start closed.
    strip.styles = &kSmallStyles;
    strip.set({ui->toolButton1, ui->toolButton2, ui->toolButton3, ui->toolButton4});
    strip.ok = [this](int i) {
        switch (i) {
        case 0: on_toolButton1_clicked(); break;
        case 1: on_toolButton2_clicked(); break;
        case 2: on_toolButton3_clicked(); break;
        case 3: on_toolButton4_clicked(); break;
        default: break;
        }
    };
    strip.back = [this] { leave_strip(); };
    grid.set_count(USER_MODE_COUNT);
    grid.select(0);
    grid.ok = [this](int i) {
        build_grid();
        mode_grid->button(i)->click();
    };
    grid.back = [this] { on_deletewidgetmode_clicked(); };
    load_mode = save_mode = 0;
    hide_grid();
    ui->widget->hide();
    set_level(focus);
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
    set_icon(ui->toolButton1, png_lang(para->u16(blk::SCREEN_BLACK) == 1 ? "closeled.png" : "uncloseled.png"), 24, 36);
    set_icon(ui->toolButton2, png_lang((audio_word(block) & blk::AUDIO_ON) ? "unslience.png" : "slience.png"), 24, 36);
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

void MainWindow::ip_changed() {
    ui->label_IPaddr->setText(g_str_ip);
}

void MainWindow::on_machinestate_clicked() {
    mode_window_close();
    pages::open<MachineState>();
}

void MainWindow::on_inputchoose_clicked() {
    mode_window_close();
    pages::open<InputChoose>();
}

void MainWindow::on_custommode_clicked() {
    mode_window_close();
    pages::open<CustomMode>();
}

void MainWindow::on_option_clicked() {
    mode_window_close();
    pages::open<Option>();
}

void MainWindow::on_Button_lock_clicked() {
    uint16_t value = 0;
    // The scaler ignores the lock, so no apply flag: the block (and the lock
    // with it) is saved with the next change the dispatcher handles.
    para_write([&value](RynRamPara& para) {
        value = uint16_t((para.u16(blk::PANEL_LOCK) + 1) & 1);
        para.set_u16(blk::PANEL_LOCK, value);
        return false;
    });
    // The icon tells what was written, whatever it showed before.
    show_lock(value);
}

void MainWindow::keyPressEvent(QKeyEvent* e) {
    if (e->key() == PANEL_KEY_OK)
        qDebug("this is OK button(MainWindow)[Press]\n");
    else if (e->key() == PANEL_KEY_BACK)
        qDebug("this is back button(MainWindow)[Press]\n");
}

bool MainWindow::page_key(PanelKey k, int) {
    // The strip and the grid are focus levels of their own; only the grid's
    // Left/Right are not plain moves (loading skips empty slots).
    if (level == &grid && (k == PanelKey::Left || k == PanelKey::Right)) {
        on_usermodesel_clicked(k == PanelKey::Right ? 1 : 0);
        return true;
    }
    if (level != &focus && k != PanelKey::Mode)
        return false;
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
    case PanelKey::Back:
        mode_window_close();
        pages::open<LockWindow>(false);
        return true;
    case PanelKey::Mode:
        // The frame has already refused MODE under the lock.
        g_mode_shortcut_key = 1;
        on_custommode_clicked();
        return true;
    case PanelKey::Other: return false;
    }
    return false;
}

// ---- The tool strip and the quick user-mode grid ----

void MainWindow::on_tools_clicked() {
    if (ui->widget->isHidden()) {
        ui->widget->show();
        // The menu entry gives its look up while the strip has the keys.
        set_style(focus.focused(), entry_styles(focus.index()).normal);
        grid.select(0);
        strip.set({ui->toolButton1, ui->toolButton2, ui->toolButton3, ui->toolButton4});
        set_level(strip);
        return;
    }
    // Touch on the tools button while the strip is shown.
    close_grid();
    grid.select(0);
    ui->widget->hide();
    set_level(focus);
    focus.focus_to(focus.size() - 1);
}

// Back in the strip: the focus returns to the tools button.
void MainWindow::leave_strip() {
    ui->widget->hide();
    set_style(strip.focused(), kSmallStyles.normal);
    set_level(focus);
    focus.focus_to(focus.size() - 1);
    on_toolusermode_clicked();
}

void MainWindow::on_toolButton1_clicked() {
    const uint16_t black = uint16_t((RynRamPara::pInstance()->u16(blk::SCREEN_BLACK) + 1) & 1);
    set_icon(ui->toolButton1, png_lang(black ? "closeled.png" : "uncloseled.png"), 24, 36);
    para_write([black](RynRamPara& p) { p.set_u16(blk::SCREEN_BLACK, black); });
}

// Mutes or unmutes the audio window; an audio window that is off or that
// names no window (from a file or the PC) becomes window 0.
void MainWindow::on_toolButton2_clicked() {
    const RynRamPara* p = RynRamPara::pInstance();
    int w = p->u16(blk::AUDIO_WINDOW);
    const bool reset = !(w < WINDOW_COUNT && p->window_shown(w));
    if (reset)
        w = 0;
    const bool sound_on = p->window_u16(w, blk::WIN_AUDIO) & blk::AUDIO_ON;
    set_icon(ui->toolButton2, png_lang(sound_on ? "slience.png" : "unslience.png"), 24, 36);
    const uint16_t word = sound_on ? 0 : uint16_t(kAudioOnFull);
    para_write([w, word, reset](RynRamPara& para) {
        para.set_u16(blk::window(w, blk::WIN_AUDIO), word);
        if (reset)
            para.set_u16(blk::AUDIO_WINDOW, 0);
    });
}

void MainWindow::on_toolButton3_clicked() {
    open_grid(false);
}

void MainWindow::on_toolButton4_clicked() {
    open_grid(true);
}

void MainWindow::open_grid(bool save, bool keep_selection) {
    uint8_t& mine = save ? save_mode : load_mode;
    uint8_t& other = save ? load_mode : save_mode;
    if (mine)
        return;
    mine = 1;
    if (other) {
        other = 0;
        if (save)
            set_icon(ui->toolButton3, png_lang("uncall.png"), 24, 36);
        else
            set_icon(ui->toolButton4, png_lang("unsave.png"), 24, 36);
    }
    set_style(strip.focused(), kSmallStyles.normal);
    const int found = keep_selection ? grid.index() : RynRamPara::pInstance()->RynUserModeIndex(char(grid.index()), 2);
    if (found < USER_MODE_COUNT) {
        grid.select(found);
        if (save)
            set_icon(ui->toolButton4, png_lang("save.png"), 24, 36);
        else
            set_icon(ui->toolButton3, png_lang("call.png"), 24, 36);
    } else {
        grid.select(0);
    }
    set_level(grid);
    mode_init();
    show_grid();
    pointer->setGeometry(281, save ? 188 : 148, 9, 12);
    pointer->show();
    pointer->raise();
}

QWidget* MainWindow::grid_widget() {
    build_grid();
    return mode_grid->widget();
}

// The grid and its pointer, hidden; the grid may not be made yet.
void MainWindow::hide_grid() {
    if (mode_grid)
        mode_grid->hide();
    pointer->hide();
}

void MainWindow::build_grid() {
    if (mode_grid)
        return;
    mode_grid = std::make_unique<ModeGrid>(this);
    for (int i = 0; i < USER_MODE_COUNT; ++i)
        connect(mode_grid->button(i), &QPushButton::clicked, this, &MainWindow::ryn_button_mode_clicked);
}

void MainWindow::mode_init() {
    build_grid();
    mode_grid->fill(grid.index(), grid_open(), save_mode != 0);
}

void MainWindow::show_grid() {
    build_grid();
    mode_grid->show_titled(save_mode != 0);
}

void MainWindow::on_usermodesel_clicked(char dir) {
    if (save_mode) {
        grid.select((grid.index() + (dir ? 1 : USER_MODE_COUNT - 1)) % USER_MODE_COUNT);
    } else if (load_mode) {
        const int found = RynRamPara::pInstance()->RynUserModeIndex(char(grid.index()), dir);
        grid.select(found < USER_MODE_COUNT ? found : 0);
    }
    mode_init();
    show_grid();
}

void MainWindow::ryn_button_mode_clicked() {
    const auto* button = qobject_cast<const QPushButton*>(sender());
    bool number = false;
    const int slot = button ? button->objectName().toInt(&number) : -1;
    if (!number || slot < 0 || slot >= USER_MODE_COUNT) {
        qWarning("ryn_button_mode_clicked: not a slot button");
        return;
    }
    click_slot(slot);
}

void MainWindow::click_slot(int slot) {
    RynRamPara* p = RynRamPara::pInstance();
    build_grid();
    mode_grid->show_slot_state(g_mode_select);
    g_mode_select = uint8_t(slot);
    if (save_mode) {
        // The dispatcher performs the save once the scaler took the flag.
        if (slot + 1 != p->u16(blk::MODE_SAVE_REQUEST))
            para_write([slot](RynRamPara& para) { para.set_u16(blk::MODE_SAVE_REQUEST, uint16_t(slot + 1)); });
        save_mode = 0;
        // The selection stays on the slot just saved: a search for a saved
        // slot would move it to another mode, which a second OK overwrites.
        grid.select(slot);
        open_grid(true, true);
        tip_done_request = 1;
    } else if (load_mode && p->RynUserModeSaved(slot)) {
        para_write([slot](RynRamPara& para) {
            std::memcpy(para.RamParaBlock.data() + blk::MODE_BEGIN, para.UserModes[size_t(slot)].data(),
                        blk::MODE_SIZE);
            para.set_u16(blk::CURRENT_MODE, uint16_t(slot + 1));
            para.set_u16(blk::MODE_SAVE_REQUEST, 0);
        });
        load_mode = 0;
        grid.select(slot);
        open_grid(false);
        tip_done_request = 1;
    }
    mode_grid->show_clicked(slot);
}

void MainWindow::on_deletewidgetmode_clicked() {
    if (save_mode) {
        save_mode = 0;
        set_icon(ui->toolButton4, png_lang("unsave.png"), 24, 36);
    }
    if (load_mode) {
        load_mode = 0;
        set_icon(ui->toolButton3, png_lang("uncall.png"), 24, 36);
    }
    hide_grid();
    if (level == &grid) {
        set_level(strip);
        strip.restyle(strip.index());
    }
}

void MainWindow::on_toolusermode_clicked() {
    if (grid_open())
        close_grid();
}

// The load and save buttons show their active picture only while their
// grid is open.
void MainWindow::close_grid() {
    load_mode = save_mode = 0;
    set_icon(ui->toolButton3, png_lang("uncall.png"), 24, 36);
    set_icon(ui->toolButton4, png_lang("unsave.png"), 24, 36);
    hide_grid();
}

// Before a page opens over the menu. The keys come back to the strip.
void MainWindow::mode_window_close() {
    close_grid();
    if (level == &grid) {
        set_level(strip);
        strip.restyle(strip.index());
    }
}

void MainWindow::update_start() {
    firmware_update_start();
}

void MainWindow::update_over() {
    firmware_update_over();
}

// A hundred times a second: the common path is a few loads and compares.
void MainWindow::slot_update_timer_ticks() {
    // Only this thread writes the counter, so the checks below use the value
    // written instead of reading it back (the other threads read it).
    const uint32_t now = G_timeTicks.load(std::memory_order_relaxed) + 1;
    G_timeTicks.store(now, std::memory_order_release);
    SyncUpdate::pInstance()->retry_skipped_save();
    // A worker may raise the update flag before the banner exists.
    if (g_update_flag && g_move_update)
        g_move_update->update_time_deal();
    if (g_tip_flag && g_tip)
        g_tip->tip_outtime_deal();
    if (g_app_reset_flag && Utils::getTimeSpace(G_reboot_tickTicks, now) >= kRebootDelayTicks)
        Utils::shell_exec("reboot");
    if (Utils::getTimeSpace(G_factoryage_ticks, now) > kAgeingPeriodTicks - 1) {
        G_factoryage_ticks = now;
        fpga_manage* fpga = fpga_manage::p_fpga_manage;
        if (fpga && pc_cmd_valid == 0 && fpga->get_fpga_status())
            getagelog();
        if (factoryage* page = g_factoryage())
            page->update_agelog();
        G_factoryage_ticks = now;
    }
    if (g_delay_usbserver == 0 && Utils::getTimeSpace(G_delay_usbserver_ticks, now) >= kUsbWatcherDelayTicks)
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
    factoryage_log.append(
        QStringLiteral("%1 %2 %3 %4").arg(now.toString("MM-dd hh:mm")).arg(regs[42]).arg(regs[40]).arg(regs[43]));
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

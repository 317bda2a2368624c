#include "ui/frame/startup.h"

#include "core/config_engine.h"
#include "core/devicepath.h"
#include "core/global.h"
#include "ui/frame/shared_widgets.h"
#include "core/rynrampara.h"
#include "fpga/fpga_manage.h"
#include "protocol/usbserver.h"
#include "scaler/c331_manage.h"
#include "sources/quenzsource.h"
#include "ui/frame/fonts.h"
#include "ui/frame/lockwindow.h"
#include "ui/frame/mainwindow.h"
#include "ui/frame/numberkeyboard.h"
#include "ui/frame/option.h"
#include "ui/frame/ryn_keyboard.h"
#include "ui/frame/syncupdate.h"

#include <QApplication>
#include <QEvent>
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QMetaObject>
#include <QThread>
#include <QTimer>

void start_core() {
    session_bus_off();
    console_init();
    g_ryn_keys = uint8_t(check_hiddev());
    ConfigEngine::pInstance();
    RynRamPara::pInstance();
    SyncUpdate::pInstance();
}

namespace {
// A window shown comes up on top of the others and takes the keys: the page
// in front gets both back. (The offscreen platform has no stacking, and
// says so on every raise.)
void show_under_front_page(MainWindow* main) {
    main->show();
    RynPage* front = pages::at(g_page_focus);
    if (!front || front == main)
        return;
    QWidget* w = front->page_widget();
    if (QGuiApplication::platformName() != QLatin1String("offscreen"))
        w->raise();
    w->activateWindow();
}

// Once the home screen has painted its first frame: gives the main menu its
// pictures and shows it under the home screen. Nothing shows the menu
// before a key is pressed; the keypad and notice wait for their first use.
class AfterFirstFrame : public QObject {
public:
    explicit AfterFirstFrame(MainWindow* main) : QObject(main), main_(main) {}
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::Paint && !posted_) {
            posted_ = true;
            watched->removeEventFilter(this);
            QMetaObject::invokeMethod(
                this, [this] { make(); }, Qt::QueuedConnection);
        }
        return false;
    }

private:
    void make() {
        main_->show_pictures();
        // Loading a font takes about 2 M instructions: the source and option
        // pages' 12-point font is loaded here rather than at the first
        // opening of the page most used.
        QFont pages_font;
        pages_font.setPointSize(12);
        QFontMetrics(pages_font).height();
        show_under_front_page(main_);
        deleteLater();
    }
    MainWindow* main_;
    bool posted_ = false;
};
}  // namespace

MainWindow* start_panel(QApplication& app, unsigned pause_seconds) {
    panel_fonts_init();
    MainWindow::defer_until_first_frame = true;
    auto* mainwindow = new MainWindow(nullptr);  // never deleted
    // The menu lies under the home screen and is not seen before a key leaves
    // the home screen: it is polished when it shows, after the first frame.
    frame::hold_polish(mainwindow);
    auto* ticks = new QTimer(&app);
    QObject::connect(ticks, &QTimer::timeout, mainwindow, &MainWindow::slot_update_timer_ticks);
    ticks->start(10);

    quenzsource::pInstance();
    fpga_manage::pInstance()->initialize();
    c331_manage::pInstance()->initialize();
    fpga_manage::p_fpga_manage->initialize_start();
    quenzsource::p_quenz_source->initialize();

    // The chips settle before the first page shows.
    if (pause_seconds)
        QThread::sleep(pause_seconds);

    // The home screen over the main menu, which shows after its first frame.
    g_page_focus = PAGE_MAINWINDOW;
    LockWindow* home = pages::open<LockWindow>(false);
    home->installEventFilter(new AfterFirstFrame(mainwindow));

    // Workers reach the GUI thread only through these queued connections.
    QObject::connect(RynRamPara::p_rynrampara_config, &RynRamPara::sig_update_para, SyncUpdate::p_syncupdate,
                     &SyncUpdate::para_sync, Qt::QueuedConnection);
    ryn_keys_update_lights();
    // A mounted drive closes the settings menu when it is in front.
    UsbServer::usb_mounted_hook = &Option::usb_drive_mounted;
    auto* usb = new UsbServer(&app);
    QObject::connect(usb, &UsbServer::sig_usb_update, SyncUpdate::p_syncupdate, &SyncUpdate::para_sync,
                     Qt::QueuedConnection);
    return mainwindow;
}

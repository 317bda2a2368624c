// Start-up as one process to be counted whole: `bench_startup <what>
// <until>`. <what> is "frontpanel", started as main does but without the
// pause for the chips, or a floor: "tick", a window of the LCD's size with
// a 10 ms tick, or "texts", that window drawing the home screen's texts in
// the panel's fonts. <until> is "frame", the first painted frame, or
// "idle", once the event loop has run a pass with nothing but ticks after
// it. Either ends the process there.
#include "floor.h"
#include "core/devicepath.h"
#include "core/global.h"
#include "ui/frame/fonts.h"
#include "ui/frame/pageframe.h"
#include "ui/frame/startup.h"

#include <QApplication>
#include <QEvent>
#include <QMetaObject>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {
[[noreturn]] void end_here() {
    std::fflush(stdout);
    _exit(0);
}

// Calls `painted` after the watched window's first paint.
class FirstFrame : public QObject {
public:
    explicit FirstFrame(std::function<void()> painted) : painted_(std::move(painted)) {}
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::Paint && painted_) {
            QMetaObject::invokeMethod(qApp, std::move(painted_), Qt::QueuedConnection);
            painted_ = nullptr;
        }
        return QObject::eventFilter(watched, e);
    }

private:
    std::function<void()> painted_;
};
}  // namespace

int main(int argc, char** argv) {
    const char* what = argc > 1 ? argv[1] : "frontpanel";
    const bool until_idle = argc > 2 && std::strcmp(argv[2], "idle") == 0;
    const bool panel = std::strcmp(what, "frontpanel") == 0;
    if (panel)
        start_core();
    else
        session_bus_off();
    QApplication app(argc, argv);
    bench::IdleWatch idle(end_here);
    FirstFrame first([&idle, until_idle] {
        if (!until_idle)
            end_here();
        idle.arm();
    });
    QWidget* shown = nullptr;
    if (panel) {
        start_panel(app, 0);
        shown = pages::at(g_page_focus)->page_widget();
    } else {
        const bool texts = std::strcmp(what, "texts") == 0;
        if (texts)
            panel_fonts_init();
        shown = new bench::FloorWindow(texts);
        shown->show();
    }
    shown->installEventFilter(&first);
    return app.exec();
}

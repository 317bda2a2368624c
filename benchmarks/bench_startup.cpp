// Start-up to the first frame, as one process to be counted whole:
// "frontpanel" starts the panel as main does, without the pause for the
// chips; "bare" shows a plain window of the LCD's size. Either ends the
// process once its first frame is painted.
#include "ui/frame/startup.h"
#include "core/devicepath.h"
#include "core/global.h"
#include "ui/frame/pageframe.h"

#include <QApplication>
#include <QEvent>
#include <QMetaObject>
#include <QWidget>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {
// Ends the process after the watched window's first paint.
class FirstFrame : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::Paint)
            QMetaObject::invokeMethod(
                qApp,
                [] {
                    std::fflush(stdout);
                    _exit(0);
                },
                Qt::QueuedConnection);
        return QObject::eventFilter(watched, e);
    }
};
}  // namespace

int main(int argc, char** argv) {
    const bool bare = argc > 1 && std::strcmp(argv[1], "bare") == 0;
    if (bare)
        session_bus_off();
    else
        start_core();
    QApplication app(argc, argv);
    FirstFrame first;
    if (bare) {
        auto* w = new QWidget;
        w->resize(320, 240);
        w->installEventFilter(&first);
        w->show();
    } else {
        start_panel(app, 0);
        pages::at(g_page_focus)->page_widget()->installEventFilter(&first);
    }
    return app.exec();
}

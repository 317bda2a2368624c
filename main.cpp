// Start-up of the front panel.
#include "ui/frame/startup.h"

#include <QApplication>

int main(int argc, char** argv) {
    start_core();
    QApplication app(argc, argv);
    start_panel(app, 4);
    return app.exec();
}

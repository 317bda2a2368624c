// Without libFuzzer (a plain or gcc build) a fuzz target replays the files
// of its seed corpus: every file named on the command line, or every file
// in a folder named there, once.
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {
int replay(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        return 1;
    }
    const QByteArray bytes = f.readAll();
    std::printf("replay %s (%d bytes)\n", qPrintable(path), int(bytes.size()));
    std::fflush(stdout);
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()));
    return 0;
}
}  // namespace

int main(int argc, char** argv) {
    int failed = 0, count = 0;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (QFileInfo(arg).isDir()) {
            const QDir dir(arg);
            for (const QString& name : dir.entryList(QDir::Files, QDir::Name)) {
                failed += replay(dir.filePath(name));
                ++count;
            }
        } else {
            failed += replay(arg);
            ++count;
        }
    }
    if (count == 0) {
        std::fprintf(stderr, "no input replayed\n");
        return 1;
    }
    std::printf("%d inputs replayed\n", count);
    return failed ? 1 : 0;
}

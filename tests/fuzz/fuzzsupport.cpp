#include "fuzzsupport.h"

#include "core/devicepath.h"
#include "core/global.h"
#include "core/rynrampara.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace fuzz {

void setup() {
    static QTemporaryDir* dir = nullptr;  // kept for the whole run
    if (dir)
        return;
    // In memory where there is such a folder: the readers rewrite broken
    // files with fsync, which on a disk would set the pace.
    const QFileInfo shm(QStringLiteral("/dev/shm"));
    dir = shm.isDir() && shm.isWritable() ? new QTemporaryDir(shm.filePath() + "/frontpanel-fuzz-XXXXXX")
                                          : new QTemporaryDir();
    std::atexit([] { delete dir; });
    check(dir->isValid(), "no temporary folder");
    qputenv("FRONTPANEL_ROOT", dir->path().toUtf8());
    g_debugSwitch = 0;        // a console line per input would set the pace
    RynRamPara::pInstance();  // writes the defaults and the empty user modes
}

void write_device_file(const char* device_file, const uint8_t* data, size_t size) {
    QFile f(device_path(QString::fromLatin1(device_file)));
    QDir().mkpath(QFileInfo(f).absolutePath());
    check(f.open(QIODevice::WriteOnly | QIODevice::Truncate), "cannot write an input file");
    f.write(reinterpret_cast<const char*>(data), qint64(size));
}

void check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "fuzz check failed: %s\n", what);
        std::abort();
    }
}

}  // namespace fuzz

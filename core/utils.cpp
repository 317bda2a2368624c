#include "core/utils.h"

#include "core/devicepath.h"
#include "core/global.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

pthread_mutex_t Utils::_system_mutex = PTHREAD_MUTEX_INITIALIZER;
pthread_mutex_t Utils::_file_deal_mutex = PTHREAD_MUTEX_INITIALIZER;
pthread_mutex_t Utils::_spi_mutex = PTHREAD_MUTEX_INITIALIZER;
pthread_mutex_t Utils::_source_hdminfo_mutex = PTHREAD_MUTEX_INITIALIZER;
pthread_mutex_t Utils::_fpga_multicast_mutex = PTHREAD_MUTEX_INITIALIZER;
pthread_mutex_t Utils::_c331_bnk_mutex = PTHREAD_MUTEX_INITIALIZER;
pthread_mutex_t Utils::_source_init_mutex = PTHREAD_MUTEX_INITIALIZER;
pthread_mutex_t Utils::_test_signal_mutex = PTHREAD_MUTEX_INITIALIZER;
pthread_mutex_t Utils::_usleep_mutex = PTHREAD_MUTEX_INITIALIZER;
pthread_mutex_t Utils::_led_para_init_mutex = PTHREAD_MUTEX_INITIALIZER;
pthread_mutex_t Utils::_bri_set_mutex = PTHREAD_MUTEX_INITIALIZER;
pthread_mutex_t Utils::_check_nosig_mutex = PTHREAD_MUTEX_INITIALIZER;

std::atomic<bool> Utils::test_interrupt_before_rename{false};

unsigned Utils::getTimeSpace(unsigned stamp) { return getTimeSpace(stamp, G_timeTicks); }

uint8_t Utils::BCC(const uint8_t* data, int len) {
    uint8_t x = 0;
    for (int i = 0; data && i < len; ++i)
        x ^= data[i];
    return x;
}

namespace {

// "rm [-flags] path..." on a PC: each absolute device path is removed under
// FRONTPANEL_ROOT; a trailing "*" pattern in the last part is allowed. Paths
// that would leave the root (relative ones, "..") are refused.
int simulated_rm(const QStringList& args) {
    const QString root = device_path(QStringLiteral("/"));
    int result = 0;
    for (const QString& arg : args) {
        if (arg.startsWith(QLatin1Char('-')))
            continue;
        if (!arg.startsWith(QLatin1Char('/'))) {
            debug_printf("shell: refusing relative path \"%s\" on the simulated device\n",
                         qPrintable(arg));
            result = 1;
            continue;
        }
        const QString path = QDir::cleanPath(device_path(arg));
        const QString base = QDir::cleanPath(root);
        if (path == base || !path.startsWith(base + QLatin1Char('/'))) {
            debug_printf("shell: refusing to remove \"%s\" outside the device folder\n",
                         qPrintable(arg));
            result = 1;
            continue;
        }
        const QFileInfo info(path);
        if (info.fileName().contains(QLatin1Char('*')) ||
            info.fileName().contains(QLatin1Char('?'))) {
            QDir dir(info.path());
            const QStringList names = dir.entryList(QStringList{info.fileName()},
                                                    QDir::AllEntries | QDir::NoDotAndDotDot |
                                                        QDir::Hidden | QDir::System);
            for (const QString& name : names)
                if (!Utils::remove_file(dir.filePath(name).toStdString()))
                    result = 1;
        } else if (!Utils::remove_file(path.toStdString())) {
            result = 1;
        }
    }
    return result;
}

// One command of a command line on a PC. Nothing here may touch the host.
int simulated_command(const QString& command) {
    static const QRegularExpression space(QStringLiteral("\\s+"));
    static const QRegularExpression shell_chars(QStringLiteral("[|<>`$\"'\\\\(){}]"));
    const QStringList words = command.split(space, Qt::SkipEmptyParts);
    if (words.isEmpty())
        return 0;
    const QString tool = QFileInfo(words.first()).fileName(); // "/sbin/reboot" too
    if (tool == QLatin1String("reboot")) {
        std::printf("reboot: the simulated device ends the program instead of rebooting\n");
        std::fflush(stdout);
        std::exit(0);
    }
    if (tool == QLatin1String("sync")) {
        ::sync();
        return 0;
    }
    if (tool == QLatin1String("rm") && !command.contains(shell_chars))
        return simulated_rm(words.mid(1));
    debug_printf("shell (simulated, not run): %s\n", qPrintable(command));
    return 0;
}

} // namespace

int Utils::shell_exec(const std::string& command) {
    MutexLocker lock(&_system_mutex);
#ifdef FRONTPANEL_DEVICE
    if (!device_is_simulated()) {
        debug_printf("shell: %s\n", command.c_str());
        return std::system(command.c_str());
    }
#endif
    // A PC build has no way to run a host command at all.
    // Command lines chained with ";" or "&&" run one by one, as the shell
    // would when every command succeeds.
    static const QRegularExpression separators(QStringLiteral(";|&&|\\n"));
    int result = 0;
    for (const QString& part :
         QString::fromStdString(command).split(separators, Qt::SkipEmptyParts))
        result = simulated_command(part.trimmed());
    return result;
}

int Utils::write_file_atomic(const std::string& path, const void* data, size_t len) {
    device_path_check(QString::fromStdString(path));
    std::string tmpl = path + ".tmp-XXXXXX";
    std::vector<char> tmp(tmpl.begin(), tmpl.end());
    tmp.push_back('\0');
    const int fd = ::mkstemp(tmp.data());
    if (fd < 0) {
        debug_printf("write %s: cannot create a temporary file: %s\n", path.c_str(),
                     std::strerror(errno));
        return 0;
    }
    ::fchmod(fd, 0644);
    const auto* p = static_cast<const uint8_t*>(data);
    size_t done = 0;
    bool ok = true;
    while (done < len) {
        const ssize_t n = ::write(fd, p + done, len - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            ok = false;
            break;
        }
        done += size_t(n);
    }
    if (ok && ::fsync(fd) != 0)
        ok = false;
    if (::close(fd) != 0)
        ok = false;
    if (!ok) {
        debug_printf("write %s: %s\n", path.c_str(), std::strerror(errno));
        ::unlink(tmp.data());
        return 0;
    }
    // Lets a test stop here as a power cut would: the temporary file is
    // complete, the old file is still the one in place.
    if (test_interrupt_before_rename.load())
        return 0;
    if (::rename(tmp.data(), path.c_str()) != 0) {
        debug_printf("write %s: rename failed: %s\n", path.c_str(), std::strerror(errno));
        ::unlink(tmp.data());
        return 0;
    }
    // The rename itself must reach the disk too.
    const std::string folder = QFileInfo(QString::fromStdString(path)).absolutePath().toStdString();
    const int dfd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
    return 1;
}

int Utils::remove_file(const std::string& path) {
    const QString p = QString::fromStdString(path);
    device_path_check(p);
    const QFileInfo info(p);
    if (!info.exists() && !info.isSymLink())
        return 1;
    if (info.isDir() && !info.isSymLink())
        return QDir(p).removeRecursively() ? 1 : 0;
    return QFile::remove(p) ? 1 : 0;
}

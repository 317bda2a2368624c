#include "core/utils.h"

#include "core/devicepath.h"
#include "core/global.h"
#include "core/safefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

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

unsigned Utils::getTimeSpace(unsigned stamp) {
    return getTimeSpace(stamp, G_timeTicks);
}

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
            debug_printf("shell: refusing relative path \"%s\" on the simulated device\n", qPrintable(arg));
            result = 1;
            continue;
        }
        const QString path = QDir::cleanPath(device_path(arg));
        const QString base = QDir::cleanPath(root);
        if (path == base || !path.startsWith(base + QLatin1Char('/'))) {
            debug_printf("shell: refusing to remove \"%s\" outside the device folder\n", qPrintable(arg));
            result = 1;
            continue;
        }
        const QFileInfo info(path);
        if (info.fileName().contains(QLatin1Char('*')) || info.fileName().contains(QLatin1Char('?'))) {
            QDir dir(info.path());
            const QStringList names = dir.entryList(
                QStringList{info.fileName()}, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
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
    const QString tool = QFileInfo(words.first()).fileName();  // "/sbin/reboot" too
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

}  // namespace

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
    for (const QString& part : QString::fromStdString(command).split(separators, Qt::SkipEmptyParts))
        result = simulated_command(part.trimmed());
    return result;
}

void Utils::post_to_gui_thread(const std::function<void()>& post) {
    post();
}

int Utils::write_file_atomic(const std::string& path, const void* data, size_t len) {
    return safefile::write_atomic(QString::fromStdString(path), data, len);
}

int Utils::remove_file(const std::string& path) {
    return safefile::remove(QString::fromStdString(path));
}

#include "fpga/rcv_recovery_file.h"

#include "core/devicepath.h"

#include <QDir>

namespace {
// Regular files only: no folders, no links. Listed outside the lock.
bool list_dir(const QString& dir, QStringList* names) {
    const QDir d(device_path(dir));
    if (!d.exists())
        return false;
    *names = d.entryList(QDir::Files | QDir::Hidden | QDir::NoSymLinks, QDir::Unsorted);
    return true;
}
}  // namespace

int rcvRecovery::get_dir_file(const QString& dir) {
    return count_dir_files(dir) < 0 ? 1 : 0;
}

int rcvRecovery::count_dir_files(const QString& dir) {
    QStringList names;
    if (!list_dir(dir, &names))
        return -1;
    std::lock_guard<std::mutex> lock(mutex_);
    file_list = names;
    return int(file_list.size());
}

QStringList rcvRecovery::files() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return file_list;
}

void rcvRecovery::set_files(const QStringList& names) {
    std::lock_guard<std::mutex> lock(mutex_);
    file_list = names;
}

int rcvRecovery::file_count() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return int(file_list.size());
}

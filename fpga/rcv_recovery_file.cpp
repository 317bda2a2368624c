#include "fpga/rcv_recovery_file.h"

#include "core/devicepath.h"

#include <QDir>

int rcvRecovery::get_dir_file(const QString& dir) {
    const QDir d(device_path(dir));
    if (!d.exists())
        return 1;
    // Regular files only: no folders, no links.
    file_list = d.entryList(QDir::Files | QDir::Hidden | QDir::NoSymLinks, QDir::Unsorted);
    return 0;
}

#pragma once
// The receiving-card recovery package parser (its file list).
//
// The protocol thread re-reads the folder after the PC stored or deleted a
// package while the GUI thread counts the packages for the advanced menu:
// the list is only reached through the calls below, under the parser's lock.
#include <QString>
#include <QStringList>
#include <mutex>

class rcvRecovery {
public:
    // Replaces the file list with the regular files of `dir` (relocated):
    // 0; 1 when the folder does not exist (list unchanged).
    int get_dir_file(const QString& dir);

    QStringList files() const;
    void set_files(const QStringList& names);
    // The number of listed packages.
    int file_count() const;
    // get_dir_file(dir), and on success the count read under the same lock
    // (so no other thread's listing slips in between); -1 without the folder.
    int count_dir_files(const QString& dir);

private:
    mutable std::mutex mutex_;
    QStringList file_list;  // names of the stored recovery packages
};

#pragma once
// The receiving-card recovery package parser (its file list).
#include <QString>
#include <QStringList>

class rcvRecovery {
public:
    QStringList file_list; // names of the stored recovery packages
    // Replaces file_list with the regular files of `dir` (relocated): 0;
    // 1 when the folder does not exist (list unchanged).
    int get_dir_file(const QString& dir);
};

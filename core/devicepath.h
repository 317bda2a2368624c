#pragma once
// Device paths ("/data/...") relocated under $FRONTPANEL_ROOT.
#include <QString>
#include <string>

// On the device FRONTPANEL_ROOT is unset and the path stands as given; on a
// PC (and in tests) every absolute path lies under that folder instead. A
// path already under the folder is returned unchanged.
QString device_path(const QString& path);
std::string device_path_std(const std::string& path);
// True when the program runs on a PC (FRONTPANEL_ROOT set): shell commands
// must not touch the host.
bool device_is_simulated();

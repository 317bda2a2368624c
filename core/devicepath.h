#pragma once
// Device paths ("/data/...") and where they lie on this machine.
#include <QString>
#include <string>

// A device build (CMake option FRONTPANEL_DEVICE) uses the paths as given,
// unless FRONTPANEL_ROOT names a folder to relocate them under. A PC build
// never uses the host's own "/data": every absolute path lies under
// FRONTPANEL_ROOT, or, when that is unset, under the user's data folder
// (see device_root()). A path already under the folder is returned unchanged.
QString device_path(const QString& path);
std::string device_path_std(const std::string& path);
// The folder device paths are relocated under; empty on a device build
// without FRONTPANEL_ROOT.
QString device_root();
// True when shell commands must not reach the host: always on a PC build,
// and on a device build run with FRONTPANEL_ROOT.
bool device_is_simulated();
// When simulated, before the QApplication exists: no session bus. Qt's
// D-Bus support would otherwise look for one at every start under X and,
// finding none, run the host's dbus-launch.
void session_bus_off();

// Tests: from now on every device path, and every file the core writes or
// removes, must lie under `folder`; anything else ends the program at once
// rather than touching the host.
void device_paths_confine(const QString& folder);
// Ends the program when confined and `path` lies outside the folder.
void device_path_check(const QString& path);

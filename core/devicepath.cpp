#include "core/devicepath.h"

#include <QByteArray>
#include <QDir>
#include <QStandardPaths>
#include <QtGlobal>
#include <unistd.h>

namespace {
QString strip_slashes(QString root) {
    while (root.size() > 1 && root.endsWith(QLatin1Char('/')))
        root.chop(1);
    return root;
}

#ifndef FRONTPANEL_DEVICE
// A PC started without FRONTPANEL_ROOT keeps its data in the user's own
// data folder ("~/.local/share/frontpanel"), never in the host's "/data".
QString pc_default_root() {
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (base.isEmpty() || !base.startsWith(QLatin1Char('/')) || base == QLatin1String("/"))
        base = QDir::tempPath() + QStringLiteral("/frontpanel-%1").arg(::getuid());
    return strip_slashes(base) + QStringLiteral("/frontpanel");
}
#endif

// Read on every call: tests point FRONTPANEL_ROOT at a fresh folder each.
QString root_folder() {
    QString root = strip_slashes(QString::fromLocal8Bit(qgetenv("FRONTPANEL_ROOT")));
    if (root == QLatin1String("/"))
        root.clear();
#ifndef FRONTPANEL_DEVICE
    if (root.isEmpty())
        root = pc_default_root();
#endif
    return root;
}

QString& confined_to() {
    static QString folder;
    return folder;
}

bool under(const QString& path, const QString& folder) {
    const QString p = QDir::cleanPath(path);
    return p == folder || p.startsWith(folder + QLatin1Char('/'));
}
}  // namespace

QString device_root() {
    return root_folder();
}

QString device_path(const QString& path) {
    const QString root = root_folder();
    QString result = path;
    // A path that already lies under the root is not moved twice, so callers
    // may hand on what they got from here.
    if (!root.isEmpty() && path.startsWith(QLatin1Char('/')) && path != root &&
        !path.startsWith(root + QLatin1Char('/')))
        result = root + path;
    // The root itself must lie in the confined folder; a ".." in `path` is
    // the caller's to refuse (the simulated "rm" does).
    device_path_check(root.isEmpty() ? path : root);
    return result;
}

std::string device_path_std(const std::string& path) {
    return device_path(QString::fromStdString(path)).toStdString();
}

bool device_is_simulated() {
#ifdef FRONTPANEL_DEVICE
    return !root_folder().isEmpty();
#else
    return true;
#endif
}

void session_bus_off() {
    // An address of a kind no D-Bus library connects to: the connection
    // fails at once, and nothing is started to provide one.
    if (device_is_simulated())
        qputenv("DBUS_SESSION_BUS_ADDRESS", "disabled:");
}

void device_paths_confine(const QString& folder) {
    confined_to() = QDir::cleanPath(folder);
}

void device_path_check(const QString& path) {
    const QString& folder = confined_to();
    if (folder.isEmpty() || !path.startsWith(QLatin1Char('/')))
        return;
    if (!under(path, folder))
        qFatal("device path \"%s\" lies outside the test folder \"%s\"", qPrintable(path), qPrintable(folder));
}

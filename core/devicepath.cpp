#include "core/devicepath.h"

#include <QByteArray>
#include <QtGlobal>

namespace {
// Read on every call: tests point FRONTPANEL_ROOT at a fresh folder each.
QString root_folder() {
    QString root = QString::fromLocal8Bit(qgetenv("FRONTPANEL_ROOT"));
    while (root.size() > 1 && root.endsWith(QLatin1Char('/')))
        root.chop(1);
    return root;
}
} // namespace

QString device_path(const QString& path) {
    const QString root = root_folder();
    if (root.isEmpty() || root == QLatin1String("/") || !path.startsWith(QLatin1Char('/')))
        return path;
    // A path that already lies under the root is not moved twice, so callers
    // may hand on what they got from here.
    if (path == root || path.startsWith(root + QLatin1Char('/')))
        return path;
    return root + path;
}

std::string device_path_std(const std::string& path) {
    return device_path(QString::fromStdString(path)).toStdString();
}

bool device_is_simulated() {
    return !qgetenv("FRONTPANEL_ROOT").isEmpty();
}

#include "ui/frame/imagecache.h"

#include <QAbstractButton>
#include <QFileInfo>
#include <QHash>
#include <QImageReader>
#include <QLabel>

namespace {
// A few dozen small images in all: kept for the program's life.
QHash<QString, QPixmap>& pixmaps() {
    static QHash<QString, QPixmap> cache;
    return cache;
}
QHash<QString, QIcon>& icons() {
    static QHash<QString, QIcon> cache;
    return cache;
}
}  // namespace

const QPixmap& cached_pixmap(const QString& resource) {
    auto it = pixmaps().find(resource);
    if (it == pixmaps().end()) {
        // Read by the format its name ends in: detecting the format from the
        // contents would load every image format plugin to ask it first.
        const QByteArray format = QFileInfo(resource).suffix().toLatin1();
        QImageReader reader(resource, format);
        reader.setAutoDetectImageFormat(format.isEmpty());
        const QPixmap p = QPixmap::fromImage(reader.read());
        if (p.isNull())
            qWarning("image %s cannot be read", qPrintable(resource));
        it = pixmaps().insert(resource, p);
    }
    return *it;
}

const QPixmap& cached_pixmap(const QString& resource, QSize size) {
    static QHash<QPair<QString, quint32>, QPixmap> scaled;
    const QPair<QString, quint32> key(resource, quint32(size.width()) << 16 | quint32(size.height()));
    auto it = scaled.find(key);
    if (it == scaled.end())
        it = scaled.insert(key, QPixmap::fromImage(cached_pixmap(resource).toImage().scaled(size, Qt::IgnoreAspectRatio,
                                                                                            Qt::SmoothTransformation)));
    return *it;
}

const QIcon& cached_icon(const QString& resource) {
    auto it = icons().find(resource);
    if (it == icons().end())
        it = icons().insert(resource, QIcon(cached_pixmap(resource)));
    return *it;
}

void set_button_icon(QAbstractButton* button, const QString& resource, QSize size) {
    const QIcon& icon = cached_icon(resource);
    if (button->icon().cacheKey() != icon.cacheKey())
        button->setIcon(icon);
    if (button->iconSize() != size)
        button->setIconSize(size);
}

void set_label_pixmap(QLabel* label, const QString& resource) {
    const QPixmap& pixmap = cached_pixmap(resource);
    if (label->pixmap(Qt::ReturnByValue).cacheKey() != pixmap.cacheKey())
        label->setPixmap(pixmap);
}

void set_label_picture(QLabel* label, const QString& resource) {
    if (resource.isEmpty())
        return;
    const QPixmap& pixmap = cached_pixmap(resource, label->contentsRect().size());
    if (label->pixmap(Qt::ReturnByValue).cacheKey() != pixmap.cacheKey())
        label->setPixmap(pixmap);
}

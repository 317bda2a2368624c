#pragma once
// Images decoded once per resource name and shared from then on: a page
// opened again, or refreshed, reuses them instead of decoding the file anew.
// GUI thread only.
#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <QString>

class QAbstractButton;
class QLabel;

const QPixmap& cached_pixmap(const QString& resource);
const QIcon& cached_icon(const QString& resource);
// Set only when the widget does not show that image (and size) already:
// setting the same one again would still relayout and repaint it.
void set_button_icon(QAbstractButton* button, const QString& resource, QSize size);
void set_label_pixmap(QLabel* label, const QString& resource);

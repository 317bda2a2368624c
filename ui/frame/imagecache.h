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
// The image made to `size` as a label with scaled contents makes it.
const QPixmap& cached_pixmap(const QString& resource, QSize size);
const QIcon& cached_icon(const QString& resource);
// Set only when the widget does not show that image (and size) already:
// setting the same one again would still relayout and repaint it.
void set_button_icon(QAbstractButton* button, const QString& resource, QSize size);
void set_label_pixmap(QLabel* label, const QString& resource);
// The image made to the label's size once, for a label that draws it as
// it is instead of scaling it at each new image.
void set_label_picture(QLabel* label, const QString& resource);

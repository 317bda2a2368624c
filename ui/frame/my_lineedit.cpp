#include "ui/frame/my_lineedit.h"

My_lineEdit::My_lineEdit(QWidget* parent) : QLineEdit(parent) {}

void My_lineEdit::mousePressEvent(QMouseEvent* event) {
    emit send_show(text());
    QLineEdit::mousePressEvent(event);
}

short field_short(const QString& text) {
    bool ok = false;
    const short v = text.toShort(&ok);
    return ok ? v : 0;
}

#pragma once
// A number field: touching it asks its page to open the shared keypad.
#include <QLineEdit>

class My_lineEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit My_lineEdit(QWidget* parent = nullptr);

signals:
    // The field's text at the moment of the press.
    void send_show(QString text);

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

// A number field's text as a signed 16-bit number: 0 for an empty text, one
// that is not a number, or one outside -32768..32767.
short field_short(const QString& text);

#pragma once
// A selector row driven by the panel keys: a combo box between a "<" and a
// ">" label, with a focused (orange) and an editing (blue) look. The owner
// steps its index; the combo box never takes keyboard focus and never opens
// its drop-down.
#include <QComboBox>
#include <QFont>
#include <QLabel>
#include <QRect>
#include <QString>
#include <QWidget>

class ryncontrol : public QWidget {
    Q_OBJECT
public:
    // Rectangles in the control's own coordinates; the owner places the
    // control itself.
    ryncontrol(QRect box, QRect left, QRect right, QWidget* parent = nullptr);

    void set_box_modify();   // the editing look
    void set_box_default();  // the focused look
    void set_boxindexsel(char index);

    const QString style_label_focus;
    const QString style_label_modify;
    const QString style_box_focus;
    const QString style_box_modify;
    QFont font;
    QComboBox* combo = nullptr;
    QLabel* label_left = nullptr;
    QLabel* label_right = nullptr;

private:
    void set_look(const QString& box, const QString& labels);
};

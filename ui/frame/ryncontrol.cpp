#include "ui/frame/ryncontrol.h"

namespace {
// The keys alone choose the entry: a touch that opened the list could show
// another entry than the one the owner acts on.
class KeyOnlyComboBox : public QComboBox {
public:
    using QComboBox::QComboBox;

protected:
    void mousePressEvent(QMouseEvent*) override {}
    void mouseReleaseEvent(QMouseEvent*) override {}
    void mouseDoubleClickEvent(QMouseEvent*) override {}
    void wheelEvent(QWheelEvent*) override {}
    void showPopup() override {}
};
}  // namespace

ryncontrol::ryncontrol(QRect box, QRect left, QRect right, QWidget* parent)
    : QWidget(parent), style_label_focus(QStringLiteral(
                           "color: rgb(255, 255, 255);border:1px solid rgb(255,171,84);background-color:rgb(0, 0, 0)")),
      style_label_modify(
          QStringLiteral("color: rgb(255, 255, 255);border:1px solid rgb(71,119,255);background-color:rgb(0, 0, 0)")),
      style_box_focus(QStringLiteral("QComboBox{color:rgb(255,255,255);\nborder:1px solid "
                                     "rgb(255,171,84);\n}\nQComboBox:drop-down{\nborder-style:none\n}")),
      style_box_modify(QStringLiteral("QComboBox{color:rgb(255,255,255);\nborder:1px solid "
                                      "rgb(71,119,255);\n}\nQComboBox:drop-down{\nborder-style:none\n}")) {
    font.setPointSize(9);
    // Created box, right, left: the later child lies on top where they touch.
    combo = new KeyOnlyComboBox(this);
    label_right = new QLabel(this);
    label_left = new QLabel(this);

    combo->setObjectName(QStringLiteral("ryncontrol"));
    combo->setGeometry(box);
    combo->setFont(font);
    combo->setFocusPolicy(Qt::NoFocus);
    combo->setStyleSheet(style_box_focus);

    label_right->setGeometry(right);
    label_right->setFont(font);
    label_right->setStyleSheet(style_label_focus);
    label_right->setText(QStringLiteral(">"));

    label_left->setGeometry(left);
    label_left->setFont(font);
    label_left->setStyleSheet(style_label_focus);
    label_left->setText(QStringLiteral("<"));
}

// Only a change of look restyles: a style sheet set again re-polishes the
// whole control.
void ryncontrol::set_look(const QString& box, const QString& labels) {
    if (combo->styleSheet() != box)
        combo->setStyleSheet(box);
    for (QLabel* l : {label_right, label_left})
        if (l->styleSheet() != labels)
            l->setStyleSheet(labels);
}

void ryncontrol::set_box_modify() {
    set_look(style_box_modify, style_label_modify);
}

void ryncontrol::set_box_default() {
    set_look(style_box_focus, style_label_focus);
}

void ryncontrol::set_boxindexsel(char index) {
    combo->setCurrentIndex(static_cast<unsigned char>(index));
}

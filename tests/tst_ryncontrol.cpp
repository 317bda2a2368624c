// The selector row: its layout from inclusive corners, its children's
// order and its two looks.
#include "ui/frame/ryncontrol.h"

#include <QtTest>

namespace {
QRect corners(int x1, int y1, int x2, int y2) { return QRect(QPoint(x1, y1), QPoint(x2, y2)); }
}  // namespace

class TstRynControl : public QObject {
    Q_OBJECT
private slots:
    void built_as_the_user_mode_page_places_it() {
        ryncontrol c(corners(19, 0, 118, 21), corners(0, 0, 19, 21), corners(118, 0, 137, 21));
        QCOMPARE(c.combo->geometry(), QRect(19, 0, 100, 22));
        QCOMPARE(c.label_left->geometry(), QRect(0, 0, 20, 22));
        QCOMPARE(c.label_right->geometry(), QRect(118, 0, 20, 22));
        QCOMPARE(c.combo->objectName(), QString("ryncontrol"));
        QCOMPARE(c.combo->focusPolicy(), Qt::NoFocus);
        QCOMPARE(c.label_left->text(), QString("<"));
        QCOMPARE(c.label_right->text(), QString(">"));
        // Created box, right, left: the left label lies on top where they touch.
        const QObjectList kids = c.children();
        QCOMPARE(kids.indexOf(c.combo), 0);
        QCOMPARE(kids.indexOf(c.label_right), 1);
        QCOMPARE(kids.indexOf(c.label_left), 2);
        for (QWidget* w : {static_cast<QWidget*>(c.combo), static_cast<QWidget*>(c.label_left),
                           static_cast<QWidget*>(c.label_right)})
            QCOMPARE(w->font().pointSize(), 9);
    }

    void fresh_is_focused_and_modify_goes_back() {
        ryncontrol c(QRect(0, 0, 10, 10), QRect(), QRect());
        const QString orange = "border:1px solid rgb(255,171,84)";
        const QString blue = "border:1px solid rgb(71,119,255)";
        auto all_contain = [&](const QString& s) {
            return c.combo->styleSheet().contains(s) && c.label_left->styleSheet().contains(s) &&
                   c.label_right->styleSheet().contains(s);
        };
        QVERIFY(all_contain(orange));
        c.set_box_modify();
        QVERIFY(all_contain(blue));
        QCOMPARE(c.combo->styleSheet(),
                 QString("QComboBox{color:rgb(255,255,255);\nborder:1px solid rgb(71,119,255);\n}\n"
                         "QComboBox:drop-down{\nborder-style:none\n}"));
        c.set_box_default();
        QVERIFY(all_contain(orange));
        QCOMPARE(c.label_left->styleSheet(),
                 QString("color: rgb(255, 255, 255);border:1px solid rgb(255,171,84);background-color:rgb(0, 0, 0)"));
    }
};

QTEST_MAIN(TstRynControl)
#include "tst_ryncontrol.moc"

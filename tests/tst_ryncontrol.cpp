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
    // Inclusive corners: 19..118 is 100 wide, 0..21 is 22 high.
    void built_as_the_user_mode_page_places_it() {
        ryncontrol c(corners(19, 0, 118, 21), corners(0, 0, 19, 21), corners(118, 0, 137, 21));
        QCOMPARE(c.combo->geometry(), QRect(19, 0, 100, 22));
        QCOMPARE(c.label_left->geometry(), QRect(0, 0, 20, 22));
        QCOMPARE(c.label_right->geometry(), QRect(118, 0, 20, 22));
        QCOMPARE(c.combo->focusPolicy(), Qt::NoFocus);
        // Created box, right, left: the left label lies on top where they touch.
        QCOMPARE(c.children(), (QObjectList{c.combo, c.label_right, c.label_left}));
    }

    void fresh_is_focused_and_modify_goes_back() {
        ryncontrol c(QRect(0, 0, 10, 10), QRect(), QRect());
        auto all_contain = [&](const char* colour) {
            return c.combo->styleSheet().contains(colour) && c.label_left->styleSheet().contains(colour) &&
                   c.label_right->styleSheet().contains(colour);
        };
        QVERIFY(all_contain("rgb(255,171,84)"));  // orange
        c.set_box_modify();
        QVERIFY(all_contain("rgb(71,119,255)") && !c.combo->styleSheet().contains("255,171,84"));  // blue
        c.set_box_default();
        QVERIFY(all_contain("rgb(255,171,84)") && !c.combo->styleSheet().contains("71,119,255"));
    }
};

QTEST_MAIN(TstRynControl)
#include "tst_ryncontrol.moc"

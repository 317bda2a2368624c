// The selector row is placed from inclusive corners, its left label on top
// where they touch, and leaves the focused look while its value is edited.
#include "testsupport.h"

#include "ui/frame/ryncontrol.h"

#include <QtTest>

class TstRynControl : public QObject {
    Q_OBJECT
private slots:
    void inclusive_corners_and_edit_look() {
        const auto corners = [](int x1, int x2) { return QRect(QPoint(x1, 0), QPoint(x2, 21)); };
        ryncontrol c(corners(19, 118), corners(0, 19), corners(118, 137));
        QCOMPARE(c.combo->geometry(), QRect(19, 0, 100, 22)); // 19..118 is 100 wide
        QCOMPARE(c.children().last(), c.label_left); // on top
        c.show();
        c.set_box_modify();
        QVERIFY(!testsupport::looks_focused(c.combo));
        c.set_box_default();
        QVERIFY(testsupport::looks_focused(c.combo));
    }
};

QTEST_MAIN(TstRynControl)
#include "tst_ryncontrol.moc"

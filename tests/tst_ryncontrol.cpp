// The selector row is placed from inclusive corners, its left label on top
// where they touch (its looks: tst_focuslook, on the user-mode page).
#include "testsupport.h"

#include "ui/frame/ryncontrol.h"

#include <QtTest>

class TstRynControl : public QObject {
    Q_OBJECT
private slots:
    void inclusive_corners() {
        const auto corners = [](int x1, int x2) { return QRect(QPoint(x1, 0), QPoint(x2, 21)); };
        ryncontrol c(corners(19, 118), corners(0, 19), corners(118, 137));
        QCOMPARE(c.combo->geometry(), QRect(19, 0, 100, 22));  // 19..118 is 100 wide
        QCOMPARE(c.children().last(), c.label_left);           // on top
    }
};

QTEST_MAIN(TstRynControl)
#include "tst_ryncontrol.moc"

// Start-up as main runs it (without the pause for the chips): the home
// screen in front, and the shared keypad and notice made once the first
// frame is shown, with the menu's pictures and the menu itself.
#include "testsupport.h"

#include "core/global.h"
#include "ui/frame/lockwindow.h"
#include "ui/frame/mainwindow.h"
#include "ui/frame/numberkeyboard.h"
#include "ui/frame/startup.h"
#include "ui/frame/tip.h"

#include <QApplication>
#include <QPushButton>
#include <QtTest>

class TstStartup : public QObject {
    Q_OBJECT
private slots:
    void sharedWidgetsFollowTheFirstFrame() {
        testsupport::fresh_device();
        start_core();
        MainWindow* main = start_panel(*qApp, 0);
        QVERIFY(main);
        QCOMPARE(int(g_page_focus), int(PAGE_LOCKWINDOW));
        QVERIFY(g_lockwindow() && g_lockwindow()->isVisible());
        QVERIFY(!g_numberkeyboard && !g_tip);
        QTRY_VERIFY(g_numberkeyboard && g_tip);
        // The menu, shown under the home screen by then, must not take the keys.
        QVERIFY(main->isVisible());
        QTRY_COMPARE(QGuiApplication::focusWindow(), g_lockwindow()->windowHandle());
        // The menu under the home screen has its pictures by then.
        for (const char* name : {"machinestate", "inputchoose", "toolButton1", "Button_lock"})
            QVERIFY2(!main->findChild<QPushButton*>(name)->icon().isNull(), name);
        QCOMPARE(g_numberkeyboard->geometry(), QRect(main->x() + 160, main->y(), 160, 240));
        NumberKeyboard* keypad = g_numberkeyboard;
        MainWindow::create_shared_widgets();
        QCOMPARE(g_numberkeyboard, keypad);
    }
};

QTEST_MAIN(TstStartup)
#include "tst_startup.moc"

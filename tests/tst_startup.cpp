// Start-up as main runs it (without the pause for the chips): the home
// screen in front, the shared keypad and notice made once, after its first
// frame, and the menu under it with its pictures by then.
#include "testsupport.h"

#include "ui/frame/lockwindow.h"
#include "ui/frame/mainwindow.h"
#include "ui/frame/startup.h"
#include "ui/frame/tip.h"

class TstStartup : public QObject {
    Q_OBJECT
private slots:
    void sharedWidgetsFollowTheFirstFrame() {
        testsupport::fresh_device();
        start_core();
        MainWindow* main = start_panel(*qApp, 0);
        QCOMPARE(int(g_page_focus), int(PAGE_LOCKWINDOW));
        QVERIFY(g_lockwindow() && g_lockwindow()->isVisible());
        QVERIFY(!g_numberkeyboard && !g_tip);
        QTRY_VERIFY(g_numberkeyboard && g_tip && main->isVisible());
        for (const char* name : {"machinestate", "Button_lock"})
            QVERIFY2(!main->findChild<QPushButton*>(name)->icon().isNull(), name);
        NumberKeyboard* keypad = g_numberkeyboard;
        MainWindow::create_shared_widgets();
        QCOMPARE(g_numberkeyboard, keypad);
    }
};

QTEST_MAIN(TstStartup)
#include "tst_startup.moc"

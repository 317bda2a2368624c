// Start-up as main runs it (without the pause for the chips): the home
// screen in front, the menu under it with its pictures after its first
// frame, and the shared keypad and notice made once, on first use.
#include "testsupport.h"

#include "core/para_write.h"
#include "fpga/fpga_manage.h"
#include "ui/frame/lockwindow.h"
#include "ui/frame/mainwindow.h"
#include "ui/frame/startup.h"
#include "ui/frame/tip.h"

class TstStartup : public QObject {
    Q_OBJECT
private slots:
    void sharedWidgetsWaitForFirstUse() {
        testsupport::fresh_device();
        start_core();
        MainWindow* main = start_panel(*qApp, 0);
        QCOMPARE(int(g_page_focus), int(PAGE_LOCKWINDOW));
        QVERIFY(g_lockwindow() && g_lockwindow()->isVisible());
        QTRY_VERIFY(main->isVisible());
        for (const char* name : {"machinestate", "Button_lock"})
            QVERIFY2(!main->findChild<QPushButton*>(name)->icon().isNull(), name);
        QVERIFY(!g_numberkeyboard && !g_tip);
        NumberKeyboard* keypad = shared_keypad();
        QVERIFY(keypad && !g_tip);
        QCOMPARE(keypad->geometry(), QRect(main->x() + 160, main->y(), 160, 240));
        QVERIFY(shared_tip() && shared_tip() == g_tip);
        QCOMPARE(shared_keypad(), keypad);
        // The device's threads run and reach the dispatcher: a change the
        // scaler applies is shown on the home screen and saved.
        QTRY_VERIFY(fpga_manage::p_fpga_manage->get_fpga_status());
        para_write([](RynRamPara& p) { p.set_u16(blk::BRIGHTNESS, 37); });
        QTRY_COMPARE(g_lockwindow()->findChild<QLabel*>("label_bright")->text(), QString("37"));
        QTRY_COMPARE(testsupport::read_file("/data/ram_device_info").mid(blk::BRIGHTNESS, 2), QByteArray("\x25\0", 2));
    }
};

QTEST_MAIN(TstStartup)
#include "tst_startup.moc"

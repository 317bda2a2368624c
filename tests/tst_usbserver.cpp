// The USB disk watcher: which uevents count as a stick, the wait for the
// storage driver and the mount ticks, and the hand-over to the GUI thread.
#include "testsupport.h"

#include "core/devicepath.h"
#include "core/global.h"
#include "protocol/usbserver.h"

#include <QtTest>

#include <thread>

namespace {
QByteArray uevent(const char* head, const char* env = "ACTION=add") {
    return QByteArray(head) + '\0' + env + '\0';
}
void make_usb_storage() { QVERIFY(QDir().mkpath(device_path(QStringLiteral("/proc/scsi/usb-storage")))); }
}  // namespace

class TstUsbServer : public QObject {
    Q_OBJECT
    UsbServer* server_ = nullptr;
    std::thread worker_;

private slots:
    void init() {
        testsupport::fresh_device();
        g_delay_usbserver = 1;
        server_ = new UsbServer;
    }
    void cleanup() {
        // A failed check may leave the worker waiting for the storage driver
        // or the ticks: give it both, so that it ends before the server goes.
        if (worker_.joinable()) {
            make_usb_storage();
            G_timeTicks += 2 * UsbServer::MOUNT_TICKS;
            worker_.join();
        }
        delete server_;
        g_delay_usbserver = 0;
        UsbServer::usb_mounted_hook = nullptr;
    }

    void notStickIgnoredAtOnce_data() {
        QTest::addColumn<QByteArray>("msg");
        QTest::addColumn<int>("enabled");
        QTest::newRow("the disk itself") << uevent("add@/devices/usb1/1-1/host0/block/sda") << 1;
        QTest::newRow("second disk") << uevent("add@/devices/usb1/1-1/host0/block/sdb/sdb1") << 1;
        QTest::newRow("letters after the number") << uevent("add@/devices/block/sda/sda1x") << 1;
        QTest::newRow("name only in the environment")
            << uevent("add@/devices/usb1/1-1/host0/block/sda", "DEVNAME=sda1") << 1;
        QTest::newRow("empty") << QByteArray() << 1;
        QTest::newRow("no terminator") << QByteArray("add@/block/sd", 13) << 1;
        QTest::newRow("watcher not enabled yet") << uevent("add@/devices/usb1/1-1/host0/block/sda/sda1") << 0;
    }
    // With storage and ticks ready a stick would be announced at once; these
    // return without waiting and without a signal.
    void notStickIgnoredAtOnce() {
        QFETCH(QByteArray, msg);
        QFETCH(int, enabled);
        g_delay_usbserver = enabled;
        make_usb_storage();
        G_timeTicks = 10000;
        QSignalSpy spy(server_, &UsbServer::sig_usb_update);
        QElapsedTimer t;
        t.start();
        server_->recvData(msg.constData(), msg.size());
        QVERIFY2(t.elapsed() < 100, qPrintable(QString("waited %1 ms").arg(t.elapsed())));
        QTest::qWait(20);
        QCOMPARE(spy.count(), 0);
    }

    void mountAnnouncedInGuiAfterStorageAndTicks() {
        static int hook_calls = 0;
        static bool hook_in_gui = false;
        UsbServer::usb_mounted_hook = [] {
            ++hook_calls;
            hook_in_gui = QThread::currentThread() == qApp->thread();
        };
        QSignalSpy spy(server_, &UsbServer::sig_usb_update);
        G_timeTicks = 5000;
        const QByteArray msg = uevent("add@/devices/usb1/1-1/host0/block/sda/sda12");
        worker_ = std::thread([this, msg] { server_->recvData(msg.constData(), msg.size()); });
        // The driver shows up late; the ticks count from then on.
        QTest::qWait(50);
        const uint32_t t1 = G_timeTicks += 1000;
        make_usb_storage();
        QTest::qWait(50);
        G_timeTicks = t1 + UsbServer::MOUNT_TICKS - 1;
        QTest::qWait(100);
        QCOMPARE(spy.count(), 0);

        QTimer ticks;
        connect(&ticks, &QTimer::timeout, [] { ++G_timeTicks; });
        ticks.start(10);
        QTRY_COMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toInt(), int(SYNC_USB_MOUNTED));
        QTRY_COMPARE(hook_calls, 1);
        QVERIFY(hook_in_gui);
    }

    // Containers may refuse the netlink socket: bound or not, the watcher
    // constructs and stops promptly.
    void socketRefusedOrBoundStopsPromptly() {
        QElapsedTimer t;
        t.start();
        delete new UsbServer;
        QVERIFY2(t.elapsed() < 2000, qPrintable(QString("took %1 ms").arg(t.elapsed())));
    }
};

QTEST_MAIN(TstUsbServer)
#include "tst_usbserver.moc"

// The USB disk watcher: which uevents count as a stick, the wait for the
// storage driver and the mount ticks, and the hand-over to the GUI thread.
#include "testsupport.h"

#include "core/devicepath.h"
#include "core/global.h"
#include "protocol/usbserver.h"

#include <QtTest>

#include <memory>
#include <thread>

namespace {
QByteArray uevent(const char* head) {
    return QByteArray(head) + '\0' + "ACTION=add" + '\0';
}
struct EventRow {
    QByteArray msg;
    bool stick;
};
void make_usb_storage() {
    QVERIFY(QDir().mkpath(device_path(QStringLiteral("/proc/scsi/usb-storage"))));
}
}  // namespace
Q_DECLARE_METATYPE(EventRow)

class TstUsbServer : public QObject {
    Q_OBJECT
    UsbServer* server_ = nullptr;
    std::thread worker_;

private slots:
    void init() {  // every test also builds and stops the netlink watcher
        testsupport::fresh_device();
        g_delay_usbserver = 1;
        server_ = new UsbServer;
    }
    void cleanup() {
        // A failed check may leave the worker waiting: let it end first.
        if (worker_.joinable()) {
            make_usb_storage();
            G_timeTicks += 2 * UsbServer::MOUNT_TICKS;
            worker_.join();
        }
        delete server_;
        g_delay_usbserver = 0;
        UsbServer::usb_mounted_hook = nullptr;
    }

    // Only a partition of the first USB disk being added counts.
    void whichEventsAreSticks_data() {
        testsupport::rows<EventRow>({{"first partition", {uevent("add@/devices/usb1/1-1/host0/block/sda/sda1"), true}},
                                     {"twelfth partition", {uevent("add@/block/sda/sda12"), true}},
                                     {"the disk itself", {uevent("add@/devices/usb1/1-1/host0/block/sda"), false}},
                                     {"second disk", {uevent("add@/block/sdb/sdb1"), false}},
                                     {"removed", {uevent("remove@/block/sda/sda1"), false}},
                                     {"not only digits", {uevent("add@/block/sda/sda1x"), false}},
                                     {"the header ends at its NUL", {QByteArray("add@/block/sd\0a1", 16), false}},
                                     {"no terminator, cut short", {QByteArray("add@/block/sda1", 14), false}}});
    }
    // A stick is announced only after storage and 301 ticks, which never
    // come here: whatever is not announced returns without a wait.
    void whichEventsAreSticks() {
        QFETCH(EventRow, row);
        QCOMPARE(UsbServer::is_usb_partition_added(row.msg.constData(), row.msg.size()), row.stick);
        g_delay_usbserver = row.stick ? 0 : 1;  // a stick before the tick enables the watcher: ignored
        make_usb_storage();
        QSignalSpy spy(server_, &UsbServer::sig_usb_update);
        const auto done = std::make_shared<std::atomic<bool>>(false);
        worker_ =
            std::thread([this, done, msg = row.msg] { server_->recvData(msg.constData(), msg.size()), *done = true; });
        QTRY_VERIFY(*done);  // a wait for ticks would never end
        QVERIFY(spy.isEmpty());
    }

    // The driver shows up late; the ticks count from then on; the hook
    // runs in the GUI thread.
    void mountAnnouncedInGuiAfterStorageAndTicks() {
        static QVector<bool> hook_in_gui;  // one entry per call
        UsbServer::usb_mounted_hook = [] { hook_in_gui << (QThread::currentThread() == qApp->thread()); };
        QSignalSpy spy(server_, &UsbServer::sig_usb_update);
        G_timeTicks = 5000;
        const QByteArray msg = uevent("add@/devices/usb1/1-1/host0/block/sda/sda12");
        worker_ = std::thread([this, msg] { server_->recvData(msg.constData(), msg.size()); });
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
        QTRY_COMPARE(hook_in_gui, QVector<bool>{true});
    }
};

QTEST_MAIN(TstUsbServer)
#include "tst_usbserver.moc"

// The USB disk watcher: which uevents count as a stick, the wait for the
// storage driver and the mount ticks, and the hand-over to the GUI thread.
#include "testsupport.h"

#include "core/devicepath.h"
#include "core/global.h"
#include "protocol/usbserver.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <QtTest>

#include <thread>

namespace {
QByteArray uevent(const char* head, const char* env = "ACTION=add") {
    QByteArray m(head);
    m.append('\0');
    m.append(env);
    m.append('\0');
    return m;
}

void make_usb_storage() {
    const QString path = device_path(QStringLiteral("/proc/scsi/usb-storage"));
    QVERIFY(QDir().mkpath(path));
}

int hook_calls = 0;
bool hook_in_gui = false;
void count_hook() {
    ++hook_calls;
    hook_in_gui = QThread::currentThread() == qApp->thread();
}
} // namespace

class TstUsbServer : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void notStickIgnoredAtOnce_data();
    void notStickIgnoredAtOnce();
    void ignoredUntilWatcherEnabled();
    void mountAnnouncedAfterStorageAndTicks();
    void socketFailureOrSuccessLeavesProgramRunning();

private:
    // Runs recvData the way the watcher thread does, off the GUI thread.
    void deliver(const QByteArray& msg);
    UsbServer* server_ = nullptr;
    std::thread worker_;
    QList<int> codes_;
};

void TstUsbServer::init() {
    testsupport::fresh_device();
    g_delay_usbserver = 1;
    hook_calls = 0;
    hook_in_gui = false;
    UsbServer::usb_mounted_hook = nullptr;
    codes_.clear();
    server_ = new UsbServer;
    connect(server_, &UsbServer::sig_usb_update, this, [this](int c) { codes_ << c; });
}

void TstUsbServer::cleanup() {
    if (worker_.joinable())
        worker_.join();
    delete server_;
    server_ = nullptr;
    g_delay_usbserver = 0;
    UsbServer::usb_mounted_hook = nullptr;
}

void TstUsbServer::deliver(const QByteArray& msg) {
    worker_ = std::thread([this, msg] { server_->recvData(msg.constData(), msg.size()); });
}

void TstUsbServer::notStickIgnoredAtOnce_data() {
    QTest::addColumn<QByteArray>("msg");
    QTest::newRow("the disk itself") << uevent("add@/devices/usb1/1-1/host0/block/sda");
    QTest::newRow("second disk") << uevent("add@/devices/usb1/1-1/host0/block/sdb/sdb1");
    QTest::newRow("removal") << uevent("remove@/devices/usb1/1-1/host0/block/sda/sda1");
    QTest::newRow("letters after the number") << uevent("add@/devices/block/sda/sda1x");
    QTest::newRow("name only in the environment")
        << uevent("add@/devices/usb1/1-1/host0/block/sda", "DEVNAME=sda1");
    QTest::newRow("udev's copy") << uevent("libudev", "ACTION=add");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("no terminator") << QByteArray("add@/block/sd", 13);
}

// With storage and ticks ready, a real stick would be announced at once;
// these must return without waiting and without a signal.
void TstUsbServer::notStickIgnoredAtOnce() {
    QFETCH(QByteArray, msg);
    make_usb_storage();
    QElapsedTimer t;
    t.start();
    server_->recvData(msg.constData(), msg.size());
    QVERIFY2(t.elapsed() < 100, qPrintable(QString("waited %1 ms").arg(t.elapsed())));
    QCoreApplication::processEvents();
    QVERIFY(codes_.isEmpty());
}

void TstUsbServer::ignoredUntilWatcherEnabled() {
    g_delay_usbserver = 0;
    make_usb_storage();
    G_timeTicks = 10000;
    const QByteArray msg = uevent("add@/devices/usb1/1-1/host0/block/sda/sda1");
    QElapsedTimer t;
    t.start();
    server_->recvData(msg.constData(), msg.size());
    QVERIFY(t.elapsed() < 100);
    QTest::qWait(20);
    QVERIFY(codes_.isEmpty());
}

void TstUsbServer::mountAnnouncedAfterStorageAndTicks() {
    UsbServer::usb_mounted_hook = &count_hook;
    const uint32_t t0 = 5000;
    G_timeTicks = t0;
    deliver(uevent("add@/devices/usb1/1-1/host0/block/sda/sda12"));
    // No storage driver yet: ticks alone do not announce it.
    G_timeTicks = t0 + 1000;
    QTest::qWait(100);
    QVERIFY(codes_.isEmpty());

    const uint32_t t1 = G_timeTicks;
    make_usb_storage();
    QTest::qWait(50);
    // Fewer than 301 ticks since the driver appeared.
    G_timeTicks = t1 + UsbServer::MOUNT_TICKS - 1;
    QTest::qWait(100);
    QVERIFY(codes_.isEmpty());
    QCOMPARE(hook_calls, 0);

    QTimer ticks;
    connect(&ticks, &QTimer::timeout, [] { ++G_timeTicks; });
    ticks.start(10);
    QTRY_COMPARE(codes_, QList<int>{SYNC_USB_MOUNTED});
    QTRY_COMPARE(hook_calls, 1);
    QVERIFY(hook_in_gui);
}

void TstUsbServer::socketFailureOrSuccessLeavesProgramRunning() {
    // Bound or not (containers may refuse the netlink socket), the watcher
    // must construct and, when running, stop promptly.
    QElapsedTimer t;
    t.start();
    auto* s = new UsbServer;
    delete s;
    QVERIFY2(t.elapsed() < 2000, qPrintable(QString("took %1 ms").arg(t.elapsed())));
}

QTEST_MAIN(TstUsbServer)
#include "tst_usbserver.moc"

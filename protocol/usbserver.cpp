#include "protocol/usbserver.h"

#include "core/devicepath.h"
#include "core/global.h"
#include "core/utils.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMetaObject>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <linux/netlink.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

void (*UsbServer::usb_mounted_hook)() = nullptr;

namespace {
constexpr int WAIT_STEP_US = 10000;
constexpr int UEVENT_BUFFER = 4096;

// "sda" followed only by digits: the first USB disk's partitions.
bool is_usb_partition(const char* name, size_t len) {
    if (len < 4 || std::strncmp(name, "sda", 3) != 0)
        return false;
    for (size_t i = 3; i < len; ++i)
        if (name[i] < '0' || name[i] > '9')
            return false;
    return true;
}
}  // namespace

UsbServer::UsbServer(QObject* parent) : QObject(parent) {
    sock_ = socket(AF_NETLINK, SOCK_DGRAM | SOCK_CLOEXEC, NETLINK_KOBJECT_UEVENT);
    if (sock_ < 0) {
        debug_printf("UsbServer: no uevent socket (%s), USB disks are not watched\n", std::strerror(errno));
        return;
    }
    sockaddr_nl addr{};
    addr.nl_family = AF_NETLINK;
    addr.nl_pid = 0;     // let the kernel pick a unique port
    addr.nl_groups = 1;  // the kernel's own uevents
    if (bind(sock_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) < 0) {
        debug_printf("UsbServer: cannot bind the uevent socket (%s), USB disks are not watched\n",
                     std::strerror(errno));
        close(sock_);
        sock_ = -1;
        return;
    }
    // The thread sleeps in poll() until a uevent comes or the destructor
    // writes to this descriptor: no wake-ups while nothing happens.
    stop_fd_ = eventfd(0, EFD_CLOEXEC);
    if (stop_fd_ < 0 || pthread_create(&thread_, nullptr, &UsbServer::acceptThread, this) != 0) {
        debug_printf("UsbServer: cannot start the watcher thread\n");
        close(sock_);
        sock_ = -1;
        if (stop_fd_ >= 0)
            close(stop_fd_);
        stop_fd_ = -1;
        return;
    }
    running_ = true;
}

// On the device the watcher is never destroyed; tests do destroy it.
UsbServer::~UsbServer() {
    stop_ = true;
    if (running_) {
        const uint64_t one = 1;
        if (write(stop_fd_, &one, sizeof one) != sizeof one)
            debug_printf("UsbServer: cannot wake the watcher thread\n");
        pthread_join(thread_, nullptr);
    }
    if (sock_ >= 0)
        close(sock_);
    if (stop_fd_ >= 0)
        close(stop_fd_);
}

void* UsbServer::acceptThread(void* arg) {
    auto* self = static_cast<UsbServer*>(arg);
    char buf[UEVENT_BUFFER];
    while (!self->stop_) {
        pollfd p[2] = {{self->sock_, POLLIN, 0}, {self->stop_fd_, POLLIN, 0}};
        const int ready = poll(p, 2, -1);
        if (ready < 0 && errno != EINTR) {
            debug_printf("UsbServer: poll failed (%s), watcher stops\n", std::strerror(errno));
            break;
        }
        if (ready <= 0 || !(p[0].revents & POLLIN))
            continue;
        const ssize_t n = recv(self->sock_, buf, sizeof buf - 1, 0);
        if (n <= 0)
            continue;
        buf[n] = '\0';
        self->recvData(buf, static_cast<int>(n));
    }
    return nullptr;
}

bool UsbServer::is_usb_partition_added(const char* msg, int len) {
    if (!msg || len <= 0)
        return false;
    // The header "action@devpath" ends at the first NUL of the message.
    const size_t head = strnlen(msg, static_cast<size_t>(len));
    if (head < 4 || std::strncmp(msg, "add@", 4) != 0)
        return false;
    const char* name = msg + head;
    while (name > msg && name[-1] != '/')
        --name;
    return is_usb_partition(name, static_cast<size_t>(msg + head - name));
}

void UsbServer::recvData(const char* msg, int len) {
    if (g_delay_usbserver != 1 || !is_usb_partition_added(msg, len))
        return;
    if (!wait_usb_storage() || !wait_mount_ticks())
        return;
    Utils::post_to_gui_thread([this] {
        emit sig_usb_update(SYNC_USB_MOUNTED);
        if (usb_mounted_hook && qApp)
            QMetaObject::invokeMethod(qApp, usb_mounted_hook, Qt::QueuedConnection);
    });
}

// The partition shows up before the storage driver is ready. Bounded: a
// disk that is not USB storage must not stop the watcher for good.
bool UsbServer::wait_usb_storage() {
    const QString path = device_path(QStringLiteral("/proc/scsi/usb-storage"));
    const auto start = std::chrono::steady_clock::now();
    while (!QFileInfo::exists(path)) {
        if (stop_)
            return false;
        if (std::chrono::steady_clock::now() - start >= std::chrono::milliseconds(STORAGE_WAIT_LIMIT_MS)) {
            debug_printf("UsbServer: %s never appeared, disk ignored\n", qPrintable(path));
            return false;
        }
        usleep(WAIT_STEP_US);
    }
    return true;
}

// The automounter needs about three seconds after the driver is ready.
bool UsbServer::wait_mount_ticks() {
    const uint32_t stamp = G_timeTicks;
    while (Utils::getTimeSpace(stamp) < MOUNT_TICKS) {
        if (stop_)
            return false;
        usleep(WAIT_STEP_US);
    }
    return true;
}

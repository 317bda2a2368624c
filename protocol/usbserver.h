#pragma once
// The USB disk watcher: kernel uevents on a netlink socket. Once a stick's
// first partition is mounted it tells the GUI thread (sig_usb_update).
#include <QObject>
#include <atomic>
#include <pthread.h>

class UsbServer : public QObject {
    Q_OBJECT
public:
    explicit UsbServer(QObject* parent = nullptr);
    ~UsbServer() override;
    // True when the socket was bound and the thread started.
    bool running() const { return running_; }
    // Handles one uevent message (the thread calls it; tests may too).
    // May sleep for seconds while a stick is being mounted.
    void recvData(const char* msg, int len);
    // True when a uevent message announces a partition of the first USB
    // disk being added ("add@.../sdaN"). Reads only the `len` bytes given.
    static bool is_usb_partition_added(const char* msg, int len);

    // Run in the GUI thread after a mount has been announced; the settings
    // menu installs it to close itself.
    static void (*usb_mounted_hook)();

    // Longest wait for the kernel's USB storage driver, and the ticks that
    // the mount is given afterwards.
    static constexpr int STORAGE_WAIT_LIMIT_MS = 30000;
    static constexpr unsigned MOUNT_TICKS = 301;

signals:
    void sig_usb_update(int code);

private:
    static void* acceptThread(void* arg);
    bool wait_usb_storage();
    bool wait_mount_ticks();
    int sock_ = -1;
    int stop_fd_ = -1;  // eventfd: wakes the thread's poll for the destructor
    bool running_ = false;
    std::atomic<bool> stop_{false};
    pthread_t thread_{};
};

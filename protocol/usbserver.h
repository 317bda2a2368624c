#pragma once
// The USB disk watcher: kernel uevents on a netlink socket.
#include <QObject>
#include <pthread.h>

class UsbServer : public QObject {
    Q_OBJECT
public:
    explicit UsbServer(QObject* parent = nullptr);
    // True when the socket was bound and the thread started.
    bool running() const { return running_; }
    // Handles one uevent message (the thread calls it; tests may too).
    void recvData(const char* msg, int len);

signals:
    void sig_usb_update(int code);

private:
    static void* acceptThread(void* arg);
    int sock_ = -1;
    bool running_ = false;
    pthread_t thread_{};
};

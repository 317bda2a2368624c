#include "core/wakeup.h"

void Wakeup::notify() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        pending_ = true;
    }
    cv_.notify_one();
}

void Wakeup::wait_for(std::chrono::microseconds timeout) {
    std::unique_lock<std::mutex> lock(mutex_);
    cv_.wait_for(lock, timeout, [this] { return pending_; });
    pending_ = false;
}

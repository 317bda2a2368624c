#pragma once
// Lets a worker thread sleep until it has work instead of waking on a
// timer: every wake-up costs power on the device.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>

class Wakeup {
public:
    // Any thread: ends the current wait, or the next one when none runs.
    void notify();
    // Returns on notify() (also one given since the last wait) or after
    // `timeout`.
    void wait_for(std::chrono::microseconds timeout);

private:
    std::mutex mutex_;
    std::condition_variable cv_;
    bool pending_ = false;
};

// A request byte whose every non-zero store wakes the thread that serves
// it; reads, compares and the atomic's own members stay as they were. A
// store through a plain std::atomic reference wakes nobody: the thread
// then finds it at its next time-out.
class WakingFlag : public std::atomic<uint8_t> {
public:
    explicit WakingFlag(Wakeup& wake, uint8_t value = 0) : std::atomic<uint8_t>(value), wake_(wake) {}
    WakingFlag& operator=(uint8_t value) noexcept {
        store(value);
        if (value)
            wake_.notify();
        return *this;
    }

private:
    Wakeup& wake_;
};

#pragma once
// Static helpers and locks shared by every thread.
#include <atomic>
#include <cstdint>
#include <functional>
#include <pthread.h>
#include <string>

class Utils {
public:
    static pthread_mutex_t _system_mutex;
    static pthread_mutex_t _file_deal_mutex;
    static pthread_mutex_t _spi_mutex;
    static pthread_mutex_t _source_hdminfo_mutex;
    static pthread_mutex_t _fpga_multicast_mutex;
    static pthread_mutex_t _c331_bnk_mutex;
    static pthread_mutex_t _source_init_mutex;
    static pthread_mutex_t _test_signal_mutex;
    static pthread_mutex_t _usleep_mutex;
    static pthread_mutex_t _led_para_init_mutex;
    static pthread_mutex_t _bri_set_mutex;
    static pthread_mutex_t _check_nosig_mutex;

    // Ticks of G_timeTicks since `stamp`, allowing for wrap-around.
    static unsigned getTimeSpace(unsigned stamp);
    // The same for a value of the counter already read.
    static unsigned getTimeSpace(unsigned stamp, unsigned now) {
        if (now >= stamp)
            return now - stamp;
        // The counter wrapped past 0xFFFFFFFF since the stamp was taken.
        return now - stamp - 1;
    }
    // XOR of `len` bytes.
    static uint8_t BCC(const uint8_t* data, int len);
    // Runs a shell command under _system_mutex; only a device build without
    // FRONTPANEL_ROOT hands it to the shell. Elsewhere nothing touches the
    // host: "reboot" ends the program (exit 0), "sync" syncs, "rm" removes
    // the relocated device paths, other commands are only logged.
    static int shell_exec(const std::string& command);
    // Runs `post`, which hands a call to the GUI thread through Qt's event
    // queue (a queued signal, invokeMethod). Worker threads do so here
    // alone: ThreadSanitizer cannot see the lock Qt takes around its queue,
    // and tests/tsan.supp names this function rather than Qt at large.
    static void post_to_gui_thread(const std::function<void()>& post);
    // Writes `data` to `path` atomically (safefile::write_atomic). 1 success,
    // 0 failure. `path` is used as given: pass device_path_std("/data/...").
    static int write_file_atomic(const std::string& path, const void* data, size_t len);
    // Removes a (relocated) file; a folder or a file that could not be read
    // is moved aside instead (safefile::remove). 1 when it is gone.
    static int remove_file(const std::string& path);
    // Tests only: write_file_atomic stops after the temporary file is
    // written, before the rename, as a power cut would.
    static std::atomic<bool> test_interrupt_before_rename;
};

// RAII holder for a pthread mutex.
class MutexLocker {
public:
    explicit MutexLocker(pthread_mutex_t* m) : m_(m) { pthread_mutex_lock(m_); }
    ~MutexLocker() { pthread_mutex_unlock(m_); }
    MutexLocker(const MutexLocker&) = delete;
    MutexLocker& operator=(const MutexLocker&) = delete;

private:
    pthread_mutex_t* m_;
};

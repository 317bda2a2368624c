#include "ui/frame/lcd_touch.h"

#include "core/devicepath.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>

uint32_t g_untouched_time = 0;
lcd_touch* lcd_touch::p_lcd_touch = nullptr;

namespace {
// Read by the signal handler: a plain int that is set before the handler
// is installed.
volatile sig_atomic_t ecll_fd = -1;

// Signal handlers may only call async-signal-safe functions: the line is
// formatted by hand and written with write(), never printf.
void write_step(unsigned char byte) {
    static const char hex[] = "0123456789abcdef";
    char line[32];
    size_t n = 0;
    for (const char* s = "signumkey_val: "; *s; ++s)
        line[n++] = *s;
    // As "%#x": a zero without the prefix, no leading zero digit.
    if (byte == 0) {
        line[n++] = '0';
    } else {
        line[n++] = '0';
        line[n++] = 'x';
        if (byte >= 0x10)
            line[n++] = hex[byte >> 4];
        line[n++] = hex[byte & 0xF];
    }
    line[n++] = '\n';
    line[n++] = '\n';
    const ssize_t written = ::write(STDOUT_FILENO, line, n);
    (void)written;
}

// Signals that arrive close together merge into one, so the handler takes
// every byte that is ready (the descriptor does not block): one line each.
void fifth_testsignal(int) {
    const int fd = ecll_fd;
    if (fd < 0)
        return;
    const int saved_errno = errno;
    unsigned char byte = 0;
    while (::read(fd, &byte, 1) == 1)
        write_step(byte);
    errno = saved_errno;
}
}  // namespace

lcd_touch::lcd_touch() {
    lcd_touch_init();
}

lcd_touch* lcd_touch::pInstance() {
    if (!p_lcd_touch)
        p_lcd_touch = new lcd_touch();
    return p_lcd_touch;
}

int lcd_touch::fd() {
    return ecll_fd;
}

void lcd_touch::lcd_touch_init() {
    const QByteArray path = device_path(QStringLiteral("/dev/ec11")).toLocal8Bit();
    // Read only: nothing is ever written to the encoder, and a descriptor
    // open for writing would also be signalled each time it becomes writable.
    ecll_fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK);
    if (ecll_fd < 0)
        return;  // no encoder: no signal is ever asked for
    struct sigaction sa = {};
    sa.sa_handler = fifth_testsignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    sigaction(SIGIO, &sa, nullptr);
    // Owned by this thread, not the whole process: a process-wide signal
    // may run on any thread, and two handlers at once would print the
    // steps out of order.
    struct f_owner_ex owner = {F_OWNER_TID, int(syscall(SYS_gettid))};
    fcntl(ecll_fd, F_SETOWN_EX, &owner);
    fcntl(ecll_fd, F_SETFL, fcntl(ecll_fd, F_GETFL) | O_ASYNC);
}

int lcd_touch::lcd_touch_detect() {
    return -1;
}

void lcd_touch::auto_timeout_back() {
    if (lcd_touch_detect() == 0)
        g_untouched_time = 0;
    else if (g_untouched_time <= 100000)
        ++g_untouched_time;
}

int lcd_touch::initialize() {
    return 0;
}

void* lcd_touch::lcdmanageThread(void* arg) {
    if (!arg)
        return nullptr;
    // Nothing to do but stay: wait without waking up.
    for (;;)
        pause();
}

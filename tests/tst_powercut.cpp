// The atomic save seen from outside the writer: its system calls are
// watched, and a forked child saving in a loop is killed at random moments:
// every file found afterwards must be whole and load.
#include "testsupport.h"

#include "core/devicepath.h"
#include "core/global.h"
#include "core/rynrampara.h"

#include <QDir>
#include <QtTest>

#include <cstdarg>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <mutex>
#include <random>
#include <signal.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <utility>

namespace {
struct Call {
    enum Kind { Fsync, Rename, OpenWrite } kind;
    std::string path, to;
};
std::mutex calls_mutex;
std::vector<Call> calls;
bool watching = false;

void record(Call::Kind kind, std::string path, std::string to = {}) {
    std::lock_guard<std::mutex> lock(calls_mutex);
    if (watching)
        calls.push_back({kind, std::move(path), std::move(to)});
}
void watch(bool on) {
    std::lock_guard<std::mutex> lock(calls_mutex);
    watching = on;
    if (on)
        calls.clear();
}
std::string fd_path(int fd) {
    char target[4096];
    const ssize_t n = ::readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), target, sizeof target - 1);
    return n > 0 ? std::string(target, size_t(n)) : std::string();
}
template <class F> F next(const char* name) { return reinterpret_cast<F>(::dlsym(RTLD_NEXT, name)); }
}  // namespace

// The calls a save may make, recorded while a test watches.
extern "C" {
int fsync(int fd) {
    record(Call::Fsync, fd_path(fd));
    return next<int (*)(int)>("fsync")(fd);
}
int rename(const char* from, const char* to) {
    record(Call::Rename, from, to);
    return next<int (*)(const char*, const char*)>("rename")(from, to);
}
#define FP_OPEN(name)                                                                 \
    int name(const char* path, int flags, ...) {                                     \
        mode_t mode = 0;                                                              \
        if (flags & (O_CREAT | O_TMPFILE)) {                                          \
            va_list ap;                                                               \
            va_start(ap, flags);                                                      \
            mode = mode_t(va_arg(ap, int));                                           \
            va_end(ap);                                                               \
        }                                                                             \
        if (flags & (O_WRONLY | O_RDWR | O_TRUNC))                                    \
            record(Call::OpenWrite, path);                                            \
        return next<int (*)(const char*, int, ...)>(#name)(path, flags, mode);        \
    }
#define FP_FOPEN(name)                                                                \
    FILE* name(const char* path, const char* mode) {                                 \
        if (mode && std::strpbrk(mode, "wa+"))                                        \
            record(Call::OpenWrite, path);                                            \
        return next<FILE* (*)(const char*, const char*)>(#name)(path, mode);          \
    }
FP_OPEN(open)
FP_OPEN(open64)
FP_FOPEN(fopen)
FP_FOPEN(fopen64)
}

namespace {
// What is wrong with the recorded calls as a durable replacement of
// `target`; empty when nothing is.
QString durable_replace_fault(const std::string& target) {
    std::lock_guard<std::mutex> lock(calls_mutex);
    const std::string folder = target.substr(0, target.rfind('/'));
    int rename_at = -1;
    for (size_t i = 0; i < calls.size(); ++i) {
        if (calls[i].kind == Call::OpenWrite && calls[i].path == target)
            return "the target itself was opened for writing";
        if (calls[i].kind == Call::Rename && calls[i].to == target)
            rename_at = int(i);
    }
    if (rename_at < 0)
        return "no rename onto the target";
    const std::string temp = calls[size_t(rename_at)].path;
    if (temp.substr(0, temp.rfind('/')) != folder)
        return "renamed from another folder";
    auto synced = [&](const std::string& path, size_t from, size_t to) {
        for (size_t i = from; i < to; ++i)
            if (calls[i].kind == Call::Fsync && calls[i].path == path)
                return true;
        return false;
    };
    if (!synced(temp, 0, size_t(rename_at)))
        return "the new content was not synced before the rename";
    if (!synced(folder, size_t(rename_at) + 1, calls.size()))
        return "the folder was not synced after the rename";
    return QString();
}

// The child: every persisted byte of save v is v, so a file mixing two
// saves or cut short shows. (The user-mode files share the writer.)
[[noreturn]] void save_loop() {
    g_debugSwitch = 0;
    RynRamPara* p = RynRamPara::pInstance();
    for (unsigned v = 1;; ++v) {
        const uint8_t b = uint8_t(v % 251 + 1);
        std::memset(p->RamParaBlock.data() + blk::PERSIST_BEGIN, b, blk::SIZE - blk::PERSIST_BEGIN);
        p->save_block();
    }
}

// Whole: 4096 bytes, the marker, zeros up to the persisted bytes and one
// save's byte from there on.
QString file_fault(const QByteArray& f) {
    if (f.size() != blk::SIZE)
        return QString("%1 bytes").arg(f.size());
    if (!f.startsWith("\xAA\xAA"))
        return "no marker";
    for (int i = 2; i < f.size(); ++i)
        if (f[i] != (i < blk::PERSIST_BEGIN ? 0 : f[blk::PERSIST_BEGIN]))
            return QString("byte %1 from another save").arg(i);
    return QString();
}
}  // namespace

class TstPowerCut : public QObject {
    Q_OBJECT
private slots:
    void init() { testsupport::fresh_device(); }
    void cleanup() { watch(false); }

    // No fsync of the new content or of the folder after the rename, or the
    // target written over in place: a power cut then loses the file.
    void saveIsDurableReplace() {
        watch(true);
        QVERIFY(RynRamPara::pInstance()->save_block());
        watch(false);
        const QString fault = durable_replace_fault(QDir::cleanPath(device_path("/data/ram_device_info")).toStdString());
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
    }

    // Killed at random moments while saving: each file is the old one or
    // the new one, whole, and the next start loads it.
    void killedWhileSavingLeavesWholeFiles() {
        if (qEnvironmentVariableIsSet("FRONTPANEL_EMULATED"))
            QSKIP("not run under the emulator");
        const int env = qEnvironmentVariableIntValue("FRONTPANEL_POWERCUT_ROUNDS"), rounds = env > 0 ? env : 25;
        const unsigned seed = std::random_device{}();
        std::mt19937 rng(seed);
        RynRamPara* p = RynRamPara::pInstance();
        auto mark_start = [p] { // a value the child never saves
            std::memset(p->RamParaBlock.data() + blk::PERSIST_BEGIN, 0xFE, blk::SIZE - blk::PERSIST_BEGIN);
            return p->save_block();
        };
        QVERIFY(mark_start());
        QSet<int> versions;
        for (int round = 0; round < rounds; ++round) {
            const QString where = QString("seed %1, round %2: ").arg(seed).arg(round);
            struct Child { // killed and reaped on every way out
                pid_t pid = ::fork();
                ~Child() {
                    if (pid > 0 && ::kill(pid, SIGKILL) == 0)
                        ::waitpid(pid, nullptr, 0);
                }
            } child;
            if (child.pid == 0)
                save_loop();
            QVERIFY2(child.pid > 0, qPrintable(where + "no child"));
            QTRY_VERIFY(testsupport::read_file("/data/ram_device_info").mid(blk::PERSIST_BEGIN, 1) != "\xFE");
            std::this_thread::sleep_for(std::chrono::microseconds(rng() % 20000));
            ::kill(child.pid, SIGKILL);
            QVERIFY(::waitpid(std::exchange(child.pid, 0), nullptr, 0) > 0);

            const QByteArray f = testsupport::read_file("/data/ram_device_info");
            const QString fault = file_fault(f);
            QVERIFY2(fault.isEmpty(), qPrintable(where + "parameter file: " + fault));
            versions.insert(uint8_t(f[blk::PERSIST_BEGIN]));
            p->load_files();
            QVERIFY2(std::memcmp(p->RamParaBlock.data() + 770, f.constData() + 770, size_t(blk::SIZE - 770)) == 0,
                     qPrintable(where + "the loaded block differs from the file"));
            QVERIFY(QDir(device_path("/data")).entryList({"*.tmp-*"}).isEmpty()); // leftovers cleared
            QVERIFY(mark_start());
        }
        QVERIFY2(versions.size() > 1, "the child never got to save");
    }
};

QTEST_GUILESS_MAIN(TstPowerCut)
#include "tst_powercut.moc"

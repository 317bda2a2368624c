// The atomic save seen from outside the writer: a child process saving in
// a loop is killed at random moments and every file found afterwards must
// be whole and load; and the system calls of a save are watched, so that a
// save without fsync, without its rename, or written over the target
// itself is caught.
#include "testsupport.h"

#include "core/devicepath.h"
#include "core/global.h"
#include "core/rynrampara.h"
#include "core/utils.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QtTest>

#include <cstdarg>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <mutex>
#include <random>
#include <stdio.h>
#include <thread>
#include <unistd.h>
#include <vector>

// ---- The system calls of a save, recorded while a test watches ----
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
std::string fd_path(int fd) {
    char link[64], target[4096];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t n = ::readlink(link, target, sizeof target - 1);
    return n > 0 ? std::string(target, size_t(n)) : std::string();
}
template <class F> F next(const char* name) {
    return reinterpret_cast<F>(::dlsym(RTLD_NEXT, name));
}
bool writes(int flags) { return (flags & (O_WRONLY | O_RDWR | O_TRUNC)) != 0; }
bool writes(const char* mode) { return mode && std::strpbrk(mode, "wa+"); }
}  // namespace

extern "C" {
int fsync(int fd) {
    record(Call::Fsync, fd_path(fd));
    return next<int (*)(int)>("fsync")(fd);
}
int fdatasync(int fd) {
    record(Call::Fsync, fd_path(fd));
    return next<int (*)(int)>("fdatasync")(fd);
}
int rename(const char* from, const char* to) {
    record(Call::Rename, from, to);
    return next<int (*)(const char*, const char*)>("rename")(from, to);
}
int renameat(int ofd, const char* from, int nfd, const char* to) {
    record(Call::Rename, from, to);
    return next<int (*)(int, const char*, int, const char*)>("renameat")(ofd, from, nfd, to);
}
#define FP_OPEN(name)                                                                      \
    int name(const char* path, int flags, ...) {                                          \
        mode_t mode = 0;                                                                   \
        if (flags & (O_CREAT | O_TMPFILE)) {                                               \
            va_list ap;                                                                    \
            va_start(ap, flags);                                                           \
            mode = mode_t(va_arg(ap, int));                                                \
            va_end(ap);                                                                    \
        }                                                                                  \
        if (writes(flags))                                                                 \
            record(Call::OpenWrite, path);                                                 \
        return next<int (*)(const char*, int, ...)>(#name)(path, flags, mode);             \
    }
FP_OPEN(open)
FP_OPEN(open64)
int creat(const char* path, mode_t mode) {
    record(Call::OpenWrite, path);
    return next<int (*)(const char*, mode_t)>("creat")(path, mode);
}
FILE* fopen(const char* path, const char* mode) {
    if (writes(mode))
        record(Call::OpenWrite, path);
    return next<FILE* (*)(const char*, const char*)>("fopen")(path, mode);
}
FILE* fopen64(const char* path, const char* mode) {
    if (writes(mode))
        record(Call::OpenWrite, path);
    return next<FILE* (*)(const char*, const char*)>("fopen64")(path, mode);
}
}

namespace {
// What is wrong with the recorded calls as a durable replacement of
// `target`; empty when nothing is.
QString durable_replace_fault(const std::string& target) {
    std::lock_guard<std::mutex> lock(calls_mutex);
    const std::string folder = target.substr(0, target.rfind('/'));
    int rename_at = -1;
    for (size_t i = 0; i < calls.size(); ++i) {
        const Call& c = calls[i];
        if (c.kind == Call::OpenWrite && c.path == target)
            return "the target itself was opened for writing";
        if (c.kind == Call::Rename && c.to == target)
            rename_at = int(i);
    }
    if (rename_at < 0)
        return "no rename onto the target";
    const std::string temp = calls[size_t(rename_at)].path;
    if (temp.substr(0, temp.rfind('/')) != folder)
        return "renamed from another folder";
    bool synced = false, folder_synced = false;
    for (int i = 0; i < rename_at; ++i)
        synced = synced || (calls[size_t(i)].kind == Call::Fsync && calls[size_t(i)].path == temp);
    for (size_t i = size_t(rename_at) + 1; i < calls.size(); ++i)
        folder_synced = folder_synced || (calls[i].kind == Call::Fsync && calls[i].path == folder);
    if (!synced)
        return "the new content was not synced before the rename";
    if (!folder_synced)
        return "the folder was not synced after the rename";
    return QString();
}

// Faulty writers, to show that the watch catches them.
void write_all(int fd, const QByteArray& b) {
    QVERIFY(::write(fd, b.constData(), size_t(b.size())) == b.size());
}
void save_without_fsync(const std::string& target, const QByteArray& b) {
    const std::string tmp = target + ".tmp-bad";
    const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    write_all(fd, b);
    ::close(fd);
    ::rename(tmp.c_str(), target.c_str());
    const int dfd = ::open(target.substr(0, target.rfind('/')).c_str(), O_RDONLY | O_DIRECTORY);
    ::fsync(dfd);
    ::close(dfd);
}
void save_over_target(const std::string& target, const QByteArray& b) {
    const int fd = ::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    write_all(fd, b);
    ::fsync(fd);
    ::close(fd);
}
void save_without_folder_sync(const std::string& target, const QByteArray& b) {
    const std::string tmp = target + ".tmp-bad";
    const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    write_all(fd, b);
    ::fsync(fd);
    ::close(fd);
    ::rename(tmp.c_str(), target.c_str());
}

// ---- The child: saves the block and the user modes until killed ----
const char* const CHILD_ENV = "FRONTPANEL_POWERCUT_CHILD";

// Every persisted byte of version v is v, so a file mixing two saves or
// cut short shows.
[[noreturn]] void save_loop() {
    g_debugSwitch = 0;
    RynRamPara* p = RynRamPara::pInstance();
    for (unsigned v = 1;; ++v) {
        const uint8_t b = uint8_t(v % 251 + 1);
        std::memset(p->RamParaBlock.data() + blk::PERSIST_BEGIN, b, blk::SIZE - blk::PERSIST_BEGIN);
        p->save_block();
        UserModeSlot& slot = p->UserModes[v % USER_MODE_COUNT];
        slot.bytes.fill(b);
        slot.bytes[0] = slot.bytes[1] = 0xAA;
        p->save_mode(int(v % USER_MODE_COUNT));
    }
}

QByteArray read_file(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
// Whole: the marker, zeros below the persisted part, one version above.
QString block_file_fault(const QByteArray& f) {
    if (f.size() != blk::SIZE)
        return QString("%1 bytes").arg(f.size());
    if (uint8_t(f[0]) != 0xAA || uint8_t(f[1]) != 0xAA)
        return "no marker";
    for (int i = 2; i < blk::PERSIST_BEGIN; ++i)
        if (f[i] != 0)
            return QString("byte %1 not zero").arg(i);
    for (int i = blk::PERSIST_BEGIN; i < blk::SIZE; ++i)
        if (f[i] != f[blk::PERSIST_BEGIN])
            return QString("byte %1 from another save").arg(i);
    return QString();
}
QString mode_file_fault(const QByteArray& f) {
    if (f.size() != USER_MODE_RECORD)
        return QString("%1 bytes").arg(f.size());
    const uint8_t m = uint8_t(f[0]);
    if (!((m == 0xAA || m == 0xFF) && uint8_t(f[1]) == m))
        return "no marker";
    for (int i = 2; i < f.size(); ++i)
        if (f[i] != f[2])
            return QString("byte %1 from another save").arg(i);
    return QString();
}
}  // namespace

class TstPowerCut : public QObject {
    Q_OBJECT
private slots:
    void init() { testsupport::fresh_device(); }
    void cleanup() {
        std::lock_guard<std::mutex> lock(calls_mutex);
        watching = false;
        calls.clear();
    }

    void saveIsDurableReplace_data() {
        QTest::addColumn<int>("writer");
        QTest::addColumn<QString>("fault");
        QTest::newRow("parameter file") << 0 << "";
        QTest::newRow("user-mode file") << 1 << "";
        QTest::newRow("caught: no fsync") << 2 << "the new content was not synced before the rename";
        QTest::newRow("caught: written over the target") << 3 << "the target itself was opened for writing";
        QTest::newRow("caught: rename not synced") << 4 << "the folder was not synced after the rename";
    }
    void saveIsDurableReplace() {
        QFETCH(int, writer);
        QFETCH(QString, fault);
        RynRamPara* p = RynRamPara::pInstance();
        const std::string target = QDir::cleanPath(device_path(writer == 1 ? "/data/modes/custom_mode3"
                                                                         : "/data/ram_device_info"))
                                       .toStdString();
        const QByteArray bytes(blk::SIZE, 'x');
        {
            std::lock_guard<std::mutex> lock(calls_mutex);
            watching = true;
        }
        switch (writer) {
        case 0: QVERIFY(p->save_block()); break;
        case 1: QVERIFY(p->save_mode(2)); break;
        case 2: save_without_fsync(target, bytes); break;
        case 3: save_over_target(target, bytes); break;
        case 4: save_without_folder_sync(target, bytes); break;
        }
        {
            std::lock_guard<std::mutex> lock(calls_mutex);
            watching = false;
        }
        QCOMPARE(durable_replace_fault(target), fault);
    }

    // Killed at random moments while saving: each file is the old one or
    // the new one, whole, and the next start loads it.
    void killedWhileSavingLeavesWholeFiles() {
        const int rounds = qEnvironmentVariableIntValue("FRONTPANEL_POWERCUT_ROUNDS") > 0
                               ? qEnvironmentVariableIntValue("FRONTPANEL_POWERCUT_ROUNDS")
                               : 25;
        const unsigned seed = std::random_device{}();
        std::mt19937 rng(seed);
        RynRamPara* p = RynRamPara::pInstance();
        // Each child starts from a value it never saves.
        auto mark_start = [p] {
            std::memset(p->RamParaBlock.data() + blk::PERSIST_BEGIN, 0xFE,
                        blk::SIZE - blk::PERSIST_BEGIN);
            return p->save_block();
        };
        QVERIFY(mark_start());
        QSet<int> versions;
        for (int round = 0; round < rounds; ++round) {
            const QString where = QString("seed %1, round %2: ").arg(seed).arg(round);
            QProcess child;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(CHILD_ENV, "1");
            child.setProcessEnvironment(env);
            child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            child.start(QCoreApplication::applicationFilePath(), QStringList());
            QVERIFY2(child.waitForStarted(), qPrintable(where + child.errorString()));
            // Saving starts once the child has loaded the files.
            const QString block = device_path("/data/ram_device_info");
            QTRY_VERIFY(uint8_t(read_file(block).mid(blk::PERSIST_BEGIN, 1).append('\xFE')[0]) !=
                        0xFE);
            std::this_thread::sleep_for(std::chrono::microseconds(rng() % 20000));
            child.kill();
            QVERIFY(child.waitForFinished());

            const QByteArray f = read_file(block);
            const QString fault = block_file_fault(f);
            QVERIFY2(fault.isEmpty(), qPrintable(where + "parameter file: " + fault));
            versions.insert(uint8_t(f[blk::PERSIST_BEGIN]));
            for (int i = 0; i < USER_MODE_COUNT; ++i) {
                const QString mf = QString("/data/modes/custom_mode%1").arg(i + 1);
                const QString mfault = mode_file_fault(read_file(device_path(mf)));
                QVERIFY2(mfault.isEmpty(), qPrintable(where + mf + ": " + mfault));
            }
            p->load_files();
            QVERIFY2(std::memcmp(p->RamParaBlock.data() + 770, f.constData() + 770,
                                 size_t(blk::SIZE - 770)) == 0,
                     qPrintable(where + "the loaded block differs from the file"));
            QVERIFY(QDir(device_path("/data")).entryList({"*.tmp-*"}).isEmpty());
            QVERIFY(mark_start());
        }
        QVERIFY2(versions.size() > 1, "the child never got to save");
    }
};

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsSet(CHILD_ENV))
        save_loop();
    QCoreApplication app(argc, argv);
    TstPowerCut test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_powercut.moc"

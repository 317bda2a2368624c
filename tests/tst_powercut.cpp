// The atomic save seen from outside the writer: its system calls are
// watched, and a forked child saving in a loop is killed at random moments:
// every file found afterwards must be whole and load.
#include "testsupport.h"

#include "core/devicepath.h"
#include "core/global.h"
#include "core/rynrampara.h"

#include <QDir>
#include <QtTest>

#include <cstring>
#include <dlfcn.h>
#include <mutex>
#include <random>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

namespace {
using Call = std::pair<std::string, std::string>; // fsync: {path, ""}; rename: {from, to}
std::mutex calls_mutex; // saves may come from any thread
std::vector<Call> calls;

void record(std::string path, std::string to = {}) {
    std::lock_guard<std::mutex> lock(calls_mutex);
    calls.emplace_back(std::move(path), std::move(to));
}

// What is wrong with the recorded calls as a durable replacement of
// `target`; empty when nothing is.
QString durable_replace_fault(const std::string& target) {
    std::lock_guard<std::mutex> lock(calls_mutex);
    auto at = std::find_if(calls.begin(), calls.end(), [&](const Call& c) { return c.second == target; });
    if (at == calls.end())
        return "no rename onto the target"; // written over in place
    auto synced = [](const std::string& path, auto from, auto to) {
        return std::any_of(from, to, [&](const Call& c) { return c == Call(path, {}); });
    };
    if (!synced(at->first, calls.begin(), at))
        return "the new content was not synced before the rename";
    if (!synced(target.substr(0, target.rfind('/')), at + 1, calls.end()))
        return "the folder was not synced after the rename";
    return QString();
}

// The child: every persisted byte of save v is v, so a file mixing two
// saves or cut short shows.
[[noreturn]] void save_loop() {
    g_debugSwitch = 0;
    RynRamPara* p = RynRamPara::pInstance();
    for (unsigned v = 1;; ++v) {
        std::memset(p->RamParaBlock.data() + blk::PERSIST_BEGIN, v % 251 + 1, blk::SIZE - blk::PERSIST_BEGIN);
        p->save_block();
    }
}

// Whole: 4096 bytes, the marker, zeros up to the persisted bytes and one
// save's byte from there on.
QString file_fault(const QByteArray& f) {
    if (f.size() != blk::SIZE || !f.startsWith("\xAA\xAA"))
        return QString("%1 bytes, marker %2").arg(f.size()).arg(QString(f.left(2).toHex()));
    for (int i = 2; i < f.size(); ++i)
        if (f[i] != (i < blk::PERSIST_BEGIN ? 0 : f[blk::PERSIST_BEGIN]))
            return QString("byte %1 from another save").arg(i);
    return QString();
}
}  // namespace

// The calls a save makes, recorded.
extern "C" {
int fsync(int fd) {
    record(QFile::symLinkTarget(QString("/proc/self/fd/%1").arg(fd)).toStdString());
    return reinterpret_cast<int (*)(int)>(::dlsym(RTLD_NEXT, "fsync"))(fd);
}
int rename(const char* from, const char* to) {
    record(from, to);
    return reinterpret_cast<int (*)(const char*, const char*)>(::dlsym(RTLD_NEXT, "rename"))(from, to);
}
}

class TstPowerCut : public QObject {
    Q_OBJECT
private slots:
    void init() {
        testsupport::fresh_device();
        std::lock_guard<std::mutex> lock(calls_mutex);
        calls.clear();
    }

    // No fsync of the new content or of the folder after the rename, or the
    // target written over in place: a power cut then loses the file.
    void saveIsDurableReplace() {
        QVERIFY(RynRamPara::pInstance()->save_block());
        const QString fault = durable_replace_fault(QDir::cleanPath(device_path("/data/ram_device_info")).toStdString());
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
    }

    // Killed at random moments while saving: each file is one save, whole,
    // and the next start loads it.
    void killedWhileSavingLeavesWholeFiles() {
        if (qEnvironmentVariableIsSet("FRONTPANEL_EMULATED"))
            QSKIP("not run under the emulator");
        const int env = qEnvironmentVariableIntValue("FRONTPANEL_POWERCUT_ROUNDS"), rounds = env > 0 ? env : 25;
        const unsigned seed = std::random_device{}();
        std::mt19937 rng(seed);
        RynRamPara* p = RynRamPara::pInstance();
        for (int round = 0; round < rounds; ++round) {
            const QString where = QString("seed %1, round %2: ").arg(seed).arg(round);
            std::memset(p->RamParaBlock.data() + blk::PERSIST_BEGIN, 0xFE, blk::SIZE - blk::PERSIST_BEGIN);
            QVERIFY(p->save_block()); // a value the child never saves
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
            ::usleep(rng() % 20000);
            ::kill(child.pid, SIGKILL);
            QVERIFY(::waitpid(std::exchange(child.pid, 0), nullptr, 0) > 0);

            const QByteArray f = testsupport::read_file("/data/ram_device_info");
            const QString fault = file_fault(f);
            QVERIFY2(fault.isEmpty(), qPrintable(where + "parameter file: " + fault));
            p->load_files();
            QVERIFY2(std::memcmp(p->RamParaBlock.data() + 770, f.constData() + 770, size_t(blk::SIZE - 770)) == 0,
                     qPrintable(where + "the loaded block differs from the file"));
            QVERIFY(QDir(device_path("/data")).entryList({"*.tmp-*"}).isEmpty()); // leftovers cleared
        }
    }
};

QTEST_GUILESS_MAIN(TstPowerCut)
#include "tst_powercut.moc"

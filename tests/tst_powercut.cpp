// The atomic saves of the parameter block and of the settings seen from
// outside the writer: their system calls are watched, and a forked child
// saving in a loop is killed at random moments: every file found afterwards
// must be whole and load.
#include "testsupport.h"

#include "core/config_engine.h"
#include "core/devicepath.h"
#include "core/global.h"
#include "core/rynrampara.h"

#include <QDir>
#include <QRegularExpression>
#include <QtTest>

#include <cstring>
#include <dlfcn.h>
#include <mutex>
#include <random>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
// fsync: {path, ""}; rename: {from, to}. Saves may come from any thread.
using Call = std::pair<std::string, std::string>;
std::mutex calls_mutex;
std::vector<Call> calls;
void record(std::string path, std::string to = {}) {
    std::lock_guard<std::mutex> lock(calls_mutex);
    calls.emplace_back(std::move(path), std::move(to));
}

// What is wrong with the recorded calls as a durable replacement of
// `target`: the new content synced, renamed over it, then the folder synced.
QString durable_replace_fault(const std::string& target) {
    std::lock_guard<std::mutex> lock(calls_mutex);
    auto at = std::find_if(calls.begin(), calls.end(), [&](const Call& c) { return c.second == target; });
    if (at == calls.end())
        return "no rename onto the target";  // written over in place
    if (std::find(calls.begin(), at, Call(at->first, {})) == at)
        return "the new content was not synced before the rename";
    if (std::find(at, calls.end(), Call(target.substr(0, target.rfind('/')), {})) == calls.end())
        return "the folder was not synced after the rename";
    return QString();
}

// Save v (0 the parent's own) writes v into every persisted byte of the
// block, or v b's as the barcode. `check` says what is wrong with the file
// found after a kill: not one whole save, or not what the next start loads.
struct Saved {
    QString file;
    void (*save)(unsigned v);
    QString (*check)(const QByteArray& f);
};
RynRamPara* P() {
    return RynRamPara::pInstance();
}
const Saved kBlock{
    "/data/ram_device_info",
    [](unsigned v) {
        std::memset(P()->RamParaBlock.data() + blk::PERSIST_BEGIN, v ? v % 251 + 1 : 0xFE,
                    blk::SIZE - blk::PERSIST_BEGIN);
        P()->save_block();
    },
    [](const QByteArray& f) {
        const QByteArray whole =
            "\xAA\xAA" + QByteArray(blk::PERSIST_BEGIN - 2, 0) +
            QByteArray(blk::SIZE - blk::PERSIST_BEGIN, f.size() > blk::PERSIST_BEGIN ? f[blk::PERSIST_BEGIN] : '\0');
        if (f != whole)
            return QString("not one whole save: %1 bytes, marker %2").arg(f.size()).arg(QString(f.left(2).toHex()));
        P()->load_files();
        return std::memcmp(P()->RamParaBlock.data() + 770, f.constData() + 770, size_t(blk::SIZE - 770))
                   ? "loaded otherwise"
                   : QString();
    }};
const Saved kSettings{
    "/data/configs/tcpip.ini",
    [](unsigned v) { ConfigEngine::pInstance()->setValue("barcode", v ? QString(int(v % 50 + 1), 'b') : "none"); },
    [](const QByteArray& f) {
        const auto barcode = QRegularExpression("\nbarcode=(b+|none)\n").match(f);
        if (!barcode.hasMatch())
            return "not one whole save: " + QString(f);
        ConfigEngine::pInstance()->load();
        return g_str_barcode != barcode.captured(1) ? "loaded otherwise" : QString();
    }};
}  // namespace
Q_DECLARE_METATYPE(Saved)

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
    void initTestCase_data() { testsupport::rows<Saved>({{"parameter file", kBlock}, {"settings file", kSettings}}); }

    // Written over in place, or without the syncs, a power cut loses it.
    void saveIsDurableReplace() {
        QFETCH_GLOBAL(Saved, row);
        row.save(1);
        const QString fault = durable_replace_fault(QDir::cleanPath(device_path(row.file)).toStdString());
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
    }

    // Each file is one save, whole; the next start loads it and clears
    // what the kill left behind.
    void killedWhileSavingLeavesWholeFiles() {
        if (qEnvironmentVariableIsSet("FRONTPANEL_EMULATED"))
            QSKIP("not run under the emulator");
        QFETCH_GLOBAL(Saved, row);
        const int env = qEnvironmentVariableIntValue("FRONTPANEL_POWERCUT_ROUNDS"), rounds = env > 0 ? env : 25;
        const unsigned seed = std::random_device{}();
        std::mt19937 rng(seed);
        for (int round = 0; round < rounds; ++round) {
            const QString where = QString("seed %1, round %2: ").arg(seed).arg(round);
            row.save(0);
            const QByteArray before = testsupport::read_file(row.file);
            struct Child {  // killed and reaped on every way out
                pid_t pid = ::fork();
                ~Child() { pid > 0 && ::kill(pid, SIGKILL) == 0 && ::waitpid(pid, nullptr, 0); }
            } child;
            for (unsigned v = 1; child.pid == 0; ++v)
                g_debugSwitch = 0, row.save(v);
            QTRY_VERIFY(testsupport::read_file(row.file) != before);
            ::usleep(rng() % 20000);
            ::kill(child.pid, SIGKILL);
            QVERIFY(::waitpid(std::exchange(child.pid, 0), nullptr, 0) > 0);
            const QString fault = row.check(testsupport::read_file(row.file));
            QVERIFY2(fault.isEmpty(), qPrintable(where + row.file + ": " + fault));
            QVERIFY(QDir(QFileInfo(device_path(row.file)).path()).entryList({"*.tmp-*"}).isEmpty());
        }
    }
};

QTEST_GUILESS_MAIN(TstPowerCut)
#include "tst_powercut.moc"

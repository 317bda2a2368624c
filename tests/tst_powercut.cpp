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

// The files saved as a whole: save v (0 the parent's own, never the
// child's) writes v into every persisted byte of the block, or the barcode
// "b" repeated into the settings. `check` says what is wrong with the file
// found after a kill, and whether the next start loads it.
struct Saved {
    QString file;
    void (*save)(unsigned v);
    QString (*check)(const QByteArray& f);
};

// Whole: 4096 bytes, the marker, zeros up to the persisted bytes and one
// save's byte from there on, and the block loaded from it.
const Saved kBlock{"/data/ram_device_info",
    [](unsigned v) {
        std::memset(RynRamPara::pInstance()->RamParaBlock.data() + blk::PERSIST_BEGIN, v ? v % 251 + 1 : 0xFE,
                    blk::SIZE - blk::PERSIST_BEGIN);
        RynRamPara::pInstance()->save_block();
    },
    [](const QByteArray& f) {
        if (f.size() != blk::SIZE || f != "\xAA\xAA" + QByteArray(blk::PERSIST_BEGIN - 2, 0) + QByteArray(blk::SIZE - blk::PERSIST_BEGIN, f[blk::PERSIST_BEGIN]))
            return QString("not one whole save: %1 bytes, marker %2").arg(f.size()).arg(QString(f.left(2).toHex()));
        RynRamPara::pInstance()->load_files();
        return std::memcmp(RynRamPara::pInstance()->RamParaBlock.data() + 770, f.constData() + 770, size_t(blk::SIZE - 770))
                   ? "the loaded block differs from the file" : QString();
    }};
// Whole: the barcode of one save, which the next start reads.
const Saved kSettings{"/data/configs/tcpip.ini",
    [](unsigned v) { ConfigEngine::pInstance()->setValue("barcode", v ? QString(int(v % 50 + 1), 'b') : "none"); },
    [](const QByteArray& f) {
        const auto barcode = QRegularExpression("\nbarcode=(b+|none)\n").match(f);
        if (barcode.hasMatch())
            ConfigEngine::pInstance()->load();
        return !barcode.hasMatch() ? "not one whole save: " + QString(f)
               : g_str_barcode != barcode.captured(1) ? "the loaded barcode differs from the file" : QString();
    }};
}  // namespace
Q_DECLARE_METATYPE(Saved)

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

    void initTestCase_data() {
        QTest::addColumn<Saved>("saved");
        QTest::newRow("parameter file") << kBlock;
        QTest::newRow("settings file") << kSettings;
    }

    // No fsync of the new content or of the folder after the rename, or the
    // target written over in place: a power cut then loses the file.
    void saveIsDurableReplace() {
        QFETCH_GLOBAL(Saved, saved);
        saved.save(1);
        const QString fault = durable_replace_fault(QDir::cleanPath(device_path(saved.file)).toStdString());
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
    }

    // Killed at random moments while saving: each file is one save, whole,
    // and the next start loads it and clears what the kill left behind.
    void killedWhileSavingLeavesWholeFiles() {
        if (qEnvironmentVariableIsSet("FRONTPANEL_EMULATED"))
            QSKIP("not run under the emulator");
        QFETCH_GLOBAL(Saved, saved);
        const int env = qEnvironmentVariableIntValue("FRONTPANEL_POWERCUT_ROUNDS"), rounds = env > 0 ? env : 25;
        const unsigned seed = std::random_device{}();
        std::mt19937 rng(seed);
        for (int round = 0; round < rounds; ++round) {
            const QString where = QString("seed %1, round %2: ").arg(seed).arg(round);
            saved.save(0);
            const QByteArray before = testsupport::read_file(saved.file);
            struct Child { // killed and reaped on every way out
                pid_t pid = ::fork();
                ~Child() {
                    if (pid > 0 && ::kill(pid, SIGKILL) == 0)
                        ::waitpid(pid, nullptr, 0);
                }
            } child;
            if (child.pid == 0)
                for (unsigned v = 1;; ++v)
                    g_debugSwitch = 0, saved.save(v);
            QVERIFY2(child.pid > 0, qPrintable(where + "no child"));
            QTRY_VERIFY(testsupport::read_file(saved.file) != before);
            ::usleep(rng() % 20000);
            ::kill(child.pid, SIGKILL);
            QVERIFY(::waitpid(std::exchange(child.pid, 0), nullptr, 0) > 0);
            const QString fault = saved.check(testsupport::read_file(saved.file));
            QVERIFY2(fault.isEmpty(), qPrintable(where + saved.file + ": " + fault));
            QVERIFY(QDir(QFileInfo(device_path(saved.file)).path()).entryList({"*.tmp-*"}).isEmpty());
        }
    }
};

QTEST_GUILESS_MAIN(TstPowerCut)
#include "tst_powercut.moc"

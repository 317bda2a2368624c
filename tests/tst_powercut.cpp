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

const QString kBlock = "/data/ram_device_info", kSettings = "/data/configs/tcpip.ini";

// Save v of a file (0 the parent's own, never the child's): v in every
// persisted byte of the block, or the barcode "b" repeated in the settings.
void save(const QString& file, unsigned v) {
    if (file == kSettings)
        return ConfigEngine::pInstance()->setValue("barcode", v ? QString(int(v % 50 + 1), 'b') : "none");
    std::memset(RynRamPara::pInstance()->RamParaBlock.data() + blk::PERSIST_BEGIN, v ? v % 251 + 1 : 0xFE,
                blk::SIZE - blk::PERSIST_BEGIN);
    RynRamPara::pInstance()->save_block();
}

// What is wrong with a file found after a kill: not one whole save (the
// block: 4096 bytes, the marker, zeros up to the persisted bytes and one
// save's byte from there on), or not what the next start loads.
QString fault(const QString& file, const QByteArray& f) {
    const auto barcode = QRegularExpression("\nbarcode=(b+|none)\n").match(f);
    const QByteArray whole_block = "\xAA\xAA" + QByteArray(blk::PERSIST_BEGIN - 2, 0) +
                                   QByteArray(blk::SIZE - blk::PERSIST_BEGIN, f.size() > blk::PERSIST_BEGIN ? f[blk::PERSIST_BEGIN] : 0);
    if (file == kSettings ? !barcode.hasMatch() : f != whole_block)
        return QString("not one whole save: %1 bytes, %2").arg(f.size()).arg(QString(f.left(32).toHex()));
    ConfigEngine::pInstance()->load(), RynRamPara::pInstance()->load_files();
    const uint8_t* block = RynRamPara::pInstance()->RamParaBlock.data();
    const bool same = file == kSettings ? g_str_barcode == barcode.captured(1) : !std::memcmp(block + 770, f.constData() + 770, blk::SIZE - 770);
    return same ? QString() : "the next start loads something else";
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

    void initTestCase_data() {
        QTest::addColumn<QString>("file");
        QTest::newRow("parameter file") << kBlock;
        QTest::newRow("settings file") << kSettings;
    }

    // No fsync of the new content or of the folder after the rename, or the
    // target written over in place: a power cut then loses the file.
    void saveIsDurableReplace() {
        QFETCH_GLOBAL(QString, file);
        save(file, 1);
        const QString fault = durable_replace_fault(QDir::cleanPath(device_path(file)).toStdString());
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
    }

    // Killed at random moments while saving: each file is one save, whole,
    // and the next start loads it and clears what the kill left behind.
    void killedWhileSavingLeavesWholeFiles() {
        if (qEnvironmentVariableIsSet("FRONTPANEL_EMULATED"))
            QSKIP("not run under the emulator");
        QFETCH_GLOBAL(QString, file);
        const int env = qEnvironmentVariableIntValue("FRONTPANEL_POWERCUT_ROUNDS"), rounds = env > 0 ? env : 25;
        const unsigned seed = std::random_device{}();
        std::mt19937 rng(seed);
        for (int round = 0; round < rounds; ++round) {
            const QString where = QString("seed %1, round %2: ").arg(seed).arg(round);
            save(file, 0);
            const QByteArray before = testsupport::read_file(file);
            struct Child { // killed and reaped on every way out
                pid_t pid = ::fork();
                ~Child() {
                    if (pid > 0 && ::kill(pid, SIGKILL) == 0)
                        ::waitpid(pid, nullptr, 0);
                }
            } child;
            if (child.pid == 0)
                for (unsigned v = 1;; ++v)
                    g_debugSwitch = 0, save(file, v);
            QVERIFY2(child.pid > 0, qPrintable(where + "no child"));
            QTRY_VERIFY(testsupport::read_file(file) != before);
            ::usleep(rng() % 20000);
            ::kill(child.pid, SIGKILL);
            QVERIFY(::waitpid(std::exchange(child.pid, 0), nullptr, 0) > 0);
            const QString wrong = fault(file, testsupport::read_file(file));
            QVERIFY2(wrong.isEmpty(), qPrintable(where + file + ": " + wrong));
            QVERIFY(QDir(QFileInfo(device_path(file)).path()).entryList({"*.tmp-*"}).isEmpty());
        }
    }
};

QTEST_GUILESS_MAIN(TstPowerCut)
#include "tst_powercut.moc"

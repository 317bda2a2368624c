#include "testsupport.h"

#include "core/devicepath.h"
#include "core/utils.h"
#include "ui/frame/tip.h"

#include <QTemporaryDir>
#include <cstdio>
#include <sys/wait.h>
#include <unistd.h>

namespace testsupport {
namespace {
std::unique_ptr<QTemporaryDir> g_dir;

// The one folder a test program may touch, made before main() so that even
// a page built before the first init() finds FRONTPANEL_ROOT set; a device
// path or a core write outside it ends the program. Removed at exit by the
// process that made it only (not by a forked child). A copy of the test
// started to be killed mid-save inherits it in FRONTPANEL_TEST_FOLDER.
constexpr const char* kFolderVariable = "FRONTPANEL_TEST_FOLDER";

struct TestFolder {
    TestFolder() {
        const QString inherited = QString::fromLocal8Bit(qgetenv(kFolderVariable));
        if (!inherited.isEmpty() && QDir(inherited).exists()) {
            path = inherited;
            return;
        }
        QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/frontpanel-test-XXXXXX"));
        dir.setAutoRemove(false);
        if (dir.isValid()) {
            path = dir.path();
            owner = ::getpid();
        }
    }
    ~TestFolder() {
        if (owner && ::getpid() == owner)
            QDir(path).removeRecursively();
    }
    QString path;
    pid_t owner = 0;
};
TestFolder& test_folder() {
    static TestFolder folder;
    return folder;
}
const bool confined = [] {
    const TestFolder& folder = test_folder();
    if (folder.path.isEmpty()) {
        std::fprintf(stderr, "testsupport: cannot make a temporary folder: refusing to run\n");
        std::exit(2);
    }
    const QString root = QString::fromLocal8Bit(qgetenv("FRONTPANEL_ROOT"));
    if (folder.owner || !root.startsWith(folder.path + QLatin1Char('/')))
        qputenv("FRONTPANEL_ROOT", (folder.path + QStringLiteral("/device")).toUtf8());
    qputenv(kFolderVariable, folder.path.toUtf8());
    device_paths_confine(folder.path);
    session_bus_off();
    return true;
}();
}  // namespace

void set_input(int s, int width, int height, int rate) {
    RynRamPara* p = RynRamPara::pInstance();
    p->set_u16(blk::input_info(s), uint16_t(width));
    p->set_u16(blk::input_info(s) + 2, uint16_t(height));
    p->RamParaBlock[size_t(blk::input_info(s) + 4)] = uint8_t(rate);
}

QString test_root() {
    return test_folder().path;
}

void fresh_device() {
    g_dir = std::make_unique<QTemporaryDir>(test_root() + QStringLiteral("/device-XXXXXX"));
    if (!g_dir->isValid())
        qFatal("testsupport: cannot make a device folder under %s", qPrintable(test_root()));
    g_dir->setAutoRemove(false);  // goes with the test folder, by its owner only
    qputenv("FRONTPANEL_ROOT", g_dir->path().toUtf8());
    g_language = LANG_ENGLISH, g_lcd_lang_valid = LCD_LANG_VALID_ALL, g_page_focus = PAGE_LOCKWINDOW;
    g_image_current = g_mode_shortcut_key = g_mode_select = g_tip_flag = 0;
    g_update_flag = g_app_reset_flag = pc_cmd_valid = 0;
    G_timeTicks = G_factoryage_ticks = 0;
    // The simulated threads may run (they read the block under these
    // locks): the block is replaced as a writer would replace it.
    RynRamPara* p = RynRamPara::pInstance();
    c331_manage* m = c331_manage::pInstance();
    MutexLocker lock(&m->para_mutex);
    MutexLocker model(&p->mutex);
    p->load_files();
    m->para_update_flag = 0;
}

QString data_root() {
    return g_dir ? g_dir->path() : QString();
}

QWidget* front_page() {
    RynPage* p = pages::at(g_page_focus);
    return p ? p->page_widget() : nullptr;
}

void key(int k, QWidget* to) {
    QWidget* w = to ? to : front_page();
    if (!w)
        return;
    const QString text = (k >= 'A' && k <= 'Z') ? QString(QChar(k)) : QString();
    QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier, text);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, k, Qt::NoModifier, text);
    QApplication::sendEvent(w, &release);
}

void post(std::function<void()> fn) {
    QTimer::singleShot(0, std::move(fn));
}

namespace {
// One tick of the notice in front, if any: `shown` gets its kind on its
// first tick.
void notice_tick(const std::function<void(int)>& shown) {
    if (g_tip_flag && g_tip) {
        if (g_tip->tick_count() == 0 && shown)
            shown(g_tip->shown_kind());
        g_tip->tip_outtime_deal();
    }
}
}  // namespace

void run_fast_ticks(QObject* owner, std::function<void(int)> shown) {
    auto* tick = new QTimer(owner);
    QObject::connect(tick, &QTimer::timeout, [shown = std::move(shown)] {
        ++G_timeTicks;
        notice_tick(shown);
    });
    tick->start(0);
}

bool run_nested(const std::vector<std::function<void()>>& steps, int front, const std::function<void()>& body) {
    bool ran = false, finished = false;
    std::function<void(size_t)> go = [&](size_t i) {
        if (i == steps.size()) {
            ran = g_page_focus == front;
            if (ran)
                body();
            close_all_pages();
            finished = true;
            return;
        }
        post([&go, i] { go(i + 1); });
        steps[i]();
    };
    go(0);
    // A step that opened nothing leaves the rest queued: run it here.
    QElapsedTimer t;
    t.start();
    while (!finished && t.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return ran;
}

namespace {
QColor drawn_at(QWidget* w, int x, int y) {
    const QImage drawn = w ? w->grab().toImage() : QImage();
    return drawn.valid(x, y) ? QColor(drawn.pixel(x, y)) : QColor();
}
}  // namespace

QColor fill_colour(QWidget* w) {
    return drawn_at(w, w ? w->width() / 2 : 0, 3);
}
bool looks_focused(QWidget* w) {
    return drawn_at(w, 0, w ? w->height() / 2 : 0) == QColor(255, 171, 84);
}

bool close_all_pages() {
    bool none = true;
    for (int id = PAGE_COUNT - 1; id >= 0; --id) {
        if (id == PAGE_MAINWINDOW)
            continue;
        if (RynPage* p = pages::at(id)) {
            none = false;
            QWidget* w = p->page_widget();
            w->setAttribute(Qt::WA_DeleteOnClose);
            w->close();
            pages::clear(id);
        }
    }
    g_page_focus = PAGE_MAINWINDOW;
    return none;
}

QByteArray run_forked(const std::function<void()>& fn, bool with_stderr, int* status) {
    int fd[2];
    if (::pipe(fd) != 0)
        return QByteArray();
    std::fflush(stdout);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(fd[1], STDOUT_FILENO);
        if (with_stderr)
            ::dup2(fd[1], STDERR_FILENO);
        fn();
        ::_exit(3);
    }
    ::close(fd[1]);
    QByteArray out;
    char buf[256];
    for (ssize_t n; (n = ::read(fd[0], buf, sizeof buf)) > 0;)
        out.append(buf, int(n));
    ::close(fd[0]);
    ::waitpid(pid, status, 0);
    return out;
}

NoticeDriver::NoticeDriver() {
    QObject::connect(&timer, &QTimer::timeout, [this] { notice_tick([this](int k) { kinds.push_back(k); }); });
    timer.start(0);
}

QByteArray read_file(const QString& device) {
    QFile f(device_path(device));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool write_file(const QString& device, const QByteArray& bytes) {
    QFile f(device_path(device));
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

void int_rows(std::initializer_list<std::pair<const char*, QVector<int>>> rows) {
    QTest::addColumn<QVector<int>>("r");
    for (const auto& row : rows)
        QTest::newRow(row.first) << row.second;
}

QByteArray capture_stdout(const std::function<void()>& fn) {
    std::fflush(stdout);
    FILE* sink = std::tmpfile();
    const int saved = ::dup(STDOUT_FILENO);
    if (!sink || saved < 0) {
        fn();
        return QByteArray();
    }
    ::dup2(::fileno(sink), STDOUT_FILENO);
    fn();
    std::fflush(stdout);
    ::dup2(saved, STDOUT_FILENO);
    ::close(saved);
    std::rewind(sink);
    QFile f;
    const QByteArray text = f.open(sink, QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    f.close();
    std::fclose(sink);
    return text;
}
}  // namespace testsupport

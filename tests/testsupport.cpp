#include "testsupport.h"

#include "core/global.h"
#include "core/rynrampara.h"
#include "core/utils.h"
#include "scaler/c331_manage.h"
#include "ui/frame/pageframe.h"
#include "ui/frame/tip.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <unistd.h>

namespace testsupport {
namespace {
std::unique_ptr<QTemporaryDir> g_dir;
}

void fresh_device() {
    g_dir = std::make_unique<QTemporaryDir>();
    qputenv("FRONTPANEL_ROOT", g_dir->path().toUtf8());
    g_language = LANG_ENGLISH;
    g_lcd_lang_valid = LCD_LANG_VALID_ALL;
    g_page_focus = PAGE_LOCKWINDOW;
    g_image_current = 0;
    g_mode_shortcut_key = 0;
    g_mode_select = 0;
    g_tip_flag = 0;
    g_update_flag = 0;
    g_app_reset_flag = 0;
    pc_cmd_valid = 0;
    G_timeTicks = 0;
    G_factoryage_ticks = 0;
    // The simulated threads may run (they read the block under these
    // locks): the block is replaced as a writer would replace it.
    RynRamPara* p = RynRamPara::pInstance();
    c331_manage* m = c331_manage::pInstance();
    MutexLocker lock(&m->para_mutex);
    MutexLocker model(&p->mutex);
    p->load_files();
    m->para_update_flag = 0;
}

QString data_root() { return g_dir ? g_dir->path() : QString(); }

QWidget* front_page() {
    RynPage* p = pages::at(g_page_focus);
    return p ? p->page_widget() : nullptr;
}

void key(int k) {
    QWidget* w = front_page();
    if (!w)
        return;
    const QString text = (k >= 'A' && k <= 'Z') ? QString(QChar(k)) : QString();
    QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier, text);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, k, Qt::NoModifier, text);
    QApplication::sendEvent(w, &release);
}

void post_key(int k) {
    QTimer::singleShot(0, [k] { key(k); });
}

void post(std::function<void()> fn) { QTimer::singleShot(0, std::move(fn)); }

void run_fast_ticks(QObject* owner, std::function<void(int)> shown) {
    auto* tick = new QTimer(owner);
    QObject::connect(tick, &QTimer::timeout, [shown = std::move(shown)] {
        ++G_timeTicks;
        if (g_tip_flag && g_tip) {
            if (g_tip->tick_count() == 0 && shown)
                shown(g_tip->shown_kind());
            g_tip->tip_outtime_deal();
        }
    });
    tick->start(0);
}

bool run_nested(const std::vector<std::function<void()>>& steps, int front,
                const std::function<void()>& body) {
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

NoticeDriver::NoticeDriver() {
    QObject::connect(&timer, &QTimer::timeout, [this] {
        if (g_tip_flag && g_tip && g_tip->tick_count() == 0)
            kinds.push_back(g_tip->shown_kind());
        if (g_tip_flag && g_tip)
            g_tip->tip_outtime_deal();
    });
    timer.start(0);
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
    QByteArray text;
    std::rewind(sink);
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, sink)) > 0)
        text.append(buf, int(n));
    std::fclose(sink);
    return text;
}
}  // namespace testsupport

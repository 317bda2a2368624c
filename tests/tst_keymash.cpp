// Key-mashing: from a seeded random (but well-marked) parameter block,
// random user-mode files and a random alias file, thousands of random
// panel keys, keypad letters and touches go to whatever page is in front,
// with the simulated device's threads running. After every step exactly
// one page is in front, the registry agrees with the windows and the
// block's files are still well marked. Generic over the pages: it knows
// none of them by name.
//
//   FRONTPANEL_MASH_STEPS  steps per seed (default 1000)
//   FRONTPANEL_MASH_SEEDS  seeds to run (default 4)
//   FRONTPANEL_MASH_SEED   the first seed (default: random, printed)
#include "testsupport.h"

#include "core/devicepath.h"
#include "core/global.h"
#include "core/ramblock.h"
#include "core/rynrampara.h"
#include "ui/frame/syncupdate.h"
#include "core/utils.h"
#include "fpga/fpga_manage.h"
#include "scaler/c331_manage.h"
#include "sources/quenzsource.h"
#include "ui/frame/keys.h"
#include "ui/frame/lockwindow.h"
#include "ui/frame/mainwindow.h"
#include "ui/frame/pageframe.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QLoggingCategory>
#include <QTimer>
#include <QtTest>

#include <cstdio>
#include <deque>
#include <random>
#include <set>

namespace {
int env_int(const char* name, int fallback) {
    bool ok = false;
    const int v = qEnvironmentVariableIntValue(name, &ok);
    return ok && v > 0 ? v : fallback;
}

void write_file(const QString& device, const QByteArray& bytes) {
    QFile f(device_path(device));
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QByteArray random_bytes(std::mt19937& rng, int n) {
    QByteArray b(n, 0);
    for (char& c : b)
        c = char(rng() & 0xFF);
    return b;
}

// The parameter file: the marker, random persisted bytes; the panel lock
// off most of the time, or no key would do anything.
QByteArray random_block(std::mt19937& rng) {
    QByteArray f(blk::SIZE, 0);
    f[0] = f[1] = char(0xAA);
    f.replace(blk::PERSIST_BEGIN, blk::SIZE - blk::PERSIST_BEGIN,
              random_bytes(rng, blk::SIZE - blk::PERSIST_BEGIN));
    const bool locked = rng() % 10 == 0;
    f[blk::PANEL_LOCK] = char(locked ? 1 : 0);
    f[blk::PANEL_LOCK + 1] = 0;
    return f;
}

// Empty, saved with random contents, or anything at all.
QByteArray random_mode(std::mt19937& rng) {
    const unsigned kind = rng() % 10;
    if (kind < 5) {
        QByteArray r(USER_MODE_RECORD, 0);
        r[0] = r[1] = char(0xFF);
        return r;
    }
    if (kind < 9) {
        QByteArray r = random_bytes(rng, USER_MODE_RECORD);
        r[0] = r[1] = char(0xAA);
        return r;
    }
    return random_bytes(rng, int(rng() % (USER_MODE_RECORD + 1)));
}

QByteArray random_alias(std::mt19937& rng) {
    static const char* const names[] = {"Camera", "Вечер", "", "Xin chào", "投影", "A very long name of a source",
                                        "\\\"q\\\"", "[{"};
    QByteArray text = "{";
    for (const char* kind : {"source", "usermode"}) {
        text += QByteArray(kind == QByteArray("source") ? "" : ",") + "\"" + kind + "\": {\"namelist\": [";
        const int n = int(rng() % 8);
        for (int i = 0; i < n; ++i) {
            text += QByteArray(i ? "," : "") + "{\"id\": " + QByteArray::number(int(rng() % 18)) +
                    ", \"valid\": \"" + (rng() % 4 ? "on" : "off") + "\", \"name\": \"" +
                    names[rng() % (sizeof names / sizeof *names)] + "\"}";
        }
        text += "]}";
    }
    text += "}";
    if (rng() % 8 == 0)
        text.truncate(int(rng() % text.size()));  // broken: removed by the reader
    return text;
}

// The panel keys, then the keypad letters A..S.
int random_key(std::mt19937& rng) {
    static const int panel[] = {PANEL_KEY_LEFT, PANEL_KEY_RIGHT, PANEL_KEY_OK, PANEL_KEY_OK,
                                PANEL_KEY_BACK, PANEL_KEY_MODE};
    if (rng() % 10 < 7) {
        const unsigned k = rng() % 40;
        // OK and Right more often than Back, so that the walk goes deep.
        return k < 12 ? PANEL_KEY_RIGHT : k < 16 ? PANEL_KEY_LEFT : k < 30 ? PANEL_KEY_OK
               : k < 38 ? PANEL_KEY_BACK : panel[5];
    }
    return 'A' + int(rng() % 19);
}

bool is_page(QWidget* w) {
    for (int id = 0; id < PAGE_COUNT; ++id)
        if (RynPage* p = pages::at(id); p && p->page_widget() == w)
            return true;
    return dynamic_cast<RynPage*>(w) != nullptr;
}

// Exactly one page in front, the registry one chain down to MainWindow,
// and every open window of a page registered; empty when all holds.
QString page_fault() {
    const int front = g_page_focus;
    RynPage* page = pages::at(front);
    if (!page)
        return QString("page %1 in front is not open").arg(front);
    if (!page->page_widget()->isVisible())
        return QString("page %1 in front is not shown").arg(front);
    std::set<int> chain;
    for (int id = front; chain.insert(id).second && id != PAGE_MAINWINDOW; id = pages::parent_of(id))
        if (!pages::at(id))
            return QString("page %1 below the front page is closed").arg(id);
    if (!chain.count(PAGE_MAINWINDOW))
        return QString("the pages below %1 go round in a circle").arg(front);
    for (int id = 0; id < PAGE_COUNT; ++id) {
        RynPage* p = pages::at(id);
        if (p && !chain.count(id))
            return QString("page %1 is open but not below the front page %2").arg(id).arg(front);
        if (p && !p->page_widget()->isVisible())
            return QString("page %1 is registered but its window is hidden").arg(id);
    }
    for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* p = dynamic_cast<RynPage*>(w);
        if (!p || !w->isVisible() || w->testAttribute(Qt::WA_DeleteOnClose))
            continue;
        bool registered = false;
        for (int id = 0; id < PAGE_COUNT; ++id)
            registered = registered || pages::at(id) == p;
        if (!registered)
            return QString("a %1 window shows but is not registered").arg(w->metaObject()->className());
    }
    return QString();
}

// The parameter file and the user-mode slots keep their markers.
QString block_fault() {
    QFile f(device_path("/data/ram_device_info"));
    if (f.open(QIODevice::ReadOnly)) {
        const QByteArray b = f.readAll();
        if (b.size() != blk::SIZE || uint8_t(b[0]) != 0xAA || uint8_t(b[1]) != 0xAA)
            return QString("parameter file of %1 bytes, marker %2").arg(b.size()).arg(QString(b.left(2).toHex()));
    }
    const RynRamPara* p = RynRamPara::pInstance();
    for (int i = 0; i < USER_MODE_COUNT; ++i) {
        const auto& b = p->UserModes[size_t(i)].bytes;
        if (!((b[0] == 0xAA && b[1] == 0xAA) || (b[0] == 0xFF && b[1] == 0xFF)))
            return QString("user mode %1 has markers %2 %3").arg(i + 1).arg(b[0], 0, 16).arg(b[1], 0, 16);
    }
    if (g_language >= LANG_COUNT)
        return QString("language %1").arg(g_language);
    return QString();
}

// Ends every nested loop: pages by the close protocol, then any other
// dialog (the number keypad, a notice).
void close_everything() {
    testsupport::close_all_pages();
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* d = qobject_cast<QDialog*>(w); d && d->isVisible() && !is_page(d))
            d->hide();
    g_tip_flag = 0;
}

// One seed's run. Steps come from queued calls, so that they go on inside
// the nested exec() of every modal page.
class Masher {
public:
    Masher(unsigned seed, int steps) : rng_(seed), seed_(seed), left_(steps) {}

    QString run() {
        QTimer::singleShot(0, [this] { step(); });
        QElapsedTimer idle;
        idle.start();
        int seen = -1;
        // Fail-safe: a step that never comes back (a loop nobody ends).
        QTimer watchdog;
        QObject::connect(&watchdog, &QTimer::timeout, [&] {
            if (done_)
                return;
            if (seen != done_steps_) {
                seen = done_steps_;
                idle.restart();
            } else if (idle.elapsed() > 20000) {
                fail("no step for 20 s");
            }
        });
        watchdog.start(500);
        while (!done_ || depth_ > 0)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return error_;
    }
    const std::set<int>& visited() const { return visited_; }
    int steps_done() const { return done_steps_; }

private:
    void step() {
        if (done_)
            return;
        // Queued first: the input below may block in a nested exec().
        QTimer::singleShot(0, [this] { step(); });
        QString fault = page_fault();
        if (fault.isEmpty())
            fault = block_fault();
        if (!fault.isEmpty())
            return fail(fault);
        visited_.insert(g_page_focus);
        if (left_-- <= 0) {
            done_ = true;
            close_everything();
            return;
        }
        ++done_steps_;
        ++depth_;
        input();
        --depth_;
        // A factory reset asks for a reboot, which ends the program.
        g_app_reset_flag = 0;
        if (MainWindow* mw = g_mainwindow())
            for (int i = 0; i < 4; ++i)
                mw->slot_update_timer_ticks();  // notices end in a few dozen steps
    }

    void input() {
        if (rng_() % 12 == 0) {
            touch();
            return;
        }
        const int k = random_key(rng_);
        remember(QString("key %1 on page %2").arg(k, 0, 16).arg(g_page_focus));
        testsupport::key(k);
    }

    // A touch on a random button of the window on top.
    void touch() {
        QWidget* top = QApplication::activeModalWidget();
        if (!top || !top->isVisible())
            top = testsupport::front_page();
        if (!top)
            return;
        QList<QAbstractButton*> buttons;
        for (QAbstractButton* b : top->findChildren<QAbstractButton*>())
            if (b->isVisible() && b->isEnabled())
                buttons.append(b);
        if (buttons.isEmpty())
            return;
        QAbstractButton* b = buttons[int(rng_() % unsigned(buttons.size()))];
        remember(QString("touch %1 on %2").arg(b->objectName(), top->metaObject()->className()));
        QTest::mouseClick(b, Qt::LeftButton);
    }

    void remember(const QString& what) {
        recent_.push_back(what);
        if (recent_.size() > 12)
            recent_.pop_front();
    }
    void fail(const QString& why) {
        if (done_)
            return;
        QStringList last(recent_.begin(), recent_.end());
        error_ = QString("seed %1, step %2: %3\n  last inputs: %4")
                     .arg(seed_).arg(done_steps_).arg(why, last.join(", "));
        done_ = true;
        close_everything();
    }

    std::mt19937 rng_;
    unsigned seed_;
    int left_;
    int done_steps_ = 0;
    int depth_ = 0;
    bool done_ = false;
    QString error_;
    std::deque<QString> recent_;
    std::set<int> visited_;
};
}  // namespace

class TstKeyMash : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        // Every key is logged by the frame: thousands of lines.
        QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));
        testsupport::fresh_device();
        g_debugSwitch = 0;
        auto* mw = new MainWindow(nullptr);
        pages::set(PAGE_MAINWINDOW, mw, PAGE_MAINWINDOW);
        mw->show();
        connect(&ticks_, &QTimer::timeout, mw, &MainWindow::slot_update_timer_ticks);
        ticks_.start(10);
        QObject::connect(RynRamPara::pInstance(), &RynRamPara::sig_update_para,
                         SyncUpdate::pInstance(), &SyncUpdate::para_sync, Qt::QueuedConnection);
        QCOMPARE(fpga_manage::pInstance()->initialize(), 0);
        QCOMPARE(c331_manage::pInstance()->initialize(), 0);
        QCOMPARE(fpga_manage::pInstance()->initialize_start(), 0);
        QCOMPARE(quenzsource::pInstance()->initialize(), 0);
    }
    void cleanupTestCase() { ticks_.stop(); }

    void mash() {
        const int steps = env_int("FRONTPANEL_MASH_STEPS", 1000);
        const int seeds = env_int("FRONTPANEL_MASH_SEEDS", 4);
        const unsigned first = unsigned(env_int("FRONTPANEL_MASH_SEED", int(std::random_device{}() >> 1)));
        std::set<int> visited;
        QElapsedTimer clock;
        clock.start();
        for (unsigned seed = first; seed < first + unsigned(seeds); ++seed) {
            std::mt19937 rng(seed);
            testsupport::fresh_device();
            g_debugSwitch = 0;
            write_file("/data/ram_device_info", random_block(rng));
            for (int i = 0; i < USER_MODE_COUNT; ++i)
                write_file(QString("/data/modes/custom_mode%1").arg(i + 1), random_mode(rng));
            write_file("/data/configs/alias.json", random_alias(rng));
            {
                // The start-up load, as the threads see a writer do it.
                MutexLocker lock(&c331_manage::pInstance()->para_mutex);
                RynRamPara::pInstance()->load_files();
            }
            g_page_focus = PAGE_MAINWINDOW;
            pages::open<LockWindow>(false);
            Masher masher(seed, steps);
            const QString error = masher.run();
            QVERIFY2(error.isEmpty(), qPrintable(error));
            visited.insert(masher.visited().begin(), masher.visited().end());
        }
        QStringList ids;
        for (int id : visited)
            ids << QString::number(id);
        std::printf("seeds %u..%u, %d steps each, %lld ms: pages in front %s\n", first,
                    first + unsigned(seeds) - 1, steps, clock.elapsed(), qPrintable(ids.join(' ')));
        // Less than this would mean the keys no longer reach the menus.
        QVERIFY2(visited.size() >= 6, qPrintable("pages reached: " + ids.join(' ')));
    }

private:
    QTimer ticks_;
};

QTEST_MAIN(TstKeyMash)
#include "tst_keymash.moc"

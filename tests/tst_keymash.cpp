// Key-mashing: from seeded random (well-marked) files, random keys, keypad
// letters and touches go to the page in front, with the device's threads
// running. After every step one page is in front, the registry agrees with
// the windows and the parameter file keeps its marker; the sanitizer builds catch
// the rest. FRONTPANEL_MASH_STEPS / _SEEDS / _SEED: steps per seed (1000),
// seeds (4), the first seed (random, printed on failure).
#include "testsupport.h"

#include "core/global.h"
#include "core/ramblock.h"
#include "core/rynrampara.h"
#include "core/utils.h"
#include "fpga/fpga_manage.h"
#include "scaler/c331_manage.h"
#include "sources/quenzsource.h"
#include "ui/frame/keys.h"
#include "ui/frame/lockwindow.h"
#include "ui/frame/mainwindow.h"
#include "ui/frame/syncupdate.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLoggingCategory>
#include <QtTest>

#include <random>
#include <set>

namespace {
int env_int(const char* name, int fallback) {
    const int v = qEnvironmentVariableIntValue(name);
    return v > 0 ? v : fallback;
}
QByteArray random_bytes(std::mt19937& rng, int n) {
    QByteArray b(n, 0);
    std::generate(b.begin(), b.end(), [&] { return char(rng()); });
    return b;
}
// The marker, random persisted bytes; the panel lock mostly off.
QByteArray random_block(std::mt19937& rng) {
    QByteArray f = QByteArray("\xAA\xAA") + QByteArray(blk::PERSIST_BEGIN - 2, 0) +
                   random_bytes(rng, blk::SIZE - blk::PERSIST_BEGIN);
    f[blk::PANEL_LOCK] = char(rng() % 10 == 0);
    f[blk::PANEL_LOCK + 1] = 0;
    return f;
}
// Empty, saved with random contents, or anything at all.
QByteArray random_mode(std::mt19937& rng) {
    const unsigned kind = rng() % 10;
    QByteArray r = random_bytes(rng, kind < 9 ? USER_MODE_RECORD : int(rng() % (USER_MODE_RECORD + 1)));
    if (kind < 9)
        r[0] = r[1] = char(kind < 5 ? 0xFF : 0xAA);
    return r;
}
// None, long and foreign names, or a file cut short (which the reader removes).
QByteArray random_alias(std::mt19937& rng) {
    const QByteArray text = R"({"source": {"namelist": [{"id": 2, "valid": "on", "name": "A very long name of a source"}]},
        "usermode": {"namelist": [{"id": 0, "valid": "on", "name": "投影 Xin chào"}]}})";
    const unsigned kind = rng() % 4;
    return kind == 0 ? QByteArray() : kind == 1 ? text.left(int(rng() % text.size())) : text;
}
// Panel keys (OK and Right more often than Back, so the walk goes deep) or
// keypad letters A..S.
int random_key(std::mt19937& rng) {
    if (rng() % 10 >= 7)
        return 'A' + int(rng() % 19);
    const unsigned k = rng() % 40;
    return k < 12 ? PANEL_KEY_RIGHT : k < 16 ? PANEL_KEY_LEFT : k < 30 ? PANEL_KEY_OK
           : k < 38 ? PANEL_KEY_BACK : PANEL_KEY_MODE;
}
bool registered(const QWidget* w) {
    for (int id = 0; id < PAGE_COUNT; ++id)
        if (RynPage* p = pages::at(id); p && p->page_widget() == w)
            return true;
    return false;
}

// What breaks the invariants of the header; empty when none does.
QString fault() {
    const int front = g_page_focus;
    RynPage* page = pages::at(front);
    if (!page || !page->page_widget()->isVisible())
        return QString("page %1 in front is not open and shown").arg(front);
    std::set<int> chain;
    for (int id = front; chain.insert(id).second && id != PAGE_MAINWINDOW; id = pages::parent_of(id))
        if (!pages::at(id))
            return QString("page %1 below the front page is closed").arg(id);
    if (!chain.count(PAGE_MAINWINDOW))
        return QString("the pages below %1 go round in a circle").arg(front);
    for (int id = 0; id < PAGE_COUNT; ++id)
        if (RynPage* p = pages::at(id); p && (!chain.count(id) || !p->page_widget()->isVisible()))
            return QString("page %1 is open but hidden or not below the front page %2").arg(id).arg(front);
    for (QWidget* w : QApplication::topLevelWidgets())
        if (dynamic_cast<RynPage*>(w) && w->isVisible() && !w->testAttribute(Qt::WA_DeleteOnClose) &&
            !registered(w))
            return QString("a %1 window shows but is not registered").arg(w->metaObject()->className());
    const QByteArray b = testsupport::read_file("/data/ram_device_info");
    if (!b.isEmpty() && (b.size() != blk::SIZE || !b.startsWith("\xAA\xAA")))
        return QString("parameter file of %1 bytes, marker %2").arg(b.size()).arg(QString(b.left(2).toHex()));
    return QString();
}

// Ends every nested loop: the pages, then the keypad or a notice.
void close_everything() {
    testsupport::close_all_pages();
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* d = qobject_cast<QDialog*>(w); d && d->isVisible() && !registered(d) && !dynamic_cast<RynPage*>(d))
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
        while (!done_ || depth_ > 0)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return error_;
    }
    std::set<int> visited;

private:
    void step() {
        if (done_)
            return;
        QTimer::singleShot(0, [this] { step(); }); // first: the input may block in exec()
        if (const QString f = fault(); !f.isEmpty())
            return fail(f);
        visited.insert(g_page_focus);
        if (left_-- <= 0) {
            done_ = true;
            return close_everything();
        }
        ++done_steps_;
        ++depth_;
        if (rng_() % 12 == 0)
            touch();
        else {
            const int k = random_key(rng_);
            last_ = QString("key %1 on page %2").arg(k, 0, 16).arg(g_page_focus);
            testsupport::key(k);
        }
        --depth_;
        g_app_reset_flag = 0; // a factory reset asks for a reboot, which ends the program
        if (MainWindow* mw = g_mainwindow())
            for (int i = 0; i < 4; ++i)
                mw->slot_update_timer_ticks(); // notices end in a few dozen steps
    }
    // A touch on a random button of the window on top.
    void touch() {
        QWidget* top = QApplication::activeModalWidget();
        if (!top || !top->isVisible())
            top = testsupport::front_page();
        QList<QAbstractButton*> buttons;
        for (QAbstractButton* b : top ? top->findChildren<QAbstractButton*>() : QList<QAbstractButton*>())
            if (b->isVisible() && b->isEnabled())
                buttons.append(b);
        if (buttons.isEmpty())
            return;
        QAbstractButton* b = buttons[int(rng_() % unsigned(buttons.size()))];
        last_ = QString("touch %1 on %2").arg(b->objectName(), top->metaObject()->className());
        QTest::mouseClick(b, Qt::LeftButton);
    }
    void fail(const QString& why) {
        if (done_)
            return;
        error_ = QString("seed %1, step %2 after %3: %4").arg(seed_).arg(done_steps_).arg(last_, why);
        done_ = true;
        close_everything();
    }

    std::mt19937 rng_;
    unsigned seed_;
    int left_, done_steps_ = 0, depth_ = 0;
    bool done_ = false;
    QString error_, last_;
};
}  // namespace

class TstKeyMash : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false")); // a line per key
        testsupport::fresh_device();
        auto* mw = new MainWindow(nullptr);
        pages::set(PAGE_MAINWINDOW, mw, PAGE_MAINWINDOW);
        mw->show();
        connect(&ticks_, &QTimer::timeout, mw, &MainWindow::slot_update_timer_ticks);
        ticks_.start(10);
        connect(RynRamPara::pInstance(), &RynRamPara::sig_update_para, SyncUpdate::pInstance(),
                &SyncUpdate::para_sync, Qt::QueuedConnection);
        QCOMPARE(fpga_manage::pInstance()->initialize(), 0);
        QCOMPARE(c331_manage::pInstance()->initialize(), 0);
        QCOMPARE(fpga_manage::pInstance()->initialize_start(), 0);
        QCOMPARE(quenzsource::pInstance()->initialize(), 0);
    }
    void cleanupTestCase() { ticks_.stop(); }

    void mash() {
        const int steps = env_int("FRONTPANEL_MASH_STEPS", 1000), seeds = env_int("FRONTPANEL_MASH_SEEDS", 4);
        const unsigned first = unsigned(env_int("FRONTPANEL_MASH_SEED", int(std::random_device{}() >> 1)));
        std::set<int> visited;
        for (unsigned seed = first; seed < first + unsigned(seeds); ++seed) {
            std::mt19937 rng(seed);
            testsupport::fresh_device();
            g_debugSwitch = 0;
            QVERIFY(testsupport::write_file("/data/ram_device_info", random_block(rng)));
            for (int i = 0; i < USER_MODE_COUNT; ++i)
                QVERIFY(testsupport::write_file(QString("/data/modes/custom_mode%1").arg(i + 1), random_mode(rng)));
            QVERIFY(testsupport::write_file("/data/configs/alias.json", random_alias(rng)));
            {
                MutexLocker lock(&c331_manage::pInstance()->para_mutex); // as the threads see a writer
                RynRamPara::pInstance()->load_files();
            }
            g_page_focus = PAGE_MAINWINDOW;
            pages::open<LockWindow>(false);
            qInfo("seed %u", seed); // named by a hang the CTest timeout ends
            Masher masher(seed, steps);
            const QString error = masher.run();
            QVERIFY2(error.isEmpty(), qPrintable(error));
            visited.insert(masher.visited.begin(), masher.visited.end());
        }
        // Fewer would mean the keys no longer reach the menus.
        QVERIFY2(visited.size() >= 6, qPrintable(QString("seed %1: %2 pages reached").arg(first).arg(visited.size())));
    }

private:
    QTimer ticks_;
};

QTEST_MAIN(TstKeyMash)
#include "tst_keymash.moc"

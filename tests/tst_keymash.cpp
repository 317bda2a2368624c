// Key-mashing: from seeded random (well-marked) files, random keys, keypad
// letters and touches go to the page in front with the device's threads
// running. After every step one page is in front, the registry agrees with
// the windows and the parameter file keeps its marker. FRONTPANEL_MASH_STEPS
// / _SEEDS / _SEED: steps per seed (1000), seeds (4), first seed (1, so that
// a red run is run again as it was; "random" for a new one each run).
#include "testsupport.h"

#include "core/utils.h"
#include "ui/frame/lockwindow.h"
#include "ui/frame/mainwindow.h"
#include "ui/frame/startup.h"

#include <random>
#include <set>

namespace {
int env_int(const char* name, int fallback) {
    const int v = qEnvironmentVariableIntValue(name);
    return v > 0 ? v : fallback;
}
// Seeded random files: the parameter block with its marker (the panel lock
// mostly off); user modes empty, saved, or of any size; no alias file, one
// cut short, or long and foreign names.
bool write_random_files(std::mt19937& rng) {
    const auto bytes = [&rng](int n) {
        QByteArray b(n, 0);
        std::generate(b.begin(), b.end(), [&] { return char(rng()); });
        return b;
    };
    QByteArray block =
        QByteArray("\xAA\xAA") + QByteArray(blk::PERSIST_BEGIN - 2, 0) + bytes(blk::SIZE - blk::PERSIST_BEGIN);
    block[blk::PANEL_LOCK] = char(rng() % 10 == 0);
    block[blk::PANEL_LOCK + 1] = 0;
    bool ok = testsupport::write_file("/data/ram_device_info", block);
    for (int i = 0; i < USER_MODE_COUNT; ++i) {
        const unsigned kind = rng() % 10;
        QByteArray mode = bytes(kind < 9 ? USER_MODE_RECORD : int(rng() % (USER_MODE_RECORD + 1)));
        if (kind < 9)
            mode[0] = mode[1] = char(kind < 5 ? 0xFF : 0xAA);
        ok &= testsupport::write_file(QString("/data/modes/custom_mode%1").arg(i + 1), mode);
    }
    const QByteArray alias =
        R"({"source": {"namelist": [{"id": 2, "valid": "on", "name": "A very long name of a source"}]},
        "usermode": {"namelist": [{"id": 0, "valid": "on", "name": "投影 Xin chào"}]}})";
    const unsigned kind = rng() % 4;
    return ok && testsupport::write_file("/data/configs/alias.json", kind == 0   ? QByteArray()
                                                                     : kind == 1 ? alias.left(int(rng() % alias.size()))
                                                                                 : alias);
}
// Keypad letters A..S, or panel keys with OK and Right the most, to go deep.
int random_key(std::mt19937& rng) {
    if (rng() % 10 >= 7)
        return 'A' + int(rng() % 19);
    const unsigned k = rng() % 40;
    return k < 12   ? PANEL_KEY_RIGHT
           : k < 16 ? PANEL_KEY_LEFT
           : k < 30 ? PANEL_KEY_OK
           : k < 38 ? PANEL_KEY_BACK
                    : PANEL_KEY_MODE;
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
        if (auto* p = dynamic_cast<RynPage*>(w);
            p && w->isVisible() && !w->testAttribute(Qt::WA_DeleteOnClose) && pages::id_of(p) == PAGE_COUNT)
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
        if (auto* d = qobject_cast<QDialog*>(w); d && d->isVisible() && !dynamic_cast<RynPage*>(d))
            d->hide();
    g_tip_flag = 0;
}

// A touch on a random button of the window on top; what was touched.
QString touch(std::mt19937& rng) {
    QWidget* top = QApplication::activeModalWidget();
    if (!top || !top->isVisible())
        top = testsupport::front_page();
    QList<QAbstractButton*> buttons = top ? top->findChildren<QAbstractButton*>() : QList<QAbstractButton*>();
    buttons.erase(
        std::remove_if(buttons.begin(), buttons.end(), [](auto* b) { return !b->isVisible() || !b->isEnabled(); }),
        buttons.end());
    if (buttons.isEmpty())
        return QString();
    QAbstractButton* b = buttons[int(rng() % unsigned(buttons.size()))];
    const QString what = QString("touch %1 on %2").arg(b->objectName(), top->metaObject()->className());
    QTest::mouseClick(b, Qt::LeftButton);
    return what;
}
}  // namespace

class TstKeyMash : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));  // a line per key
        testsupport::fresh_device();
        start_panel(*qApp, 0);  // the main window with its tick, the device's threads, the dispatcher
        QTRY_VERIFY(g_mainwindow()->isVisible());
        testsupport::close_all_pages();  // each seed opens its home screen
    }

    void mash() {
        const int steps = env_int("FRONTPANEL_MASH_STEPS", 1000), seeds = env_int("FRONTPANEL_MASH_SEEDS", 4);
        const bool random = qgetenv("FRONTPANEL_MASH_SEED") == "random";
        const unsigned first = random ? std::random_device{}() >> 1 : unsigned(env_int("FRONTPANEL_MASH_SEED", 1));
        std::set<int> visited;
        for (unsigned seed = first; seed < first + unsigned(seeds); ++seed) {
            std::mt19937 rng(seed);
            testsupport::fresh_device();
            g_debugSwitch = 0;
            QVERIFY(write_random_files(rng));
            {
                MutexLocker lock(&c331_manage::pInstance()->para_mutex);  // as the threads see a writer
                RynRamPara::pInstance()->load_files();
            }
            g_page_focus = PAGE_MAINWINDOW;
            pages::open<LockWindow>(false);
            qInfo("seed %u", seed);  // named by a hang the CTest timeout ends
            // Each step is queued, so the steps go on inside the nested exec()
            // of every modal page; steps still queued at the end go with `queue`.
            QObject queue;
            QString error, last;
            int left = steps;
            bool done = false;
            std::function<void()> step = [&] {
                if (done)
                    return;
                QTimer::singleShot(0, &queue, step);  // first: the input may block in exec()
                const QString f = fault();
                if (!f.isEmpty() || left-- <= 0) {
                    if (!f.isEmpty())
                        error = QString("seed %1, step %2 after %3: %4").arg(seed).arg(steps - left).arg(last, f);
                    done = true;
                    return close_everything();
                }
                visited.insert(g_page_focus);
                const int k = random_key(rng);
                last = QString("key %1 on page %2").arg(k, 0, 16).arg(g_page_focus);
                if (rng() % 12 == 0)
                    last = touch(rng);
                else
                    testsupport::key(k);
                g_app_reset_flag = 0;  // a factory reset asks for a reboot, which ends the program
                for (int i = 0; i < 4; ++i)
                    g_mainwindow()->slot_update_timer_ticks();  // notices end in a few dozen steps
            };
            QTimer::singleShot(0, &queue, step);
            while (!done)
                QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            QVERIFY2(error.isEmpty(), qPrintable(error));
        }
        // Fewer would mean the keys no longer reach the menus.
        QVERIFY2(visited.size() >= 6, qPrintable(QString("seed %1: %2 pages reached").arg(first).arg(visited.size())));
    }
};

QTEST_MAIN(TstKeyMash)
#include "tst_keymash.moc"

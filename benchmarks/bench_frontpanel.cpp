// The cost of what a user does on the panel, each beside the same step in a
// bare window of the LCD's size. Run with -callgrind for instruction counts
// (scripts/bench); without it Qt Test reports wall time.
#include "bench_common.h"
#include "testsupport.h"

#include "core/ramblock.h"
#include "core/rynrampara.h"
#include "ui/frame/syncupdate.h"
#include "ui/frame/keys.h"
#include "ui/frame/lockwindow.h"
#include "ui/frame/mainwindow.h"
#include "ui/pages/inputchoose.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {
void press(QWidget* w, int k) {
    if (!w)
        return;
    QKeyEvent down(QEvent::KeyPress, k, Qt::NoModifier);
    QApplication::sendEvent(w, &down);
    QKeyEvent up(QEvent::KeyRelease, k, Qt::NoModifier);
    QApplication::sendEvent(w, &up);
}

// The source page as OK on the menu opens it, but without the modal loop,
// so that the measurement can end once the page is shown.
void open_source_page() {
    g_page_focus = PAGE_MAINWINDOW;
    pages::open<InputChoose>(false);
    bench::settle();
}

void open_home() {
    g_page_focus = PAGE_MAINWINDOW;
    pages::open<LockWindow>(false);
    bench::settle();
}

// Total instructions of `program mode` under callgrind, 0 when it failed.
qint64 callgrind_count(const QString& program, const QString& mode, const QString& out,
                       const QProcessEnvironment& env) {
    QProcess p;
    p.setProcessEnvironment(env);
    p.setStandardOutputFile(QProcess::nullDevice());
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(QStringLiteral("valgrind"), {QStringLiteral("--tool=callgrind"),
                                         QStringLiteral("--callgrind-out-file=") + out,
                                         program, mode});
    if (!p.waitForFinished(600000) || p.exitCode() != 0)
        return 0;
    QFile f(out);
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("summary:") || line.startsWith("totals:"))
            return line.mid(line.indexOf(':') + 1).trimmed().split(' ').value(0).toLongLong();
    return 0;
}
}  // namespace

class BenchFrontpanel : public QObject {
    Q_OBJECT
    MainWindow* main = nullptr;
    QPointer<QWidget> bare;

    // Every benchmark has the front panel's row and the bare window's row.
    static void rows() {
        QTest::addColumn<bool>("is_bare");
        QTest::newRow("frontpanel") << false;
        QTest::newRow("bare window") << true;
    }
    // The widget a key goes to: the page in front, or the bare window.
    QWidget* target() const { return bare ? bare.data() : testsupport::front_page(); }
    void key(int k) {
        press(target(), k);
        bench::settle();
    }

private slots:
    void initTestCase() {
        bench::plain_messages();
        testsupport::fresh_device();
        main = new MainWindow(nullptr);
        QObject::connect(RynRamPara::pInstance(), &RynRamPara::sig_update_para,
                         SyncUpdate::pInstance(), &SyncUpdate::para_sync, Qt::QueuedConnection);
    }
    void init() {
        testsupport::fresh_device();
        bench::device_in_use();
        g_page_focus = PAGE_MAINWINDOW;
        main->menulist_init();
        main->show();
        bench::settle();
    }
    void cleanup() {
        testsupport::close_all_pages();
        delete bare;
        bench::settle();
    }
    void cleanupTestCase() { delete main; }

    void menu_right_data() { rows(); }
    void menu_right() {
        QFETCH(bool, is_bare);
        if (is_bare)
            bare = bench::bare_window();
        QBENCHMARK { key(PANEL_KEY_RIGHT); }
    }

    void source_windows_right_data() { rows(); }
    void source_windows_right() {
        QFETCH(bool, is_bare);
        if (is_bare)
            bare = bench::bare_window();
        else
            open_source_page();
        QBENCHMARK { key(PANEL_KEY_RIGHT); }
    }

    void source_list_right_data() { rows(); }
    void source_list_right() {
        QFETCH(bool, is_bare);
        if (is_bare) {
            bare = bench::bare_window();
        } else {
            open_source_page();
            key(PANEL_KEY_OK);
            QCOMPARE(g_inputchoose()->ui_seltype, uint8_t(InputChoose::LEVEL_SOURCES));
        }
        QBENCHMARK { key(PANEL_KEY_RIGHT); }
    }

    // The keys that open or close a page run once each, after the same
    // step once unmeasured (images and fonts in the state of a panel in use).
    void menu_ok_to_source_page_data() { rows(); }
    void menu_ok_to_source_page() {
        QFETCH(bool, is_bare);
        if (is_bare) {
            bare = bench::bare_window();
            QBENCHMARK_ONCE { key(PANEL_KEY_OK); }
            return;
        }
        open_source_page();
        key(PANEL_KEY_BACK);
        QBENCHMARK_ONCE { open_source_page(); }
        QVERIFY(g_inputchoose());
    }

    void source_page_back_to_menu_data() { rows(); }
    void source_page_back_to_menu() {
        QFETCH(bool, is_bare);
        if (is_bare) {
            bare = bench::bare_window();
        } else {
            open_source_page();
            key(PANEL_KEY_BACK);
            open_source_page();
        }
        QBENCHMARK_ONCE { key(PANEL_KEY_BACK); }
        QCOMPARE(int(g_page_focus), int(PAGE_MAINWINDOW));
    }

    void menu_back_to_home_data() { rows(); }
    void menu_back_to_home() {
        QFETCH(bool, is_bare);
        if (is_bare) {
            bare = bench::bare_window();
        } else {
            key(PANEL_KEY_BACK);
            key(PANEL_KEY_OK);
        }
        QBENCHMARK_ONCE { key(PANEL_KEY_BACK); }
        QVERIFY(is_bare || g_lockwindow());
    }

    void home_ok_to_menu_data() { rows(); }
    void home_ok_to_menu() {
        QFETCH(bool, is_bare);
        if (is_bare) {
            bare = bench::bare_window();
        } else {
            open_home();
            key(PANEL_KEY_OK);
            open_home();
        }
        QBENCHMARK_ONCE { key(PANEL_KEY_OK); }
        QCOMPARE(int(g_page_focus), int(PAGE_MAINWINDOW));
    }

    // One parameter (the brightness) changed and taken up by the scaler:
    // the home screen's refresh; the bare window sets one label.
    void home_refresh_data() { rows(); }
    void home_refresh() {
        QFETCH(bool, is_bare);
        RynRamPara* p = RynRamPara::pInstance();
        QLabel* label = nullptr;
        if (is_bare) {
            bare = bench::bare_window();
            label = new QLabel(bare);
            label->show();
        } else {
            open_home();
        }
        int value = 50;
        QBENCHMARK {
            value = value == 50 ? 51 : 50;
            if (label) {
                label->setText(QString::number(value));
            } else {
                p->set_u16(blk::BRIGHTNESS, uint16_t(value));
                pages::at(g_page_focus)->syncUpdate(SYNC_PARA);
                p->RamParaShadow = p->RamParaBlock;
            }
            bench::settle();
        }
    }

    // Start-up to the first frame, without the pause for the chips, as a
    // whole process (libraries, fonts, files and threads included): the
    // bench_startup helper under callgrind when valgrind is there (and
    // BENCH_NO_VALGRIND unset), otherwise its wall time. The files exist already, as on a device
    // that has run before.
    void startup_data() { rows(); }
    void startup() {
        QFETCH(bool, is_bare);
        const QString helper = QCoreApplication::applicationDirPath() + "/bench_startup";
        const QString mode = is_bare ? QStringLiteral("bare") : QStringLiteral("frontpanel");
        QTemporaryDir root;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("FRONTPANEL_ROOT", root.path());
        env.insert("QT_QPA_PLATFORM", "offscreen");
        auto run = [&] {
            QProcess p;
            p.setProcessEnvironment(env);
            p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            p.setStandardOutputFile(QProcess::nullDevice());
            p.start(helper, {mode});
            QVERIFY2(p.waitForFinished(60000) && p.exitCode() == 0,
                     qPrintable(helper + " " + mode + " failed"));
        };
        run();  // writes the files a first start creates
        if (qEnvironmentVariableIsSet("BENCH_NO_VALGRIND") ||
            QStandardPaths::findExecutable("valgrind").isEmpty()) {
            QBENCHMARK_ONCE { run(); }
            return;
        }
        const qint64 count = callgrind_count(helper, mode, root.path() + "/callgrind.out", env);
        QVERIFY2(count > 0, "the helper did not run under callgrind");
        QTest::setBenchmarkResult(qreal(count), QTest::InstructionReads);
    }
};

QTEST_MAIN(BenchFrontpanel)
#include "bench_frontpanel.moc"

// The cost of what a user does on the panel, each beside the same step on
// the two floors (see floor.h). The panel is started as the program starts
// it, then its 10 ms tick is stopped: under callgrind's slowdown it would
// fire fifty times as often as on the board (bench_live measures it). Run
// with -callgrind for instruction counts (scripts/bench); without it Qt
// Test reports wall time. The first_ functions measure a step the first
// time after power-up: scripts/bench runs each in a process of its own.
#include "bench_common.h"
#include "floor.h"
#include "testsupport.h"

#include "core/ramblock.h"
#include "core/rynrampara.h"
#include "ui/frame/syncupdate.h"
#include "ui/frame/keys.h"
#include "ui/frame/lockwindow.h"
#include "ui/frame/mainwindow.h"
#include "ui/frame/startup.h"
#include "ui/pages/inputchoose.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QProcess>
#include <QSet>
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

// Qt Test under -callgrind runs each function once unmeasured first.
bool callgrind_warm_up() {
    static QSet<QString> run;
    if (!QCoreApplication::arguments().contains(QStringLiteral("-callgrindchild")))
        return false;
    const QString fn = QString::fromLatin1(QTest::currentTestFunction());
    if (run.contains(fn))
        return false;
    run.insert(fn);
    return true;
}

}  // namespace

class BenchFrontpanel : public QObject {
    Q_OBJECT
    QPointer<bench::FloorWindow> floor;

    // Every benchmark has the front panel's row and the two floors' rows.
    static void rows() {
        QTest::addColumn<int>("floor_kind");
        QTest::newRow("frontpanel") << int(PANEL);
        QTest::newRow("tick floor") << int(TICK);
        QTest::newRow("texts floor") << int(TEXTS);
    }
    enum Kind { PANEL, TICK, TEXTS };
    // Shows the floor of the row, if it is one; true for a floor.
    bool floor_row() {
        QFETCH(int, floor_kind);
        if (floor_kind == PANEL)
            return false;
        floor = new bench::FloorWindow(floor_kind == TEXTS);
        floor->show();
        floor->activateWindow();
        floor->setFocus();
        bench::settle();
        return true;
    }
    // The widget a key goes to: the floor, or the page in front.
    QWidget* target() const { return floor ? floor.data() : testsupport::front_page(); }
    void key(int k) {
        press(target(), k);
        bench::settle();
    }
    // From the home screen, as the panel starts.
    void to_menu() {
        key(PANEL_KEY_OK);
        QCOMPARE(int(g_page_focus), int(PAGE_MAINWINDOW));
    }

private slots:
    void initTestCase() {
        bench::plain_messages();
        testsupport::fresh_device();
        bench::device_in_use();
        start_core();
        start_panel(*qApp, 0);
        // Until idle, in a loop that waits as the program's does.
        QEventLoop loop;
        bool idle = false;
        bench::IdleWatch watch([&] {
            idle = true;
            loop.quit();
        });
        watch.arm();
        QTimer::singleShot(120000, &loop, &QEventLoop::quit);
        loop.exec();
        QVERIFY2(idle, "the panel did not go idle after its start");
        for (QTimer* t : qApp->findChildren<QTimer*>(QString(), Qt::FindDirectChildrenOnly))
            if (t->interval() == 10)
                t->stop();
        QCOMPARE(int(g_page_focus), int(PAGE_LOCKWINDOW));
    }
    // Back to the home screen, as a user goes.
    void cleanup() {
        delete floor;
        for (int i = 0; i < 4 && g_page_focus != PAGE_LOCKWINDOW; ++i)
            key(PANEL_KEY_BACK);
        QCOMPARE(int(g_page_focus), int(PAGE_LOCKWINDOW));
    }

    void menu_right_data() { rows(); }
    void menu_right() {
        if (!floor_row())
            to_menu();
        QBENCHMARK {
            key(PANEL_KEY_RIGHT);
        }
    }

    void source_windows_right_data() { rows(); }
    void source_windows_right() {
        if (!floor_row()) {
            to_menu();
            open_source_page();
        }
        QBENCHMARK {
            key(PANEL_KEY_RIGHT);
        }
    }

    void source_list_right_data() { rows(); }
    void source_list_right() {
        if (!floor_row()) {
            to_menu();
            open_source_page();
            key(PANEL_KEY_OK);
            QCOMPARE(g_inputchoose()->ui_seltype, uint8_t(InputChoose::LEVEL_SOURCES));
        }
        QBENCHMARK {
            key(PANEL_KEY_RIGHT);
        }
    }

    // One parameter (the brightness) changed and taken up by the scaler:
    // the home screen's refresh; a floor repaints one number's box.
    void home_refresh_data() { rows(); }
    void home_refresh() {
        RynRamPara* p = RynRamPara::pInstance();
        const bool on_floor = floor_row();
        int value = 50;
        QBENCHMARK {
            value = value == 50 ? 51 : 50;
            if (on_floor) {
                floor->refresh();
            } else {
                p->set_u16(blk::BRIGHTNESS, uint16_t(value));
                pages::at(g_page_focus)->syncUpdate(SYNC_PARA);
                p->RamParaShadow = p->RamParaBlock;
            }
            bench::settle();
        }
    }

    // The page changes, each after the same step once unmeasured (the
    // first_ functions below measure that first one). On a floor, OK.
    void home_ok_to_menu_data() { rows(); }
    void home_ok_to_menu() {
        if (floor_row()) {
            QBENCHMARK_ONCE {
                key(PANEL_KEY_OK);
            }
            return;
        }
        to_menu();
        key(PANEL_KEY_BACK);
        QBENCHMARK_ONCE {
            key(PANEL_KEY_OK);
        }
        QCOMPARE(int(g_page_focus), int(PAGE_MAINWINDOW));
    }

    void menu_ok_to_source_page_data() { rows(); }
    void menu_ok_to_source_page() {
        if (floor_row()) {
            QBENCHMARK_ONCE {
                key(PANEL_KEY_OK);
            }
            return;
        }
        to_menu();
        open_source_page();
        key(PANEL_KEY_BACK);
        QBENCHMARK_ONCE {
            open_source_page();
        }
        QVERIFY(g_inputchoose());
    }

    void source_page_back_to_menu_data() { rows(); }
    void source_page_back_to_menu() {
        if (floor_row()) {
            QBENCHMARK_ONCE {
                key(PANEL_KEY_OK);
            }
            return;
        }
        to_menu();
        open_source_page();
        key(PANEL_KEY_BACK);
        open_source_page();
        QBENCHMARK_ONCE {
            key(PANEL_KEY_BACK);
        }
        QCOMPARE(int(g_page_focus), int(PAGE_MAINWINDOW));
    }

    void menu_back_to_home_data() { rows(); }
    void menu_back_to_home() {
        if (floor_row()) {
            QBENCHMARK_ONCE {
                key(PANEL_KEY_OK);
            }
            return;
        }
        to_menu();
        key(PANEL_KEY_BACK);
        to_menu();
        QBENCHMARK_ONCE {
            key(PANEL_KEY_BACK);
        }
        QVERIFY(g_lockwindow());
    }

    // The same page changes the first time after power-up: each the first
    // thing its process does (the warm-up run of -callgrind does nothing).
    void first_home_ok_to_menu() {
        if (callgrind_warm_up()) {
            QBENCHMARK_ONCE {}
            return;
        }
        QBENCHMARK_ONCE {
            key(PANEL_KEY_OK);
        }
        QCOMPARE(int(g_page_focus), int(PAGE_MAINWINDOW));
    }
    void first_menu_ok_to_source_page() {
        if (callgrind_warm_up()) {
            QBENCHMARK_ONCE {}
            return;
        }
        to_menu();
        QBENCHMARK_ONCE {
            open_source_page();
        }
        QVERIFY(g_inputchoose());
    }
    void first_source_page_back_to_menu() {
        if (callgrind_warm_up()) {
            QBENCHMARK_ONCE {}
            return;
        }
        to_menu();
        open_source_page();
        QBENCHMARK_ONCE {
            key(PANEL_KEY_BACK);
        }
        QCOMPARE(int(g_page_focus), int(PAGE_MAINWINDOW));
    }
    void first_menu_back_to_home() {
        if (callgrind_warm_up()) {
            QBENCHMARK_ONCE {}
            return;
        }
        to_menu();
        QBENCHMARK_ONCE {
            key(PANEL_KEY_BACK);
        }
        QVERIFY(g_lockwindow());
    }

    // bench_startup, which scripts/bench counts under callgrind, ends in
    // every mode: first frame and idle, panel and floors.
    void startup_ends_data() {
        QTest::addColumn<QString>("what");
        QTest::addColumn<QString>("until");
        for (const char* what : {"frontpanel", "tick", "texts"})
            for (const char* until : {"frame", "idle"})
                QTest::addRow("%s %s", what, until) << what << until;
    }
    void startup_ends() {
        QFETCH(QString, what);
        QFETCH(QString, until);
        QTemporaryDir root;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("FRONTPANEL_ROOT", root.path());
        QProcess p;
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p.setStandardOutputFile(QProcess::nullDevice());
        p.start(QCoreApplication::applicationDirPath() + "/bench_startup", {what, until});
        QVERIFY2(p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0,
                 qPrintable(what + " " + until + " did not end by itself"));
    }
};

QTEST_MAIN(BenchFrontpanel)
#include "bench_frontpanel.moc"

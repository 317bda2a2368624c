// The shared popups under a real X server without a window manager, as the
// panel runs headless: a notice or the keypad shown again after a newer page
// opened must come up on top, not under that page. The offscreen platform
// has no stacking, so this test starts its own Xvfb and uses xcb.
#include "testsupport.h"

#include "core/global.h"
#include "ui/frame/keys.h"
#include "ui/frame/lockwindow.h"
#include "ui/frame/mainwindow.h"
#include "ui/frame/numberkeyboard.h"
#include "ui/frame/startup.h"
#include "ui/frame/tip.h"
#include "ui/pages/inputchoose.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QtTest>

#include <csignal>
#include <cstdio>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
QWidget* window_at(const QPoint& p) {
    QCoreApplication::processEvents();
    return QApplication::topLevelAt(p);
}
}  // namespace

class TstStacking : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        testsupport::fresh_device();
        g_tip = new TIP(nullptr);
        g_numberkeyboard = new NumberKeyboard(nullptr);
        g_numberkeyboard->setGeometry(160, 0, 160, 240);
    }
    void cleanupTestCase() {
        delete g_tip;
        delete g_numberkeyboard;
        g_tip = nullptr;
        g_numberkeyboard = nullptr;
    }

    void shown_again_is_on_top_data() {
        QTest::addColumn<bool>("keypad");
        QTest::newRow("notice") << false;
        QTest::newRow("keypad") << true;
    }
    void shown_again_is_on_top() {
        QFETCH(bool, keypad);
        QWidget* popup = keypad ? static_cast<QWidget*>(g_numberkeyboard) : g_tip;
        const QPoint centre(keypad ? 240 : 160, 120);
        QWidget* seen = nullptr;
        // Looks at the screen from inside the popup's modal loop, then ends it.
        const auto show_popup = [&] {
            QTimer::singleShot(200, [&] {
                seen = window_at(centre);
                QKeyEvent back(QEvent::KeyRelease, PANEL_KEY_BACK, Qt::NoModifier);
                if (keypad)
                    QApplication::sendEvent(g_numberkeyboard, &back);
                while (g_tip_flag)
                    g_tip->tip_outtime_deal();
            });
            if (keypad) {
                g_numberkeyboard->label_show("W", "1920");
                g_numberkeyboard->exec();
            } else {
                g_tip->tip_create(TIP_DONE);
            }
        };
        show_popup();
        QCOMPARE(seen, popup);

        QDialog page(nullptr, Qt::FramelessWindowHint);
        page.setGeometry(0, 0, 320, 240);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        QCOMPARE(window_at(centre), &page);
        show_popup();
        QVERIFY2(seen == popup, "the popup came up under the newer page");
        QCOMPARE(window_at(centre), &page);  // and it is gone again
    }

    // A page kept when it closed is shown again later: over the windows
    // opened in between, not in its old place under them.
    void kept_page_reopened_on_top() {
        g_page_focus = PAGE_MAINWINDOW;
        QPointer<InputChoose> first = pages::open<InputChoose>(false);
        QVERIFY(QTest::qWaitForWindowExposed(first));
        pages::close(PAGE_INPUTCHOOSE);
        QDialog newer(nullptr, Qt::FramelessWindowHint);
        newer.setGeometry(0, 0, 320, 240);
        newer.show();
        QVERIFY(QTest::qWaitForWindowExposed(&newer));
        InputChoose* again = pages::open<InputChoose>(false);
        QCOMPARE(again, first.data());  // the kept one
        QVERIFY(QTest::qWaitForWindowExposed(again));
        QTRY_COMPARE(window_at(QPoint(160, 120)), static_cast<QWidget*>(again));
        QVERIFY(testsupport::close_all_pages() == false);
    }

    // Start-up shows the main menu after the home screen's first frame: it
    // must come up under the home screen, and the home screen keep the keys.
    void menu_shown_under_home_at_start() {
        start_core();
        MainWindow* main = start_panel(*qApp, 0);
        QTRY_VERIFY(main->isVisible());
        QWidget* home = g_lockwindow();
        QVERIFY(home);
        QCOMPARE(window_at(QPoint(160, 120)), home);
        QTRY_COMPARE(QGuiApplication::focusWindow(), home->windowHandle());
    }
};

// Starts an Xvfb of the panel's size on a free display, and the test on it
// with the xcb platform. The server ends with this process.
int main(int argc, char** argv) {
    int fds[2];
    if (::pipe(fds) != 0)
        return 2;
    const pid_t xvfb = ::fork();
    if (xvfb == 0) {
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        ::close(fds[0]);
        const std::string fd = std::to_string(fds[1]);
        ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "320x240x24",
                 "-nolisten", "tcp", static_cast<char*>(nullptr));
        std::fprintf(stderr, "cannot start Xvfb (scripts/setup installs it)\n");
        ::_exit(127);
    }
    ::close(fds[1]);
    std::string display;
    for (char c; ::read(fds[0], &c, 1) == 1 && c != '\n';)
        display += c;
    ::close(fds[0]);
    if (xvfb < 0 || display.empty()) {
        std::fprintf(stderr, "FAIL: no X server for the stacking test\n");
        return 2;
    }
    qputenv("DISPLAY", QByteArray(":") + display.c_str());
    qputenv("QT_QPA_PLATFORM", "xcb");
    int result;
    {
        QApplication app(argc, argv);
        TstStacking test;
        result = QTest::qExec(&test, argc, argv);
    }
    ::kill(xvfb, SIGTERM);
    ::waitpid(xvfb, nullptr, 0);
    return result;
}

#include "tst_stacking.moc"

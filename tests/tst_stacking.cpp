// Stacking under a real X server without a window manager, as the panel runs
// headless: the offscreen platform has none, so this test starts its own
// Xvfb and uses xcb.
#include "testsupport.h"

#include "ui/frame/lockwindow.h"
#include "ui/frame/mainwindow.h"
#include "ui/frame/startup.h"
#include "ui/frame/tip.h"
#include "ui/pages/inputchoose.h"

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
// A full-screen window opened after the others.
std::unique_ptr<QDialog> newer_window() {
    auto w = std::make_unique<QDialog>(nullptr, Qt::FramelessWindowHint);
    w->setGeometry(0, 0, 320, 240);
    w->show();
    return QTest::qWaitForWindowExposed(w.get()) ? std::move(w) : nullptr;
}
}  // namespace

class TstStacking : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        testsupport::fresh_device();
        g_tip = new TIP(nullptr);
    }

    // A notice shown again after a newer window opened comes up over it.
    void notice_shown_again_is_on_top() {
        const QPoint centre(160, 120);
        QWidget* seen = nullptr;
        const auto show_notice = [&] {  // looks from inside the notice's loop, then ends it
            QTimer::singleShot(200, [&] {
                seen = window_at(centre);
                while (g_tip_flag)
                    g_tip->tip_outtime_deal();
            });
            g_tip->tip_create(TIP_DONE);
        };
        show_notice();
        QCOMPARE(seen, g_tip);
        const auto newer = newer_window();
        QVERIFY(newer && window_at(centre) == newer.get());
        show_notice();
        QVERIFY2(seen == g_tip, "the notice came up under the newer window");
        QCOMPARE(window_at(centre), newer.get());  // and it is gone again
    }

    // A page kept when it closed is shown again over the windows opened in
    // between, not in its old place under them.
    void kept_page_reopened_on_top() {
        g_page_focus = PAGE_MAINWINDOW;
        QPointer<InputChoose> first = pages::open<InputChoose>(false);
        QVERIFY(QTest::qWaitForWindowExposed(first));
        pages::close(PAGE_INPUTCHOOSE);
        const auto newer = newer_window();
        QVERIFY(newer);
        InputChoose* again = pages::open<InputChoose>(false);
        QCOMPARE(again, first.data());  // the kept one
        QTRY_COMPARE(window_at(QPoint(160, 120)), static_cast<QWidget*>(again));
        testsupport::close_all_pages();
    }

    // Start-up shows the main menu after the home screen's first frame: under
    // the home screen, which keeps the keys.
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
    const pid_t xvfb = ::pipe(fds) == 0 ? ::fork() : -1;
    if (xvfb == 0) {
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        const std::string fd = std::to_string(fds[1]);
        ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "320x240x24", "-nolisten", "tcp",
                 static_cast<char*>(nullptr));
        std::fprintf(stderr, "cannot start Xvfb (scripts/setup installs it)\n");
        ::_exit(127);
    }
    ::close(fds[1]);
    std::string display = ":";
    for (char c; xvfb > 0 && ::read(fds[0], &c, 1) == 1 && c != '\n';)
        display += c;
    if (display.size() < 2)
        return std::fprintf(stderr, "FAIL: no X server for the stacking test\n"), 2;
    qputenv("DISPLAY", display.c_str());
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

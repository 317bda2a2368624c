// The shared popups under a real X server without a window manager, as the
// panel runs headless: a notice or the keypad shown again after a newer page
// opened must come up on top, not under that page. The offscreen platform
// has no stacking, so this test starts its own Xvfb and uses xcb.
#include "testsupport.h"

#include "core/global.h"
#include "ui/frame/keys.h"
#include "ui/frame/numberkeyboard.h"
#include "ui/frame/tip.h"

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
// The top-level window that X shows at `p` (a screen position).
QWidget* window_at(const QPoint& p) {
    QCoreApplication::processEvents();
    return QApplication::topLevelAt(p);
}

// A page opened after the popup was first shown, covering the screen.
QDialog* newer_page() {
    auto* page = new QDialog(nullptr, Qt::FramelessWindowHint);
    page->setGeometry(0, 0, 320, 240);
    page->setStyleSheet("background-color: rgb(16, 16, 28);");
    page->show();
    if (!QTest::qWaitForWindowExposed(page))
        qWarning("newer page not exposed");
    return page;
}

// Ends the notice after `check` has looked at the screen from inside its
// modal loop.
void end_notice_after(std::function<void()> check) {
    QTimer::singleShot(200, [check] {
        check();
        while (g_tip_flag)
            g_tip->tip_outtime_deal();
    });
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

    void notice_shown_again_is_on_top() {
        const QPoint centre(160, 120);
        QWidget* seen = nullptr;
        end_notice_after([&] { seen = window_at(centre); });
        g_tip->tip_create(TIP_DONE);
        QCOMPARE(seen, static_cast<QWidget*>(g_tip));

        QPointer<QDialog> page = newer_page();
        QCOMPARE(window_at(centre), page.data());
        end_notice_after([&] { seen = window_at(centre); });
        g_tip->tip_create(TIP_USB_OUT);
        QVERIFY2(seen == g_tip, "the notice came up under the newer page");
        QCOMPARE(window_at(centre), page.data());  // and it is gone again
        delete page;
    }

    void keypad_shown_again_is_on_top() {
        const QPoint centre(240, 120);
        QWidget* seen = nullptr;
        auto run_keypad = [&] {
            QTimer::singleShot(200, [&] {
                seen = window_at(centre);
                QKeyEvent back(QEvent::KeyRelease, PANEL_KEY_BACK, Qt::NoModifier);
                QApplication::sendEvent(g_numberkeyboard, &back);
            });
            g_numberkeyboard->label_show("W", "1920");
            g_numberkeyboard->exec();
        };
        run_keypad();
        QCOMPARE(seen, static_cast<QWidget*>(g_numberkeyboard));
        QPointer<QDialog> page = newer_page();
        run_keypad();
        QVERIFY2(seen == g_numberkeyboard, "the keypad came up under the newer page");
        delete page;
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
    char c;
    while (::read(fds[0], &c, 1) == 1 && c != '\n')
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

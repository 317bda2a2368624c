// The pieces nothing opens yet: the rotary encoder's reader and the two
// spare dialogs.
#include "testsupport.h"

#include "core/devicepath.h"
#include "ui/frame/about.h"
#include "ui/frame/dialog.h"
#include "ui/frame/lcd_touch.h"

#include <QDir>
#include <QPushButton>
#include <QtTest>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

class TstSpares : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { testsupport::fresh_device(); }

    void idle_counter_stops_above_100000() {
        g_untouched_time = 0;
        for (int i = 0; i < 200000; ++i)
            lcd_touch::pInstance()->auto_timeout_back();
        QCOMPARE(g_untouched_time, 100001u);
    }

    // No encoder: nothing is opened and no signal is asked for. With one,
    // every byte it delivers is one console line, bytes that arrive
    // together included.
    void encoder_bytes_become_lines() {
        QCOMPARE(lcd_touch::pInstance()->fd(), -1);

        const QString node = device_path("/dev/ec11");
        QVERIFY(QDir().mkpath(QFileInfo(node).path()));
        QCOMPARE(::mkfifo(node.toLocal8Bit().constData(), 0600), 0);
        lcd_touch::pInstance()->lcd_touch_init();
        QVERIFY(lcd_touch::fd() >= 0);
        const int driver = ::open(node.toLocal8Bit().constData(), O_WRONLY | O_NONBLOCK);
        QVERIFY(driver >= 0);

        int out[2];
        QCOMPARE(::pipe(out), 0);
        fflush(stdout);
        const int saved = ::dup(STDOUT_FILENO);
        ::dup2(out[1], STDOUT_FILENO);
        const unsigned char steps[] = {0x05, 0xAB, 0x00, 0x10};
        QCOMPARE(::write(driver, steps, sizeof steps), ssize_t(sizeof steps));
        QByteArray printed;
        const QByteArray expected = "signumkey_val: 0x5\n\nsignumkey_val: 0xab\n\n"
                                    "signumkey_val: 0\n\nsignumkey_val: 0x10\n\n";
        pollfd pfd{out[0], POLLIN, 0};
        while (printed.size() < expected.size() && ::poll(&pfd, 1, 5000) > 0) {
            char buf[256];
            const ssize_t n = ::read(out[0], buf, sizeof buf);
            if (n <= 0)
                break;
            printed.append(buf, int(n));
        }
        ::dup2(saved, STDOUT_FILENO);
        ::close(saved);
        ::close(out[0]);
        ::close(out[1]);
        ::close(driver);
        // The node stays open for the rest of the process: its signals end
        // here, before the test's folder goes.
        ::signal(SIGIO, SIG_IGN);
        QCOMPARE(printed, expected);
    }

    void spare_dialogs_accept_on_their_button() {
        About about;
        Dialog dialog;
        QCOMPARE(about.size(), QSize(800, 480));
        QCOMPARE(dialog.size(), QSize(320, 240));
        for (QDialog* d : {static_cast<QDialog*>(&about), static_cast<QDialog*>(&dialog)}) {
            d->open();
            QTest::mouseClick(d->findChild<QPushButton*>("pushButton"), Qt::LeftButton);
            QCOMPARE(d->result(), int(QDialog::Accepted));
            QVERIFY(!d->isVisible());
        }
    }
};

QTEST_MAIN(TstSpares)
#include "tst_spares.moc"

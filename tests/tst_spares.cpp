// The spare dialogs, the touch idle counter and the rotary encoder's reader.
#include "page_driver.h"

#include "ui/frame/about.h"
#include "ui/frame/dialog.h"
#include "ui/frame/lcd_touch.h"

#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

class TstSpares : public QObject {
    Q_OBJECT
private slots:
    // Neither dialog is opened by the panel; each ends accepted by its button.
    void spare_dialogs_end_accepted() {
        for (QDialog* d : std::initializer_list<QDialog*>{new About, new Dialog}) {
            QTimer::singleShot(0, d->findChild<QWidget*>("pushButton"), SLOT(click()));
            QCOMPARE(d->exec(), int(QDialog::Accepted));
            delete d;
        }
    }

    void idle_counter_stops_above_100000() {
        for (int i = 0; i < 200000; ++i)
            lcd_touch::pInstance()->auto_timeout_back();
        QCOMPARE(g_untouched_time, 100001u);
    }

    // Without an encoder nothing is opened (above). With one, each byte is a
    // console line from the signal handler, bytes that arrive together too.
    void encoder_bytes_become_lines() {
        const QByteArray node = device_path("/dev/ec11").toLocal8Bit();
        QDir().mkpath(QFileInfo(node).path());
        QVERIFY(lcd_touch::fd() < 0 && ::mkfifo(node.constData(), 0600) == 0);
        lcd_touch::pInstance()->lcd_touch_init();
        const int driver = ::open(node.constData(), O_WRONLY | O_NONBLOCK);
        const QByteArray printed = testsupport::capture_stdout([&] {
            QCOMPARE(::write(driver, "\x05\xAB\x00\x10", 4), ssize_t(4));
            QTRY_VERIFY(::lseek(STDOUT_FILENO, 0, SEEK_CUR) >= 80);
        });
        ::close(driver);
        ::signal(SIGIO, SIG_IGN);  // the node stays open: no signals after the folder goes
        QCOMPARE(printed, QByteArray("signumkey_val: 0x5\n\nsignumkey_val: 0xab\n\n"
                                     "signumkey_val: 0\n\nsignumkey_val: 0x10\n\n"));
    }
};

QTEST_MAIN(TstSpares)
#include "tst_spares.moc"

// The round progress bar: the ring and its text, the shared bar's life, and
// a card job of the FPGA thread driving it on a tools page.
#include "page_driver.h"

#include "core/global.h"
#include "ui/frame/shared_widgets.h"
#include "fpga/fpga_manage.h"
#include "ui/frame/keys.h"
#include "ui/frame/qroundprogressbar.h"
#include "ui/tools/rcv_recovery.h"
#include "ui/tools/smartmapping.h"

#include <QDialog>
#include <QImage>
#include <QtTest>
#include <memory>

class TstQRoundProgressBar : public QObject {
    Q_OBJECT
private slots:
    void init() { testsupport::fresh_device(); }

    // The arc (clockwise from 12 o'clock) and the text follow value -
    // minimum, and an empty range divides by nothing.
    void ranges_data() { // min, max, value, half of the ring drawn (else none)
        testsupport::int_rows({{"empty range", {5, 5, 5, 0}}, {"offset range half way", {50, 150, 100, 1}}});
    }
    void ranges() {
        QFETCH(QVector<int>, r);
        const bool half = r[3];
        QRoundProgressBar bar(nullptr, QRoundProgressBar::StyleRing);
        bar.setRange(r[0], r[1]);
        bar.setValue(r[2]);
        QCOMPARE(bar.percent_text(), QString(half ? "50%" : "0%"));
        bar.resize(100, 100);
        const QImage img = bar.grab().toImage().convertToFormat(QImage::Format_RGB32);
        // The ring's middle at 3 and 9 o'clock: half the ring is one of them.
        const auto blue = [&](int x) { return img.pixel(x, 50) == qRgb(0x2F, 0x8D, 0xED); };
        QCOMPARE(blue(95) + blue(5), half ? 1 : 0);
    }

    // Its page deleted while it shows, the shared bar leaves no dangling pointer.
    void shared_bar_life() {
        auto doomed = std::make_unique<QDialog>();
        QRoundProgressBar::create_qround_bar(doomed.get());
        doomed.reset();
        QVERIFY(!g_qround_bar);
    }

    // Last: starts the FPGA thread for good. OK on a tools page starts its
    // card job, one at a time; under the bar Back (key or keypad O) and MODE,
    // which would delete the bar with the page, keep the page; the last
    // report (100) closes the bar, and Back works again.
    void card_job_on_the_tools_page_data() {
        testsupport::int_rows({{"smart mapping: OK starts the job", {PAGE_SMARTMAPPING}},
                               {"card recovery: OK starts the job", {PAGE_RCV_RECOVERY}}});
    }
    void card_job_on_the_tools_page() {
        QFETCH(QVector<int>, r);
        QCOMPARE(fpga_manage::pInstance()->initialize_start(), 0);
        testsupport::run_fast_ticks(this);
        bool started = false, kept = false, closed = false;
        const auto open = r[0] == PAGE_SMARTMAPPING ? &pages::opener<SmartMapping> : &pages::opener<rcv_recovery>;
        QVERIFY(testsupport::run_nested({open}, r[0], [&] {
            press("k");
            const QRoundProgressBar* bar = g_qround_bar;
            started = bar && bar->isVisible();
            press("kbOm");  // the keypad's O too
            kept = g_page_focus == r[0] && g_qround_bar == bar;
            QTRY_VERIFY_WITH_TIMEOUT(!g_qround_bar, 10000);
            press("b");
            closed = !pages::is_open(r[0]);
        }));
        QVERIFY(started && kept && closed);
    }
};

QTEST_MAIN(TstQRoundProgressBar)
#include "tst_qroundprogressbar.moc"

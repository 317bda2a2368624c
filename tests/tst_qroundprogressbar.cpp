// The round progress bar: the ring and its text over any range, the one
// shared bar's life, and a card job of the FPGA thread driving it on a
// tools page.
#include "testsupport.h"

#include "core/global.h"
#include "fpga/fpga_manage.h"
#include "ui/frame/keys.h"
#include "ui/frame/pageframe.h"
#include "ui/frame/qroundprogressbar.h"
#include "ui/tools/smartmapping.h"

#include <QDialog>
#include <QImage>
#include <QtTest>
#include <cmath>
#include <memory>

namespace {
const QRgb kBlue = qRgb(0x2F, 0x8D, 0xED);
const QRgb kGrey = qRgb(0xDE, 0xE3, 0xE7);

// The ring's middle (radius 45 of a 100-pixel bar) at `clock` o'clock.
QRgb ring_at(const QImage& img, double clock) {
    const double a = (90.0 - clock * 30.0) * M_PI / 180.0;
    return img.pixel(int(std::lround(50 + 45 * std::cos(a))), int(std::lround(50 - 45 * std::sin(a))));
}
}  // namespace

class TstQRoundProgressBar : public QObject {
    Q_OBJECT
private slots:
    void init() { testsupport::fresh_device(); }

    // The arc (clockwise from 12 o'clock) and the text follow
    // value - minimum, never divide by zero, and stop below the minimum.
    void ranges_data() {
        QTest::addColumn<double>("min");
        QTest::addColumn<double>("max");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("to"); // the arc reaches this hour; 0: no arc
        QTest::newRow("half") << 0.0 << 100.0 << 50.0 << "50%" << 5.0;
        QTest::newRow("negative report") << 0.0 << 100.0 << -20.0 << "0%" << 0.0;
        QTest::newRow("empty range") << 5.0 << 5.0 << 5.0 << "0%" << 0.0;
        QTest::newRow("offset range at its minimum") << 50.0 << 150.0 << 50.0 << "0%" << 0.0;
        QTest::newRow("offset range half way") << 50.0 << 150.0 << 100.0 << "50%" << 5.0;
        QTest::newRow("reversed range") << 100.0 << 0.0 << 25.0 << "25%" << 2.0;
    }
    void ranges() {
        QFETCH(double, min);
        QFETCH(double, max);
        QFETCH(double, value);
        QFETCH(double, to);
        QRoundProgressBar bar(nullptr, QRoundProgressBar::StyleRing);
        bar.setRange(min, max);
        bar.setValue(value);
        QTEST(bar.percent_text(), "text");
        bar.resize(100, 100);
        const QImage img = bar.grab().toImage().convertToFormat(QImage::Format_RGB32);
        bool any_blue = false;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                any_blue = any_blue || img.pixel(x, y) == kBlue;
        QCOMPARE(any_blue, to > 0);
        if (to > 0) {
            QCOMPARE(ring_at(img, 1.0), kBlue);
            QCOMPARE(ring_at(img, to), kBlue);
            QCOMPARE(ring_at(img, to + 2), kGrey);
            QCOMPARE(ring_at(img, 11.0), kGrey);
        }
    }

    // The one shared bar: made once, moved by any bar's slot, closed (not
    // deleted) by the first report above 99, after which reports do nothing;
    // its page deleted while it shows leaves no dangling pointer.
    void shared_bar_life() {
        QDialog page;
        QRoundProgressBar::create_qround_bar(&page);
        QRoundProgressBar* bar = g_qround_bar;
        QVERIFY(bar && bar->isVisibleTo(&page));
        QRoundProgressBar::create_qround_bar(&page);
        QCOMPARE(g_qround_bar, bar);
        QCOMPARE(page.findChildren<QRoundProgressBar*>().size(), 1);
        QRoundProgressBar other(nullptr, QRoundProgressBar::StyleRing);
        other.para_sync(40);
        QCOMPARE(bar->getValue(), 40.0);
        bar->para_sync(100);
        QVERIFY(!g_qround_bar);
        QVERIFY(!bar->isVisibleTo(&page));
        QCOMPARE(bar->parentWidget(), &page);
        bar->para_sync(30);
        QCOMPARE(bar->getValue(), 40.0);

        auto doomed = std::make_unique<QDialog>();
        QRoundProgressBar::create_qround_bar(doomed.get());
        QVERIFY(g_qround_bar);
        doomed.reset();
        QVERIFY(!g_qround_bar);
    }

    // Last: starts the FPGA thread, which then runs for the rest of the
    // process. One job at a time; its reports come in order up to 100,
    // which closes the bar, and Back works again.
    void card_job_on_the_tools_page() {
        QCOMPARE(fpga_manage::pInstance()->initialize_start(), 0);
        testsupport::run_fast_ticks(this);
        std::vector<int> seen;
        bool started = false, second = true, closed = false;
        QVERIFY(testsupport::run_nested({[] { pages::open<SmartMapping>(); }}, PAGE_SMARTMAPPING, [&] {
            SmartMapping* page = g_smartmapping();
            connect(page, &SmartMapping::sig_qround_bar_update, this, [&](int p) { seen.push_back(p); });
            started = page->start_job() && g_qround_bar;
            second = page->start_job();
            QTRY_VERIFY_WITH_TIMEOUT(!g_qround_bar, 10000);
            testsupport::key(PANEL_KEY_BACK);
            closed = !g_smartmapping();
        }));
        QVERIFY(started && !second && closed);
        QVERIFY2(seen.size() >= 2 && seen.back() == 100, qPrintable(QString::number(seen.size())));
        QVERIFY(std::is_sorted(seen.begin(), seen.end()));
        QVERIFY(!fpga_manage::pInstance()->card_job_running());
    }
};

QTEST_MAIN(TstQRoundProgressBar)
#include "tst_qroundprogressbar.moc"

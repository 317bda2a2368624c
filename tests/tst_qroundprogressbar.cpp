// The round progress bar: the ring's pixels and text, the range, the one
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

QImage render(QRoundProgressBar& bar) {
    bar.resize(100, 100);
    return bar.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// The ring's middle (radius 45) at `clock` o'clock.
QRgb ring_at(const QImage& img, double clock) {
    const double a = (90.0 - clock * 30.0) * M_PI / 180.0;
    return img.pixel(int(std::lround(50 + 45 * std::cos(a))), int(std::lround(50 - 45 * std::sin(a))));
}

bool any_blue(const QImage& img) {
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) == kBlue)
                return true;
    return false;
}
}  // namespace

class TstQRoundProgressBar : public QObject {
    Q_OBJECT
private slots:
    void init() { testsupport::fresh_device(); }

    // 50 fills the right half clockwise from 12 o'clock; the left stays grey.
    void half_ring() {
        QRoundProgressBar bar(nullptr, QRoundProgressBar::StyleRing);
        bar.setValue(50);
        const QImage img = render(bar);
        for (double clock : {1.0, 2.0, 3.0, 4.0, 5.0})
            QVERIFY2(ring_at(img, clock) == kBlue, qPrintable(QString("at %1 o'clock").arg(clock)));
        for (double clock : {7.0, 8.0, 9.0, 10.0, 11.0})
            QVERIFY2(ring_at(img, clock) == kGrey, qPrintable(QString("at %1 o'clock").arg(clock)));
        QCOMPARE(bar.percent_text(), QString("50%"));
    }

    // Values below the range, an empty range and an offset range: the arc
    // and the text follow value - minimum, never divide by zero.
    void ranges_data() {
        QTest::addColumn<double>("min");
        QTest::addColumn<double>("max");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("arc");
        QTest::newRow("negative report") << 0.0 << 100.0 << -20.0 << "0%" << false;
        QTest::newRow("empty range") << 5.0 << 5.0 << 5.0 << "0%" << false;
        QTest::newRow("offset range at its minimum") << 50.0 << 150.0 << 50.0 << "0%" << false;
        QTest::newRow("offset range half way") << 50.0 << 150.0 << 100.0 << "50%" << true;
        QTest::newRow("reversed range") << 100.0 << 0.0 << 25.0 << "25%" << true;
    }
    void ranges() {
        QFETCH(double, min);
        QFETCH(double, max);
        QFETCH(double, value);
        QRoundProgressBar bar(nullptr, QRoundProgressBar::StyleRing);
        bar.setRange(min, max);
        bar.setValue(value);
        QCOMPARE(bar.getMinimum(), std::min(min, max));
        QCOMPARE(bar.getMaximum(), std::max(min, max));
        QFETCH(QString, text);
        QCOMPARE(bar.percent_text(), text);
        const QImage img = render(bar);
        QFETCH(bool, arc);
        QCOMPARE(any_blue(img), arc);
        if (min == 50.0 && value == 100.0)  // half way: to 6 o'clock only
            QCOMPARE(ring_at(img, 9.0), kGrey);
    }

    // The one shared bar: made once, moved by reports, closed (not deleted)
    // by the first report above 99, after which reports do nothing.
    void shared_bar_life() {
        QDialog page;
        QRoundProgressBar::create_qround_bar(&page);
        QRoundProgressBar* bar = g_qround_bar;
        QVERIFY(bar);
        QCOMPARE(bar->parentWidget(), &page);
        QCOMPARE(bar->geometry(), QRect(120, 70, 100, 100));
        QVERIFY(bar->isVisibleTo(&page));
        QRoundProgressBar::create_qround_bar(&page);
        QCOMPARE(g_qround_bar, bar);
        QCOMPARE(page.findChildren<QRoundProgressBar*>().size(), 1);

        // Any bar's slot acts on the current one.
        QRoundProgressBar other(nullptr, QRoundProgressBar::StyleRing);
        other.para_sync(40);
        QCOMPARE(bar->getValue(), 40.0);
        QCOMPARE(other.getValue(), 0.0);

        bar->para_sync(100);
        QVERIFY(!g_qround_bar);
        QVERIFY(!bar->isVisibleTo(&page));
        QCOMPARE(bar->parentWidget(), &page);
        bar->para_sync(30);
        QCOMPARE(bar->getValue(), 40.0);
    }

    // A page deleted while its bar shows leaves no dangling pointer.
    void deleted_page_clears_the_pointer() {
        auto page = std::make_unique<QDialog>();
        QRoundProgressBar::create_qround_bar(page.get());
        QVERIFY(g_qround_bar);
        page.reset();
        QVERIFY(!g_qround_bar);
    }

    // Last: starts the FPGA thread, which then runs for the rest of the
    // process. The job's reports fill the bar; while it shows, the page
    // refuses Back and MODE; at 100 it closes and Back works again.
    void card_job_on_the_tools_page() {
        QCOMPARE(fpga_manage::pInstance()->initialize_start(), 0);
        testsupport::run_fast_ticks(this);
        std::vector<int> seen;
        bool started = false, refused = false, closed = false;
        const bool reached = testsupport::run_nested(
            {[] { pages::open<SmartMapping>(); }}, PAGE_SMARTMAPPING, [&] {
                SmartMapping* page = g_smartmapping();
                connect(page, &SmartMapping::sig_qround_bar_update, this,
                        [&](int p) { seen.push_back(p); });
                started = page->start_job();
                QVERIFY(g_qround_bar);
                QVERIFY(!page->start_job());  // one job at a time
                testsupport::key(PANEL_KEY_BACK);
                testsupport::key(PANEL_KEY_MODE);
                refused = g_page_focus == PAGE_SMARTMAPPING && g_smartmapping() == page;
                QTRY_VERIFY_WITH_TIMEOUT(!g_qround_bar, 10000);
                testsupport::key(PANEL_KEY_BACK);
                closed = !g_smartmapping();
            });
        QVERIFY(reached);
        QVERIFY(started);
        QVERIFY(refused);
        QVERIFY(closed);
        QVERIFY2(seen.size() >= 2 && seen.back() == 100, qPrintable(QString::number(seen.size())));
        QVERIFY(std::is_sorted(seen.begin(), seen.end()));
        QVERIFY(!fpga_manage::pInstance()->card_job_running());
    }
};

QTEST_MAIN(TstQRoundProgressBar)
#include "tst_qroundprogressbar.moc"

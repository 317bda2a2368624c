// The round progress bar: the ring and its text, the shared bar's life
// from its creation to the report that closes it, and a card job of the
// FPGA thread driving it on a tools page.
#include "testsupport.h"

#include "core/global.h"
#include "fpga/fpga_manage.h"
#include "ui/frame/keys.h"
#include "ui/frame/qroundprogressbar.h"
#include "ui/tools/smartmapping.h"

#include <QDialog>
#include <QImage>
#include <QtTest>
#include <memory>

namespace {
// The ring's quarters clockwise from 12 o'clock, "1" where the middle of
// one is drawn blue: "1100" is the right half.
QString arc(QWidget* bar) {
    const QImage img = bar->grab().toImage();
    QString quarters;
    for (QPoint at : {QPoint(82, 18), QPoint(82, 82), QPoint(18, 82), QPoint(18, 18)})
        quarters += img.pixel(at) == qRgb(0x2F, 0x8D, 0xED) ? '1' : '0';
    return quarters;
}
struct Ring {
    double from, to, value; // setRange(from, to), then setValue(value)
    QString shown;          // the text, then the arc
};
} // namespace
Q_DECLARE_METATYPE(Ring)

class TstQRoundProgressBar : public QObject {
    Q_OBJECT
private slots:
    void init() { testsupport::fresh_device(); }

    void ring_data() {
        QTest::addColumn<Ring>("r");
        QTest::newRow("half: clockwise from 12 o'clock") << Ring{0, 100, 50, "50% 1100"};
        QTest::newRow("a negative value: 0%, no arc") << Ring{0, 100, -5, "0% 0000"};
        QTest::newRow("an offset range counts from its minimum") << Ring{50, 150, 100, "50% 1100"};
        QTest::newRow("a range given high to low") << Ring{150, 50, 75, "25% 1000"};
        QTest::newRow("an empty range: 0%, no arc") << Ring{5, 5, 5, "0% 0000"};
    }
    void ring() {
        QFETCH(Ring, r);
        QRoundProgressBar bar(nullptr, QRoundProgressBar::StyleRing);
        bar.resize(100, 100);
        bar.setRange(r.from, r.to);
        bar.setValue(r.value);
        QCOMPARE(bar.percent_text() + ' ' + arc(&bar), r.shown);
    }

    // One bar at a time; a report above 99 closes it (never a full ring),
    // a later one does nothing; deleted with its page it leaves no pointer.
    void shared_bar_life() {
        auto page = std::make_unique<QDialog>();
        QRoundProgressBar::create_qround_bar(page.get());
        QRoundProgressBar* bar = g_qround_bar;
        QRoundProgressBar::create_qround_bar(page.get());
        QCOMPARE(page->findChildren<QRoundProgressBar*>().size(), 1);
        for (int report : {99, 100, 30})
            bar->para_sync(report);
        QVERIFY(!g_qround_bar && bar->isHidden() && bar->percent_text() == "99%");
        QRoundProgressBar::create_qround_bar(page.get());
        page.reset();
        QVERIFY(!g_qround_bar);
    }

    // Last: starts the FPGA thread for good. One job at a time; its last
    // report (100) closes the bar, and Back works again.
    void card_job_on_the_tools_page() {
        QCOMPARE(fpga_manage::pInstance()->initialize_start(), 0);
        testsupport::run_fast_ticks(this);
        bool started = false, second = true, closed = false;
        QVERIFY(testsupport::run_nested({[] { pages::open<SmartMapping>(); }}, PAGE_SMARTMAPPING, [&] {
            started = g_smartmapping()->start_job() && g_qround_bar;
            second = g_smartmapping()->start_job();
            QTRY_VERIFY_WITH_TIMEOUT(!g_qround_bar, 10000);
            testsupport::key(PANEL_KEY_BACK);
            closed = !g_smartmapping();
        }));
        QVERIFY(started && !second && closed);
    }
};

QTEST_MAIN(TstQRoundProgressBar)
#include "tst_qroundprogressbar.moc"

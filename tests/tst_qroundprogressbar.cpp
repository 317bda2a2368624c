// The round progress bar: the ring and its text, the shared bar's life
// from its creation to the report that closes it, and a card job of the
// FPGA thread driving it on a tools page.
#include "page_driver.h"

#include "fpga/fpga_manage.h"
#include "ui/frame/qroundprogressbar.h"
#include "ui/tools/rcv_recovery.h"
#include "ui/tools/smartmapping.h"

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
    double from, to, value;  // setRange(from, to), then setValue(value)
    QString shown;           // the text, then the arc
};
}  // namespace
Q_DECLARE_METATYPE(Ring)

class TstQRoundProgressBar : public QObject {
    Q_OBJECT
private slots:
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

    // Last: starts the FPGA thread for good. OK on a tools page starts its
    // card job, which shows the one bar (a second OK or bar makes none);
    // under it Back (key or keypad O) and MODE, which would delete it with
    // the page, keep the page. Its last report (100) closes it, never a full
    // ring, and a later one does nothing. A bar deleted with its page leaves
    // no pointer behind.
    void card_job_on_the_tools_page_data() {
        testsupport::int_rows({{"smart mapping: OK starts the job", {PAGE_SMARTMAPPING}},
                               {"card recovery: OK starts the job", {PAGE_RCV_RECOVERY}}});
    }
    void card_job_on_the_tools_page() {
        QFETCH(QVector<int>, r);
        QCOMPARE(fpga_manage::pInstance()->initialize_start(), 0);
        testsupport::run_fast_ticks(this);
        const auto open = r[0] == PAGE_SMARTMAPPING ? &pages::opener<SmartMapping> : &pages::opener<rcv_recovery>;
        run_page({open}, r[0], [&] {
            auto* page = static_cast<QDialog*>(testsupport::front_page());
            press("k");
            QRoundProgressBar* bar = g_qround_bar;
            QRoundProgressBar::create_qround_bar(page);
            press("kbOm");
            QVERIFY(bar && g_page_focus == r[0] && g_qround_bar == bar);
            QCOMPARE(page->findChildren<QRoundProgressBar*>().size(), 1);
            QTRY_VERIFY_WITH_TIMEOUT(!g_qround_bar, 10000);
            bar->para_sync(30);
            QVERIFY(bar->isHidden() && bar->percent_text() != "30%" && bar->percent_text() != "100%");
            QRoundProgressBar::create_qround_bar(page);
        });
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!g_qround_bar);
    }
};

QTEST_MAIN(TstQRoundProgressBar)
#include "tst_qroundprogressbar.moc"

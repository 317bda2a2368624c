// The notice popup: how long it shows, which kinds show nothing, its
// language, and a second notice asked for while one shows.
#include "testsupport.h"

#include "core/global.h"
#include "ui/frame/tip.h"

#include <QLabel>
#include <QTimer>
#include <QtTest>

namespace {
// Counts turns of a 0 ms timer that ticks the notice like the 10 ms clock.
struct Clock {
    int ticks = 0;
    QTimer timer;
    Clock() {
        QObject::connect(&timer, &QTimer::timeout, [this] {
            ++ticks;
            if (g_tip_flag)
                g_tip->tip_outtime_deal();
        });
        timer.start(0);
    }
};
QStringList texts() {
    QStringList out;
    for (QLabel* l : g_tip->findChildren<QLabel*>())
        if (!l->text().isEmpty())
            out << l->text();
    return out;
}
}  // namespace

class TstTip : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { g_tip = new TIP(nullptr); }
    void init() { testsupport::fresh_device(); }

    void shows_for_exactly_300_ticks_data() {
        QTest::addColumn<int>("kind");
        QTest::newRow("done") << int(TIP_DONE);
        QTest::newRow("usb out") << int(TIP_USB_OUT);
    }
    void shows_for_exactly_300_ticks() {
        QFETCH(int, kind);
        bool shown = false;
        testsupport::post([&] { shown = g_tip->isVisible(); });
        Clock clock;
        g_tip->tip_create(kind);  // returns when the notice has gone
        QVERIFY(shown);
        QCOMPARE(clock.ticks, 300);  // the clock only turns inside the notice's loop
        QVERIFY(!g_tip->isVisible());
        QCOMPARE(int(g_tip_flag), 0);
    }

    void kinds_without_a_notice_return_at_once_data() {
        QTest::addColumn<int>("kind");
        QTest::newRow("kind 2") << 2;
        QTest::newRow("kind 6") << 6;
    }
    void kinds_without_a_notice_return_at_once() {
        QFETCH(int, kind);
        g_tip->tip_create(kind);  // would hang if it ran its loop: no clock runs
        QCOMPARE(int(g_tip_flag), 0);
        QVERIFY(!g_tip->isVisible());
    }

    void text_follows_the_language_rule_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<int>("valid");
        QTest::addColumn<QString>("expected");
        QTest::newRow("russian offered") << 2 << 31 << QString::fromUtf8("USB-накопитель отключен \nот сети.");
        QTest::newRow("traditional chinese not offered") << 4 << 0x0F << QString("USB drive is unplugged.");
        QTest::newRow("simplified chinese offered") << 0 << 1 << QString::fromUtf8("U盘已拔出");
    }
    void text_follows_the_language_rule() {
        QFETCH(int, language);
        QFETCH(int, valid);
        g_language = uint8_t(language);
        g_lcd_lang_valid = uint32_t(valid);
        QStringList shown;
        testsupport::post([&] {
            shown = texts();
            for (int i = 0; i < 300; ++i)
                g_tip->tip_outtime_deal();
        });
        g_tip->tip_create(TIP_USB_OUT);
        QTEST(shown.value(0), "expected");
    }

    // A refresh inside the notice's loop may ask for another notice: it must
    // replace the content and restart the count, not nest a second loop.
    void second_notice_restarts_instead_of_nesting() {
        int ticks_at_second = -1;
        Clock clock;
        testsupport::post([&] {
            for (int i = 0; i < 100; ++i)
                g_tip->tip_outtime_deal();
            ticks_at_second = clock.ticks;
            g_tip->tip_create(TIP_USB_READING);  // returns at once
            g_tip->tip_create(2);  // a kind without a notice leaves this one as it is
            QVERIFY(texts().contains("Reading the data,pls wait"));
        });
        g_tip->tip_create(TIP_DONE);
        QVERIFY(ticks_at_second >= 0);
        QCOMPARE(g_tip->shown_kind(), int(TIP_USB_READING));
        QCOMPARE(clock.ticks - ticks_at_second, 300);
        QCOMPARE(int(g_tip_flag), 0);
    }
};

QTEST_MAIN(TstTip)
#include "tst_tip.moc"

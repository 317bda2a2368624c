// The notice popup: how long it shows, which kinds show nothing, its
// language, and a second notice asked for while one shows.
#include "testsupport.h"

#include "core/global.h"
#include "ui/frame/tip.h"

#include <QLabel>
#include <QTimer>
#include <QtTest>

class TstTip : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { g_tip = new TIP(nullptr); }
    void init() { testsupport::fresh_device(); }

    void shows_for_exactly_300_ticks_data();
    void shows_for_exactly_300_ticks();
    void kinds_without_a_notice_return_at_once_data();
    void kinds_without_a_notice_return_at_once();
    void text_follows_the_language_rule_data();
    void text_follows_the_language_rule();
    void second_notice_restarts_instead_of_nesting();
};

// Runs `ticks` like the 10 ms clock does, one per event-loop turn.
static QTimer* start_ticks(int* count) {
    auto* t = new QTimer;
    QObject::connect(t, &QTimer::timeout, [count] {
        ++*count;
        if (g_tip_flag)
            g_tip->tip_outtime_deal();
    });
    t->start(0);
    return t;
}

void TstTip::shows_for_exactly_300_ticks_data() {
    QTest::addColumn<int>("kind");
    QTest::newRow("done") << int(TIP_DONE);
    QTest::newRow("usb in") << int(TIP_USB_IN);
    QTest::newRow("usb out") << int(TIP_USB_OUT);
    QTest::newRow("usb reading") << int(TIP_USB_READING);
}

void TstTip::shows_for_exactly_300_ticks() {
    QFETCH(int, kind);
    int ticks = 0;
    int ticks_when_shown = -1;
    testsupport::post([&] { ticks_when_shown = g_tip->isVisible() ? ticks : -2; });
    QTimer* t = start_ticks(&ticks);
    g_tip->tip_create(kind);  // returns when the notice has gone
    const int ticks_at_return = ticks;
    delete t;
    QVERIFY2(ticks_when_shown >= 0, "the notice was not visible while its loop ran");
    // The clock only turns inside the notice's loop, so every tick counted.
    QCOMPARE(ticks_at_return, 300);
    QVERIFY(!g_tip->isVisible());
    QCOMPARE(int(g_tip_flag), 0);
    QCOMPARE(g_tip->tick_count(), 0);
}

void TstTip::kinds_without_a_notice_return_at_once_data() {
    QTest::addColumn<int>("kind");
    QTest::newRow("kind 2") << 2;
    QTest::newRow("kind 6") << 6;
    QTest::newRow("kind 0") << 0;
    QTest::newRow("negative") << -1;
}

void TstTip::kinds_without_a_notice_return_at_once() {
    QFETCH(int, kind);
    g_tip->tip_create(kind);  // would hang here if it ran its loop: no ticks run
    QCOMPARE(int(g_tip_flag), 0);
    QVERIFY(!g_tip->isVisible());
}

void TstTip::text_follows_the_language_rule_data() {
    QTest::addColumn<int>("language");
    QTest::addColumn<int>("valid");
    QTest::addColumn<QString>("expected");
    QTest::newRow("english") << 1 << 31 << QString("USB drive is unplugged.");
    QTest::newRow("russian offered") << 2 << 31
                                     << QString::fromUtf8("USB-накопитель отключен \nот сети.");
    QTest::newRow("traditional chinese not offered") << 4 << 0x0F
                                                     << QString("USB drive is unplugged.");
    QTest::newRow("simplified chinese offered") << 0 << 1 << QString::fromUtf8("U盘已拔出");
}

void TstTip::text_follows_the_language_rule() {
    QFETCH(int, language);
    QFETCH(int, valid);
    QFETCH(QString, expected);
    g_language = uint8_t(language);
    g_lcd_lang_valid = uint32_t(valid);
    QString shown;
    testsupport::post([&] {
        for (QLabel* l : g_tip->findChildren<QLabel*>())
            if (!l->text().isEmpty())
                shown = l->text();
        for (int i = 0; i < 300; ++i)
            g_tip->tip_outtime_deal();
    });
    g_tip->tip_create(TIP_USB_OUT);
    QCOMPARE(shown, expected);
}

// A refresh inside the notice's loop may ask for another notice; it must
// not nest a second modal loop, only replace the content and restart.
void TstTip::second_notice_restarts_instead_of_nesting() {
    int ticks = 0;
    int ticks_at_second = -1;
    testsupport::post([&] {
        for (int i = 0; i < 100; ++i)
            g_tip->tip_outtime_deal();
        ticks_at_second = ticks;
        g_tip->tip_create(TIP_USB_READING);  // returns at once
        QCOMPARE(g_tip->tick_count(), 0);
    });
    QTimer* t = start_ticks(&ticks);
    g_tip->tip_create(TIP_DONE);
    const int ticks_at_return = ticks;
    delete t;
    QVERIFY(ticks_at_second >= 0);
    QCOMPARE(g_tip->shown_kind(), int(TIP_USB_READING));
    QCOMPARE(ticks_at_return - ticks_at_second, 300);
    QCOMPARE(int(g_tip_flag), 0);
}

QTEST_MAIN(TstTip)
#include "tst_tip.moc"

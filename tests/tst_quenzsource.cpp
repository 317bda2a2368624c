// The source manager serving EDID rewrite requests into the EEPROMs.
#include "testsupport.h"

#include "core/global.h"
#include "core/ids.h"
#include "core/para_write.h"
#include "core/rynrampara.h"
#include "sources/quenzsource.h"

#include <QtTest>

#include <atomic>
#include <thread>

class TstQuenzSource : public QObject {
    Q_OBJECT
private slots:
    void onlyRequestedInputsWrittenOnce();
    void entryBuildsImage_data();
    void entryBuildsImage();
    void writtenNeverCoversAWaitingRequest();
};

// Input 5 is fed from a table the PC uploaded: the block's entry stays out.
void TstQuenzSource::onlyRequestedInputsWrittenOnce() {
    testsupport::fresh_device();
    quenzsource* src = quenzsource::pInstance();
    para_write([](RynRamPara& p) {
        p.set_u16(blk::edid(2), 3840);
        p.set_u16(blk::edid(2) + 2, 2160);
        p.set_u16(blk::edid(2) + 4, 30);
        p.set_u16(blk::edid(5), 1024);
    });
    SimEdidEeprom before[SOURCE_COUNT];
    for (int s = 0; s < SOURCE_COUNT; ++s)
        before[s] = src->eeprom(s);
    src->edid_ram_table_from[5] = 1;
    src->edid_rewrite_req[2] = 1;
    src->edid_rewrite_req[5] = 1;
    src->serve_requests();
    src->serve_requests(); // served once, not on every pass
    for (int s = 0; s < SOURCE_COUNT; ++s) {
        const bool asked = s == 2 || s == 5;
        QCOMPARE(src->eeprom(s).writes, before[s].writes + (asked ? 1 : 0));
        QCOMPARE(int(src->edid_written[s]), asked ? 1 : 0);
        QCOMPARE(int(src->edid_rewrite_req[s]), 0);
    }
    const SimEdidEeprom e = src->eeprom(2);
    QCOMPARE(int(e.width), 3840);
    QCOMPARE(int(e.height), 2160);
    QCOMPARE(int(e.rate), 30);
    QVERIFY(!e.from_table);
    QVERIFY(src->eeprom(5).from_table);
    QCOMPARE(src->eeprom(5).width, before[5].width);

    QCOMPARE(src->Set_Custom_HDMI_EDID(6), 0);
    QCOMPARE(src->Set_Custom_HDMI_EDID(-1), 0);
    QCOMPARE(src->eeprom(6).writes, 0);
}

void TstQuenzSource::entryBuildsImage_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("rate");
    QTest::addColumn<bool>("built");
    QTest::newRow("1080p60") << 1920 << 1080 << 60 << true;
    QTest::newRow("4K30") << 3840 << 2160 << 30 << true;
    QTest::newRow("640x480 at 24 Hz") << 640 << 480 << 24 << true;
    // The EDID page stores 0 for an empty or oversized field.
    QTest::newRow("zero width keeps the image") << 0 << 1080 << 60 << false;
    QTest::newRow("zero height keeps the image") << 1920 << 0 << 60 << false;
    QTest::newRow("zero rate keeps the image") << 1920 << 1080 << 0 << false;
    QTest::newRow("width past 12 bits") << 4096 << 1080 << 60 << false;
    QTest::newRow("negative height as stored") << 1920 << 0xFFFF << 60 << false;
    QTest::newRow("rate past 240 Hz") << 1920 << 1080 << 241 << false;
    QTest::newRow("pixel clock past 16 bits") << 4000 << 4000 << 60 << false;
}

// A good entry replaces the image; a bad one is logged and the EEPROM keeps
// the image it had, and the input is not marked written.
void TstQuenzSource::entryBuildsImage() {
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, rate);
    QFETCH(bool, built);
    testsupport::fresh_device();
    quenzsource* src = quenzsource::pInstance();
    const int input = 3;
    src->edid_ram_table_from[input] = 0;
    src->request_edid_rewrite(input);
    src->serve_requests(); // the factory entry first: 1920 x 1080 @ 60
    const SimEdidEeprom before = src->eeprom(input);
    QVERIFY(edid_valid(before.image));

    para_write([&](RynRamPara& p) {
        p.set_u16(blk::edid(input), uint16_t(width));
        p.set_u16(blk::edid(input) + 2, uint16_t(height));
        p.set_u16(blk::edid(input) + 4, uint16_t(rate));
    });
    src->request_edid_rewrite(input);
    const QByteArray log = testsupport::capture_stdout([&] { src->serve_requests(); });
    const SimEdidEeprom e = src->eeprom(input);
    QCOMPARE(int(src->edid_written[input]), built ? 1 : 0);
    QCOMPARE(int(src->edid_rewrite_req[input]), 0);
    if (!built) {
        QVERIFY2(log.contains("keeping the previous image"), log.constData());
        QCOMPARE(e.refused, before.refused + 1);
        QCOMPARE(e.writes, before.writes);
        QVERIFY(e.image == before.image);
        QCOMPARE(int(e.width), int(before.width));
        return;
    }
    QCOMPARE(e.writes, before.writes + 1);
    QVERIFY(edid_valid(e.image));
    const uint8_t* d = e.image.data() + 54; // the preferred timing
    QCOMPARE(d[2] | ((d[4] >> 4) << 8), width);
    QCOMPARE(d[5] | ((d[7] >> 4) << 8), height);
    // The clock gives back the rate over the totals.
    const int h_total = width + (d[3] | ((d[4] & 0x0F) << 8));
    const int v_total = height + (d[6] | ((d[7] & 0x0F) << 8));
    const double clock = (d[0] | (d[1] << 8)) * 10000.0;
    QVERIFY2(qAbs(clock / (h_total * v_total) - rate) < 0.5 + rate * 0.01,
             qPrintable(QString::number(clock / (h_total * v_total))));
}

// The scaler may raise a new request while the source thread finishes the
// previous one; "written" must then wait for the newer request. Checked
// after every raise: "written" seen before the request was taken again is
// the old write's flag landing late.
void TstQuenzSource::writtenNeverCoversAWaitingRequest() {
    testsupport::fresh_device();
    quenzsource* src = quenzsource::pInstance();
    std::atomic<bool> stop{false};
    std::thread server([&] {
        while (!stop)
            src->serve_requests();
    });
    struct Joiner {
        std::atomic<bool>& stop;
        std::thread& t;
        ~Joiner() {
            stop = true;
            t.join();
        }
    } joiner{stop, server};
    g_debugSwitch = 0; // a console line per write would set the pace
    // Bounded in time too, for the sanitizer builds.
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < 200000 && clock.elapsed() < 2000; ++i) {
        src->request_edid_rewrite(3);
        // "written" first: read the other way round, the server could take
        // and serve the request between the two reads.
        for (;;) {
            const int written = src->edid_written[3];
            const int waiting = src->edid_rewrite_req[3];
            QVERIFY2(!(written && waiting),
                     qPrintable(QString("round %1: written while a request waits").arg(i)));
            if (!waiting)
                break;
        }
    }
    QTRY_COMPARE(int(src->edid_written[3]), 1);
}

QTEST_MAIN(TstQuenzSource)
#include "tst_quenzsource.moc"

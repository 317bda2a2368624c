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

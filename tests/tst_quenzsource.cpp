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

namespace {
quenzsource* src() { return quenzsource::pInstance(); }
void set_edid(int input, int width, int height, int rate) {
    para_write([=](RynRamPara& p) {
        p.set_u16(blk::edid(input), uint16_t(width));
        p.set_u16(blk::edid(input) + 2, uint16_t(height));
        p.set_u16(blk::edid(input) + 4, uint16_t(rate));
    });
}
} // namespace

class TstQuenzSource : public QObject {
    Q_OBJECT
private slots:
    void init() { testsupport::fresh_device(); }

    // Served once, not on every pass, and only the inputs asked for; input 5
    // is fed from a table the PC uploaded: the block's entry stays out.
    void onlyRequestedInputsWrittenOnce() {
        set_edid(2, 3840, 2160, 30);
        set_edid(5, 1024, 768, 60);
        SimEdidEeprom before[SOURCE_COUNT];
        for (int s = 0; s < SOURCE_COUNT; ++s)
            before[s] = src()->eeprom(s);
        src()->edid_ram_table_from[5] = 1;
        src()->edid_rewrite_req[2] = src()->edid_rewrite_req[5] = 1;
        src()->serve_requests();
        src()->serve_requests();
        for (int s = 0; s < SOURCE_COUNT; ++s) {
            const bool asked = s == 2 || s == 5;
            QCOMPARE(src()->eeprom(s).writes, before[s].writes + (asked ? 1 : 0));
            QCOMPARE(int(src()->edid_written[s]), asked ? 1 : 0);
            QCOMPARE(int(src()->edid_rewrite_req[s]), 0);
        }
        QCOMPARE(int(src()->eeprom(2).width), 3840);
        QVERIFY(!src()->eeprom(2).from_table);
        QVERIFY(src()->eeprom(5).from_table);
        QCOMPARE(src()->eeprom(5).width, before[5].width);
        QCOMPARE(src()->Set_Custom_HDMI_EDID(6), 0);
        QCOMPARE(src()->Set_Custom_HDMI_EDID(-1), 0);
    }

    // A good entry replaces the image with the timing asked for; a bad one
    // (the EDID page stores 0 for an empty or oversized field) is logged,
    // the EEPROM keeps its image and the input is not marked written.
    void entryBuildsImage_data() { // width, height, rate, built
        testsupport::int_rows({{"1080p60", {1920, 1080, 60, 1}},
                               {"4K30", {3840, 2160, 30, 1}},
                               {"zero width", {0, 1080, 60, 0}},
                               {"zero rate", {1920, 1080, 0, 0}},
                               {"width past 12 bits", {4096, 1080, 60, 0}},
                               {"negative height as stored", {1920, 0xFFFF, 60, 0}},
                               {"rate past 240 Hz", {1920, 1080, 241, 0}},
                               {"pixel clock past 16 bits", {4000, 4000, 60, 0}}});
    }
    void entryBuildsImage() {
        QFETCH(QVector<int>, r);
        const int width = r[0], height = r[1], rate = r[2];
        const bool built = r[3];
        const int input = 3;
        src()->edid_ram_table_from[input] = 0;
        src()->request_edid_rewrite(input);
        src()->serve_requests(); // the factory entry first
        const SimEdidEeprom before = src()->eeprom(input);
        set_edid(input, width, height, rate);
        src()->request_edid_rewrite(input);
        const QByteArray log = testsupport::capture_stdout([] { src()->serve_requests(); });
        const SimEdidEeprom e = src()->eeprom(input);
        QCOMPARE(int(src()->edid_written[input]), built ? 1 : 0);
        QCOMPARE(int(src()->edid_rewrite_req[input]), 0);
        QCOMPARE(e.writes, before.writes + (built ? 1 : 0));
        if (!built) {
            QVERIFY2(log.contains("keeping the previous image"), log.constData());
            QCOMPARE(e.refused, before.refused + 1);
            QVERIFY(e.image == before.image);
            return;
        }
        QVERIFY(edid_valid(e.image));
        const uint8_t* d = e.image.data() + 54; // the preferred timing
        QCOMPARE(d[2] | ((d[4] >> 4) << 8), width);
        QCOMPARE(d[5] | ((d[7] >> 4) << 8), height);
        // The clock gives back the rate over the totals.
        const double totals = (width + (d[3] | ((d[4] & 0x0F) << 8))) * (height + (d[6] | ((d[7] & 0x0F) << 8)));
        const double got = (d[0] | (d[1] << 8)) * 10000.0 / totals;
        QVERIFY2(qAbs(got - rate) < 0.5 + rate * 0.01, qPrintable(QString::number(got)));
    }

    // The scaler may raise a new request while the source thread finishes
    // the previous one: "written" seen while a request waits is the old
    // write's flag landing late.
    void writtenNeverCoversAWaitingRequest() {
        std::atomic<bool> stop{false};
        std::thread server([&] {
            while (!stop)
                src()->serve_requests();
        });
        struct Joiner {
            std::atomic<bool>& stop;
            std::thread& t;
            ~Joiner() { stop = true, t.join(); }
        } joiner{stop, server};
        g_debugSwitch = 0; // a console line per write would set the pace
        QElapsedTimer clock; // bounded in time too, for the sanitizer builds
        clock.start();
        for (int i = 0; i < 200000 && clock.elapsed() < 2000; ++i) {
            src()->request_edid_rewrite(3);
            for (;;) { // "written" first: the other order could miss a whole serve
                const int written = src()->edid_written[3];
                const int waiting = src()->edid_rewrite_req[3];
                QVERIFY2(!(written && waiting), qPrintable(QString("round %1: written while a request waits").arg(i)));
                if (!waiting)
                    break;
            }
        }
        QTRY_COMPARE(int(src()->edid_written[3]), 1);
    }
};

QTEST_MAIN(TstQuenzSource)
#include "tst_quenzsource.moc"

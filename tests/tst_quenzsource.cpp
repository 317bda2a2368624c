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

    // Served once, not on every pass, and only the inputs asked for. A
    // good entry replaces the image with the timing asked for; a bad one
    // (the EDID page stores 0 for an empty field) is logged, the EEPROM
    // keeps its image and the input is not marked written.
    void requestsServedOnce_data() { // width, built
        testsupport::int_rows({{"1080p60", {1920, 1}}, {"zero width", {0, 0}}});
    }
    void requestsServedOnce() {
        QFETCH(QVector<int>, r);
        const int width = r[0], height = 1080, input = 3;
        const bool built = r[1];
        src()->edid_ram_table_from[input] = 0;
        src()->request_edid_rewrite(input);
        src()->serve_requests(); // the factory entry first
        const SimEdidEeprom before = src()->eeprom(input), other = src()->eeprom(2);
        set_edid(input, width, height, 60);
        src()->request_edid_rewrite(input);
        const QByteArray log = testsupport::capture_stdout([] { src()->serve_requests(); });
        src()->serve_requests();
        const SimEdidEeprom e = src()->eeprom(input);
        QCOMPARE(e.writes, before.writes + (built ? 1 : 0));
        QCOMPARE(src()->eeprom(2).writes, other.writes);
        QCOMPARE(int(src()->edid_written[input]), built ? 1 : 0);
        QCOMPARE(int(src()->edid_rewrite_req[input]), 0);
        if (!built) {
            QVERIFY2(log.contains("keeping the previous image"), log.constData());
            QVERIFY(e.image == before.image);
            return;
        }
        QVERIFY(edid_valid(e.image));
        const uint8_t* d = e.image.data() + 54; // the preferred timing
        QCOMPARE(d[2] | ((d[4] >> 4) << 8), width);
        QCOMPARE(d[5] | ((d[7] >> 4) << 8), height);
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
        struct Joiner { // also when an assertion returns early
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

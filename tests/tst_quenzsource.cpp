// The source manager serving EDID rewrite requests into the EEPROMs.
#include "testsupport.h"

#include "core/global.h"
#include "core/para_write.h"
#include "core/rynrampara.h"
#include "sources/quenzsource.h"

#include <QScopeGuard>
#include <QtTest>

#include <atomic>
#include <thread>

namespace {
quenzsource* src() { return quenzsource::pInstance(); }
} // namespace

class TstQuenzSource : public QObject {
    Q_OBJECT
private slots:
    void init() { testsupport::fresh_device(); }

    // Served once, and only the input asked for. A zero width (the EDID
    // page stores 0 for an empty field) is logged and the EEPROM keeps its
    // image, not marked written.
    void requestsServedOnce_data() { testsupport::int_rows({{"1080p60", {1920}}, {"zero width", {0}}}); }
    void requestsServedOnce() {
        QFETCH(QVector<int>, r);
        const int input = 3;
        const bool built = r[0];
        const SimEdidEeprom before = src()->eeprom(input), other = src()->eeprom(2);
        para_write([&](RynRamPara& p) {
            p.set_u16(blk::edid(input), uint16_t(r[0]));
            p.set_u16(blk::edid(input) + 2, 1080);
            p.set_u16(blk::edid(input) + 4, 60);
        });
        src()->request_edid_rewrite(input);
        const QByteArray log = testsupport::capture_stdout([] { src()->serve_requests(); });
        src()->serve_requests();
        const SimEdidEeprom e = src()->eeprom(input);
        QCOMPARE(e.writes, before.writes + (built ? 1 : 0));
        QCOMPARE(src()->eeprom(2).writes, other.writes);
        QCOMPARE(int(src()->edid_written[input]), built ? 1 : 0);
        QCOMPARE(int(src()->edid_rewrite_req[input]), 0);
        if (built) // the preferred timing's width
            QVERIFY(edid_valid(e.image) && (e.image[56] | ((e.image[58] >> 4) << 8)) == 1920);
        else
            QVERIFY2(log.contains("keeping the previous image") && e.image == before.image, log.constData());
    }

    // "Written" seen while a request waits is a previous write's flag landing
    // late, while the scaler raised a new request.
    void writtenNeverCoversAWaitingRequest() {
        std::atomic<bool> stop{false};
        std::thread server([&] {
            while (!stop)
                src()->serve_requests();
        });
        const auto joiner = qScopeGuard([&] { stop = true, server.join(); }); // on any return
        g_debugSwitch = 0; // a console line per write would set the pace
        QElapsedTimer clock; // bounded in time too, for the sanitizer builds
        clock.start();
        for (int i = 0; i < 200000 && clock.elapsed() < 2000; ++i) {
            src()->request_edid_rewrite(3);
            for (int waiting = 1; waiting;) { // "written" first: the other order could miss a serve
                const int written = src()->edid_written[3];
                waiting = src()->edid_rewrite_req[3];
                QVERIFY2(!(written && waiting), qPrintable(QString("round %1").arg(i)));
            }
        }
        QTRY_COMPARE(int(src()->edid_written[3]), 1);
    }
};

QTEST_MAIN(TstQuenzSource)
#include "tst_quenzsource.moc"

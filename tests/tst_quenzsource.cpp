// The source manager serving EDID rewrite requests from the scaler.
#include "testsupport.h"

#include "core/global.h"
#include "sources/quenzsource.h"

#include <QScopeGuard>
#include <QtTest>

#include <atomic>
#include <thread>

namespace {
quenzsource* src() {
    return quenzsource::pInstance();
}
}  // namespace

class TstQuenzSource : public QObject {
    Q_OBJECT
private slots:
    void init() { testsupport::fresh_device(); }

    // A request is served once, not on every pass. (What it writes, and a
    // zero size keeping the image: tst_edidset, from the EDID page.)
    void requestServedOnce() {
        const int writes = src()->eeprom(3).writes;
        src()->request_edid_rewrite(3);
        src()->serve_requests();
        src()->serve_requests();
        QCOMPARE(src()->eeprom(3).writes, writes + 1);
    }

    // "Written" seen while a request waits is a previous write's flag landing
    // late, while the scaler raised a new request.
    void writtenNeverCoversAWaitingRequest() {
        std::atomic<bool> stop{false};
        std::thread server([&] {
            while (!stop)
                src()->serve_requests();
        });
        const auto joiner = qScopeGuard([&] { stop = true, server.join(); });  // on any return
        g_debugSwitch = 0;    // a console line per write would set the pace
        QElapsedTimer clock;  // bounded in time too, for the sanitizer builds
        clock.start();
        for (int i = 0; i < 200000 && clock.elapsed() < 2000; ++i) {
            src()->request_edid_rewrite(3);
            for (int waiting = 1; waiting;) {  // "written" first: the other order could miss a serve
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

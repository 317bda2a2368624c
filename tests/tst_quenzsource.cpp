// The source manager serving EDID rewrite requests into the EEPROMs.
#include "testsupport.h"

#include "core/ids.h"
#include "core/para_write.h"
#include "core/rynrampara.h"
#include "sources/quenzsource.h"

#include <QtTest>

namespace {
quenzsource* src() {
    return quenzsource::pInstance();
}
} // namespace

class TstQuenzSource : public QObject {
    Q_OBJECT
private slots:
    void init();
    void onlyRequestedInputsWrittenOnce();
    void uploadedTableKeepsEntryOut();
    void inputOutOfRangeRefused();
};

void TstQuenzSource::init() {
    testsupport::fresh_device();
    for (int s = 0; s < SOURCE_COUNT; ++s) {
        src()->edid_rewrite_req[s] = 0;
        src()->edid_written[s] = 0;
        src()->edid_ram_table_from[s] = 0;
    }
}

void TstQuenzSource::onlyRequestedInputsWrittenOnce() {
    para_write([](RynRamPara& p) {
        p.set_u16(blk::edid(2), 3840);
        p.set_u16(blk::edid(2) + 2, 2160);
        p.set_u16(blk::edid(2) + 4, 30);
    });
    int before[SOURCE_COUNT];
    for (int s = 0; s < SOURCE_COUNT; ++s)
        before[s] = src()->eeprom(s).writes;
    src()->edid_rewrite_req[2] = 1;
    src()->edid_rewrite_req[5] = 1;
    src()->serve_requests();
    src()->serve_requests(); // served once, not on every pass
    for (int s = 0; s < SOURCE_COUNT; ++s) {
        const bool asked = s == 2 || s == 5;
        QCOMPARE(src()->eeprom(s).writes, before[s] + (asked ? 1 : 0));
        QCOMPARE(int(src()->edid_written[s]), asked ? 1 : 0);
        QCOMPARE(int(src()->edid_rewrite_req[s]), 0);
    }
    const SimEdidEeprom e = src()->eeprom(2);
    QCOMPARE(int(e.width), 3840);
    QCOMPARE(int(e.height), 2160);
    QCOMPARE(int(e.rate), 30);
    QVERIFY(!e.from_table);
    // The factory entry: 1920 x 1080 at 60.
    QCOMPARE(int(src()->eeprom(5).width), 1920);
    QCOMPARE(int(src()->eeprom(5).rate), 60);
}

void TstQuenzSource::uploadedTableKeepsEntryOut() {
    src()->edid_rewrite_req[1] = 1;
    src()->serve_requests();
    const SimEdidEeprom was = src()->eeprom(1);
    para_write([](RynRamPara& p) { p.set_u16(blk::edid(1), 1024); });
    src()->edid_ram_table_from[1] = 1;
    src()->edid_rewrite_req[1] = 1;
    src()->serve_requests();
    const SimEdidEeprom e = src()->eeprom(1);
    QVERIFY(e.from_table);
    QCOMPARE(e.width, was.width);
    QCOMPARE(e.writes, was.writes + 1);
}

void TstQuenzSource::inputOutOfRangeRefused() {
    QCOMPARE(src()->Set_Custom_HDMI_EDID(6), 0);
    QCOMPARE(src()->Set_Custom_HDMI_EDID(-1), 0);
    QCOMPARE(src()->eeprom(6).writes, 0);
    QCOMPARE(src()->Set_Custom_HDMI_EDID(3), 1);
}

QTEST_MAIN(TstQuenzSource)
#include "tst_quenzsource.moc"

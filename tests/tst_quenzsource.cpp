// The source manager serving EDID rewrite requests into the EEPROMs.
#include "testsupport.h"

#include "core/ids.h"
#include "core/para_write.h"
#include "core/rynrampara.h"
#include "sources/quenzsource.h"

#include <QtTest>

class TstQuenzSource : public QObject {
    Q_OBJECT
private slots:
    void onlyRequestedInputsWrittenOnce();
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

QTEST_MAIN(TstQuenzSource)
#include "tst_quenzsource.moc"

// The source manager: EDID rewrite requests served into the EEPROMs, and
// input timing published into the block.
#include "testsupport.h"

#include "core/global.h"
#include "core/para_write.h"
#include "core/rynrampara.h"
#include "sources/quenzsource.h"

#include <QtTest>

namespace {
quenzsource* src() { return quenzsource::pInstance(); }
RynRamPara* model() { return RynRamPara::pInstance(); }
}  // namespace

class TstQuenzSource : public QObject {
    Q_OBJECT
private slots:
    void init();

    void requestWritesTheBlocksEntry();
    void requestsServedForSeveralInputsAtOnce();
    void uploadedTableKeepsEntryOut();
    void inputOutOfRangeRefused();
    void timingPublished_data();
    void timingPublished();
    void timingOfUnknownInputIgnored();
};

void TstQuenzSource::init() {
    testsupport::fresh_device();
    for (int s = 0; s < SOURCE_COUNT; ++s) {
        src()->edid_rewrite_req[s] = 0;
        src()->edid_written[s] = 0;
        src()->edid_ram_table_from[s] = 0;
    }
}

void TstQuenzSource::requestWritesTheBlocksEntry() {
    para_write([](RynRamPara& p) {
        p.set_u16(blk::edid(2), 3840);
        p.set_u16(blk::edid(2) + 2, 2160);
        p.set_u16(blk::edid(2) + 4, 30);
    });
    const int before = src()->eeprom(2).writes;
    src()->serve_requests();
    QCOMPARE(src()->eeprom(2).writes, before);  // nothing asked yet

    src()->edid_rewrite_req[2] = 1;
    src()->serve_requests();
    const SimEdidEeprom e = src()->eeprom(2);
    QCOMPARE(e.writes, before + 1);
    QCOMPARE(int(e.width), 3840);
    QCOMPARE(int(e.height), 2160);
    QCOMPARE(int(e.rate), 30);
    QCOMPARE(int(src()->edid_rewrite_req[2]), 0);
    QCOMPARE(int(src()->edid_written[2]), 1);
    src()->serve_requests();
    QCOMPARE(src()->eeprom(2).writes, before + 1);  // served once
}

void TstQuenzSource::requestsServedForSeveralInputsAtOnce() {
    int before[SOURCE_COUNT];
    for (int s = 0; s < SOURCE_COUNT; ++s)
        before[s] = src()->eeprom(s).writes;
    src()->edid_rewrite_req[0] = 1;
    src()->edid_rewrite_req[5] = 1;
    src()->serve_requests();
    for (int s = 0; s < SOURCE_COUNT; ++s) {
        const bool asked = s == 0 || s == 5;
        QCOMPARE(src()->eeprom(s).writes, before[s] + (asked ? 1 : 0));
        QCOMPARE(int(src()->edid_written[s]), asked ? 1 : 0);
    }
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

void TstQuenzSource::timingPublished_data() {
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("stored");
    QTest::newRow("50 Hz kept") << 50 << 50;
    QTest::newRow("54 Hz kept") << 54 << 54;
    QTest::newRow("55 Hz as 60") << 55 << 60;
    QTest::newRow("59 Hz as 60") << 59 << 60;
    QTest::newRow("120 Hz as 60") << 120 << 60;
}

void TstQuenzSource::timingPublished() {
    QFETCH(int, rate);
    QFETCH(int, stored);
    src()->simulate_input(3, 1280, 720, uint8_t(rate));
    const uint8_t* info = model()->RamParaBlock.data() + blk::input_info(3);
    QCOMPARE(blk::rd16(info, 0), uint16_t(1280));
    QCOMPARE(blk::rd16(info, 2), uint16_t(720));
    QCOMPARE(int(info[4]), stored);
    QCOMPARE(int(info[5]), 0);
    // Signal lost: all zero.
    src()->simulate_input(3, 0, 0, 0);
    for (int k = 0; k < blk::INPUT_INFO_SIZE; ++k)
        QCOMPARE(int(info[k]), 0);
}

void TstQuenzSource::timingOfUnknownInputIgnored() {
    const auto before = model()->RamParaBlock;
    src()->simulate_input(6, 1920, 1080, 60);
    src()->simulate_input(-1, 1920, 1080, 60);
    QVERIFY(model()->RamParaBlock == before);
}

QTEST_MAIN(TstQuenzSource)
#include "tst_quenzsource.moc"

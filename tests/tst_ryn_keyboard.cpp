// USB keypad shortcuts and the light report.
#include "recording_page.h"
#include "testsupport.h"

#include "core/global.h"
#include "core/ramblock.h"
#include "core/rynrampara.h"
#include "scaler/c331_manage.h"
#include "ui/frame/keys.h"
#include "ui/frame/pageframe.h"
#include "ui/frame/ryn_keyboard.h"

#include <QtTest>
#include <hidapi.h>
#include <memory>

namespace {
RynRamPara* para() { return RynRamPara::pInstance(); }
void enable_window(int w, uint16_t enable) { para()->set_u16(blk::window(w, blk::WIN_ENABLE), enable); }
void press(int key) { ryn_keyboard().update_usb_keyEvent(key); }
int output(int w) { return para()->window_u16(w, blk::WIN_OUTPUT); }
int apply_flag() { return c331_manage::pInstance()->para_update_flag; }
}  // namespace

class TstRynKeyboard : public QObject {
    Q_OBJECT
    std::unique_ptr<RecordingPage> front; // the page in front, counting its refreshes
private slots:
    void init() {
        testsupport::fresh_device();
        front = std::make_unique<RecordingPage>(PAGE_LOCKWINDOW);
        g_page_focus = PAGE_LOCKWINDOW;
    }
    void cleanup() { front.reset(); }

    void source_letters_data() { // letter, source
        testsupport::int_rows({{"G ext", {'G', 0}}, {"I is source 4, not 2", {'I', 4}}, {"J, the last", {'J', 5}},
                               {"K is source 2", {'K', 2}}});
    }
    void source_letters() {
        QFETCH(QVector<int>, r);
        enable_window(3, 1);
        g_image_current = 3;
        para()->set_u16(blk::window(3, blk::WIN_SOURCE), 0x8005);  // a crop before
        press(r[0]);
        QCOMPARE(int(para()->window_u16(3, blk::WIN_SOURCE)), r[1]);
        QCOMPARE(apply_flag(), 1);
        QCOMPARE(int(para()->window_u16(0, blk::WIN_SOURCE)), 2);  // window 0 untouched
    }

    void window_letters() {
        enable_window(1, 0);
        press('B'); // disabled: no change, no refresh
        QCOMPARE(int(g_image_current), 0);
        QCOMPARE(int(front->codes.size()), 0);
        enable_window(2, 2);  // only bit 0 counts
        press('C');
        QCOMPARE(int(g_image_current), 0);
        enable_window(1, 1);
        press('B');
        press('B');  // already current: no second refresh
        QCOMPARE(int(g_image_current), 1);
        QCOMPARE(int(front->codes.size()), 1);
        enable_window(0, 0);  // A selects window 0 whatever its enable bit
        press('A');
        QCOMPARE(int(g_image_current), 0);
        QCOMPARE(int(front->codes.size()), 2);
    }

    void freeze_and_black_toggle_back() {
        const int before = output(0);
        for (auto [key, bit] : {std::pair<int, int>{'N', blk::OUTPUT_FREEZE}, {'P', blk::OUTPUT_BLACK}}) {
            press(key);
            QCOMPARE(output(0), before | bit);
            press(key);
            QCOMPARE(output(0), before);
        }
        g_image_current = 4;
        enable_window(4, 0);
        press('N');  // a disabled window stays as it is; the flag goes up all the same
        QCOMPARE(output(4), 0);
        QCOMPARE(apply_flag(), 1);
    }

    void ignored_keys_data() {
        QTest::addColumn<bool>("locked");
        QTest::addColumn<QList<int>>("keys");
        QList<int> letters;
        for (int k = 'A'; k <= 'P'; ++k)
            letters << k;
        QTest::newRow("every shortcut under the lock") << true << letters;
        QTest::newRow("letters outside the range") << false << QList<int>{'M', 'O', 'Q', 'R', 'S', '@', Qt::Key_F6};
    }
    void ignored_keys() {
        QFETCH(bool, locked);
        QFETCH(QList<int>, keys);
        enable_window(1, 1);
        para()->set_u16(blk::PANEL_LOCK, locked);
        const auto before = para()->RamParaBlock;
        for (int k : keys)
            press(k);
        QVERIFY(para()->RamParaBlock == before);
        QCOMPARE(int(g_image_current), 0);
        QCOMPARE(apply_flag(), 0);
        QCOMPARE(int(front->codes.size()), 0);
    }

    // Bits the keypad lights from: windows on, the current one, its source,
    // freeze and the lock.
    void light_report_layout() {
        enable_window(2, 1);
        enable_window(5, 1);
        g_image_current = 2;
        para()->set_u16(blk::window(2, blk::WIN_SOURCE), 3);
        para()->set_u16(blk::window(2, blk::WIN_OUTPUT), blk::OUTPUT_FREEZE);
        para()->set_u16(blk::PANEL_LOCK, 1);
        const std::array<uint8_t, 5> expected{0, 0b100101, 0b000100, 0b001000, 0b101};
        QCOMPARE(ryn_keys_light_report(), expected);
    }

    void keypad_probe_matches_vendor_and_product_data() {
        QTest::addColumn<QList<int>>("ids");  // vendor, product pairs in list order
        QTest::addColumn<int>("found");
        QTest::newRow("same vendor, other product") << QList<int>{0x28E9, 0x0381} << 0;
        QTest::newRow("other vendor, same product") << QList<int>{0x046D, 0x0380} << 0;
        QTest::newRow("keypad after other devices") << QList<int>{0x046D, 0xC077, 0x28E9, 0x0001, 0x28E9, 0x0380} << 1;
    }
    void keypad_probe_matches_vendor_and_product() {
        QFETCH(QList<int>, ids);
        std::vector<hid_device_info> list(size_t(ids.size() / 2));
        for (size_t i = 0; i < list.size(); ++i) {
            list[i] = hid_device_info{};
            list[i].vendor_id = uint16_t(ids[int(2 * i)]);
            list[i].product_id = uint16_t(ids[int(2 * i + 1)]);
            list[i].next = i + 1 < list.size() ? &list[i + 1] : nullptr;
        }
        QTEST(find_ryn_keypad(list.empty() ? nullptr : list.data()), "found");
    }
};

QTEST_MAIN(TstRynKeyboard)
#include "tst_ryn_keyboard.moc"

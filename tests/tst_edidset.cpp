// The EDID page, driven by keys from the source selection page: the tabs,
// the edit frame and the rate choice, the entry Save stores, the redraw
// after changes from outside, and the rewrite that the scaler requests and
// the source manager serves.
#include "page_driver.h"

#include "sources/quenzsource.h"
#include "ui/frame/mainwindow.h"
#include "ui/pages/edidset.h"
#include "ui/pages/inputchoose.h"

namespace {
// What the page shows: the card, then the focus (the tabs, the rate choice
// or an entry of the edit frame) and the frame's three values.
QString view() {
    const EDIDset* p = g_edidset();
    if (!p)
        return g_page_focus == PAGE_CUSTOMMODE && !pages::at(PAGE_INPUTCHOOSE) ? "mode" : "lost";
    const int at = p->ui_seltype == EDIDset::LEVEL_FRAME ? 2 + p->ui_line_select : p->ui_seltype / 2;
    return texts(p, {"card_name", "card_timing"}) + " | " +
           QString("tabs choice W H rate Delete Cancel Save").section(' ', at, at) + ' ' +
           texts(p, {"lineEdit_W", "lineEdit_H", "label_rate"});
}
// Changes from outside: the PC sets HDMI1's size, or its rate to 50; the
// field's pointer is cleared before the keypad's result arrives.
const auto pc_size = [] { outside_change([](RynRamPara& p) { p.set_u16(blk::edid(2), 1280); }); };
const auto pc_rate = [] { outside_change([](RynRamPara& p) { p.set_u16(blk::edid(2) + 4, 50); }); };
const auto field_gone = [] { testsupport::post([] { g_lineedit = nullptr; }); };

struct Edid {
    QString script;   // played from the HDMI1 tab ("!" runs pc)
    void (*pc)();     // a change from outside, or null
    QString view;     // what the page shows after, from its start
    int stored = -1;  // the input whose entry Save stored, or -1
};
}  // namespace
Q_DECLARE_METATYPE(Edid)

class TstEdidSet : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { new MainWindow(nullptr); }
    void init() { testsupport::fresh_device(); }
    void cleanup() { QVERIFY(testsupport::close_all_pages()); }

    void edid_page_data() {
        QTest::addColumn<Edid>("e");
        const auto row = [](const char* tag, const Edid& e) { QTest::newRow(tag) << e; };
        row("MODE in the rate choice closes it and its opener", {"krrkm", nullptr, "mode"});
        row("60 toggled to 30 and stored", {"krrkrkrrrk", nullptr, "HDMI1 1920x1080@30Hz", 2});
        row("Save on EXT, Left of HDMI1", {"lk[1280K]lk", nullptr, "EXT 1280x1080@60Hz", 0});
        row("40000 stores 0, no EEPROM write", {"k[40000K]lk", nullptr, "HDMI1 0x1080@60Hz", 2});
        row("Save unchanged still stores", {"klk", nullptr, "HDMI1 1920x1080@60Hz", 2});
        row("Delete stores nothing", {"k[1280K]rrrk", nullptr, "HDMI1 1920x1080@60Hz"});
        row("Back stores nothing", {"k[1280K]b", nullptr, "HDMI1 1920x1080@60Hz"});
        row("rate choice: Back keeps 50", {"!krrkrbrrrk", pc_rate, "HDMI1 1920x1080@50Hz", 2});
        row("the PC's change redraws the card", {"!", pc_size, "HDMI1 1280x1080@60Hz"});
        row("frame open: PC's change waits", {"k!", pc_size, "HDMI1 1920x1080@60Hz | W 1920 1080"});
        row("Delete then shows the PC's change", {"k!rrrk", pc_size, "HDMI1 1280x1080@60Hz"});
        row("keypad, field gone", {"k![7K]", field_gone, "HDMI1 1920x1080@60Hz | W 1920 1080"});
    }
    void edid_page() {
        QFETCH(Edid, e);
        RynRamPara* para = RynRamPara::pInstance();
        quenzsource* src = quenzsource::pInstance();
        outside_change([](RynRamPara&) {});  // the scaler takes the block as it is
        src->serve_requests();
        const SimEdidEeprom before = src->eeprom(std::max(e.stored, 0));
        run_page({[] { pages::open<InputChoose>(); }, [] { press("lk"); }}, PAGE_EDIDSET, [&] {
            play(e.script, e.pc);
            QCOMPARE(view().left(e.view.size()), e.view);
            QCOMPARE(int(c331_manage::pInstance()->para_update_flag), int(e.stored >= 0));
            if (e.stored < 0)
                return;
            // The source manager rewrites that input's EEPROM from its new
            // entry; a zero leaves the image as it was.
            c331_manage::pInstance()->apply_pass();
            src->serve_requests();
            const SimEdidEeprom now = src->eeprom(e.stored);
            const int width = para->u16(blk::edid(e.stored)), height = para->u16(blk::edid(e.stored) + 2);
            QVERIFY(view().contains(QString("%1x%2@").arg(width).arg(height)));  // the input shown
            QVERIFY(width && height ? edid_valid(now.image) && now.width == width : now.image == before.image);
        });
    }
};

QTEST_MAIN(TstEdidSet)
#include "tst_edidset.moc"

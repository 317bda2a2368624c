// The EDID page, driven by keys from the source selection page, up to the
// rewrite that the scaler requests and the source manager serves.
#include "page_driver.h"

#include "sources/quenzsource.h"
#include "ui/frame/mainwindow.h"
#include "ui/pages/edidset.h"
#include "ui/pages/inputchoose.h"

#include <QFrame>
#include <functional>

using IntList = QVector<int>;

namespace {
RynRamPara* para() { return RynRamPara::pInstance(); }
EDIDset* page() { return g_edidset(); }

void set_entry(int source, int w, int h, int r) {
    for (int i : {0, 1, 2})
        para()->set_u16(blk::edid(source) + 2 * i, uint16_t(IntList{w, h, r}[i]));
    para()->RamParaShadow = para()->RamParaBlock;
}
IntList entry(int s) {
    const int at = blk::edid(s);
    return {para()->u16(at), para()->u16(at + 2), para()->u16(at + 4)};
}
QString text(const char* name) {
    return page()->findChild<QWidget*>(name)->property("text").toString();
}
int apply_flag() { return c331_manage::pInstance()->para_update_flag; }
bool frame_open() { return !page()->findChild<QFrame*>("frame_add")->isHidden(); }
} // namespace

class TstEdidSet : public QObject {
    Q_OBJECT
    // Opens the EDID page from the source selection page (Left to the EDID
    // button, OK) and runs `body` inside its modal loop.
    void run_page(const std::function<void()>& body) {
        g_page_focus = PAGE_MAINWINDOW;
        QVERIFY2(testsupport::run_nested({[] { pages::open<InputChoose>(); }, [] { press("lk"); }},
                                         PAGE_EDIDSET, body),
                 "the source selection page did not open the EDID page");
    }

private slots:
    void initTestCase() {
        if (!g_mainwindow())
            new MainWindow(nullptr);
    }
    void init() {
        testsupport::fresh_device();
        quenzsource::pInstance()->serve_requests(); // nothing left from earlier tests
    }
    void cleanup() {
        QVERIFY(testsupport::close_all_pages());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // From 1920 x 1080 at `rate`: the keys, then `typed` on the keypad if
    // given; a `stored` entry is then saved from the Save button, an empty
    // one means the keys left the frame and nothing is written.
    void edit_frame_data() {
        QTest::addColumn<int>("rate");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<IntList>("stored");
        const IntList nothing;
        auto row = [](const char* tag, int rate, const char* keys, const char* typed,
                      IntList stored) {
            QTest::newRow(tag) << rate << QString(keys) << QString(typed) << stored;
        };
        row("rate toggled 60 to 30", 60, "krrkrk", "", {1920, 1080, 30});
        row("Back in the choice keeps a stored 50", 50, "krrkrb", "", {1920, 1080, 50});
        row("OK in the choice on a stored 50 gives 30", 50, "krrkk", "", {1920, 1080, 30});
        row("height 720", 60, "kr", "720K", {1920, 720, 60});
        row("width 40000 stores 0", 60, "k", "40000K", {0, 1080, 60});
        row("empty width stores 0", 60, "k", "XXXXK", {0, 1080, 60});
        row("keypad Back keeps the width", 60, "k", "5B", {1920, 1080, 60});
        row("Back in the frame", 60, "krb", "", nothing);
        row("Cancel", 60, "kllk", "", nothing);
        row("Delete acts as Cancel", 60, "klllk", "", nothing);
        row("Back after the rate choice", 60, "krrkrkb", "", nothing);
    }
    void edit_frame() {
        QFETCH(int, rate);
        QFETCH(QString, keys);
        QFETCH(QString, typed);
        QFETCH(IntList, stored);
        set_entry(2, 1920, 1080, rate);
        run_page([&] {
            press(keys);
            if (!typed.isEmpty())
                keypad_on_field(typed);
            QCOMPARE(apply_flag(), 0);
            if (stored.isEmpty()) {
                QCOMPARE(entry(2), (IntList{1920, 1080, rate}));
            } else {
                QVERIFY(frame_open());
                QCOMPARE(text("label_rate"), QString::number(stored[2]));
                while (page()->ui_line_select != EDIDset::ENTRY_SAVE)
                    press("r");
                press("k");
                QCOMPARE(entry(2), stored);
                QCOMPARE(apply_flag(), 1);
                QCOMPARE(int(page()->rate_select), stored[2] == 60 ? 1 : 0);
            }
            QVERIFY(!frame_open());
            QCOMPARE(int(page()->ui_seltype), int(EDIDset::LEVEL_TABS));
            // Reopened, the fields come from the block again.
            press("k");
            QCOMPARE(text("lineEdit_W"), QString::number(entry(2)[0]));
            QCOMPARE(text("label_rate"), QString::number(entry(2)[2]));
        });
    }

    // The timing line reads the words as signed 16-bit numbers. The PC
    // changes the selected input's entry: the card follows while the tabs
    // have the focus; an open edit frame keeps what it shows.
    void refresh_from_outside() {
        set_entry(5, 40000, 0, 0xFFFF);
        run_page([] {
            press("rrr"); // HDMI4
            QCOMPARE(text("card_timing"), QString("-25536x0@-1Hz"));
            press("lll");
            outside_change([](RynRamPara& p) { p.set_u16(blk::edid(2), 1024); });
            QCOMPARE(text("card_timing"), QString("1024x1080@60Hz"));
            press("k");
            outside_change([](RynRamPara& p) { p.set_u16(blk::edid(2) + 2, 600); });
            QCOMPARE(text("card_timing"), QString("1024x1080@60Hz"));
            QCOMPARE(text("lineEdit_H"), QString("1080"));
            QVERIFY(frame_open());
            press("b"); // shows the entry as it is now
            QCOMPARE(text("card_timing"), QString("1024x600@60Hz"));
            outside_change([](RynRamPara& p) { p.set_u16(blk::edid(3), 800); }); // another input
            QCOMPARE(text("card_timing"), QString("1024x600@60Hz"));
        });
    }

    // A keypad result without a field to take it (the field's pointer
    // cleared meanwhile) changes nothing. The rate choice handles its own
    // keys but leaves MODE to the frame.
    void keypad_without_field_then_mode_in_the_rate_choice() {
        run_page([] {
            press("k");
            testsupport::post([] {
                g_lineedit = nullptr;
                keypad::type("7K");
            });
            press("k");
            QCOMPARE(text("lineEdit_W"), QString("1920"));
            QCOMPARE(int(page()->ui_seltype), int(EDIDset::LEVEL_FRAME));
            press("rrk");
            QCOMPARE(int(page()->ui_seltype), int(EDIDset::LEVEL_RATE));
            press("m");
            QCOMPARE(int(g_page_focus), int(PAGE_CUSTOMMODE));
            QVERIFY(!pages::at(PAGE_EDIDSET) && !pages::at(PAGE_INPUTCHOOSE));
        });
    }

    // A language change from the PC while the edit frame is open re-texts
    // it as a frame opened in that language, and its texts fit.
    void frame_texts_data() { language_rows(); }
    void frame_texts() {
        QFETCH(int, language);
        compare_retexted_with_opened([this](const auto& body) { run_page(body); },
                                     [] { return page(); }, language, "k");
    }

    // Save on each input: the scaler asks the source manager to rewrite
    // that input's EDID and no other; the source manager builds it from the
    // new entry. A zero width is stored, and the EEPROM keeps its image.
    void rewrite_reaches_the_source_manager_data() {
        // tab, its source, 1280 typed (else C)
        testsupport::int_rows({{"first tab, HDMI1", {0, 2, 1}},
                               {"last tab, EXT", {5, 0, 1}},
                               {"zero width keeps the image", {0, 2, 0}}});
    }
    void rewrite_reaches_the_source_manager() {
        QFETCH(QVector<int>, r);
        const int position = r[0], source = r[1];
        const bool written = r[2];
        quenzsource* src = quenzsource::pInstance();
        // The scaler takes the fresh block as it is, then every EEPROM gets
        // the factory EDID.
        outside_change([](RynRamPara&) {});
        for (int s = 0; s < SOURCE_COUNT; ++s) {
            src->edid_ram_table_from[s] = 0;
            src->request_edid_rewrite(s);
        }
        src->serve_requests();
        const SimEdidEeprom before = src->eeprom(source);
        run_page([&] {
            press(QString(position, 'r') + "k");
            keypad_on_field(written ? "1280K" : "CK");
            press("lk"); // Left to Save, OK
            QCOMPARE(entry(source)[0], written ? 1280 : 0);
            c331_manage::pInstance()->apply_pass();
            for (int s = 0; s < SOURCE_COUNT; ++s)
                QCOMPARE(int(src->edid_rewrite_req[s]), s == source ? 1 : 0);
            src->serve_requests();
            QCOMPARE(int(src->edid_written[source]), written ? 1 : 0);
            const SimEdidEeprom e = src->eeprom(source);
            QCOMPARE(e.writes, before.writes + written);
            QCOMPARE(e.refused, before.refused + !written);
            QVERIFY(written ? edid_valid(e.image) && (e.image[56] | ((e.image[58] >> 4) << 8)) == 1280
                            : e.image == before.image);
            QCOMPARE(text("card_timing"), QString("%1x1080@60Hz").arg(written ? 1280 : 0));
        });
    }
};

QTEST_MAIN(TstEdidSet)
#include "tst_edidset.moc"

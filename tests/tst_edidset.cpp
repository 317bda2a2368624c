// The EDID page, driven by keys from the source selection page, up to the
// rewrite that the scaler requests and the source manager serves.
#include "page_driver.h"

#include "sources/quenzsource.h"
#include "ui/frame/mainwindow.h"
#include "ui/pages/edidset.h"
#include "ui/pages/inputchoose.h"

#include <QFrame>

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

    // From 1920 x 1080 at 60 Hz: the keys, then `typed` on the keypad if
    // given; a `stored` entry is then saved from the Save button, an empty
    // one means the keys left the frame and nothing is written.
    void edit_frame_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<IntList>("stored");
        const IntList nothing;
        auto row = [](const char* tag, const char* keys, const char* typed, IntList stored) {
            QTest::newRow(tag) << QString(keys) << QString(typed) << stored;
        };
        row("rate toggled 60 to 30", "krrkrk", "", {1920, 1080, 30});
        row("width 40000 stores 0", "k", "40000K", {0, 1080, 60});
        row("Cancel", "kllk", "", nothing);
    }
    void edit_frame() {
        QFETCH(QString, keys);
        QFETCH(QString, typed);
        QFETCH(IntList, stored);
        set_entry(2, 1920, 1080, 60);
        run_page([&] {
            press(keys);
            if (!typed.isEmpty())
                keypad_on_field(typed);
            QCOMPARE(apply_flag(), 0);
            if (stored.isEmpty()) {
                QCOMPARE(entry(2), (IntList{1920, 1080, 60}));
            } else {
                QVERIFY(frame_open());
                while (page()->ui_line_select != EDIDset::ENTRY_SAVE)
                    press("r");
                press("k");
                QCOMPARE(entry(2), stored);
                QCOMPARE(apply_flag(), 1);
            }
            QVERIFY(!frame_open());
        });
    }

    // The PC changes the selected input's entry: the card follows while the
    // tabs have the focus; an open edit frame keeps what it shows.
    void refresh_from_outside() {
        run_page([] {
            outside_change([](RynRamPara& p) { p.set_u16(blk::edid(2), 1024); });
            QCOMPARE(text("card_timing"), QString("1024x1080@60Hz"));
            press("k");
            outside_change([](RynRamPara& p) { p.set_u16(blk::edid(2) + 2, 600); });
            QCOMPARE(text("lineEdit_H"), QString("1080"));
        });
    }

    // A keypad result without a field to take it (the field's pointer
    // cleared meanwhile) changes nothing. MODE in the rate choice closes the
    // page and its opener.
    void keypad_without_field_then_mode_in_the_rate_choice() {
        run_page([] {
            press("k");
            testsupport::post([] {
                g_lineedit = nullptr;
                keypad::type("7K");
            });
            press("k");
            QCOMPARE(text("lineEdit_W"), QString("1920"));
            press("rrk");
            press("m");
            QCOMPARE(int(g_page_focus), int(PAGE_CUSTOMMODE));
            QVERIFY(!pages::at(PAGE_EDIDSET) && !pages::at(PAGE_INPUTCHOOSE));
        });
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
            QVERIFY(written ? edid_valid(e.image) && (e.image[56] | ((e.image[58] >> 4) << 8)) == 1280
                            : e.image == before.image);
        });
    }
};

QTEST_MAIN(TstEdidSet)
#include "tst_edidset.moc"

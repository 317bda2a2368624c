// The EDID page, driven by keys from the source selection page, up to the
// rewrite that the scaler requests and the source manager serves.
#include "page_driver.h"

#include "sources/quenzsource.h"
#include "ui/frame/mainwindow.h"
#include "ui/pages/edidset.h"
#include "ui/pages/inputchoose.h"

#include <QFrame>

namespace {
RynRamPara* para() { return RynRamPara::pInstance(); }
EDIDset* page() { return g_edidset(); }
int width_of(int source) { return para()->u16(blk::edid(source)); }
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
    void initTestCase() { new MainWindow(nullptr); }
    void init() { testsupport::fresh_device(); }
    void cleanup() { QVERIFY(testsupport::close_all_pages()); }

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
            QCOMPARE(page()->findChild<QLineEdit*>("lineEdit_W")->text(), QString("1920"));
            press("rrkm");
            QCOMPARE(int(g_page_focus), int(PAGE_CUSTOMMODE));
            QVERIFY(!pages::at(PAGE_EDIDSET) && !pages::at(PAGE_INPUTCHOOSE));
        });
    }

    // Save on an input: the scaler asks the source manager to rewrite that
    // input's EDID and no other; the source manager builds it from the new
    // entry. A width that does not fit 16 bits or an empty field stores 0,
    // and the EEPROM keeps its image. Cancel stores and requests nothing.
    void rewrite_reaches_the_source_manager_data() {
        QTest::addColumn<int>("tab");
        QTest::addColumn<int>("source");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("leave"); // Left to Save, OK; or to Cancel
        QTest::addColumn<int>("width");
        QTest::newRow("last tab, EXT") << 5 << 0 << "1280K" << "lk" << 1280;
        QTest::newRow("40000 stores 0") << 0 << 2 << "40000K" << "lk" << 0;
        QTest::newRow("empty field stores 0") << 0 << 2 << "CK" << "lk" << 0;
        QTest::newRow("Cancel") << 0 << 2 << "1280K" << "llk" << 1920;
    }
    void rewrite_reaches_the_source_manager() {
        QFETCH(int, tab);
        QFETCH(int, source);
        QFETCH(QString, typed);
        QFETCH(QString, leave);
        QFETCH(int, width);
        const bool saved = leave == "lk", written = width != 0;
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
            press(QString(tab, 'r') + "k");
            keypad_on_field(typed);
            press(leave);
            QCOMPARE(width_of(source), width);
            QVERIFY(!frame_open());
            QCOMPARE(int(c331_manage::pInstance()->para_update_flag), int(saved));
            c331_manage::pInstance()->apply_pass();
            for (int s = 0; s < SOURCE_COUNT; ++s)
                QCOMPARE(int(src->edid_rewrite_req[s]), int(saved && s == source));
            if (!saved)
                return;
            src->serve_requests();
            QCOMPARE(int(src->edid_written[source]), written ? 1 : 0);
            const SimEdidEeprom e = src->eeprom(source);
            QCOMPARE(e.writes, before.writes + written);
            QVERIFY(written ? edid_valid(e.image) && (e.image[56] | ((e.image[58] >> 4) << 8)) == width
                            : e.image == before.image);
        });
    }
};

QTEST_MAIN(TstEdidSet)
#include "tst_edidset.moc"

// The EDID page, driven by keys from the source selection page: the input
// tabs, the edit frame and its refresh-rate choice, the keypad, what Save
// stores, the refresh, MODE, the texts, and the rewrite request that the
// scaler raises and the source manager serves for the changed input.
#include "testsupport.h"

#include "page_driver.h"

#include "core/global.h"
#include "core/para_write.h"
#include "core/ramblock.h"
#include "core/rynrampara.h"
#include "scaler/c331_manage.h"
#include "sources/quenzsource.h"
#include "ui/frame/keys.h"
#include "ui/frame/mainwindow.h"
#include "ui/pages/edidset.h"
#include "ui/pages/inputchoose.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QtTest>
#include <functional>

using testsupport::key;
using IntList = QVector<int>;

namespace {
RynRamPara* para() {
    return RynRamPara::pInstance();
}
EDIDset* page() {
    return g_edidset();
}

void set_entry(int source, int w, int h, int r) {
    uint8_t* b = para()->RamParaBlock.data();
    blk::wr16(b, blk::edid(source), uint16_t(w));
    blk::wr16(b, blk::edid(source) + 2, uint16_t(h));
    blk::wr16(b, blk::edid(source) + 4, uint16_t(r));
    para()->RamParaShadow = para()->RamParaBlock;
}
IntList entry(int source) {
    const RynRamPara* p = para();
    return {p->u16(blk::edid(source)), p->u16(blk::edid(source) + 2),
            p->u16(blk::edid(source) + 4)};
}
QString text(const char* name) {
    if (auto* l = page()->findChild<QLabel*>(name))
        return l->text();
    if (auto* e = page()->findChild<QLineEdit*>(name))
        return e->text();
    return page()->findChild<QPushButton*>(name)->text();
}
int apply_flag() {
    return c331_manage::pInstance()->para_update_flag;
}
bool frame_open() {
    return !page()->findChild<QFrame*>("frame_add")->isHidden();
}
} // namespace

class TstEdidSet : public QObject {
    Q_OBJECT
    // Opens the EDID page from the source selection page (Left to the EDID
    // button, OK) and runs `body` inside its modal loop.
    void run_page(const std::function<void()>& body) {
        g_page_focus = PAGE_MAINWINDOW;
        bool ran = false;
        testsupport::post([&] {
            testsupport::post([&] {
                ran = g_page_focus == PAGE_EDIDSET && page() != nullptr;
                if (ran)
                    body();
                testsupport::close_all_pages();
            });
            press("lk");
        });
        pages::open<InputChoose>();
        QVERIFY2(ran, "the source selection page did not open the EDID page");
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

    void tabs_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("source");
        QTest::addColumn<QString>("timing");
        QTest::newRow("starts on HDMI1 with the factory entry") << "" << 0 << 2 << "1920x1080@60Hz";
        QTest::newRow("Left wraps HDMI1 to EXT") << "l" << 5 << 0 << "1280x720@50Hz";
        QTest::newRow("Right wraps EXT to HDMI1") << "lr" << 0 << 2 << "1920x1080@60Hz";
        QTest::newRow("DVI") << "rrrr" << 4 << 1 << "1920x1080@60Hz";
        // The timing reads the words as signed 16-bit numbers.
        QTest::newRow("HDMI4 signed") << "rrr" << 3 << 5 << "40000x0@-1Hz";
    }
    void tabs() {
        QFETCH(QString, keys);
        QFETCH(int, position);
        QFETCH(int, source);
        QFETCH(QString, timing);
        set_entry(0, 1280, 720, 50);
        set_entry(5, 40000, 0, 0xFFFF);
        run_page([&] {
            press(keys);
            QCOMPARE(int(page()->ui_select), position);
            QCOMPARE(int(page()->source_id), source);
            QCOMPARE(text("card_name"), page()->source_name);
            QCOMPARE(text("card_timing"), timing.replace("40000", "-25536"));
            QCOMPARE(page()->findChild<QFrame*>("frame_select")->x(), 4 + 52 * position);
            QVERIFY(page()->findChild<QFrame*>("frame_source")->styleSheet().contains("255,171,84"));
        });
    }

    // Stored entry after the keys, from 1920 x 1080 at `rate`; an empty
    // `stored` means nothing is written and the flag stays down.
    void edit_frame_data() {
        QTest::addColumn<int>("rate");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<IntList>("stored");
        QTest::addColumn<QString>("shown"); // "label_rate" before Save or leaving
        const IntList nothing;
        QTest::newRow("rate toggled 60 to 30 and saved")
            << 60 << "krrkrk" << IntList{1920, 1080, 30} << "30";
        QTest::newRow("Back in the choice keeps 60")
            << 60 << "krrkrb" << IntList{1920, 1080, 60} << "60";
        QTest::newRow("Back in the choice keeps a stored 50")
            << 50 << "krrkrb" << IntList{1920, 1080, 50} << "50";
        QTest::newRow("OK in the choice on a stored 50 gives 30")
            << 50 << "krrkk" << IntList{1920, 1080, 30} << "30";
        QTest::newRow("Left in the choice on a stored 50 gives 60")
            << 50 << "krrklk" << IntList{1920, 1080, 60} << "60";
        QTest::newRow("unchanged values still stored") << 60 << "k" << IntList{1920, 1080, 60} << "60";
    }
    void edit_frame() {
        QFETCH(int, rate);
        QFETCH(QString, keys);
        QFETCH(IntList, stored);
        QFETCH(QString, shown);
        set_entry(2, 1920, 1080, rate);
        run_page([&] {
            press(keys);
            QVERIFY(frame_open());
            QCOMPARE(int(page()->ui_seltype), int(EDIDset::LEVEL_FRAME));
            QCOMPARE(text("label_rate"), shown);
            QCOMPARE(apply_flag(), 0);
            // To Save from wherever the focus is, then OK.
            while (page()->ui_line_select != EDIDset::ENTRY_SAVE)
                press("r");
            press("k");
            QCOMPARE(entry(2), stored);
            QCOMPARE(apply_flag(), 1);
            QVERIFY(!frame_open());
            QCOMPARE(int(page()->ui_seltype), int(EDIDset::LEVEL_TABS));
            QCOMPARE(int(page()->rate_select), stored[2] == 60 ? 1 : 0);
        });
    }

    void leaving_stores_nothing_data() {
        QTest::addColumn<QString>("keys");
        QTest::newRow("Back in the frame") << "krb";
        QTest::newRow("Cancel") << "kllk";
        QTest::newRow("Delete acts as Cancel") << "klllk";
        QTest::newRow("Back after the rate choice") << "krrkrkb";
    }
    void leaving_stores_nothing() {
        QFETCH(QString, keys);
        run_page([&] {
            const IntList before = entry(2);
            press(keys);
            QCOMPARE(entry(2), before);
            QCOMPARE(apply_flag(), 0);
            QVERIFY(!frame_open());
            QCOMPARE(int(page()->ui_seltype), int(EDIDset::LEVEL_TABS));
            QVERIFY(page()->findChild<QFrame*>("frame_select")->styleSheet().contains("255,171,84"));
            // Reopened, the fields come from the block again.
            press("k");
            QCOMPARE(text("lineEdit_W"), QString("1920"));
            QCOMPARE(text("label_rate"), QString("60"));
            press("b");
            press("b");
            QCOMPARE(int(g_page_focus), int(PAGE_INPUTCHOOSE));
        });
    }

    void typed_sizes_data() {
        QTest::addColumn<QString>("field"); // keys from W to the field
        QTest::addColumn<QString>("typed");
        QTest::addColumn<IntList>("stored");
        QTest::newRow("width 1280") << "" << "1280K" << IntList{1280, 1080, 60};
        QTest::newRow("height 720") << "r" << "720K" << IntList{1920, 720, 60};
        QTest::newRow("width 40000 stores 0") << "" << "40000K" << IntList{0, 1080, 60};
        QTest::newRow("empty width stores 0") << "" << "XXXXK" << IntList{0, 1080, 60};
        QTest::newRow("keypad Back keeps the width") << "" << "5B" << IntList{1920, 1080, 60};
    }
    void typed_sizes() {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(IntList, stored);
        run_page([&] {
            press("k" + field);
            keypad_on_field(typed);
            QCOMPARE(int(page()->ui_seltype), int(EDIDset::LEVEL_FRAME));
            while (page()->ui_line_select != EDIDset::ENTRY_SAVE)
                press("r");
            press("k");
            QCOMPARE(entry(2), stored);
        });
    }

    // A keypad result without a field to take it (the field's pointer
    // cleared meanwhile) changes nothing.
    void keypad_result_without_a_field() {
        run_page([] {
            press("k");
            testsupport::post([] {
                g_lineedit = nullptr;
                keypad::type("7K");
            });
            press("k");
            QCOMPARE(text("lineEdit_W"), QString("1920"));
            QCOMPARE(int(page()->ui_seltype), int(EDIDset::LEVEL_FRAME));
        });
    }

    void keypad_titles_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<QStringList>("titles");
        QTest::newRow("simplified Chinese") << 0 << QStringList{"宽", "高"};
        QTest::newRow("Vietnamese") << 3 << QStringList{"W", "H"};
        QTest::newRow("traditional Chinese") << 4 << QStringList{"寬", "高"};
        QTest::newRow("Russian not offered: English") << -2 << QStringList{"W", "H"};
    }
    void keypad_titles() {
        QFETCH(int, language);
        QFETCH(QStringList, titles);
        g_language = uint8_t(qAbs(language));
        if (language < 0)
            g_lcd_lang_valid &= ~(1u << qAbs(language));
        run_page([&] {
            press("k");
            QStringList seen;
            for (int f = 0; f < 2; ++f) {
                testsupport::post([&] {
                    seen << g_numberkeyboard->title() + "=" + g_numberkeyboard->value();
                    keypad::type("N");
                });
                press("kr");
            }
            QCOMPARE(seen, (QStringList{titles[0] + "=1920", titles[1] + "=1080"}));
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
            QCOMPARE(text("card_timing"), QString("1024x1080@60Hz"));
            QCOMPARE(text("lineEdit_H"), QString("1080"));
            QVERIFY(frame_open());
            // Leaving the frame shows the entry as it is now.
            press("b");
            QCOMPARE(text("card_timing"), QString("1024x600@60Hz"));
            outside_change([](RynRamPara& p) { p.set_u16(blk::edid(3), 800); }); // another input
            QCOMPARE(text("card_timing"), QString("1024x600@60Hz"));
        });
    }

    void mode_closes_the_page_and_its_opener_data() {
        QTest::addColumn<bool>("locked");
        QTest::addColumn<QString>("keys");
        QTest::newRow("on the tabs") << false << "";
        QTest::newRow("in the rate choice") << false << "krrk";
        QTest::newRow("locked: nothing") << true << "k";
    }
    void mode_closes_the_page_and_its_opener() {
        QFETCH(bool, locked);
        QFETCH(QString, keys);
        run_page([&] {
            press(keys);
            para()->set_u16(blk::PANEL_LOCK, locked ? 1 : 0);
            press("m");
            if (locked) {
                QCOMPARE(int(g_page_focus), int(PAGE_EDIDSET));
                QVERIFY(page());
                para()->set_u16(blk::PANEL_LOCK, 0);
                return;
            }
            QCOMPARE(int(g_page_focus), int(PAGE_CUSTOMMODE));
            QVERIFY(!pages::at(PAGE_EDIDSET));
            QVERIFY(!pages::at(PAGE_INPUTCHOOSE));
        });
    }

    void texts_in_five_languages_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<QStringList>("texts"); // title, source line, W, H, rate, Cancel, Save, Delete
        QTest::newRow("zh-Hans") << 0 << QStringList{"设置EDID", "EDID信源:HDMI1", "宽", "高", "刷新率", "取消", "保存", "删除"};
        QTest::newRow("en") << 1 << QStringList{"EDID Settings", "EDID source:HDMI1", "W", "H", "Refresh rate", "Cancle", "SAVE", "Delete"};
        QTest::newRow("ru") << 2 << QStringList{"Настройка EDID", "Источник EDID:HDMI1", "Ширина", "Высота", "Частота", "Отмена", "Сохранить", "Удалить"};
        QTest::newRow("vi") << 3 << QStringList{"Cài đặt EDID", "Tín hiệu EDID:HDMI1", "Rộng", "Cao", "Tần số", "Hủy bỏ", "lưu", "Xoá bỏ"};
        QTest::newRow("zh-Hant") << 4 << QStringList{"設置EDID", "EDID信源:HDMI1", "寬", "高", "刷新率", "取消", "保存", "删除"};
    }
    // The texts are the table's and fit their boxes; a language change while
    // the edit frame is open re-texts it.
    void texts_in_five_languages() {
        QFETCH(int, language);
        QFETCH(QStringList, texts);
        run_page([&] {
            press("k");
            outside_change([language](RynRamPara& p) { p.set_u16(blk::LCD_LANGUAGE, uint16_t(language)); });
            const QStringList seen{text("label_title"), text("label_edid_source"), text("label_W"),
                                   text("label_H"), text("label_freq"), text("button_cancel"),
                                   text("button_save"), text("button_delete")};
            QCOMPARE(seen, texts);
            QVERIFY2(texts_that_overflow(page()).isEmpty(),
                     qPrintable(texts_that_overflow(page()).join("; ")));
        });
    }

    // Save on each input: the scaler asks the source manager to rewrite
    // that input's EDID and no other; the source manager builds it from the
    // new entry. A zero width is stored, and the EEPROM keeps its image.
    void rewrite_reaches_the_source_manager_data() {
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("source");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("written");
        for (int p = 0; p < SOURCE_COUNT; ++p) {
            const int id = p < 4 ? p + 2 : p == 4 ? 1 : 0;
            QTest::addRow("position %d, source %d", p, id) << p << id << "1280K" << true;
        }
        QTest::newRow("zero width keeps the image") << 0 << 2 << "CK" << false;
    }
    void rewrite_reaches_the_source_manager() {
        QFETCH(int, position);
        QFETCH(int, source);
        QFETCH(QString, typed);
        QFETCH(bool, written);
        quenzsource* src = quenzsource::pInstance();
        // The scaler takes the fresh block as it is, then every EEPROM gets
        // the factory EDID.
        para_write([](RynRamPara&) {});
        c331_manage::pInstance()->apply_pass();
        for (int s = 0; s < SOURCE_COUNT; ++s) {
            src->edid_ram_table_from[s] = 0;
            src->request_edid_rewrite(s);
        }
        src->serve_requests();
        const SimEdidEeprom before = src->eeprom(source);
        run_page([&] {
            for (int i = 0; i < position; ++i)
                press("r");
            press("k");
            keypad_on_field(typed);
            press("lk"); // Left to Save, OK
            QCOMPARE(entry(source)[0], written ? 1280 : 0);
            c331_manage::pInstance()->apply_pass();
            for (int s = 0; s < SOURCE_COUNT; ++s)
                QCOMPARE(int(src->edid_rewrite_req[s]), s == source ? 1 : 0);
            src->serve_requests();
            QCOMPARE(int(src->edid_written[source]), written ? 1 : 0);
            const SimEdidEeprom e = src->eeprom(source);
            if (written) {
                QCOMPARE(int(e.width), 1280);
                QCOMPARE(e.writes, before.writes + 1);
                QVERIFY(edid_valid(e.image));
                QCOMPARE(e.image[54 + 2] | ((e.image[54 + 4] >> 4) << 8), 1280);
            } else {
                QVERIFY(e.image == before.image);
                QCOMPARE(e.refused, before.refused + 1);
            }
            QCOMPARE(text("card_timing"), QString("%1x1080@60Hz").arg(written ? 1280 : 0));
        });
    }
};

QTEST_MAIN(TstEdidSet)
#include "tst_edidset.moc"

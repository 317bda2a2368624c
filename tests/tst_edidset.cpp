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
    for (int i : {0, 1, 2})
        blk::wr16(para()->RamParaBlock.data(), blk::edid(source) + 2 * i, uint16_t(IntList{w, h, r}[i]));
    para()->RamParaShadow = para()->RamParaBlock;
}
IntList entry(int s) {
    return {para()->u16(blk::edid(s)), para()->u16(blk::edid(s) + 2), para()->u16(blk::edid(s) + 4)};
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
        QTest::addColumn<int>("source");
        QTest::addColumn<QString>("timing");
        QTest::newRow("starts on HDMI1") << "" << 2 << "1920x1080@60Hz";
        QTest::newRow("Left wraps HDMI1 to EXT") << "l" << 0 << "1280x720@50Hz";
        QTest::newRow("Right wraps EXT to HDMI1") << "lr" << 2 << "1920x1080@60Hz";
        QTest::newRow("DVI") << "rrrr" << 1 << "1920x1080@60Hz";
        // The timing reads the words as signed 16-bit numbers.
        QTest::newRow("HDMI4 signed") << "rrr" << 5 << "-25536x0@-1Hz";
    }
    void tabs() {
        QFETCH(QString, keys);
        QFETCH(int, source);
        QFETCH(QString, timing);
        set_entry(0, 1280, 720, 50);
        set_entry(5, 40000, 0, 0xFFFF);
        run_page([&] {
            press(keys);
            QCOMPARE(int(page()->source_id), source);
            QCOMPARE(text("card_name"), page()->source_name);
            QCOMPARE(text("card_timing"), timing);
        });
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
        auto row = [](const char* tag, int rate, const char* keys, const char* typed, IntList stored) {
            QTest::newRow(tag) << rate << QString(keys) << QString(typed) << stored;
        };
        row("rate toggled 60 to 30", 60, "krrkrk", "", {1920, 1080, 30});
        row("Back in the choice keeps 60", 60, "krrkrb", "", {1920, 1080, 60});
        row("Back in the choice keeps a stored 50", 50, "krrkrb", "", {1920, 1080, 50});
        row("OK in the choice on a stored 50 gives 30", 50, "krrkk", "", {1920, 1080, 30});
        row("Left in the choice on a stored 50 gives 60", 50, "krrklk", "", {1920, 1080, 60});
        row("unchanged values still stored", 60, "k", "", {1920, 1080, 60});
        row("width 1280", 60, "k", "1280K", {1280, 1080, 60});
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
            press("bb");
            QCOMPARE(int(g_page_focus), int(PAGE_INPUTCHOOSE));
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
            QCOMPARE(int(g_page_focus), int(locked ? PAGE_EDIDSET : PAGE_CUSTOMMODE));
            QCOMPARE(!pages::at(PAGE_EDIDSET) && !pages::at(PAGE_INPUTCHOOSE), !locked);
            para()->set_u16(blk::PANEL_LOCK, 0);
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
        QTest::addColumn<bool>("written"); // 1280 typed, else C
        for (int p = 0; p < SOURCE_COUNT; ++p) {
            const int id = p < 4 ? p + 2 : p == 4 ? 1 : 0;
            QTest::addRow("position %d, source %d", p, id) << p << id << true;
        }
        QTest::newRow("zero width keeps the image") << 0 << 2 << false;
    }
    void rewrite_reaches_the_source_manager() {
        QFETCH(int, position);
        QFETCH(int, source);
        QFETCH(bool, written);
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

// The input crop page, driven by keys from its two openers: the crop list
// and its paging, the two editors, the keypad, the crop table it writes,
// changes from the PC while an editor is open, and its texts.
#include "testsupport.h"

#include "page_driver.h"

#include "core/devicepath.h"
#include "core/global.h"
#include "core/para_write.h"
#include "core/ramblock.h"
#include "core/rynrampara.h"
#include "scaler/c331_manage.h"
#include "ui/frame/keys.h"
#include "ui/frame/mainwindow.h"
#include "ui/frame/option.h"
#include "ui/pages/inputchoose.h"
#include "ui/pages/inputcut.h"

#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QtTest>
#include <functional>

using testsupport::key;
using IntList = QVector<int>;

namespace {
RynRamPara* para() {
    return RynRamPara::pInstance();
}
InputCut* page() {
    return g_inputcut();
}
uint8_t* block() {
    return para()->RamParaBlock.data();
}
const char* const kOrange = "rgb(255,171,84)";

// The crop table from "s.n" per record (source s, crop number n, x = the
// record index, w 100n x h 50n; "x" a free record), then saved.
void setup_crops(const QString& crops) {
    uint8_t* b = block();
    std::fill(b + blk::CROP, b + blk::CROP + CROP_COUNT * blk::CROP_SIZE, 0);
    const QStringList recs = crops.split(' ', Qt::SkipEmptyParts);
    for (int i = 0; i < recs.size(); ++i) {
        if (recs[i] == "x")
            continue;
        const int s = recs[i].section('.', 0, 0).toInt(), n = recs[i].section('.', 1, 1).toInt();
        b[blk::crop(i)] = uint8_t(s);
        b[blk::crop(i) + blk::CROP_ID] = uint8_t(0x80 | (n - 1));
        blk::wr16(b, blk::crop(i) + blk::CROP_X, uint16_t(i));
        blk::wr16(b, blk::crop(i) + blk::CROP_W, uint16_t(100 * n));
        blk::wr16(b, blk::crop(i) + blk::CROP_H, uint16_t(50 * n));
    }
    para()->RamParaShadow = para()->RamParaBlock;
    para()->RynCropSourceInit();
}
IntList state() {
    InputCut* p = page();
    return {p->ui_level, p->current_pag, p->focus()};
}
// The editor position that has the focus, 0 X .. 6 OK.
int editor_focus() {
    return page()->editor_entry();
}
QStringList fields() {
    QStringList out;
    for (const char* n : {"lineEdit_X", "lineEdit_Y", "lineEdit_W", "lineEdit_H"})
        out << page()->findChild<QLineEdit*>(n)->text();
    return out;
}
QString field(const char* name) {
    return page()->findChild<QLineEdit*>(name)->text();
}
QLabel* label(const QString& name) {
    return page()->findChild<QLabel*>(name);
}
// The source row's label at `position` as plain text, as "HDMI1(3)".
QString row_name(int position) {
    QString text = label(QString("sourcelistseq%1name").arg(position))->text();
    return text.remove(QRegularExpression("<[^>]*>"));
}
// Names and sizes of the tiles shown, left to right, top to bottom.
QStringList tiles() {
    QStringList out;
    for (int t = 0; t < InputCut::TILES_PER_PAGE; ++t) {
        QLabel* name = label(QString("name%1").arg(t));
        if (name->isVisibleTo(page()))
            out << name->text() + " " + label(QString("size%1").arg(t))->text();
    }
    return out;
}
// A record as "source.number x y w h", or "free".
QString record(int i) {
    const uint8_t* r = block() + blk::crop(i);
    if (!(r[blk::CROP_ID] & 0x80))
        return "free";
    return QString("%1.%2 %3 %4 %5 %6")
        .arg(r[0])
        .arg((r[1] & 0x7F) + 1)
        .arg(blk::rd16(r, blk::CROP_X))
        .arg(blk::rd16(r, blk::CROP_Y))
        .arg(blk::rd16(r, blk::CROP_W))
        .arg(blk::rd16(r, blk::CROP_H));
}
QByteArray crop_table() {
    return QByteArray(reinterpret_cast<const char*>(block() + blk::CROP), CROP_COUNT * blk::CROP_SIZE);
}
int apply_flag() {
    return c331_manage::pInstance()->para_update_flag;
}
} // namespace

class TstInputCut : public QObject {
    Q_OBJECT
    enum Opener { FROM_OPTION, FROM_INPUTCHOOSE };
    // Opens the crop page from the settings menu (Right, OK) or from the
    // source selection page (Left, Left to the crop button, OK) and runs
    // `body` inside its modal loop; whatever is left open is closed after.
    // `after` runs in the opener once the crop page has closed by itself.
    void run_page(const std::function<void()>& body, Opener opener = FROM_OPTION,
                  const std::function<void()>& after = {}) {
        g_page_focus = PAGE_MAINWINDOW;
        bool ran = false;
        testsupport::post([&] {
            testsupport::post([&] {
                ran = g_page_focus == PAGE_INPUTCUT && page() != nullptr;
                if (ran)
                    body();
                if (!after)
                    testsupport::close_all_pages();
            });
            press(opener == FROM_OPTION ? "rk" : "llk");
            if (after)
                after();
            testsupport::close_all_pages();
        });
        if (opener == FROM_OPTION)
            pages::open<Option>();
        else
            pages::open<InputChoose>();
        QVERIFY2(ran, "the opener did not open the crop page");
    }

private slots:
    void initTestCase() {
        if (!g_mainwindow())
            new MainWindow(nullptr);
    }
    void init() {
        testsupport::fresh_device();
        setup_crops("");
    }
    void cleanup() {
        QVERIFY(testsupport::close_all_pages());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void navigation_data() {
        QTest::addColumn<int>("crops");   // crops of HDMI1
        QTest::addColumn<QString>("keys");
        QTest::addColumn<IntList>("expect"); // level, page, focus
        QTest::addColumn<int>("source");     // select_source
        auto row = [](const char* tag, int crops, const char* keys, IntList expect, int source = 2) {
            QTest::newRow(tag) << crops << QString(keys) << expect << source;
        };
        // The source row.
        row("start on HDMI1", 0, "", {0, 0, 0});
        row("Left wraps HDMI1 to EXT", 0, "l", {0, 0, 5}, 0);
        row("Right wraps EXT to HDMI1", 0, "lr", {0, 0, 0}, 2);
        row("DVI at position 4", 0, "ll", {0, 0, 4}, 1);
        row("OK enters the list on the add button", 0, "rk", {1, 0, 0}, 3);
        row("Back returns to the same source", 0, "rrkb", {0, 0, 2}, 4);
        // No crops: the whole input and the add button.
        row("no crops: Right to the input", 0, "kr", {1, 0, 1});
        row("no crops: Right from the input to add", 0, "krr", {1, 0, 0});
        row("no crops: OK on the input does nothing", 0, "krk", {1, 0, 1});
        row("no crops: Left from add to the input", 0, "kl", {1, 0, 1});
        // 5 crops: six entries, all on page 0.
        row("5 crops: sixth tile", 5, "krrrrrr", {1, 0, 6});
        row("5 crops: Right from the sixth tile to add", 5, "krrrrrrr", {1, 0, 0});
        row("5 crops: Left from add to the last", 5, "kl", {1, 0, 6});
        // 6 crops: the seventh entry on page 1.
        row("6 crops: Right from the sixth tile turns the page", 6, "krrrrrrr", {1, 1, 0});
        row("6 crops: Left from page 1 back to page 0", 6, "krrrrrrrl", {1, 0, 6});
        row("6 crops: Left from add to page 1", 6, "kl", {1, 1, 0});
        row("6 crops: Right from the last to add", 6, "klr", {1, 0, 0});
        // 7 crops: two entries on page 1.
        row("7 crops: Left from add to the last", 7, "kl", {1, 1, 1});
        row("7 crops: Left twice to the first of page 1", 7, "kll", {1, 1, 0});
        row("7 crops: Left thrice to page 0", 7, "klll", {1, 0, 6});
        row("7 crops: Right across the page", 7, "krrrrrrrr", {1, 1, 1});
        row("7 crops: Right from the last to add", 7, "krrrrrrrrr", {1, 0, 0});
        // Back from page 1 keeps the page with the source.
        row("Back from page 1", 7, "klb", {0, 1, 0});
        row("source change resets the page", 7, "klbr", {0, 0, 1}, 3);
    }
    void navigation() {
        QFETCH(int, crops);
        QFETCH(QString, keys);
        QFETCH(IntList, expect);
        QFETCH(int, source);
        QStringList recs;
        for (int n = 1; n <= crops; ++n)
            recs << QString("2.%1").arg(n);
        setup_crops(recs.join(' '));
        run_page([&] {
            press(keys);
            QCOMPARE(state(), expect);
            QCOMPARE(int(page()->select_source), source);
            // The focus shows on the tile or the add button the state names.
            InputCut* p = page();
            const int tile = p->ui_level != InputCut::LEVEL_CROPS ? -2
                             : p->current_pag == 0                ? p->focus() - 1
                                                                  : p->focus();
            for (int t = 0; t < InputCut::TILES_PER_PAGE; ++t) {
                QFrame* f = p->findChild<QFrame*>(QString("tile%1").arg(t));
                QVERIFY(!f->isVisibleTo(p) || look_of(f).contains("#FFA854") == (t == tile));
            }
            QCOMPARE(look_of(p->findChild<QPushButton*>("add_button")).contains(kOrange), tile == -1);
        });
    }

    // The tiles of a page: the whole input first, then the crops by number.
    void tiles_show_the_list() {
        setup_crops("2.3 3.1 2.1 x 2.7 2.2 2.4 2.5 2.6");
        para()->publish_input_info(2, 1920, 1080, 60);
        para()->RamParaShadow = para()->RamParaBlock;
        run_page([] {
            QCOMPARE(row_name(0), QString("HDMI1(8)"));
            QCOMPARE(row_name(1), QString("HDMI2(2)"));
            press("k");
            QCOMPARE(tiles(), (QStringList{"HDMI1 1920x1080@60Hz", "HDMI1_crop1 100x50",
                                           "HDMI1_crop2 200x100", "HDMI1_crop3 300x150",
                                           "HDMI1_crop4 400x200", "HDMI1_crop5 500x250"}));
            press("l");
            QCOMPARE(tiles(), (QStringList{"HDMI1_crop6 600x300", "HDMI1_crop7 700x350"}));
            press("bllk"); // DVI: no signal
            QCOMPARE(tiles(), QStringList{"DVI No signal"});
        });
    }

    void add_with_the_defaults() {
        setup_crops("3.1");
        run_page([] {
            press("kk");
            QCOMPARE(int(page()->ui_level), int(InputCut::LEVEL_NEW));
            QCOMPARE(editor_focus(), int(InputCut::ED_X));
            QCOMPARE(label("label_change_source")->text(), QString("Name:HDMI1-Crop-1"));
            QCOMPARE(fields(), (QStringList{"0", "0", "1920", "1080"}));
            press("rrrrrk"); // Y W H Cancel OK
            QCOMPARE(record(0), QString("3.1 0 0 100 50"));
            QCOMPARE(record(1), QString("2.1 0 0 1920 1080"));
            QCOMPARE(apply_flag(), 1);
            QCOMPARE(state(), (IntList{1, 0, 0}));
            QVERIFY(page()->findChild<QFrame*>("frame_add")->isHidden());
            QCOMPARE(tiles(), (QStringList{"HDMI1 No signal", "HDMI1_crop1 1920x1080"}));
            QCOMPARE(row_name(0), QString("HDMI1(2)"));
        });
    }

    void editor_ring_data() {
        QTest::addColumn<QString>("open"); // keys that open the editor
        QTest::addColumn<QString>("keys");
        QTest::addColumn<IntList>("path"); // editor focus after each key
        QTest::newRow("new crop: Right skips Delete") << "kk" << "rrrrrr" << IntList{1, 2, 3, 5, 6, 0};
        QTest::newRow("new crop: Left skips Delete") << "kk" << "lllll" << IntList{6, 5, 3, 2, 1};
        QTest::newRow("crop: Right through Delete") << "krrk" << "rrrrrrr"
                                                     << IntList{1, 2, 3, 4, 5, 6, 0};
        QTest::newRow("crop: Left from X to OK") << "krrk" << "ll" << IntList{6, 5};
    }
    void editor_ring() {
        QFETCH(QString, open);
        QFETCH(QString, keys);
        QFETCH(IntList, path);
        setup_crops("2.1");
        run_page([&] {
            press(open);
            QVERIFY(page()->ui_level >= InputCut::LEVEL_NEW);
            IntList seen;
            for (QChar c : keys) {
                press(c);
                seen << editor_focus();
                // Exactly one element of the editor has the orange border.
                int orange = 0;
                for (const char* n : {"lineEdit_X", "lineEdit_Y", "lineEdit_W", "lineEdit_H", "button_delete",
                                      "button_cancel", "button_ok"})
                    orange += look_of(page()->findChild<QWidget*>(n)).contains(kOrange);
                QCOMPARE(orange, 1);
            }
            QCOMPARE(seen, path);
            QCOMPARE(page()->findChild<QPushButton*>("button_delete")->isVisibleTo(page()),
                     page()->ui_level == InputCut::LEVEL_EDIT);
        });
    }

    // Cancel and Back store nothing, and the next editor shows the stored
    // values again with only X focused.
    void cancel_and_back_store_nothing_data() {
        QTest::addColumn<QString>("leave");
        QTest::newRow("Cancel") << "rrrk"; // from W: H Delete Cancel, OK
        QTest::newRow("Back") << "b";
    }
    void cancel_and_back_store_nothing() {
        QFETCH(QString, leave);
        setup_crops("2.1 2.2");
        run_page([&] {
            press("krrrk"); // crop 2
            QCOMPARE(field("lineEdit_W"), QString("200"));
            press("rr");
            keypad_on_field("777K");
            QCOMPARE(field("lineEdit_W"), QString("777"));
            const QByteArray before = crop_table();
            press(leave);
            QCOMPARE(crop_table(), before);
            QCOMPARE(apply_flag(), 0);
            QCOMPARE(state(), (IntList{1, 0, 3}));
            press("k");
            QCOMPARE(field("lineEdit_W"), QString("200"));
            QCOMPARE(editor_focus(), int(InputCut::ED_X));
        });
    }

    void edit_one_field_through_the_keypad() {
        setup_crops("2.1 2.2 3.1");
        run_page([] {
            press("krrrk"); // the second crop
            QCOMPARE(label("label_change_source")->text(), QString("Name:HDMI1-Crop-2"));
            press("rr"); // W
            QString shown;
            testsupport::post([&] {
                shown = g_numberkeyboard->value();
                keypad::type("X5K"); // 20 -> 205
            });
            press("k");
            QCOMPARE(shown, QString("200"));
            QCOMPARE(field("lineEdit_W"), QString("205"));
            QCOMPARE(apply_flag(), 0); // nothing stored before OK
            press("rrrrk");             // H Delete Cancel OK, OK
            QCOMPARE(record(1), QString("2.2 1 0 205 100"));
            QCOMPARE(record(0), QString("2.1 0 0 100 50"));
            QCOMPARE(record(2), QString("3.1 2 0 100 50"));
            QCOMPARE(apply_flag(), 1);
            QCOMPARE(row_name(0), QString("HDMI1(3)"));
            QCOMPARE(tiles().at(2), QString("HDMI1_crop2 205x100"));
        });
    }

    void keypad_titles_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<QStringList>("titles"); // X Y W H
        QTest::newRow("simplified Chinese") << 0 << QStringList{"X", "Y", "宽", "高"};
        QTest::newRow("English") << 1 << QStringList{"X", "Y", "W", "H"};
        QTest::newRow("traditional Chinese") << 4 << QStringList{"X", "Y", "寬", "高"};
    }
    void keypad_titles() {
        QFETCH(int, language);
        QFETCH(QStringList, titles);
        g_language = uint8_t(language);
        run_page([&] {
            press("kk");
            QStringList seen;
            for (int f = 0; f < 4; ++f) {
                testsupport::post([&] {
                    seen << g_numberkeyboard->title();
                    keypad::type("N");
                });
                press("kr");
            }
            QCOMPARE(seen, titles);
        });
    }

    // Signed 16-bit reading: what does not fit, and an empty field, store 0.
    void typed_values_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("stored");
        QTest::newRow("32767 kept") << "32767K" << 32767;
        QTest::newRow("32768 stores 0") << "32768K" << 0;
        QTest::newRow("empty stores 0") << "XXXXXK" << 0;
        QTest::newRow("C stores 0") << "CK" << 0;
        QTest::newRow("Back keeps 1920") << "5B" << 1920;
    }
    void typed_values() {
        QFETCH(QString, typed);
        QFETCH(int, stored);
        run_page([&] {
            press("kkrr"); // new crop, W
            keypad_on_field(typed);
            press("rrrk"); // H Cancel OK, OK
            QCOMPARE(para()->u16(blk::crop(0) + blk::CROP_W), uint16_t(stored));
            QCOMPARE(record(0).section(' ', 0, 0), QString("2.1"));
        });
    }

    // Kept as the device does it: a window still showing a deleted crop
    // keeps pointing at the freed record.
    void delete_then_the_lowest_number_again() {
        setup_crops("2.1 2.2");
        blk::wr16(block(), blk::window(0, blk::WIN_SOURCE), 0x8000);
        para()->RamParaShadow = para()->RamParaBlock;
        run_page([] {
            press("krrkrrrrk"); // crop 1, Delete
            QCOMPARE(record(0), QString("free"));
            QCOMPARE(para()->window_u16(0, blk::WIN_SOURCE), uint16_t(0x8000));
            QCOMPARE(record(1), QString("2.2 1 0 200 100"));
            QCOMPARE(state(), (IntList{1, 0, 2}));
            QCOMPARE(tiles(), (QStringList{"HDMI1 No signal", "HDMI1_crop2 200x100"}));
            press("llk"); // add: titled by the count, numbered by the lowest free number
            QCOMPARE(label("label_change_source")->text(), QString("Name:HDMI1-Crop-2"));
            press("lk"); // OK
            QCOMPARE(record(0), QString("2.1 0 0 1920 1080"));
            QCOMPARE(tiles(), (QStringList{"HDMI1 No signal", "HDMI1_crop1 1920x1080",
                                           "HDMI1_crop2 200x100"}));
        });
    }

    void full_table_adds_nothing() {
        QStringList all;
        for (int i = 0; i < CROP_COUNT; ++i)
            all << QString("%1.%2").arg(i % 2 ? 3 : 0).arg(i / 2 + 1);
        setup_crops(all.join(' '));
        run_page([] {
            const QByteArray before = crop_table();
            press("kklk"); // add, Left to OK, OK
            QCOMPARE(crop_table(), before);
            QCOMPARE(apply_flag(), 0);
            QCOMPARE(state(), (IntList{1, 0, 0}));
            QCOMPARE(tiles(), QStringList{"HDMI1 No signal"});
        });
    }

    // The PC changes the same source's crops while an editor is open: the
    // editor keeps its positions and acts on the crop it opened, or on
    // nothing when that crop is gone.
    void outside_change_under_the_editor_data() {
        QTest::addColumn<QString>("focus");  // from X to the element pressed
        QTest::addColumn<int>("change");     // 0 delete crop 1, 1 add crop 4, 2 delete crop 3
        QTest::addColumn<QStringList>("after"); // records 0..3
        const QString c1 = "2.1 0 0 100 50", c2 = "2.2 1 0 200 100", c3 = "2.3 2 0 300 150";
        QTest::newRow("PC deletes an earlier crop: OK stores crop 3")
            << "lk" << 0 << QStringList{"free", c2, "2.3 2 0 999 150", "free"};
        QTest::newRow("PC adds a crop: Cancel stays Cancel")
            << "llk" << 1 << QStringList{c1, c2, c3, "2.4 0 0 5 5"};
        QTest::newRow("PC adds a crop: Delete deletes crop 3")
            << "lllk" << 1 << QStringList{c1, c2, "free", "2.4 0 0 5 5"};
        QTest::newRow("PC deletes the edited crop: OK stores nothing")
            << "lk" << 2 << QStringList{c1, c2, "free", "free"};
        QTest::newRow("PC deletes the edited crop: Delete deletes nothing")
            << "lllk" << 2 << QStringList{c1, c2, "free", "free"};
    }
    void outside_change_under_the_editor() {
        QFETCH(QString, focus);
        QFETCH(int, change);
        QFETCH(QStringList, after);
        setup_crops("2.1 2.2 2.3");
        run_page([&] {
            press("krrrrk"); // crop 3
            press("rr");
            keypad_on_field("999K");
            press("ll");
            outside_change([change](RynRamPara& p) {
                uint8_t* b = p.RamParaBlock.data();
                if (change == 0)
                    b[blk::crop(0) + blk::CROP_ID] = 0;
                else if (change == 2)
                    b[blk::crop(2) + blk::CROP_ID] = 0;
                else {
                    b[blk::crop(3)] = 2;
                    b[blk::crop(3) + blk::CROP_ID] = 0x83;
                    blk::wr16(b, blk::crop(3) + blk::CROP_W, 5);
                    blk::wr16(b, blk::crop(3) + blk::CROP_H, 5);
                }
            });
            // The editor stays open where it was; the list shows the change.
            QCOMPARE(int(page()->ui_level), int(InputCut::LEVEL_EDIT));
            QCOMPARE(editor_focus(), int(InputCut::ED_X));
            QCOMPARE(field("lineEdit_W"), QString("999"));
            press(focus);
            QCOMPARE(int(page()->ui_level), int(InputCut::LEVEL_CROPS));
            QStringList records;
            for (int i = 0; i < 4; ++i)
                records << record(i);
            QCOMPARE(records, after);
        });
    }

    // A crop number the table holds twice is counted twice but found once:
    // the extra entry shows zeros, and its editor stores and deletes nothing.
    void entry_without_a_record() {
        setup_crops("2.1 2.1");
        run_page([] {
            press("k");
            QCOMPARE(tiles().at(2), QString("HDMI1_crop1 0x0"));
            press("lk");
            QCOMPARE(fields(), (QStringList{"0", "0", "0", "0"}));
            const QByteArray before = crop_table();
            press("lk"); // OK
            QCOMPARE(crop_table(), before);
            press("klllk"); // again, Delete
            QCOMPARE(crop_table(), before);
            QCOMPARE(apply_flag(), 0);
        });
    }

    void refresh_from_outside() {
        setup_crops("2.1");
        run_page([] {
            press("k");
            outside_change([](RynRamPara& p) {
                blk::wr16(p.RamParaBlock.data(), blk::crop(0) + blk::CROP_W, 640);
            });
            QCOMPARE(tiles().at(1), QString("HDMI1_crop1 640x50"));
            QCOMPARE(row_name(0), QString("HDMI1(2)"));
            // A signal found on the listed input shows on its first tile.
            para()->publish_input_info(2, 1280, 720, 50);
            QCOMPARE(tiles().at(0), QString("HDMI1 1280x720@50Hz"));
            // A PC file transfer brings names without a change of the block.
            QFile f(device_path("/data/configs/alias.json"));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(R"({"source":{"namelist":[{"id":2,"valid":"on","name":"Cam"}]},)"
                    R"("crop":{"namelist":[{"id":0,"valid":"on","name":"Stage"}]}})");
            f.close();
            para()->test_signal(SYNC_PC_FILE_END);
            QCOMPARE(tiles().at(1), QString("Stage 640x50"));
            QCOMPARE(row_name(0), QString("Cam(2)"));
            QCOMPARE(state(), (IntList{1, 0, 0}));
        });
    }

    // Touch reaches the four number fields only.
    void touch_opens_the_keypad_on_fields_only() {
        run_page([] {
            press("k");
            QTest::mouseClick(page()->findChild<QPushButton*>("add_button"), Qt::LeftButton);
            QCOMPARE(int(page()->ui_level), int(InputCut::LEVEL_CROPS));
            press("k");
            QString title;
            testsupport::post([&] {
                title = g_numberkeyboard->title();
                keypad::type("42K");
            });
            QTest::mouseClick(page()->findChild<QLineEdit*>("lineEdit_H"), Qt::LeftButton);
            QCOMPARE(title, QString("H"));
            QCOMPARE(field("lineEdit_H"), QString("42"));
            QCOMPARE(editor_focus(), int(InputCut::ED_X)); // the focus does not follow a touch
            QTest::mouseClick(page()->findChild<QPushButton*>("button_ok"), Qt::LeftButton);
            QCOMPARE(record(0), QString("free"));
        });
    }

    // Back twice, or MODE, from either opener; MODE closes the opener too.
    void leaving_to_the_opener_data() {
        QTest::addColumn<int>("opener");
        QTest::addColumn<QString>("keys");  // before the panel lock is set
        QTest::addColumn<bool>("locked");
        QTest::addColumn<QString>("leave");
        QTest::addColumn<int>("focus");
        QTest::newRow("Back to the settings menu") << int(FROM_OPTION) << "kkrrrrrk" << false << "bb" << int(PAGE_OPTION);
        QTest::newRow("Back to source selection") << int(FROM_INPUTCHOOSE) << "kkrrrrrk" << false << "bb" << int(PAGE_INPUTCHOOSE);
        QTest::newRow("MODE from the settings menu") << int(FROM_OPTION) << "" << false << "m" << int(PAGE_CUSTOMMODE);
        QTest::newRow("MODE from source selection, editor open") << int(FROM_INPUTCHOOSE) << "kk" << false << "m" << int(PAGE_CUSTOMMODE);
        QTest::newRow("locked: MODE does nothing") << int(FROM_OPTION) << "k" << true << "m" << int(PAGE_INPUTCUT);
    }
    void leaving_to_the_opener() {
        QFETCH(int, opener);
        QFETCH(QString, keys);
        QFETCH(bool, locked);
        QFETCH(QString, leave);
        QFETCH(int, focus);
        const auto body = [&] {
            press(keys);
            para()->set_u16(blk::PANEL_LOCK, locked ? 1 : 0);
            press(leave);
            QCOMPARE(int(g_page_focus), focus);
            para()->set_u16(blk::PANEL_LOCK, 0);
            QCOMPARE(page() != nullptr, locked);
            if (focus == PAGE_CUSTOMMODE) {
                QVERIFY(!pages::at(PAGE_OPTION) && !pages::at(PAGE_INPUTCHOOSE));
                QCOMPARE(int(g_mode_shortcut_key), 1);
            }
        };
        if (leave != "bb")
            return run_page(body, Opener(opener));
        run_page(body, Opener(opener), [opener] {
            // The source selection page counts the new crop.
            if (opener == FROM_INPUTCHOOSE)
                QCOMPARE(int(g_inputchoose()->get_source_num(2)), 2);
        });
    }

    void texts_in_five_languages_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<QStringList>("texts"); // title, crop, W, H, Cancel, OK, Delete, name
        QTest::newRow("zh-Hans") << 0 << QStringList{"输入截取", "截取:", "宽", "高", "取消", "确定", "删除", "名称:HDMI1-Crop-2"};
        QTest::newRow("en") << 1 << QStringList{"Input intercept", "Crop:", "W", "H", "Cancle", "OK", "Delete", "Name:HDMI1-Crop-2"};
        QTest::newRow("ru") << 2 << QStringList{"Источник", "Обрезать:", "Ширина", "Высота", "Отмена", "OK", "Удалить", "Название:HDMI1-Crop-2"};
        QTest::newRow("vi") << 3 << QStringList{"Chặn nguồn vào", "Cắt:", "Rộng", "Cao", "Hủy bỏ", "Đồng ý", "Xoá bỏ", "Tên:HDMI1-Crop-2"};
        QTest::newRow("zh-Hant") << 4 << QStringList{"輸入截取", "截取:", "寬", "高", "取消", "確定", "删除", "名稱:HDMI1-Crop-2"};
    }
    // Every text is the table's, and fits its box, in the list and in both
    // editors; a language change while the editor is open re-texts it.
    void texts_in_five_languages() {
        QFETCH(int, language);
        QFETCH(QStringList, texts);
        setup_crops("2.1");
        const auto fit = [] {
            QVERIFY2(texts_that_overflow(page()).isEmpty(), qPrintable(texts_that_overflow(page()).join("; ")));
        };
        run_page([&] {
            fit();
            press("kk");
            outside_change([language](RynRamPara& p) { p.set_u16(blk::LCD_LANGUAGE, uint16_t(language)); });
            const QStringList seen{label("label_title")->text(), label("label_crop")->text(),
                                   label("label_W")->text(), label("label_H")->text(),
                                   page()->findChild<QPushButton*>("button_cancel")->text(),
                                   page()->findChild<QPushButton*>("button_ok")->text(),
                                   page()->findChild<QPushButton*>("button_delete")->text(),
                                   label("label_change_source")->text()};
            QCOMPARE(seen, texts);
            fit();
            press("brrk"); // the crop editor with Delete
            fit();
        });
    }
};

QTEST_MAIN(TstInputCut)
#include "tst_inputcut.moc"

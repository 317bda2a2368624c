// The user-mode page: opening on the current mode, browsing and the action
// row, invoke and delete against the block and the files, Back to the home
// screen or the main menu, and the preview of a slot's windows and OSD file.
#include "testsupport.h"

#include "core/devicepath.h"
#include "core/global.h"
#include "core/ramblock.h"
#include "core/rynrampara.h"
#include "ui/frame/syncupdate.h"
#include "scaler/c331_manage.h"
#include "ui/frame/custommode.h"
#include "ui/frame/keys.h"
#include "ui/frame/lockwindow.h"
#include "ui/frame/mainwindow.h"
#include "ui/frame/ryncontrol.h"

#include <QAbstractItemView>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include <cstring>

namespace {
RynRamPara* para() { return RynRamPara::pInstance(); }
uint8_t flag() { return c331_manage::pInstance()->para_update_flag; }
UserModeSlot& slot(int i) { return para()->UserModes[size_t(i)]; }
void slot_u16(int i, int block_offset, uint16_t v) {
    blk::wr16(slot(i).data(), block_offset - blk::MODE_BEGIN, v);
}

// Slot `i` saved with a copy of the live block, its file written.
void save_slot(int i) {
    slot(i).bytes.fill(0);
    slot(i).bytes[0] = slot(i).bytes[1] = 0xAA;
    std::memcpy(slot(i).data(), para()->RamParaBlock.data() + blk::MODE_BEGIN, blk::MODE_SIZE);
    QVERIFY(para()->save_mode(i));
}

void write_file(const QString& device, const QByteArray& bytes) {
    QFile f(device_path(device));
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}
bool exists(const QString& device) { return QFile::exists(device_path(device)); }

CustomMode* open_page() {
    g_page_focus = PAGE_MAINWINDOW;
    return pages::open<CustomMode>();
}
CustomMode* page() { return g_custommode(); }
void keys(int k, int times = 1) {
    for (int i = 0; i < times; ++i)
        testsupport::key(k);
}
template <class T = QLabel> T* child(const char* name) { return page()->findChild<T*>(name); }
QString text(const char* name) { return child(name)->text(); }
bool shown(const char* name) { return page()->findChild<QWidget*>(name)->isVisibleTo(page()); }

// Away and back: the page redraws the slot.
void redraw() {
    keys(PANEL_KEY_RIGHT);
    keys(PANEL_KEY_LEFT);
}
// The action button with the orange frame, -1 when none, -2 when several.
int focused_button() {
    int found = -1, i = 0;
    for (const char* name : {"Button_use", "Button_delete", "Button_more"}) {
        if (look_of(child<QPushButton>(name)).contains("rgb(255, 171, 84)"))
            found = found == -1 ? i : -2;
        ++i;
    }
    return found;
}

const char* const kOsdFile = R"({"name": "m", "osdcount": 1, "oactcount": 1, "menu": [
  {"x": 10, "y": 20, "w": 300, "h": 40, "effect": 4, "speed": 3,
   "backpara": {"color": "0x112233"},
   "fontpara": {"startx": 1, "starty": 2, "fontw": 16, "fonth": 24, "wordspace": 5,
                "verticalspace": 6, "color": "0xAABBCC", "texts": "one\ntwo\nthree\nfour\nfive"}}]})";
const char* const kSharedOsd = R"({"name": "shared", "menu": []})";
}  // namespace

class TstCustomMode : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { new MainWindow(nullptr); }
    void init() {
        testsupport::fresh_device();
        g_page_focus = PAGE_MAINWINDOW;
    }
    void cleanup() {
        testsupport::close_all_pages();
        QTRY_VERIFY(!g_custommode());
    }

    // current_mode 17 names no slot: the page starts on slot 0.
    void opens_on_the_current_mode_data() {
        QTest::addColumn<int>("current");
        QTest::addColumn<int>("slot");
        QTest::newRow("no current mode") << 0 << 0;
        QTest::newRow("mode 7") << 7 << 6;
        QTest::newRow("mode 17, out of range") << 17 << 0;
    }
    void opens_on_the_current_mode() {
        QFETCH(int, current);
        QFETCH(int, slot);
        para()->set_u16(blk::CURRENT_MODE, uint16_t(current));
        open_page();
        QCOMPARE(int(g_mode_select), slot);
        QCOMPARE(text("label_ID"), QString("ID:%1").arg(slot + 1));
        QCOMPARE(page()->mode_box()->combo->currentIndex(), slot);
        QCOMPARE(int(g_page_focus), int(PAGE_CUSTOMMODE));
    }

    void browsing_wraps_both_ways() {
        open_page();
        keys(PANEL_KEY_LEFT);
        QCOMPARE(int(g_mode_select), 15);
        QCOMPARE(page()->mode_box()->combo->currentIndex(), 15);
        keys('R');  // the keypad letter does the same
        QCOMPARE(int(g_mode_select), 0);
        keys(PANEL_KEY_RIGHT, 16);
        QCOMPARE(int(g_mode_select), 0);
    }

    void empty_slot_shows_blank_and_refuses_ok() {
        open_page();
        QCOMPARE(text("label_blank"), QString("Usermode does not exist"));
        for (const char* hidden : {"label_LED", "label_brightness", "Button_use", "Button_delete",
                                   "Button_more", "label_using", "preview"})
            QVERIFY2(!shown(hidden), hidden);
        QCOMPARE(int(page()->button_hidden), 1);
        keys(PANEL_KEY_OK);
        QCOMPARE(int(page()->ui_edit()), 0);
        keys(PANEL_KEY_OK);  // nor does it delete or invoke
        QCOMPARE(int(flag()), 0);
    }

    // Start in the action row on Button_use, press, expect the focused button.
    void action_row_wraps_data() {
        QTest::addColumn<int>("osd");
        QTest::addColumn<QVector<int>>("presses");  // -1 Left, +1 Right
        QTest::addColumn<int>("focused");
        QTest::newRow("two buttons: Right twice wraps to Invoke") << 0 << QVector<int>{1, 1} << 0;
        QTest::newRow("two buttons: Left from Invoke wraps to Delete") << 0 << QVector<int>{-1} << 1;
        QTest::newRow("three buttons: Left from Invoke wraps to More") << 1 << QVector<int>{-1} << 2;
        QTest::newRow("three buttons: Right three times wraps") << 1 << QVector<int>{1, 1, 1} << 0;
    }
    void action_row_wraps() {
        QFETCH(int, osd);
        QFETCH(QVector<int>, presses);
        QFETCH(int, focused);
        para()->set_u16(blk::OSD_ENABLE, uint16_t(osd));
        save_slot(0);
        open_page();
        keys(PANEL_KEY_OK);
        QCOMPARE(focused_button(), 0);
        for (int p : presses)
            keys(p < 0 ? PANEL_KEY_LEFT : PANEL_KEY_RIGHT);
        QCOMPARE(int(page()->button_select), focused);
        QCOMPARE(focused_button(), focused);
        QCOMPARE(int(g_mode_select), 0);  // the row never steps the mode
        keys(PANEL_KEY_BACK);
        QCOMPARE(int(page()->ui_edit()), 0);
        QCOMPARE(focused_button(), -1);
        QVERIFY(g_custommode());  // the first Back only leaves the row
    }

    // The PC may switch the slot's OSD off while More has the focus: the
    // next step must land on a shown button, not past the row.
    void more_hidden_while_focused_stays_in_the_row() {
        para()->set_u16(blk::OSD_ENABLE, 1);
        save_slot(0);
        open_page();
        keys(PANEL_KEY_OK);
        slot_u16(0, blk::OSD_ENABLE, 0);
        keys(PANEL_KEY_LEFT);  // onto More; its redraw hides it
        QCOMPARE(int(page()->button_select), 2);
        QCOMPARE(int(page()->button_hidden), 1);
        QVERIFY(!shown("Button_more"));
        keys(PANEL_KEY_RIGHT);
        QCOMPARE(int(page()->button_select), 0);
        QCOMPARE(focused_button(), 0);
        keys(PANEL_KEY_LEFT);
        QCOMPARE(int(page()->button_select), 1);
    }

    void ok_on_more_only_leaves_the_row() {
        para()->set_u16(blk::OSD_ENABLE, 1);
        save_slot(3);
        para()->set_u16(blk::CURRENT_MODE, 4);
        open_page();
        const auto block = para()->RamParaBlock;
        keys(PANEL_KEY_OK);
        keys(PANEL_KEY_LEFT);
        QVERIFY(shown("osd_info"));
        keys(PANEL_KEY_OK);
        QCOMPARE(int(page()->ui_edit()), 0);
        QVERIFY(para()->RamParaBlock == block);
        QVERIFY(exists("/data/modes/custom_mode4"));
        QVERIFY(shown("osd_info"));  // OK does not redraw
        redraw();
        QVERIFY(!shown("osd_info"));
        QVERIFY(shown("window_source_0"));
    }

    // A save waiting in mode_save_request must not later store the invoked
    // mode over its slot. The mode number follows the slot invoked.
    void invoke_copies_the_slot_and_drops_a_pending_save() {
        para()->set_u16(blk::BRIGHTNESS, 33);
        save_slot(5);
        for (int b = blk::MODE_BEGIN; b < blk::SIZE; ++b)
            slot(5).bytes[size_t(b - blk::MODE_BEGIN + USER_MODE_DATA)] = uint8_t(b * 7);
        const QByteArray slot2_file = [] {
            save_slot(2);
            QFile f(device_path("/data/modes/custom_mode3"));
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        }();
        para()->set_u16(blk::MODE_SAVE_REQUEST, 3);
        para()->set_u16(blk::PANEL_LOCK, 0);
        para()->set_u16(blk::CURRENT_MODE, 0);
        para()->RamParaBlock[895] = 0x5C;
        open_page();
        keys(PANEL_KEY_RIGHT, 5);
        auto expect = para()->RamParaBlock;  // below the mode bytes only these two change
        blk::wr16(expect.data(), blk::CURRENT_MODE, 6);
        blk::wr16(expect.data(), blk::MODE_SAVE_REQUEST, 0);
        keys(PANEL_KEY_OK, 2);
        QCOMPARE(int(flag()), 1);
        QVERIFY(std::memcmp(para()->RamParaBlock.data(), expect.data(), blk::MODE_BEGIN) == 0);
        QVERIFY(std::memcmp(para()->RamParaBlock.data() + blk::MODE_BEGIN, slot(5).data(),
                            blk::MODE_SIZE) == 0);
        QCOMPARE(int(page()->ui_edit()), 0);
        QVERIFY(!shown("label_using"));  // follows at the next redraw
        redraw();
        QCOMPARE(text("label_using"), QString("Using"));
        QVERIFY(shown("label_using"));
        g_language = LANG_TCHINESE;  // its word ends in a soft hyphen, which is not drawn
        page()->language_changed();
        QCOMPARE(text("label_using"), QString::fromUtf8("使用中"));

        // Through the scaler and the dispatcher: slot 3 keeps its own data.
        c331_manage::pInstance()->apply_pass();
        QCOMPARE(int(flag()), 0);
        QFile f(device_path("/data/modes/custom_mode3"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), slot2_file);
        QCOMPARE(int(slot(2).u16(blk::BRIGHTNESS)), 33);
    }

    void delete_removes_the_files_and_keeps_current_mode_data() {
        QTest::addColumn<int>("osd");
        QTest::newRow("OSD switch off: the OSD file stays") << 0;
        QTest::newRow("OSD switch on: the OSD file goes too") << 1;
    }
    void delete_removes_the_files_and_keeps_current_mode() {
        QFETCH(int, osd);
        para()->set_u16(blk::OSD_ENABLE, uint16_t(osd));
        save_slot(9);
        write_file("/data/modes/MO0a.json", kOsdFile);
        para()->set_u16(blk::CURRENT_MODE, 10);
        open_page();
        keys(PANEL_KEY_OK);
        keys(PANEL_KEY_RIGHT);
        keys(PANEL_KEY_OK);
        QVERIFY(!exists("/data/modes/custom_mode10"));
        QCOMPARE(exists("/data/modes/MO0a.json"), osd == 0);
        QVERIFY(!para()->RynUserModeSaved(9));
        QCOMPARE(int(para()->u16(blk::CURRENT_MODE)), 10);
        QCOMPARE(int(flag()), 0);
        QVERIFY(shown("label_blank"));
        QVERIFY(!shown("preview"));
    }

    void back_after_mode_shows_home_then_menu() {
        QVERIFY(pages::open<LockWindow>(false));
        keys(PANEL_KEY_MODE);
        QVERIFY(g_custommode());
        QCOMPARE(int(g_mode_shortcut_key), 1);
        keys(PANEL_KEY_BACK);
        QTRY_VERIFY(!g_custommode());
        QCOMPARE(int(g_mode_shortcut_key), 0);
        QCOMPARE(int(g_page_focus), int(PAGE_LOCKWINDOW));
        keys(PANEL_KEY_OK);  // to the main menu
        QCOMPARE(int(g_page_focus), int(PAGE_MAINWINDOW));
        g_mainwindow()->on_custommode_clicked();
        QCOMPARE(int(g_page_focus), int(PAGE_CUSTOMMODE));
        keys(PANEL_KEY_BACK);
        QTRY_VERIFY(!g_custommode());
        QCOMPARE(int(g_page_focus), int(PAGE_MAINWINDOW));
        QVERIFY(!g_lockwindow());
    }

    void language_retexts_at_once_but_not_the_combo() {
        save_slot(0);
        para()->set_u16(blk::CURRENT_MODE, 1);
        open_page();
        para()->set_u16(blk::LCD_LANGUAGE, LANG_RUSSIAN);
        SyncUpdate::pInstance()->para_sync(SYNC_PARA);
        QCOMPARE(child<QPushButton>("Button_use")->text(), QString::fromUtf8("Вызвать"));
        QCOMPARE(text("label_using"), QString::fromUtf8("Использовать"));
        QCOMPARE(page()->mode_box()->combo->itemText(0), QString("MODE 1"));
        QCOMPARE(text("label_name"), QString("Name:Mode1"));  // until the next redraw
        redraw();
        QCOMPARE(text("label_name"), QString::fromUtf8("Название:Слот1"));
    }

    // A touch on the combo would open the list and show a mode other than
    // the one the buttons act on; the buttons do take touches.
    void touch_skips_the_combo_and_reaches_the_buttons() {
        save_slot(0);
        open_page();
        QComboBox* combo = page()->mode_box()->combo;
        QTest::mouseClick(combo, Qt::LeftButton);
        QTest::mouseClick(combo, Qt::LeftButton, {}, QPoint(90, 10));
        QVERIFY(!combo->view()->isVisible());
        QCOMPARE(combo->currentIndex(), 0);
        QTest::mouseClick(child<QPushButton>("Button_use"), Qt::LeftButton);
        QCOMPARE(int(para()->u16(blk::CURRENT_MODE)), 1);
        QTest::mouseClick(child<QPushButton>("Button_delete"), Qt::LeftButton);
        QVERIFY(!para()->RynUserModeSaved(0));
    }

    // ---- the preview ----

    void summary_reads_the_slot_not_the_block() {
        para()->set_u16(blk::LED_WIDTH, 3840);
        para()->set_u16(blk::LED_HEIGHT, 1200);
        para()->set_u16(blk::BRIGHTNESS, 77);
        para()->set_u16(blk::CONTRAST, 44);
        para()->set_u16(blk::AUDIO_WINDOW, 2);
        para()->set_u16(blk::window(0, blk::WIN_AUDIO), 0);
        para()->set_u16(blk::window(2, blk::WIN_AUDIO), 0x80FF);
        save_slot(1);
        para()->set_u16(blk::AUDIO_WINDOW, 0);  // the live block no longer says so
        para()->set_u16(blk::BRIGHTNESS, 10);
        para()->set_u16(blk::CURRENT_MODE, 2);
        open_page();
        QCOMPARE(text("label_name"), QString("Name:Mode2"));
        QCOMPARE(text("label_LED"), QString("LED size:3840x1200"));
        QCOMPARE(text("label_brightness"), QString("Bri:77 CTRST:44 Volume:ON"));
        QVERIFY(shown("label_using"));
    }

    // The slot's audio_window from a file or the PC: 6 or more reads window 0.
    void slot_audio_window_out_of_range_reads_window_0_data() {
        QTest::addColumn<int>("audio_window");
        QTest::newRow("6, no such window") << 6;
        QTest::newRow("70, past the slot") << 70;
        QTest::newRow("255 in the low byte") << 0x01FF;
    }
    void slot_audio_window_out_of_range_reads_window_0() {
        QFETCH(int, audio_window);
        save_slot(0);
        slot_u16(0, blk::AUDIO_WINDOW, uint16_t(audio_window));
        slot_u16(0, blk::window(0, blk::WIN_AUDIO), 0x80FF);
        open_page();
        QVERIFY(text("label_brightness").endsWith("Volume:ON"));
        slot_u16(0, blk::window(0, blk::WIN_AUDIO), 0x00FF);
        redraw();
        QVERIFY(text("label_brightness").endsWith("Volume:OFF"));
    }

    void window_list_lines() {
        save_slot(0);
        // enable, source, x, y, width, height; window 3's crop record 5 is
        // free in the slot, window 4 names no source.
        const uint16_t wins[5][6] = {{1, 2, 0, 0, 1920, 1080}, {0, 2, 10, 20, 640, 480},
                                     {1, 0x8003, 65535, 1, 2, 3}, {1, 0x8005}, {1, 9}};
        const int fields[6] = {blk::WIN_ENABLE, blk::WIN_SOURCE, blk::WIN_X, blk::WIN_Y, blk::WIN_WIDTH, blk::WIN_HEIGHT};
        for (int w = 0; w < 5; ++w)
            for (int f = 0; f < 6; ++f)
                slot_u16(0, blk::window(w, fields[f]), wins[w][f]);
        // The slot's own crop record 3 names DVI; the live block's says HDMI2.
        uint8_t* rec = slot(0).data() + blk::crop(3) - blk::MODE_BEGIN;
        rec[blk::CROP_SOURCE] = 1;
        rec[blk::CROP_ID] = blk::CROP_USED | 6;
        para()->RamParaBlock[size_t(blk::crop(3))] = 3;
        open_page();
        QCOMPARE(text("window_source_0"), QString("HDMI1 ON"));
        QCOMPARE(text("window_position_0"), QString("[0,0]1920x1080"));
        QCOMPARE(text("window_source_1"), QString("HDMI1 OFF"));
        QCOMPARE(text("window_position_1"), QString("[10,20]640x480"));
        QCOMPARE(text("window_source_2"), QString("DVI_Crop4"  " ON"));
        QCOMPARE(text("window_position_2"), QString("[65535,1]2x3"));
        QCOMPARE(text("window_source_3"), QString("_Crop6 ON"));
        QCOMPARE(text("window_source_4"), QString(" ON"));
        QCOMPARE(text("window_tile_4"), QString("5"));
        QLabel other;  // a window index past the six
        CustomMode::color_fill(&other, 6);
        QCOMPARE(other.styleSheet(), QString("background-color: #CCCCCC;"));
    }

    void alias_name_is_elided() {
        write_file("/data/configs/alias.json",
                   R"({"usermode": {"namelist": [{"id": 0, "valid": "on", "name": "A very long name for the )"
                   R"(first user mode of the wall in the big hall"}, {"id": 1, "valid": "on", "name": "Stage"}]}})");
        save_slot(0);
        open_page();
        QVERIFY(text("label_name").startsWith("Name:A very"));
        QVERIFY(text("label_name").endsWith(QChar(0x2026)));
        keys(PANEL_KEY_RIGHT);
        QCOMPARE(text("label_name"), QString("Name:Stage"));
    }

    // Missing is the usual case; a broken file shows zeros and only it is
    // removed, never the shared OSD menu.
    void osd_view_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("content");  // empty: no file
        QTest::addColumn<QString>("info");
        QTest::addColumn<QString>("style");
        QTest::addColumn<QString>("sample");
        QTest::newRow("full file") << int(LANG_ENGLISH) << kOsdFile
                                   << "osd [x:10,y:20,w:300,h:40] font size:16*24\nspace [h:5,v:6] "
                                      "char[x:1,y:2] speed:3,effect:move left"
                                   << "background-color:#112233;color:#AABBCC;" << "one\ntwo\nthree";
        QTest::newRow("full file in Chinese")
            << int(LANG_TCHINESE) << kOsdFile
            << QString::fromUtf8("osd [x:10,y:20,w:300,h:40] 字體大小:16*24\n字-行間距 [h:5,v:6] 字幕坐標[x:1,y:2] "
                                 "速度:3,特技:左移")
            << "background-color:#112233;color:#AABBCC;" << "one\ntwo\nthree";
        const QString zeros = "osd [x:0,y:0,w:0,h:0] font size:0*0\nspace [h:0,v:0] char[x:0,y:0] "
                              "speed:0,effect:static";
        QTest::newRow("missing file") << int(LANG_ENGLISH) << QString() << zeros << "background-color:#;color:#;" << QString();
        QTest::newRow("corrupt file") << int(LANG_ENGLISH) << R"({"menu": [ {"x": )" << zeros << "background-color:#;color:#;"
                                      << QString();
        QTest::newRow("effect 1, short colours, three lines")
            << int(LANG_ENGLISH) << R"({"menu": [{"effect": 1, "backpara": {"color": "0x"}, "fontpara": {"color": "F", "texts": "a\nb\nc"}}]})"
            << zeros << "background-color:#;color:#;" << "a\nb\nc";
    }
    void osd_view() {
        QFETCH(int, language);
        QFETCH(QString, content);
        QFETCH(QString, info);
        QFETCH(QString, style);
        QFETCH(QString, sample);
        if (language != LANG_ENGLISH) {
            g_language = uint8_t(language);
            para()->set_u16(blk::LCD_LANGUAGE, uint16_t(language));
            para()->RamParaShadow = para()->RamParaBlock;
        }
        write_file("/data/configs/omenu.json", kSharedOsd);
        para()->set_u16(blk::OSD_ENABLE, 1);
        save_slot(10);
        if (!content.isEmpty())
            write_file("/data/modes/MO0b.json", content.toUtf8());  // mode 11
        para()->set_u16(blk::CURRENT_MODE, 11);
        open_page();
        keys(PANEL_KEY_OK);
        keys(PANEL_KEY_RIGHT, 2);
        QVERIFY(!shown("window_source_0"));
        QCOMPARE(text("osd_info"), info);
        QCOMPARE(child("osd_sample")->styleSheet(), style);
        QCOMPARE(text("osd_sample"), sample);
        QVERIFY(exists("/data/configs/omenu.json"));
        const bool corrupt = QByteArray(QTest::currentDataTag()) == "corrupt file";
        QCOMPARE(exists("/data/modes/MO0b.json"), !content.isEmpty() && !corrupt);
        keys(PANEL_KEY_BACK);
        QVERIFY(!shown("osd_info"));
        QVERIFY(shown("window_source_0"));
    }
};

QTEST_MAIN(TstCustomMode)
#include "tst_custommode.moc"

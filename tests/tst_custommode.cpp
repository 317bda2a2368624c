// The user-mode page: browsing, invoke and delete against the block and the
// files, and the preview of a slot's windows and OSD file.
#include "page_driver.h"

#include "ui/frame/custommode.h"
#include "ui/frame/mainwindow.h"
#include "ui/frame/ryncontrol.h"

#include <QAbstractItemView>
#include <QPushButton>
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

bool exists(const QString& device) { return QFile::exists(device_path(device)); }

CustomMode* open_page() {
    g_page_focus = PAGE_MAINWINDOW;
    return pages::open<CustomMode>();
}
CustomMode* page() { return g_custommode(); }
template <class T = QLabel> T* child(const char* name) { return page()->findChild<T*>(name); }
QString text(const char* name) { return child(name)->text(); }
bool shown(const char* name) { return page()->findChild<QWidget*>(name)->isVisibleTo(page()); }

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

    // The page opens on the current mode (17 names no slot: slot 0), and
    // Left, Right and the keypad's R step through the 16 slots with wrap.
    void mode_selection_data() {
        QTest::addColumn<int>("current");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<int>("slot");
        QTest::newRow("mode 17, out of range") << 17 << "" << 0;
        QTest::newRow("Left wraps slot 1 to 16") << 0 << "l" << 15;
        QTest::newRow("keypad R wraps 16 to 1") << 16 << "R" << 0;
    }
    void mode_selection() {
        QFETCH(int, current);
        QFETCH(QString, keys);
        para()->set_u16(blk::CURRENT_MODE, uint16_t(current));
        open_page();
        press(keys);
        QTEST(int(g_mode_select), "slot");
        QTEST(page()->mode_box()->combo->currentIndex(), "slot");
    }

    // An empty slot refuses OK. The action row wraps over its three buttons
    // and never steps the mode; Back, and OK on More, only leave the row. The
    // PC may switch the OSD off while More has the focus: the next step must
    // land on a shown button, not past the row.
    void action_row() {
        para()->set_u16(blk::OSD_ENABLE, 1);
        save_slot(3);
        para()->set_u16(blk::CURRENT_MODE, 4);
        open_page();
        const auto block = para()->RamParaBlock;
        press("r");
        QVERIFY(shown("label_blank") && !shown("Button_use") && !shown("preview"));
        press("kk");
        QCOMPARE(int(page()->ui_edit()), 0);
        QCOMPARE(int(flag()), 0);
        press("lk");
        QVector<int> seen;
        for (int i = 0; i < 3; ++i)
            seen << (press("l"), int(page()->button_select));
        QCOMPARE(seen, (QVector<int>{2, 1, 0}));
        QCOMPARE(int(g_mode_select), 3);
        press("b");
        QVERIFY(g_custommode() && page()->ui_edit() == 0);
        press("klk");
        QCOMPARE(int(page()->ui_edit()), 0);
        QVERIFY(para()->RamParaBlock == block);
        QVERIFY(exists("/data/modes/custom_mode4"));
        press("k");
        slot_u16(3, blk::OSD_ENABLE, 0);
        press("l"); // onto More; its redraw hides it
        QVERIFY(!shown("Button_more"));
        press("r");
        QCOMPARE(int(page()->button_select), 0);
        press("l");
        QCOMPARE(int(page()->button_select), 1);
    }

    // A save waiting in mode_save_request must not later store the invoked
    // mode over its slot. The mode number follows the slot invoked.
    void invoke_copies_the_slot_and_drops_a_pending_save() {
        para()->set_u16(blk::BRIGHTNESS, 33);
        save_slot(5);
        for (int b = blk::MODE_BEGIN; b < blk::SIZE; ++b)
            slot(5).bytes[size_t(b - blk::MODE_BEGIN + USER_MODE_DATA)] = uint8_t(b * 7);
        save_slot(2);
        const QByteArray slot2_file = testsupport::read_file("/data/modes/custom_mode3");
        para()->set_u16(blk::MODE_SAVE_REQUEST, 3);
        para()->set_u16(blk::PANEL_LOCK, 0);
        para()->set_u16(blk::CURRENT_MODE, 0);
        para()->RamParaBlock[895] = 0x5C;
        open_page();
        press("rrrrr");
        auto expect = para()->RamParaBlock;  // below the mode bytes only these two change
        blk::wr16(expect.data(), blk::CURRENT_MODE, 6);
        blk::wr16(expect.data(), blk::MODE_SAVE_REQUEST, 0);
        press("kk");
        QCOMPARE(int(flag()), 1);
        QVERIFY(std::memcmp(para()->RamParaBlock.data(), expect.data(), blk::MODE_BEGIN) == 0);
        QVERIFY(std::memcmp(para()->RamParaBlock.data() + blk::MODE_BEGIN, slot(5).data(),
                            blk::MODE_SIZE) == 0);
        QCOMPARE(int(page()->ui_edit()), 0);
        press("rl"); // away and back: a redraw
        QVERIFY(shown("label_using"));

        // Through the scaler and the dispatcher: slot 3 keeps its own data.
        c331_manage::pInstance()->apply_pass();
        QCOMPARE(int(flag()), 0);
        QCOMPARE(testsupport::read_file("/data/modes/custom_mode3"), slot2_file);
        QCOMPARE(int(slot(2).u16(blk::BRIGHTNESS)), 33);
    }

    // Delete removes the slot and its file, with the OSD off not the OSD
    // file, and keeps the current mode.
    void delete_removes_the_files_and_keeps_current_mode() {
        save_slot(9);
        write_device_file("/data/modes/MO0a.json", kOsdFile);
        para()->set_u16(blk::CURRENT_MODE, 10);
        open_page();
        press("krk"); // Delete
        QVERIFY(!exists("/data/modes/custom_mode10"));
        QVERIFY(exists("/data/modes/MO0a.json"));
        QVERIFY(!para()->RynUserModeSaved(9));
        QCOMPARE(int(para()->u16(blk::CURRENT_MODE)), 10);
        QCOMPARE(int(flag()), 0);
    }

    // A touch on the combo would open the list and show a mode other than
    // the one the buttons act on; the buttons do take touches. Delete with
    // the OSD on removes the OSD file too.
    void touch_skips_the_combo_and_reaches_the_buttons() {
        para()->set_u16(blk::OSD_ENABLE, 1);
        save_slot(0);
        write_device_file("/data/modes/MO01.json", kOsdFile);
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
        QVERIFY(!exists("/data/modes/custom_mode1") && !exists("/data/modes/MO01.json"));
    }

    // The summary reads the slot, not the live block; the slot's
    // audio_window from a file or the PC past the six windows reads window 0.
    void summary_reads_the_slot_not_the_block_data() {
        QTest::addColumn<int>("audio_window");
        QTest::addColumn<int>("audio_on"); // the window whose audio the slot has on
        QTest::newRow("window 3") << 2 << 2;
        QTest::newRow("6, no such window") << 6 << 0;
        QTest::newRow("255 in the low byte") << 0x01FF << 0;
    }
    void summary_reads_the_slot_not_the_block() {
        QFETCH(int, audio_window);
        QFETCH(int, audio_on);
        for (auto [at, value] : {std::pair{blk::LED_WIDTH, 3840}, {blk::LED_HEIGHT, 1200},
                                 {blk::BRIGHTNESS, 77}, {blk::CONTRAST, 44},
                                 {blk::AUDIO_WINDOW, audio_window},
                                 {blk::window(audio_on, blk::WIN_AUDIO), 0x80FF}})
            para()->set_u16(at, uint16_t(value));
        save_slot(1);
        para()->set_u16(blk::window(audio_on, blk::WIN_AUDIO), 0); // the live block says otherwise
        para()->set_u16(blk::BRIGHTNESS, 10);
        para()->set_u16(blk::CURRENT_MODE, 2);
        open_page();
        QCOMPARE(text("label_LED"), QString("LED size:3840x1200"));
        QCOMPARE(text("label_brightness"), QString("Bri:77 CTRST:44 Volume:ON"));
        QVERIFY(shown("label_using"));
        slot_u16(1, blk::window(audio_on, blk::WIN_AUDIO), 0x00FF);
        press("rl"); // away and back: a redraw
        QVERIFY(text("label_brightness").endsWith("Volume:OFF"));
    }

    // The window lines read the slot's own crop table, not the block's; a
    // long alias is elided.
    void window_lines_and_name() {
        write_device_file("/data/configs/alias.json",
                          R"({"usermode": {"namelist": [{"id": 0, "valid": "on", "name": )"
                          R"("A very long name for the first user mode of the wall in the big )"
                          R"(hall"}, {"id": 1, "valid": "on", "name": "Stage"}]}})");
        save_slot(0);
        // enable, source, x, y, width, height; window 3's crop record 5 is
        // free in the slot, window 4 names no source.
        const uint16_t wins[5][6] = {{1, 2, 0, 0, 1920, 1080}, {0, 2, 10, 20, 640, 480},
                                     {1, 0x8003, 65535, 1, 2, 3}, {1, 0x8005}, {1, 9}};
        const int fields[6] = {blk::WIN_ENABLE, blk::WIN_SOURCE, blk::WIN_X, blk::WIN_Y, blk::WIN_WIDTH, blk::WIN_HEIGHT};
        for (int w = 0; w < 5; ++w)
            for (int f = 0; f < 6; ++f)
                slot_u16(0, blk::window(w, fields[f]), wins[w][f]);
        uint8_t* rec = slot(0).data() + blk::crop(3) - blk::MODE_BEGIN;
        rec[blk::CROP_SOURCE] = 1;
        rec[blk::CROP_ID] = blk::CROP_USED | 6;
        para()->RamParaBlock[size_t(blk::crop(3))] = 3;
        open_page();
        QCOMPARE(text("window_source_1") + text("window_position_1"),
                 QString("HDMI1 OFF[10,20]640x480"));
        QCOMPARE(text("window_source_2") + text("window_position_2"),
                 QString("DVI_Crop4 ON[65535,1]2x3"));
        QCOMPARE(text("window_source_3"), QString("_Crop6 ON"));
        QCOMPARE(text("window_source_4"), QString(" ON"));
        QLabel other; // a window index past the six gets a colour too
        CustomMode::color_fill(&other, 6);
        QVERIFY(!other.styleSheet().isEmpty());
        QVERIFY(text("label_name").startsWith("Name:A very"));
        QVERIFY(text("label_name").endsWith(QChar(0x2026)));
        press("r");
        QCOMPARE(text("label_name"), QString("Name:Stage"));
    }

    // Missing is the usual case; a broken file shows zeros and only it is
    // removed, never the shared OSD menu.
    void osd_view_data() {
        QTest::addColumn<QString>("content"); // empty: no file
        QTest::addColumn<QString>("info");
        QTest::addColumn<QString>("style");
        QTest::addColumn<QString>("sample");
        const QString zeros = "osd [x:0,y:0,w:0,h:0] font size:0*0\nspace [h:0,v:0] "
                              "char[x:0,y:0] speed:0,effect:static";
        const QString no_colours = "background-color:#;color:#;";
        QTest::newRow("full file") << kOsdFile
                                   << "osd [x:10,y:20,w:300,h:40] font size:16*24\nspace [h:5,v:6] "
                                      "char[x:1,y:2] speed:3,effect:move left"
                                   << "background-color:#112233;color:#AABBCC;" << "one\ntwo\nthree";
        QTest::newRow("missing file") << QString() << zeros << no_colours << QString();
        QTest::newRow("corrupt file") << R"({"menu": [ {"x": )" << zeros << no_colours << QString();
        QTest::newRow("effect 1, short colours, three lines")
            << R"({"menu": [{"effect": 1, "backpara": {"color": "0x"},)"
               R"( "fontpara": {"color": "F", "texts": "a\nb\nc"}}]})"
            << zeros << no_colours << "a\nb\nc";
    }
    void osd_view() {
        QFETCH(QString, content);
        write_device_file("/data/configs/omenu.json", kSharedOsd);
        para()->set_u16(blk::OSD_ENABLE, 1);
        save_slot(10);
        if (!content.isEmpty())
            write_device_file("/data/modes/MO0b.json", content.toUtf8()); // mode 11
        para()->set_u16(blk::CURRENT_MODE, 11);
        open_page();
        press("krr");
        QVERIFY(!shown("window_source_0"));
        QTEST(text("osd_info"), "info");
        QTEST(child("osd_sample")->styleSheet(), "style");
        QTEST(text("osd_sample"), "sample");
        QVERIFY(exists("/data/configs/omenu.json"));
        const bool corrupt = QByteArray(QTest::currentDataTag()) == "corrupt file";
        QCOMPARE(exists("/data/modes/MO0b.json"), !content.isEmpty() && !corrupt);
        press("b");
        QVERIFY(shown("window_source_0"));
    }
};

QTEST_MAIN(TstCustomMode)
#include "tst_custommode.moc"

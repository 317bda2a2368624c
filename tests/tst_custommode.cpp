// The user-mode page: browsing and the action row, invoke and delete
// against the block and the files, and the preview of a slot's windows and
// OSD file.
#include "page_driver.h"

#include "ui/frame/custommode.h"
#include "ui/frame/mainwindow.h"
#include "ui/frame/ryncontrol.h"

#include <cstring>

namespace {
// Saved slots with their OSD switch and the current mode; keys from the
// main menu, then what the PC changes and the keys after that.
struct Visit {
    QVector<int> saved;
    bool osd;
    int current;
    QString keys, expect;
    void (*pc)() = nullptr;
    QString then = {};
};
// Mode 11's OSD file (empty: none) and its audio_window; the volume word,
// the OSD view and its sample shown.
struct Preview {
    QByteArray osd;
    int audio_window;
    QString volume, info, sample;
};
const char* const kOsd = R"({"menu": [{"x": 5, "y": 6, "w": 7, "h": 8, "effect": 2, "speed": 3,
    "backpara": {"color": "0x112233"}, "fontpara": {"color": "0x445566", "fontw": 16, "fonth": 24,
    "wordspace": 1, "verticalspace": 2, "startx": 9, "starty": 4, "texts": "a\nb\nc\nd"}}]})";
const char* const kOsdShown = "osd [x:5,y:6,w:7,h:8] font size:16*24\nspace [h:1,v:2] "
                              "char[x:9,y:4] speed:3,effect:move up";
const char* const kZeros = "osd [x:0,y:0,w:0,h:0] font size:0*0\nspace [h:0,v:0] "
                           "char[x:0,y:0] speed:0,effect:static";
const char* const kNoColour = "background-color:#;color:#;";
}  // namespace
Q_DECLARE_METATYPE(Visit)
Q_DECLARE_METATYPE(Preview)

class TstCustomMode : public QObject {
    Q_OBJECT
    static RynRamPara* para() { return RynRamPara::pInstance(); }
    static UserModeSlot& slot(int i) { return para()->UserModes[size_t(i)]; }
    static void slot_u16(int i, int at, int v) { blk::wr16(slot(i).data(), at - blk::MODE_BEGIN, uint16_t(v)); }
    // Slot `i` saved with a copy of the live block, its file written.
    static void save_slot(int i) {
        slot(i).bytes[0] = slot(i).bytes[1] = 0xAA;
        std::memcpy(slot(i).data(), para()->RamParaBlock.data() + blk::MODE_BEGIN, blk::MODE_SIZE);
        QVERIFY(para()->save_mode(i));
    }
    static bool exists(const QString& device) { return QFile::exists(device_path(device)); }
    static CustomMode* page() { return g_custommode(); }
    template <class T = QLabel> static T* child(const char* name) { return page()->findChild<T*>(name); }
    static QString text(const char* name) { return child(name)->text(); }
    // The page in front, or the user-mode page's number, focus, an empty
    // slot's notice and a change handed to the scaler.
    static QString state() {
        if (!page())
            return QString("page %1, shortcut %2").arg(g_page_focus).arg(g_mode_shortcut_key);
        return text("label_ID") +
               (page()->ui_edit() ? QString(", button %1").arg(page()->button_select) : ", browsing") +
               (child<QWidget>("label_blank")->isVisibleTo(page()) ? ", blank" : "") +
               (child<QWidget>("osd_info")->isVisibleTo(page()) ? ", OSD view" : "") +
               (c331_manage::pInstance()->para_update_flag ? ", applied" : "");
    }
    static void pc_osd_off() { slot_u16(0, blk::OSD_ENABLE, 0); }
    // Mode 5's file, marked saved, one byte short of a whole mode or whole,
    // read as at start-up.
    template <int bytes> static void pc_mode5_file() {
        QByteArray file(bytes, 0);
        file[0] = file[1] = char(0xAA);
        write_device_file("/data/modes/custom_mode5", file);
        para()->load_files();
    }

private slots:
    void initTestCase() { new MainWindow(nullptr); }
    void init() {
        testsupport::fresh_device();
        g_page_focus = PAGE_MAINWINDOW;
        g_mainwindow()->menulist_init();
    }
    void cleanup() {
        testsupport::close_all_pages();
        QTRY_VERIFY(!g_custommode());
    }

    // MODE on the main menu opens the page. The PC may switch the OSD off
    // while More has the focus: the next step must land on a shown button,
    // not past the row.
    void visit_data() {
        testsupport::rows<Visit>({
            {"mode 17 opens slot 1, Left wraps to 16", {{}, 0, 17, "ml", "ID:16, browsing, blank"}},
            {"OK on an empty slot", {{}, 0, 0, "mkr", "ID:2, browsing, blank"}},
            {"no OSD: Left on Invoke wraps to Delete", {{0}, 0, 1, "mkl", "ID:1, button 1"}},
            {"OSD on: Left on Invoke wraps to More", {{0}, 1, 1, "mkl", "ID:1, button 2, OSD view"}},
            {"More hidden under the focus", {{0}, 1, 1, "mk", "ID:1, button 0", pc_osd_off, "lr"}},
            {"OK on More only leaves the row, and its OSD view", {{0}, 1, 1, "mklk", "ID:1, browsing"}},
            {"Back after MODE: the home screen", {{}, 0, 0, "mb", "page 0, shortcut 0"}},
            {"Back after the menu's entry: the menu", {{}, 0, 0, "rrkb", "page 1, shortcut 0"}},
            {"MODE on the page is the keypad's", {{}, 0, 0, "mrm", "ID:2, browsing, blank"}},
            {"a mode file one byte short", {{}, 0, 0, "", "ID:5, browsing, blank", pc_mode5_file<3201>, "mrrrr"}},
            {"a whole mode in its file", {{}, 0, 0, "", "ID:5, browsing", pc_mode5_file<3202>, "mrrrr"}},
        });
    }
    void visit() {
        QFETCH(Visit, row);
        para()->set_u16(blk::OSD_ENABLE, row.osd);
        for (int i : row.saved)
            save_slot(i);
        para()->set_u16(blk::CURRENT_MODE, uint16_t(row.current));
        press(row.keys);
        if (row.pc)
            row.pc();
        press(row.then);
        QCOMPARE(state(), row.expect);
    }

    // A touch on the combo would open the list and show a mode other than
    // the one the buttons act on. Invoke copies exactly the slot's 3200 bytes
    // to b 896, sets the mode number and clears a waiting save request (which
    // would store the invoked mode over its slot). Delete with the slot's OSD
    // on removes its OSD file too, redraws and keeps the current mode.
    void invoke_and_delete_by_touch() {
        save_slot(5);
        for (int i = 0; i < blk::MODE_SIZE; ++i)
            slot(5).data()[i] = uint8_t(i * 7 + 3);
        slot_u16(5, blk::OSD_ENABLE, 1);
        write_device_file("/data/modes/MO06.json", R"({"name": "shared", "menu": []})");
        para()->set_u16(blk::MODE_SAVE_REQUEST, 3);
        auto expect = para()->RamParaBlock;  // below the mode bytes only these two change
        blk::wr16(expect.data(), blk::CURRENT_MODE, 6);
        blk::wr16(expect.data(), blk::MODE_SAVE_REQUEST, 0);
        std::memcpy(expect.data() + blk::MODE_BEGIN, slot(5).data(), blk::MODE_SIZE);
        pages::open<CustomMode>();
        press("rrrrr");
        QComboBox* combo = page()->mode_box()->combo;
        QTest::mouseClick(combo, Qt::LeftButton, {}, QPoint(90, 10));
        QVERIFY(!combo->view()->isVisible());
        QTest::mouseClick(child<QPushButton>("Button_use"), Qt::LeftButton);
        QVERIFY(para()->RamParaBlock == expect);
        QVERIFY(child<QWidget>("label_using")->isVisibleTo(page()));  // in use now, shown at once
        QTest::mouseClick(child<QPushButton>("Button_delete"), Qt::LeftButton);
        QCOMPARE(state(), QString("ID:6, browsing, blank, applied"));
        QVERIFY(!exists("/data/modes/custom_mode6") && !exists("/data/modes/MO06.json"));
        QCOMPARE(int(para()->u16(blk::CURRENT_MODE)), 6);
    }

    // The preview reads the slot, not the live block: the LED size, the
    // volume of the slot's own audio window (past the six windows: window
    // 0), an OFF window, a crop window named by the crop's number, the alias
    // shown as written, not as markup, the in-use badge. Its OSD view: a
    // missing file is the usual case (its colour texts too short for their
    // two-character prefix); a colour that is not hex digits (style text
    // would reach the style sheet) is no colour; a sample shows three lines
    // at most. The PC's language re-texts the page at once, not the names.
    void preview_data() {
        const char* const colours = "background-color:#112233;color:#445566;a\nb\nc";
        testsupport::rows<Preview>({
            {"no OSD file; audio window 6", {"", 6, "OFF", kZeros, kNoColour}},
            {"style text as a colour",
             {R"j({"menu": [{"backpara": {"color": "0x000000;background-image:url(/x)"}}]})j", 6, "OFF", kZeros,
              kNoColour}},
            {"a whole OSD file", {kOsd, 2, "ON", kOsdShown, colours}},
        });
    }
    void preview() {
        QFETCH(Preview, row);
        write_device_file("/data/configs/alias.json",
                          R"({"usermode":{"namelist":[{"id":10,"valid":"on","name":"<i>x</i>"}]}})");
        para()->set_u16(blk::OSD_ENABLE, 1);
        save_slot(10);
        if (!row.osd.isEmpty())
            write_device_file("/data/modes/MO0b.json", row.osd);  // mode 11
        slot_u16(10, blk::AUDIO_WINDOW, row.audio_window);
        slot_u16(10, blk::LED_WIDTH, 640);
        slot_u16(10, blk::LED_HEIGHT, 480);
        slot_u16(10, blk::window(0, blk::WIN_AUDIO), 0);
        slot_u16(10, blk::window(2, blk::WIN_AUDIO), 0x80FF);
        slot_u16(10, blk::window(6, blk::WIN_AUDIO), 0x80FF);
        slot_u16(10, blk::window(1, blk::WIN_ENABLE), 0);
        slot_u16(10, blk::window(1, blk::WIN_SOURCE), 2);
        slot_u16(10, blk::window(2, blk::WIN_SOURCE), 0x8003);
        slot_u16(10, blk::crop(3), 0x8601);  // DVI, crop number 7
        para()->set_u16(blk::CURRENT_MODE, 11);
        pages::open<CustomMode>();
        QVERIFY(text("window_source_1").startsWith("HDMI1 OFF") && text("window_source_2").startsWith("DVI_Crop7 "));
        QCOMPARE(text("label_LED") + " " + text("label_brightness"),
                 "LED size:640x480 Bri:100 CTRST:50 Volume:" + row.volume);
        QVERIFY(child<QWidget>("label_using")->isVisibleTo(page()));
        QLabel* name = child("label_name");
        const int drawn = QFontMetrics(name->font()).horizontalAdvance(name->text());
        QVERIFY(name->text().endsWith("<i>x</i>") && name->sizeHint().width() >= drawn);
        press("krr");
        QCOMPARE(text("osd_info"), row.info);
        QCOMPARE(child("osd_sample")->styleSheet() + text("osd_sample"), row.sample);
        outside_change([](RynRamPara& p) { p.set_u16(blk::LCD_LANGUAGE, LANG_RUSSIAN); });
        QCOMPARE(text("label_title") + " " + page()->mode_box()->combo->currentText(), "Слот MODE 11");
    }
};

QTEST_MAIN(TstCustomMode)
#include "tst_custommode.moc"

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
void open_page() { pages::open<CustomMode>(); }
CustomMode* page() { return g_custommode(); }
template <class T = QLabel> T* child(const char* name) { return page()->findChild<T*>(name); }
QString text(const char* name) { return child(name)->text(); }
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

    // Mode 17 names no slot: the page opens on slot 1; the 16 slots wrap.
    void mode_17_opens_slot_1_and_left_wraps_to_16() {
        para()->set_u16(blk::CURRENT_MODE, 17);
        open_page();
        QCOMPARE(int(g_mode_select), 0);
        press("l");
        QCOMPARE(page()->mode_box()->combo->currentIndex(), 15);
    }

    // The PC may switch the OSD off while More has the focus: the next step
    // must land on a shown button, not past the row.
    void hidden_more_keeps_the_action_row_focus() {
        para()->set_u16(blk::OSD_ENABLE, 1);
        save_slot(3);
        para()->set_u16(blk::CURRENT_MODE, 4);
        open_page();
        press("k");
        slot_u16(3, blk::OSD_ENABLE, 0);
        press("l"); // onto More; its redraw hides it
        QVERIFY(!child<QWidget>("Button_more")->isVisibleTo(page()));
        press("r");
        QCOMPARE(int(page()->button_select), 0);
    }

    // A touch on the combo would open the list and show a mode other than
    // the one the buttons act on. Invoke copies exactly the slot's 3200 bytes
    // to b 896 and sets the mode number; a save waiting in mode_save_request
    // must not later store the invoked mode over its slot. Delete with the
    // slot's OSD on removes its OSD file too and keeps the current mode.
    void invoke_and_delete_by_touch() {
        save_slot(2);
        const QByteArray slot2_file = testsupport::read_file("/data/modes/custom_mode3");
        save_slot(5);
        for (int i = 0; i < blk::MODE_SIZE; ++i)
            slot(5).data()[i] = uint8_t(i * 7 + 3);
        slot_u16(5, blk::OSD_ENABLE, 1);
        write_device_file("/data/modes/MO06.json", R"({"name": "shared", "menu": []})");
        para()->set_u16(blk::MODE_SAVE_REQUEST, 3);
        para()->set_u16(blk::CURRENT_MODE, 0);
        auto expect = para()->RamParaBlock;  // below the mode bytes only these two change
        blk::wr16(expect.data(), blk::CURRENT_MODE, 6);
        blk::wr16(expect.data(), blk::MODE_SAVE_REQUEST, 0);
        open_page();
        press("rrrrr");
        QComboBox* combo = page()->mode_box()->combo;
        QTest::mouseClick(combo, Qt::LeftButton, {}, QPoint(90, 10));
        QVERIFY(!combo->view()->isVisible());
        QTest::mouseClick(child<QPushButton>("Button_use"), Qt::LeftButton);
        QVERIFY(child("label_using")->isVisible());  // the mode shown is in use now
        QCOMPARE(int(c331_manage::pInstance()->para_update_flag), 1);
        QVERIFY(std::memcmp(para()->RamParaBlock.data(), expect.data(), blk::MODE_BEGIN) == 0);
        QVERIFY(std::memcmp(para()->RamParaBlock.data() + blk::MODE_BEGIN, slot(5).data(),
                            blk::MODE_SIZE) == 0);
        c331_manage::pInstance()->apply_pass(); // the scaler and the dispatcher's save
        QCOMPARE(testsupport::read_file("/data/modes/custom_mode3"), slot2_file);
        QTest::mouseClick(child<QPushButton>("Button_delete"), Qt::LeftButton);
        QVERIFY(!para()->RynUserModeSaved(5));
        QVERIFY(!exists("/data/modes/custom_mode6") && !exists("/data/modes/MO06.json"));
        QCOMPARE(int(para()->u16(blk::CURRENT_MODE)), 6);
    }

    // The preview reads the slot, not the live block: an OFF window, a crop
    // window named from the slot's crop table, the volume of audio_window
    // 6 (past the six windows: window 0), the alias shown as written, not
    // as markup. Its OSD view: a missing file is the usual case; a broken
    // one shows zeros and only it is removed, never the shared OSD menu; a
    // short colour text, or style text in its place, is no colour.
    void preview_reads_the_slot_data() {
        QTest::addColumn<QString>("osd"); // empty: no file
        QTest::newRow("no OSD file") << QString();
        QTest::newRow("corrupt OSD file") << R"({"menu": [ {"x": )";
        QTest::newRow("short colours") << R"({"menu": [{"backpara": {"color": "0x"}, "fontpara": {"color": "F"}}]})";
        QTest::newRow("style text as colour") << R"j({"menu": [{"backpara": {"color": "0x000000;background-image:url(/x)"}}]})j";
    }
    void preview_reads_the_slot() {
        QFETCH(QString, osd);
        write_device_file("/data/configs/alias.json",
                          R"({"usermode":{"namelist":[{"id":10,"valid":"on","name":"<i>x</i>"}]}})");
        write_device_file("/data/configs/omenu.json", R"({"name": "shared", "menu": []})");
        para()->set_u16(blk::OSD_ENABLE, 1);
        save_slot(10);
        if (!osd.isEmpty())
            write_device_file("/data/modes/MO0b.json", osd.toUtf8()); // mode 11
        slot_u16(10, blk::AUDIO_WINDOW, 6);
        slot_u16(10, blk::window(0, blk::WIN_AUDIO), 0x80FF);
        for (auto [w, enable, source] : {std::tuple{1, 0, 2}, {2, 1, 0x8003}}) {
            slot_u16(10, blk::window(w, blk::WIN_ENABLE), uint16_t(enable));
            slot_u16(10, blk::window(w, blk::WIN_SOURCE), uint16_t(source));
        }
        uint8_t* rec = slot(10).data() + blk::crop(3) - blk::MODE_BEGIN;
        rec[blk::CROP_SOURCE] = 1;
        rec[blk::CROP_ID] = blk::CROP_USED | 6;
        para()->RamParaBlock[size_t(blk::crop(3))] = 3;
        para()->set_u16(blk::CURRENT_MODE, 11);
        open_page();
        QVERIFY(text("window_source_1").startsWith("HDMI1 OFF"));
        QVERIFY(text("window_source_2").startsWith("DVI_Crop7 ON")); // the crop's number, not its place
        QVERIFY(text("label_brightness").endsWith("Volume:ON"));
        QLabel* name = child("label_name");
        QVERIFY2(name->text().endsWith("<i>x</i>"), qPrintable(name->text()));
        QVERIFY(name->sizeHint().width() >= QFontMetrics(name->font()).horizontalAdvance(name->text()));
        press("krr");
        QVERIFY(text("osd_info").startsWith("osd [x:0,y:0,w:0,h:0] font size:0*0"));
        QCOMPARE(child("osd_sample")->styleSheet(), QString("background-color:#;color:#;"));
        QVERIFY(exists("/data/configs/omenu.json"));
        QCOMPARE(exists("/data/modes/MO0b.json"), osd.startsWith(R"({"menu": [{)"));
        press("k");  // OK on More: the focus leaves it, and its OSD view goes
        QVERIFY(!child("osd_info")->isVisible());
    }
};

QTEST_MAIN(TstCustomMode)
#include "tst_custommode.moc"

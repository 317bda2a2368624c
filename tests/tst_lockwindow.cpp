// The home screen: the status line and the window tiles after a change from
// outside, touch, and its spare.
#include "page_driver.h"

#include "ui/frame/lockwindow.h"
#include "ui/frame/syncupdate.h"

namespace {
using testsupport::MainStub;
using testsupport::set_input;
RynRamPara* para() {
    return RynRamPara::pInstance();
}

void set_window(int w, uint16_t enable, uint16_t source, uint16_t output = 0) {
    para()->set_u16(blk::window(w, blk::WIN_ENABLE), enable);
    para()->set_u16(blk::window(w, blk::WIN_SOURCE), source);
    para()->set_u16(blk::window(w, blk::WIN_OUTPUT), output);
}

LockWindow* open_home() {
    auto* lw = pages::create<LockWindow>();
    pages::set(PAGE_LOCKWINDOW, lw, PAGE_MAINWINDOW);
    g_page_focus = PAGE_LOCKWINDOW;
    lw->show();
    return lw;
}
// The change reaches the page as the dispatcher brings it.
void refresh() {
    SyncUpdate::pInstance()->para_sync(SYNC_PARA);
}

QLabel* tile(LockWindow* lw, const char* part, int w) {
    return lw->tiles_frame()->findChild<QLabel*>(QString(part) + QString::number(w));
}
QString text_of(QLabel* l) {
    return l ? l->text() : QString();
}
QWidget* marked_tile(LockWindow* lw) {
    const auto marks = lw->tiles_frame()->findChildren<QLabel*>("tile_current");
    return marks.size() == 1 ? marks[0]->parentWidget() : nullptr;
}
// "open" or "closed" by the audio picture shown.
QString audio_shown(LockWindow* lw) {
    const QImage shown = lw->findChild<QLabel*>("label_volume_icon")->pixmap(Qt::ReturnByValue).toImage();
    return shown == QPixmap(":/png/volume_open.png").toImage() ? "open" : "closed";
}

// Window `window` after a change from a home screen that showed every window
// on EXT with a signal. HDMI1 has 1920x1080@50, HDMI2 a rate of 0; crop
// records: 0 HDMI1 crop 2, 1 HDMI1 crop 1, 2 free, 3 naming source 6.
// The window is made current first: it keeps the mark while it is on.
struct Tile {
    int window;
    uint16_t enable, source, output, black;
    const char *name, *info;
    bool frozen, marked;
};
// A field changed from outside; the label's text or audio picture after.
struct Status {
    int offset;
    uint16_t value;
    const char *label, *shown;
};
}  // namespace
Q_DECLARE_METATYPE(Tile)
Q_DECLARE_METATYPE(Status)

class TstLockWindow : public QObject {
    Q_OBJECT
    MainStub main_stub;
private slots:
    void initTestCase() { Q_INIT_RESOURCE(png); }
    void init() {
        testsupport::fresh_device();
        for (int w = 0; w < WINDOW_COUNT; ++w)
            set_window(w, 1, 0);
        set_input(0, 1280, 720, 50);
        para()->set_u16(blk::LED_WIDTH, 1920);
        para()->set_u16(blk::window(0, blk::WIN_AUDIO), blk::AUDIO_ON);
        para()->RamParaShadow = para()->RamParaBlock;
        pages::set(PAGE_MAINWINDOW, &main_stub, PAGE_MAINWINDOW);
    }
    void cleanup() {
        testsupport::close_all_pages();
        pages::clear(PAGE_MAINWINDOW);
    }

    void tiles_data() {
        const uint16_t C = blk::SOURCE_CROP_BIT, F = blk::OUTPUT_FREEZE;
        const char *hd = "1920x1080@50Hz", *off = "Close", *none = "No signal";
        testsupport::rows<Tile>(
            {{"window 0 is on with enable word 0", {0, 0, 2, 0, 0, "HDMI1", hd, false, true}},
             {"enable word 0 is off", {1, 0, 2, 0, 0, "", off, false, false}},
             {"enable word 2 is off", {1, 2, 2, 0, 0, "", off, false, false}},
             {"enable word 0x100 is off", {1, 0x100, 2, 0, 0, "", off, false, false}},
             {"enable word 0x101 is on, by bit 0 as everywhere", {1, 0x101, 2, 0, 0, "HDMI1", hd, false, true}},
             {"rate 0 is no signal", {1, 1, 3, 0, 0, "HDMI2", none, false, true}},
             {"the window's black bit", {1, 1, 2, blk::OUTPUT_BLACK, 0, "HDMI1", "Black", false, true}},
             {"the window's freeze bit", {1, 1, 2, F, 0, "HDMI1", hd, true, true}},
             {"screen black 1: black, still frozen", {1, 1, 2, F, 1, "HDMI1", "Black", true, true}},
             {"screen black 2: every window frozen", {5, 1, 2, 0, 2, "HDMI1", hd, true, true}},
             {"screen black 2: an off window not", {1, 0, 2, 0, 2, "", off, false, false}},
             {"crop record 0 by its own number", {1, 1, C, 0, 0, "HDMI1_Crop2", "200x100@50Hz", false, true}},
             {"deleted crop", {1, 1, C | 2, 0, 0, "", none, false, true}},
             {"crop naming source 6", {1, 1, C | 3, 0, 0, "", none, false, true}},
             {"crop index 40", {1, 1, C | 40, 0, 0, "", none, false, true}},
             {"source id 6", {1, 1, 6, 0, 0, "", none, false, true}}});
    }
    void tiles() {
        QFETCH(Tile, row);
        const Tile& t = row;
        LockWindow* lw = open_home();
        g_image_current = uint8_t(t.window);
        set_input(2, 1920, 1080, 50);
        set_input(3, 1280, 720, 0);
        set_crops("2.2 2.1 x 6.1");
        set_window(t.window, t.enable, t.source, t.output);
        para()->set_u16(blk::SCREEN_BLACK, t.black);
        refresh();
        QCOMPARE(text_of(tile(lw, "tile_name_", t.window)), QString(t.name));
        QCOMPARE(text_of(tile(lw, "tile_info_", t.window)), QString(t.info));
        QCOMPARE(tile(lw, "tile_freeze_", t.window) != nullptr, t.frozen);
        QCOMPARE(marked_tile(lw) == tile(lw, "tile_number_", t.window), t.marked);
    }

    void status_line_data() {
        testsupport::rows<Status>(
            {{"LED height alone", {blk::LED_HEIGHT, 2160, "label_input", "LED size:1920 x 2160"}},
             {"brightness", {blk::BRIGHTNESS, 37, "label_bright", "37"}},
             {"contrast", {blk::CONTRAST, 61, "label_contrast", "61"}},
             {"audio window moved to a silent one", {blk::AUDIO_WINDOW, 2, "label_volume_icon", "closed"}},
             {"audio window 7 reads window 0", {blk::AUDIO_WINDOW, 7, "label_volume_icon", "open"}}});
    }
    void status_line() {
        QFETCH(Status, row);
        const Status& s = row;
        LockWindow* lw = open_home();
        QCOMPARE(lw->findChild<QLabel*>("label_contrast")->text(), QString::number(para()->u16(blk::CONTRAST)));
        para()->set_u16(s.offset, s.value);
        refresh();
        const QString label = lw->findChild<QLabel*>(s.label)->text();
        QCOMPARE(label.isEmpty() ? audio_shown(lw) : label, QString(s.shown));
    }

    // Aliases are a user's text: markup is shown as written (a rich-text
    // label would draw "Cam" in bold), a long one is shortened to its tile.
    void aliases_shown_as_written_and_elided() {
        const QString markup = "<b>Cam</b>", long_name = "Main stage camera left side, balcony feed";
        write_device_file("/data/configs/alias.json", R"({"source":{"namelist":[{"id":3,"valid":"on","name":")" +
                                                          markup.toUtf8() + R"("},{"id":4,"valid":"on","name":")" +
                                                          long_name.toUtf8() + R"("}]}})");
        set_window(0, 1, 3);
        set_window(1, 1, 4);
        LockWindow* lw = open_home();
        QLabel *name = tile(lw, "tile_name_", 0), *cut = tile(lw, "tile_name_", 1);
        QCOMPARE(name->text(), markup);
        QVERIFY(name->sizeHint().width() >= QFontMetrics(name->font()).horizontalAdvance(markup));
        QVERIFY2(cut->text().endsWith(QChar(0x2026)) && long_name.startsWith(cut->text().chopped(1)),
                 qPrintable(cut->text()));
        QVERIFY(QFontMetrics(cut->font()).horizontalAdvance(cut->text()) <= cut->width());
    }

    // A touch on the cover leaves for the main menu, re-texted; one on the
    // page's own labels does not.
    void touch_leaves() {
        QPointer<LockWindow> lw = open_home();
        QTest::mouseClick(lw->findChild<QWidget*>("label_bright"), Qt::LeftButton);
        QVERIFY(g_lockwindow() == lw);
        QTest::mouseClick(lw->findChild<QWidget*>("widget"), Qt::LeftButton, {}, QPoint(10, 0));
        QCOMPARE(main_stub.language_calls, 1);
        QTRY_VERIFY(lw.isNull() && !g_lockwindow());
    }

    // Leaving the home screen leaves a spare, neither registered nor shown,
    // for the next one, which must draw as a new one whatever changed
    // in between (a stale address or language is the fault).
    void spare_opens_as_new_data() { testsupport::int_rows({{"address", {0}}, {"language", {1}}}); }
    void spare_opens_as_new() {
        QFETCH(QVector<int>, r);
        QPointer<LockWindow> first = open_home();
        testsupport::key(PANEL_KEY_OK);
        QTRY_VERIFY(first.isNull() && pages::is_kept(PAGE_LOCKWINDOW));
        QVERIFY(!g_lockwindow());
        if (r[0] == 0)
            g_str_ip = "10.20.30.40";
        else
            g_language = LANG_RUSSIAN;
        LockWindow* home = open_home();
        QVERIFY(!pages::is_kept(PAGE_LOCKWINDOW));  // the spare was taken
        LockWindow fresh;
        fresh.para_init();
        fresh.language_changed();
        fresh.show();
        QCOMPARE(home->grab().toImage(), fresh.grab().toImage());
    }
};

QTEST_MAIN(TstLockWindow)
#include "tst_lockwindow.moc"

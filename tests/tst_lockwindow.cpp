// The home screen: the status line, the window tiles in the states where a
// stale or wrong name hides (crops), touch, keys, and its spare.
#include "page_driver.h"

#include "ui/frame/lockwindow.h"
#include "ui/frame/syncupdate.h"

#include <QPointer>

namespace {
using testsupport::MainStub;
using testsupport::set_input;
RynRamPara* para() { return RynRamPara::pInstance(); }

void set_window(int w, uint16_t enable, uint16_t source) {
    para()->set_u16(blk::window(w, blk::WIN_ENABLE), enable);
    para()->set_u16(blk::window(w, blk::WIN_SOURCE), source);
}

LockWindow* open_home() {
    auto* lw = pages::create<LockWindow>();
    pages::set(PAGE_LOCKWINDOW, lw, PAGE_MAINWINDOW);
    g_page_focus = PAGE_LOCKWINDOW;
    lw->show();
    return lw;
}

QLabel* tile(LockWindow* lw, const char* part, int w) {
    return lw->tiles_frame()->findChild<QLabel*>(QString(part) + QString::number(w));
}
QString name_of(LockWindow* lw, int w) { return tile(lw, "tile_name_", w)->text(); }
QWidget* marked_tile(LockWindow* lw) {
    const auto marks = lw->tiles_frame()->findChildren<QLabel*>("tile_current");
    return marks.size() == 1 ? marks[0]->parentWidget() : nullptr;
}
}  // namespace

class TstLockWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { Q_INIT_RESOURCE(png); }
    void init() {
        testsupport::fresh_device();
        for (int w = 0; w < WINDOW_COUNT; ++w)
            set_window(w, 0, 2);
        para()->set_u16(blk::LED_WIDTH, 1920);
        main_stub = new MainStub;
        pages::set(PAGE_MAINWINDOW, main_stub, PAGE_MAINWINDOW);
    }
    void cleanup() {
        testsupport::close_all_pages();
        pages::clear(PAGE_MAINWINDOW);
        delete main_stub;
    }

    // Only the LED height changed from outside, as the dispatcher's refresh
    // brings it: the line must still be redrawn.
    void status_line_follows_led_height() {
        para()->RamParaShadow = para()->RamParaBlock;
        LockWindow* lw = open_home();
        para()->set_u16(blk::LED_HEIGHT, 2160);
        SyncUpdate::pInstance()->para_sync(SYNC_PARA);
        QCOMPARE(lw->findChild<QLabel*>("label_input")->text(), QString("LED size:1920 x 2160"));
    }

    // Crop records: 0 HDMI1 crop 2, 1 HDMI1 crop 1 (out of number order), 2
    // free, 3 used but naming source 6.
    void tiles_data() {
        QTest::addColumn<int>("source"); // window 0's source word
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("info");
        const int C = blk::SOURCE_CROP_BIT;
        QTest::newRow("crop record 0") << C << "HDMI1_Crop2" << "200x100@60Hz";
        QTest::newRow("deleted crop") << (C | 2) << "" << "No signal";
        QTest::newRow("crop naming source 6") << (C | 3) << "" << "No signal";
    }
    // Reached by the refresh of a page that showed window 0 on EXT with a
    // signal: a name left from before is a fault.
    void tiles() {
        QFETCH(int, source);
        set_input(0, 1280, 720, 50);
        set_window(0, 1, 0);
        LockWindow* lw = open_home();
        set_input(2, 1920, 1080, 60);
        set_crops("2.2 2.1 x 6.1");
        set_window(0, 1, uint16_t(source));
        lw->syncUpdate(SYNC_PARA);
        QTEST(name_of(lw, 0), "name");
        QTEST(tile(lw, "tile_info_", 0)->text(), "info");
    }

    // Aliases are a user's text: markup is shown as written (a rich-text
    // label would draw "Cam" in bold), a long one is shortened to its tile.
    void aliases_shown_as_written_and_elided() {
        const QString markup = "<b>Cam</b>", long_name = "Main stage camera left side, balcony feed";
        write_device_file("/data/configs/alias.json",
                          R"({"source":{"namelist":[{"id":3,"valid":"on","name":")" + markup.toUtf8() +
                              R"("},{"id":4,"valid":"on","name":")" + long_name.toUtf8() + R"("}]}})");
        set_window(0, 1, 3);
        set_window(1, 1, 4);
        LockWindow* lw = open_home();
        QLabel* name = tile(lw, "tile_name_", 0);
        QCOMPARE(name->text(), markup);
        QVERIFY(name->sizeHint().width() >= QFontMetrics(name->font()).horizontalAdvance(markup));
        const QString elided = name_of(lw, 1);
        QVERIFY2(elided.endsWith(QChar(0x2026)) && long_name.startsWith(elided.chopped(1)),
                 qPrintable(elided));
        QLabel* long_label = tile(lw, "tile_name_", 1);
        QVERIFY(QFontMetrics(long_label->font()).horizontalAdvance(elided) <= long_label->width());
    }

    // "D" on the USB keypad selects window 3 and the refresh moves the mark;
    // the keypad's OK leaves for the main menu.
    void current_window_mark_and_keys() {
        QPointer<LockWindow> lw = open_home();
        QCOMPARE(marked_tile(lw), tile(lw, "tile_number_", 0));
        set_window(3, 1, 2);
        testsupport::key('D');
        QCOMPARE(int(g_image_current), 3);
        QCOMPARE(marked_tile(lw), tile(lw, "tile_number_", 3));
        testsupport::key(PANEL_LETTER_OK);
        QCOMPARE(g_page_focus, uint8_t(PAGE_MAINWINDOW));
        QTRY_VERIFY(lw.isNull() && !g_lockwindow());
    }

    // One rule for a window's enable word, as the keypad and the other
    // pages read it: bit 0. A current window is never drawn closed.
    void enable_word_bit_0_data() { testsupport::int_rows({{"0x0101 is shown", {0x0101, 1}}, {"2 is off", {2, 0}}}); }
    void enable_word_bit_0() {
        QFETCH(QVector<int>, r);
        set_window(3, uint16_t(r[0]), 2);
        LockWindow* lw = open_home();
        testsupport::key('D');
        QCOMPARE(int(g_image_current), r[1] ? 3 : 0);
        QCOMPARE(tile(lw, "tile_info_", 3)->text() == "Close", !r[1]);
    }

    // A touch anywhere leaves for the main menu, re-texted.
    void touch_leaves() {
        QPointer<LockWindow> lw = open_home();
        QTest::mouseClick(lw->findChild<QWidget*>("widget"), Qt::LeftButton, {}, QPoint(10, 0));
        QCOMPARE(main_stub->language_calls, 1);
        QTRY_VERIFY(lw.isNull() && !g_lockwindow());
    }

    // Leaving the home screen leaves a spare, neither registered nor shown,
    // for the next one, which must draw as a new one whatever changed
    // in between (a stale address or language is the fault).
    void spare_opens_as_new_data() {
        QTest::addColumn<int>("change");
        QTest::newRow("address") << 0;
        QTest::newRow("language") << 1;
    }
    void spare_opens_as_new() {
        QFETCH(int, change);
        QPointer<LockWindow> first = open_home();
        testsupport::key(PANEL_KEY_OK);
        QTRY_VERIFY(first.isNull() && pages::is_kept(PAGE_LOCKWINDOW));
        QVERIFY(!g_lockwindow());
        if (change == 0)
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

private:
    MainStub* main_stub = nullptr;
};

QTEST_MAIN(TstLockWindow)
#include "tst_lockwindow.moc"

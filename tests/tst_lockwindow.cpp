// The home screen: the status line, the window tiles in the states where a
// stale or wrong name hides (crops), touch, keys, and the registry.
#include "page_driver.h"

#include "ui/frame/lockwindow.h"
#include "ui/frame/syncupdate.h"

#include <QPointer>
#include <algorithm>

namespace {
using testsupport::MainStub;
using testsupport::set_input;
RynRamPara* para() { return RynRamPara::pInstance(); }

void set_window(int w, uint16_t enable, uint16_t source, uint16_t audio = 0) {
    para()->set_u16(blk::window(w, blk::WIN_ENABLE), enable);
    para()->set_u16(blk::window(w, blk::WIN_SOURCE), source);
    para()->set_u16(blk::window(w, blk::WIN_AUDIO), audio);
}

// Every window off on HDMI1, no input signal, no crops, no blackout.
void plain_block() {
    for (int w = 0; w < 6; ++w)
        set_window(w, 0, 2);
    for (int s = 0; s < 6; ++s)
        set_input(s, 0, 0, 0);
    for (int at : {blk::SCREEN_BLACK, blk::AUDIO_WINDOW, blk::PANEL_LOCK})
        para()->set_u16(at, 0);
    para()->set_u16(blk::LED_WIDTH, 1920);
    para()->set_u16(blk::LED_HEIGHT, 1080);
    set_crops("");
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
QString info_of(LockWindow* lw, int w) { return tile(lw, "tile_info_", w)->text(); }
QString label(LockWindow* lw, const char* name) { return lw->findChild<QLabel*>(name)->text(); }
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
        plain_block();
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
        QCOMPARE(label(lw, "label_input"), QString("LED size:1920 x 2160"));
    }

    // Crop records: 0 HDMI1 crop 2, 1 HDMI1 crop 1 (out of number order), 2
    // free, 3 used but naming source 6.
    void tiles_data() {
        QTest::addColumn<int>("source"); // window 0's source word
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("info");
        const int C = blk::SOURCE_CROP_BIT;
        QTest::newRow("HDMI1") << 2 << "HDMI1" << "1920x1080@60Hz";
        QTest::newRow("crop record 0") << C << "HDMI1_Crop2" << "200x100@60Hz";
        QTest::newRow("deleted crop") << (C | 2) << "" << "No signal";
        QTest::newRow("crop naming source 6") << (C | 3) << "" << "No signal";
        QTest::newRow("crop index 40") << (C | 40) << "" << "No signal";
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
        QTEST(info_of(lw, 0), "info");
    }

    // A long alias is shortened to fit its tile. Only audio_window changes
    // between refreshes; 7 counts as window 0.
    void alias_elided_and_audio_window() {
        const QString long_name = "Main stage camera left side, balcony feed number two";
        write_device_file("/data/configs/alias.json",
                          R"({"source":{"namelist":[{"id":3,"valid":"on","name":")" + long_name.toUtf8() + R"("}]}})");
        set_window(0, 1, 2, blk::AUDIO_ON | 50);
        set_window(1, 1, 3, 100); // volume but no sound bit
        para()->RamParaShadow = para()->RamParaBlock;
        LockWindow* lw = open_home();
        const QString elided = name_of(lw, 1);
        QVERIFY2(elided.endsWith(QChar(0x2026)) && long_name.startsWith(elided.chopped(1)),
                 qPrintable(elided));
        QLabel* name_label = tile(lw, "tile_name_", 1);
        QVERIFY(QFontMetrics(name_label->font()).horizontalAdvance(elided) <= name_label->width());
        for (int aw : {1, 7, 1}) {
            para()->set_u16(blk::AUDIO_WINDOW, uint16_t(aw));
            lw->syncUpdate(SYNC_PARA);
            QCOMPARE(lw->volume_check(), aw != 1);
        }
    }

    // An alias is a user's text: markup in it is shown, not obeyed (a
    // rich-text label would draw "Cam" in bold).
    void alias_markup_shown_as_written() {
        const QString alias = "<b>Cam</b>";
        write_device_file("/data/configs/alias.json",
                          R"({"source":{"namelist":[{"id":3,"valid":"on","name":")" + alias.toUtf8() + R"("}]}})");
        set_window(0, 1, 3);
        QLabel* name = tile(open_home(), "tile_name_", 0);
        QCOMPARE(name->text(), alias);
        QVERIFY(name->sizeHint().width() >= QFontMetrics(name->font()).horizontalAdvance(alias));
    }

    // "D" on the USB keypad selects window 3 and the refresh moves the mark;
    // Back and unknown letters keep the page; the keypad's OK leaves it.
    void current_window_mark_and_keys() {
        QPointer<LockWindow> lw = open_home();
        QCOMPARE(marked_tile(lw), tile(lw, "tile_number_", 0));
        set_window(3, 1, 2);
        testsupport::key('D');
        QCOMPARE(int(g_image_current), 3);
        QCOMPARE(marked_tile(lw), tile(lw, "tile_number_", 3));
        for (int k : {int(PANEL_KEY_BACK), int('Z')})
            testsupport::key(k);
        QCoreApplication::processEvents();
        QVERIFY(!lw.isNull());
        testsupport::key(PANEL_LETTER_OK);
        QCOMPARE(g_page_focus, uint8_t(PAGE_MAINWINDOW));
        QTRY_VERIFY(lw.isNull() && !g_lockwindow());
    }

    // A touch anywhere leaves for the main menu, re-texted.
    void touch_leaves() {
        QPointer<LockWindow> lw = open_home();
        QTest::mouseClick(lw->findChild<QWidget*>("widget"), Qt::LeftButton, {}, QPoint(10, 0));
        QCOMPARE(g_page_focus, uint8_t(PAGE_MAINWINDOW));
        QCOMPARE(main_stub->language_calls, 1);
        QTRY_VERIFY(lw.isNull() && !g_lockwindow());
    }

    // A home screen replaced by a newer one must neither clear the newer one's
    // registry entry when it goes, nor close it.
    void registry_kept_for_newer_page() {
        QPointer<LockWindow> old_page = open_home();
        LockWindow* newer = open_home();
        QKeyEvent release(QEvent::KeyRelease, PANEL_KEY_OK, Qt::NoModifier);
        QApplication::sendEvent(old_page, &release);
        QTRY_VERIFY(old_page.isNull());
        QCOMPARE(g_lockwindow(), newer);
        QVERIFY(newer->isVisible());
        delete newer;
        QVERIFY(!g_lockwindow());
    }

    // Leaving the home screen leaves a spare built in idle time for the next
    // one. Whatever changed in between, the home screen opened from it must
    // draw as a new one (a stale address, name or mark is the fault), and
    // the spare is neither registered nor shown before.
    void spare_opens_as_new_data() {
        QTest::addColumn<int>("change");
        QTest::newRow("address") << 0;
        QTest::newRow("LED size and brightness") << 1;
        QTest::newRow("window 1 on, window 0 on a crop") << 2;
        QTest::newRow("window 1 off again, current window 5") << 3;
        QTest::newRow("language") << 4;
        QTest::newRow("screen black, window 0 frozen") << 5;
        QTest::newRow("alias written") << 6;
    }
    void spare_opens_as_new() {
        QFETCH(int, change);
        set_input(2, 1920, 1080, 60);
        set_window(1, 1, 3);
        QPointer<LockWindow> first = open_home();
        testsupport::key(PANEL_KEY_OK);
        QTRY_VERIFY(first.isNull() && pages::is_kept(PAGE_LOCKWINDOW));
        QVERIFY(!g_lockwindow());
        const auto windows = QApplication::topLevelWidgets();
        QVERIFY(std::none_of(windows.begin(), windows.end(),
                             [](QWidget* w) { return w->isVisible() && qobject_cast<LockWindow*>(w); }));
        switch (change) {
        case 0: g_str_ip = "10.20.30.40"; break;
        case 1:
            para()->set_u16(blk::LED_WIDTH, 3840);
            para()->set_u16(blk::BRIGHTNESS, 7);
            break;
        case 2:
            set_crops("2.2");
            set_window(0, 1, blk::SOURCE_CROP_BIT);
            set_window(1, 1, 2);
            break;
        case 3:
            set_window(1, 0, 3);
            g_image_current = 5;
            break;
        case 4: g_language = LANG_RUSSIAN; break;
        case 5:
            para()->set_u16(blk::SCREEN_BLACK, 1);
            para()->set_u16(blk::window(0, blk::WIN_OUTPUT), blk::OUTPUT_FREEZE);
            break;
        case 6:
            write_device_file("/data/configs/alias.json",
                              R"({"source":{"namelist":[{"id":3,"valid":"on","name":"Stage"}]}})");
            break;
        }
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

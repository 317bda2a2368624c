// The main menu's tool strip and its quick user-mode grids, up to a save
// and a load through the scaler thread and the dispatcher.
#include "page_driver.h"

#include "ui/frame/custommode.h"
#include "ui/frame/language.h"
#include "ui/frame/mainwindow.h"
#include "ui/frame/syncupdate.h"
#include "ui/frame/tip.h"

#include <QPushButton>

namespace {
RynRamPara* para() { return RynRamPara::pInstance(); }
c331_manage* scaler() { return c331_manage::pInstance(); }
MainWindow* mw = nullptr;

template <class T = QWidget> T* child(const QString& name) { return mw->findChild<T*>(name); }
bool shows(const char* button, const QString& image) {
    auto* b = child<QPushButton>(button);
    return b->icon().pixmap(QSize(24, 36)).toImage() == QIcon(image).pixmap(QSize(24, 36)).toImage();
}
bool focused(const QString& name) { return testsupport::looks_focused(child(name)); }

// From the menu (focus on machinestate) into the strip, on button `b`.
void open_strip(int b = 0) {
    press("lk" + QString(b, 'r'));
}
// Slots `saved` marked saved, then the load (b 2) or save (b 3) grid opened.
void open_grid(int b, const QVector<int>& saved) {
    for (int i : saved)
        para()->UserModes[size_t(i)].bytes[0] = para()->UserModes[size_t(i)].bytes[1] = 0xAA;
    open_strip(b);
    press("k");
}
QImage slot_look(int i) { return child(QString("mode_frame_%1").arg(i))->grab().toImage(); }

}  // namespace

class TstToolStrip : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { mw = new MainWindow(nullptr); }
    void init() {
        testsupport::fresh_device();
        g_page_focus = PAGE_MAINWINDOW;
        mw->menulist_init();
        mw->language_changed();
        mw->show();
    }
    void cleanup() {
        QVERIFY(testsupport::close_all_pages());
        scaler()->para_update_flag = 0;
    }

    // The strip wraps, black screen toggles, Back returns the keys to the menu.
    void strip_black_screen_and_back() {
        open_strip();
        QVERIFY(child("widget")->isVisible() && focused("toolButton1") && !focused("tools"));
        press("l");
        QVERIFY(focused("toolButton4") && !focused("toolButton1"));
        press("r");
        for (int black : {1, 0}) {
            press("k");
            QCOMPARE(int(para()->u16(blk::SCREEN_BLACK)), black);
            QCOMPARE(int(scaler()->para_update_flag), 1);
            QVERIFY(shows("toolButton1", png_lang(black ? "closeled.png" : "uncloseled.png")));
            scaler()->para_update_flag = 0;
        }
        press("b");
        QVERIFY(!child("widget")->isVisible() && focused("tools"));
        press("r"); // the menu has the keys again
        QVERIFY(!focused("tools") && focused("machinestate"));
    }

    // Mute acts on audio_window, or on window 0 when that is off or past the
    // six; audio_window then names the window acted on. Unmute writes 0x80FF.
    void mute_data() {
        // audio_window, window 3's enable, window acted on, its audio before, after
        testsupport::int_rows({{"window 3 on: muted", {3, 1, 3, 0x8040, 0}},
                               {"window 3 off: window 0 muted instead", {3, 0, 0, 0x80FF, 0}},
                               {"audio_window 7: window 0", {7, 1, 0, 0x80FF, 0}},
                               {"unmute writes 0x80FF, not only bit 15", {3, 1, 3, 0x10, 0x80FF}}});
    }
    void mute() {
        QFETCH(QVector<int>, r);
        para()->set_u16(blk::AUDIO_WINDOW, uint16_t(r[0]));
        para()->set_u16(blk::window(3, blk::WIN_ENABLE), uint16_t(r[1]));
        para()->set_u16(blk::window(r[2], blk::WIN_AUDIO), uint16_t(r[3]));
        open_strip(1);
        press("k");
        QCOMPARE(int(para()->u16(blk::window(r[2], blk::WIN_AUDIO))), r[4]);
        QCOMPARE(int(para()->u16(blk::AUDIO_WINDOW)), r[2]);
        QCOMPARE(int(scaler()->para_update_flag), 1);
        QVERIFY(shows("toolButton2", png_lang(r[4] ? "unslience.png" : "slience.png")));
    }

    // The load grid skips empty slots and wraps; the save grid opens on a
    // saved slot, then visits every slot.
    void grid_moves_data() {
        QTest::addColumn<bool>("save");
        QTest::addColumn<QVector<int>>("saved");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QVector<int>>("selection"); // at opening, then after each key
        QTest::newRow("load, two saved") << false << QVector<int>{2, 9} << "rrll"
                                         << QVector<int>{2, 9, 2, 9, 2};
        QTest::newRow("load, one saved") << false << QVector<int>{5} << "rl" << QVector<int>{5, 5, 5};
        QTest::newRow("load, none saved") << false << QVector<int>{} << "rl" << QVector<int>{0, 0, 0};
        QTest::newRow("save") << true << QVector<int>{14} << "rrlll"
                              << QVector<int>{14, 15, 0, 15, 14, 13};
    }
    void grid_moves() {
        QFETCH(bool, save);
        QFETCH(QVector<int>, saved);
        QFETCH(QString, keys);
        QFETCH(QVector<int>, selection);
        open_grid(save ? 3 : 2, saved);
        QVERIFY(mw->grid_widget()->isVisible());
        QCOMPARE(mw->grid_index(), selection[0]);
        for (int i = 0; i < keys.size(); ++i) {
            press(keys.mid(i, 1));
            QCOMPARE(mw->grid_index(), selection[i + 1]);
            for (int s = 0; s < 16; ++s) {
                // An empty slot is marked only in the save grid.
                const bool marked = s == selection[i + 1] && (save || saved.contains(s));
                QCOMPARE(focused(QString::number(s)), marked);
            }
        }
        QVERIFY(shows(save ? "toolButton4" : "toolButton3",
                      png_lang(saved.isEmpty() ? (save ? "unsave.png" : "uncall.png")
                                               : (save ? "save.png" : "call.png"))));
        press("b"); // closes the grid only
        QVERIFY(!mw->grid_widget()->isVisible() && !mw->grid_open() && child("widget")->isVisible());
        QVERIFY(focused(save ? "toolButton4" : "toolButton3"));
        QVERIFY(shows(save ? "toolButton4" : "toolButton3", png_lang(save ? "unsave.png" : "uncall.png")));
    }

    // A saved slot shows its picture, the mode in use its word, which in
    // Chinese ends in a soft hyphen that must not be drawn. A touch on an
    // empty slot only colours it, until another slot is touched.
    void load_grid_looks_and_empty_slot() {
        para()->set_u16(blk::CURRENT_MODE, 7);
        open_grid(2, {0, 6});
        const QImage exist = QPixmap(png("mode_exist.png")).toImage();
        QCOMPARE(child<QLabel>("mode_image_0")->pixmap(Qt::ReturnByValue).toImage(), exist);
        QVERIFY(child<QLabel>("mode_image_1")->pixmap(Qt::ReturnByValue).toImage() != exist);
        QVERIFY(child("mode_using_6")->isVisible() && !child("mode_using_0")->isVisible());
        g_language = LANG_SCHINESE;
        press("r");
        QCOMPARE(child<QLabel>("mode_using_6")->text(), QString::fromUtf8("使用中"));
        const auto block = para()->RamParaBlock;
        const QImage empty = slot_look(3);
        QTest::mouseClick(child<QPushButton>("3"), Qt::LeftButton);
        QVERIFY(para()->RamParaBlock == block);
        QVERIFY(!scaler()->para_update_flag && !mw->tip_done_request && mw->load_mode);
        QVERIFY(slot_look(3) != empty);
        QTest::mouseClick(child<QPushButton>("0"), Qt::LeftButton);
        QCOMPARE(slot_look(3), empty);
    }

    // Save touched while the load grid is open switches over; a touch on
    // the tools button closes strip and grid.
    void touches_switch_grids_and_close_all() {
        open_grid(2, {4});
        QVERIFY(shows("toolButton3", png_lang("call.png")));
        QTest::mouseClick(child<QPushButton>("toolButton4"), Qt::LeftButton);
        QVERIFY(mw->save_mode && !mw->load_mode);
        QVERIFY(shows("toolButton3", png_lang("uncall.png")) &&
                shows("toolButton4", png_lang("save.png")));
        QCOMPARE(child<QLabel>("label_mode_title")->text(), QString("User mode save"));
        QCOMPARE(mw->grid_index(), 4);
        QTest::mouseClick(child<QPushButton>("toolButton4"), Qt::LeftButton); // already open
        QCOMPARE(int(mw->save_mode), 1);
        QTest::mouseClick(child<QPushButton>("tools"), Qt::LeftButton);
        QVERIFY(!child("widget")->isVisible() && !mw->grid_widget()->isVisible());
        QVERIFY(!child("label_pointer")->isVisible() && !mw->grid_open());
        QVERIFY(shows("toolButton4", png_lang("unsave.png")));
        QVERIFY(focused("tools"));
    }

    // A save already waiting is not requested twice; the selection stays
    // on the slot just saved (a second OK must not overwrite another mode).
    void save_request_once_and_selection_kept() {
        open_grid(3, {8});
        press("lllk"); // slot 5, empty
        QCOMPARE(int(para()->u16(blk::MODE_SAVE_REQUEST)), 6);
        QCOMPARE(int(scaler()->para_update_flag), 1);
        QCOMPARE(int(mw->tip_done_request), 1);
        QCOMPARE(int(mw->save_mode), 1);  // reopened
        QCOMPARE(mw->grid_index(), 5);
        scaler()->para_update_flag = 0;
        press("k");
        QCOMPARE(int(scaler()->para_update_flag), 0);
        QCOMPARE(int(para()->u16(blk::MODE_SAVE_REQUEST)), 6);
    }

    // MODE closes the grid and opens the user modes; Back there returns to
    // the home screen and ends the shortcut.
    void mode_key_closes_the_grid_and_opens_user_modes() {
        open_grid(2, {0});
        press("m");
        QVERIFY(g_custommode() && !mw->grid_widget()->isVisible() && !mw->grid_open());
        QCOMPARE(int(g_mode_shortcut_key), 1);
        press("b");
        QTRY_VERIFY(!g_custommode());
        QCOMPARE(int(g_mode_shortcut_key), 0);
        QCOMPARE(int(g_page_focus), int(PAGE_LOCKWINDOW));
        press("k");
        QCOMPARE(int(g_page_focus), int(PAGE_MAINWINDOW));
        QVERIFY(focused("toolButton3"));  // the strip has the keys
        press("r");
        QVERIFY(focused("toolButton4"));
    }

    // Last: the scaler thread runs from here on. A save from the grid, then
    // a load of it, each taken up by the scaler and finished by the
    // dispatcher (which writes the files), each with one done notice.
    void save_then_load_through_the_scaler() {
        connect(para(), &RynRamPara::sig_update_para, SyncUpdate::pInstance(), &SyncUpdate::para_sync,
                Qt::QueuedConnection);
        QCOMPARE(scaler()->initialize(), 0);
        testsupport::NoticeDriver notices;
        para()->set_u16(blk::BRIGHTNESS, 61);
        para()->set_u16(blk::CURRENT_MODE, 0);
        open_strip(3);
        press("krrrk"); // no saved slot: the save grid starts on slot 0
        QTRY_COMPARE(notices.kinds, std::vector<int>{TIP_DONE});
        QTRY_VERIFY(para()->RynUserModeSaved(3));
        QTRY_COMPARE(int(para()->u16(blk::CURRENT_MODE)), 4);
        QCOMPARE(int(para()->UserModes[3].u16(blk::BRIGHTNESS)), 61);
        QVERIFY(!para()->u16(blk::MODE_SAVE_REQUEST) && !mw->tip_done_request);
        press("bl"); // to the strip; load
        para_write([](RynRamPara& p) { p.set_u16(blk::BRIGHTNESS, 20); });
        QTRY_COMPARE(int(scaler()->para_update_flag), 0);
        QTRY_COMPARE(int(para()->shadow_u16(blk::BRIGHTNESS)), 20);
        press("k");
        QCOMPARE(mw->grid_index(), 3);
        press("k");
        QCOMPARE(int(para()->u16(blk::BRIGHTNESS)), 61);
        QVERIFY(child("mode_using_3")->isVisible());
        QTRY_COMPARE(notices.kinds, (std::vector<int>{TIP_DONE, TIP_DONE}));
        QTRY_COMPARE(int(para()->shadow_u16(blk::BRIGHTNESS)), 61);
        QCOMPARE(int(mw->tip_done_request), 0);
    }
};

QTEST_MAIN(TstToolStrip)
#include "tst_toolstrip.moc"

// The main menu's tool strip and its quick user-mode grid: black screen,
// mute, the load grid skipping empty slots, the save grid visiting all,
// switching between them, and a save and a load through the scaler thread
// and the dispatcher, each with its done notice.
#include "testsupport.h"

#include "core/global.h"
#include "core/para_write.h"
#include "core/ramblock.h"
#include "core/rynrampara.h"
#include "ui/frame/syncupdate.h"
#include "scaler/c331_manage.h"
#include "ui/frame/custommode.h"
#include "ui/frame/keys.h"
#include "ui/frame/language.h"
#include "ui/frame/mainwindow.h"
#include "ui/frame/tip.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <vector>

namespace {
RynRamPara* para() { return RynRamPara::pInstance(); }
c331_manage* scaler() { return c331_manage::pInstance(); }
MainWindow* mw = nullptr;

void keys(int k, int times = 1) {
    for (int i = 0; i < times; ++i)
        testsupport::key(k);
}
template <class T = QWidget> T* child(const QString& name) { return mw->findChild<T*>(name); }
bool shows(const char* button, const QString& image) {
    auto* b = child<QPushButton>(button);
    return b->icon().pixmap(QSize(24, 36)).toImage() == QIcon(image).pixmap(QSize(24, 36)).toImage();
}
bool focused(const QString& name) { return testsupport::looks_focused(child(name)); }

void mark_saved(std::initializer_list<int> indexes) {
    for (int i : indexes) {
        UserModeSlot& s = para()->UserModes[size_t(i)];
        s.bytes[0] = s.bytes[1] = 0xAA;
    }
}
// From the menu (focus on machinestate) into the strip, on button `b`.
void open_strip(int b = 0) {
    keys(PANEL_KEY_LEFT);  // tools
    keys(PANEL_KEY_OK);
    keys(PANEL_KEY_RIGHT, b);
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

    void strip_opens_wraps_and_returns_to_tools() {
        open_strip();
        QVERIFY(child("widget")->isVisible() && focused("toolButton1") && !focused("tools"));
        keys(PANEL_KEY_LEFT);
        QVERIFY(focused("toolButton4") && !focused("toolButton1"));
        keys(PANEL_KEY_BACK);
        QVERIFY(!child("widget")->isVisible() && focused("tools"));
        keys(PANEL_KEY_RIGHT);  // the menu has the keys again
        QVERIFY(!focused("tools") && focused("machinestate"));
    }

    void black_screen_twice() {
        open_strip(0);
        for (int black : {1, 0}) {
            keys(PANEL_KEY_OK);
            QCOMPARE(int(para()->u16(blk::SCREEN_BLACK)), black);
            QCOMPARE(int(scaler()->para_update_flag), 1);
            QVERIFY(shows("toolButton1", png_lang(black ? "closeled.png" : "uncloseled.png")));
            scaler()->para_update_flag = 0;
        }
    }

    // audio_window, window 3's enable, the window then muted or unmuted,
    // audio_window afterwards, the audio word before and after.
    void mute_data() {
        QTest::addColumn<int>("audio_window");
        QTest::addColumn<int>("enable3");
        QTest::addColumn<int>("window");
        QTest::addColumn<int>("after_window");
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("after");
        QTest::newRow("window 3 on: muted") << 3 << 1 << 3 << 3 << 0x8040 << 0x0000;
        QTest::newRow("window 3 off: window 0 muted instead") << 3 << 0 << 0 << 0 << 0x80FF << 0x0000;
        QTest::newRow("audio_window 7: window 0") << 7 << 1 << 0 << 0 << 0x80FF << 0x0000;
        QTest::newRow("unmute writes 0x80FF, not only bit 15") << 3 << 1 << 3 << 3 << 0x0010 << 0x80FF;
    }
    void mute() {
        QFETCH(int, audio_window);
        QFETCH(int, enable3);
        QFETCH(int, window);
        QFETCH(int, after_window);
        QFETCH(int, before);
        QFETCH(int, after);
        para()->set_u16(blk::AUDIO_WINDOW, uint16_t(audio_window));
        para()->set_u16(blk::window(3, blk::WIN_ENABLE), uint16_t(enable3));
        para()->set_u16(blk::window(window, blk::WIN_AUDIO), uint16_t(before));
        open_strip(1);
        keys(PANEL_KEY_OK);
        QCOMPARE(int(para()->u16(blk::window(window, blk::WIN_AUDIO))), after);
        QCOMPARE(int(para()->u16(blk::AUDIO_WINDOW)), after_window);
        QCOMPARE(int(scaler()->para_update_flag), 1);
        QVERIFY(shows("toolButton2", png_lang(after ? "unslience.png" : "slience.png")));
    }

    // Saved slots, the key presses in the grid, the selection after each.
    void grid_moves_data() {
        QTest::addColumn<bool>("save");
        QTest::addColumn<QVector<int>>("saved");
        QTest::addColumn<QVector<int>>("presses");  // -1 Left, +1 Right
        QTest::addColumn<QVector<int>>("selection");  // at opening, then after each press
        QTest::newRow("load skips empty slots and wraps")
            << false << QVector<int>{2, 9} << QVector<int>{1, 1, -1, -1} << QVector<int>{2, 9, 2, 9, 2};
        QTest::newRow("load with one saved slot stays on it")
            << false << QVector<int>{5} << QVector<int>{1, -1} << QVector<int>{5, 5, 5};
        QTest::newRow("load with no saved slot stays on slot 0")
            << false << QVector<int>{} << QVector<int>{1, -1} << QVector<int>{0, 0, 0};
        QTest::newRow("save opens on a saved slot, then visits every slot")
            << true << QVector<int>{14} << QVector<int>{1, 1, -1, -1, -1} << QVector<int>{14, 15, 0, 15, 14, 13};
    }
    void grid_moves() {
        QFETCH(bool, save);
        QFETCH(QVector<int>, saved);
        QFETCH(QVector<int>, presses);
        QFETCH(QVector<int>, selection);
        for (int i : saved)
            mark_saved({i});
        open_strip(save ? 3 : 2);
        keys(PANEL_KEY_OK);
        QVERIFY(mw->grid_widget()->isVisible());
        QCOMPARE(mw->grid_index(), selection[0]);
        for (int i = 0; i < presses.size(); ++i) {
            keys(presses[i] < 0 ? PANEL_KEY_LEFT : PANEL_KEY_RIGHT);
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
        keys(PANEL_KEY_BACK);  // closes the grid only
        QVERIFY(!mw->grid_widget()->isVisible() && !mw->grid_open() && child("widget")->isVisible());
        QVERIFY(focused(save ? "toolButton4" : "toolButton3"));
        QVERIFY(shows(save ? "toolButton4" : "toolButton3", png_lang(save ? "unsave.png" : "uncall.png")));
    }

    // A saved slot shows its picture, the mode in use its word, which in
    // Chinese ends in a soft hyphen that must not be drawn.
    void slot_looks() {
        mark_saved({0, 6});
        para()->set_u16(blk::CURRENT_MODE, 7);
        open_strip(2);
        keys(PANEL_KEY_OK);
        const QImage exist = QPixmap(png("mode_exist.png")).toImage();
        QCOMPARE(child<QLabel>("mode_image_0")->pixmap(Qt::ReturnByValue).toImage(), exist);
        QVERIFY(child<QLabel>("mode_image_1")->pixmap(Qt::ReturnByValue).toImage() != exist);
        QVERIFY(child("mode_using_6")->isVisible() && !child("mode_using_0")->isVisible());
        g_language = LANG_SCHINESE;
        keys(PANEL_KEY_RIGHT);
        QCOMPARE(child<QLabel>("mode_using_6")->text(), QString::fromUtf8("使用中"));
    }

    void opening_save_while_load_is_open_switches_over() {
        mark_saved({4});
        open_strip(2);
        keys(PANEL_KEY_OK);
        QVERIFY(shows("toolButton3", png_lang("call.png")));
        QTest::mouseClick(child<QPushButton>("toolButton4"), Qt::LeftButton);
        QVERIFY(mw->save_mode && !mw->load_mode);
        QVERIFY(shows("toolButton3", png_lang("uncall.png")) && shows("toolButton4", png_lang("save.png")));
        QCOMPARE(child<QLabel>("label_mode_title")->text(), QString("User mode save"));
        QCOMPARE(mw->grid_index(), 4);
        QTest::mouseClick(child<QPushButton>("toolButton4"), Qt::LeftButton);  // already open: nothing
        QCOMPARE(int(mw->save_mode), 1);
    }

    void loading_an_empty_slot_only_colours_it() {
        mark_saved({1});
        open_strip(2);
        keys(PANEL_KEY_OK);
        const auto block = para()->RamParaBlock;
        const QImage empty = slot_look(3);
        QTest::mouseClick(child<QPushButton>("3"), Qt::LeftButton);
        QVERIFY(para()->RamParaBlock == block);
        QVERIFY(!scaler()->para_update_flag && !mw->tip_done_request && mw->load_mode);
        QVERIFY(slot_look(3) != empty);
        QTest::mouseClick(child<QPushButton>("1"), Qt::LeftButton);  // the previous one gets its look back
        QCOMPARE(slot_look(3), empty);
    }

    // A save already waiting is not requested twice; the selection stays
    // on the slot just saved (a second OK must not overwrite another mode).
    void save_request_once_and_selection_kept() {
        mark_saved({8});
        open_strip(3);
        keys(PANEL_KEY_OK);
        keys(PANEL_KEY_LEFT, 3);  // slot 5, empty
        keys(PANEL_KEY_OK);
        QCOMPARE(int(para()->u16(blk::MODE_SAVE_REQUEST)), 6);
        QCOMPARE(int(scaler()->para_update_flag), 1);
        QCOMPARE(int(mw->tip_done_request), 1);
        QCOMPARE(int(mw->save_mode), 1);  // reopened
        QCOMPARE(mw->grid_index(), 5);
        scaler()->para_update_flag = 0;
        keys(PANEL_KEY_OK);
        QCOMPARE(int(scaler()->para_update_flag), 0);
        QCOMPARE(int(para()->u16(blk::MODE_SAVE_REQUEST)), 6);
    }

    void mode_key_closes_the_grid_and_opens_user_modes() {
        mark_saved({0});
        open_strip(2);
        keys(PANEL_KEY_OK);
        keys(PANEL_KEY_MODE);
        QVERIFY(g_custommode() && !mw->grid_widget()->isVisible() && !mw->grid_open());
        keys(PANEL_KEY_BACK);  // to the home screen, MODE opened the page
        QTRY_VERIFY(!g_custommode());
        keys(PANEL_KEY_OK);
        QCOMPARE(int(g_page_focus), int(PAGE_MAINWINDOW));
        QVERIFY(focused("toolButton3"));  // the strip has the keys
        keys(PANEL_KEY_RIGHT);
        QVERIFY(focused("toolButton4"));
    }

    void touch_on_tools_closes_everything() {
        mark_saved({0});
        open_strip(3);
        keys(PANEL_KEY_OK);
        QTest::mouseClick(child<QPushButton>("tools"), Qt::LeftButton);
        QVERIFY(!child("widget")->isVisible() && !mw->grid_widget()->isVisible());
        QVERIFY(!child("label_pointer")->isVisible() && !mw->grid_open());
        QVERIFY(shows("toolButton4", png_lang("unsave.png")));
        QVERIFY(focused("tools"));
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
        keys(PANEL_KEY_OK);  // no saved slot: the save grid starts on slot 0
        keys(PANEL_KEY_RIGHT, 3);
        keys(PANEL_KEY_OK);
        QTRY_COMPARE(notices.kinds, std::vector<int>{TIP_DONE});
        QTRY_VERIFY(para()->RynUserModeSaved(3));
        QTRY_COMPARE(int(para()->u16(blk::CURRENT_MODE)), 4);
        QCOMPARE(int(para()->UserModes[3].u16(blk::BRIGHTNESS)), 61);
        QVERIFY(!para()->u16(blk::MODE_SAVE_REQUEST) && !mw->tip_done_request);
        keys(PANEL_KEY_BACK);  // to the strip
        keys(PANEL_KEY_LEFT);  // load
        para_write([](RynRamPara& p) { p.set_u16(blk::BRIGHTNESS, 20); });
        QTRY_COMPARE(int(scaler()->para_update_flag), 0);
        QTRY_COMPARE(int(para()->shadow_u16(blk::BRIGHTNESS)), 20);
        keys(PANEL_KEY_OK);
        QCOMPARE(mw->grid_index(), 3);
        keys(PANEL_KEY_OK);
        QCOMPARE(int(para()->u16(blk::BRIGHTNESS)), 61);
        QVERIFY(child("mode_using_3")->isVisible());
        QTRY_COMPARE(notices.kinds, (std::vector<int>{TIP_DONE, TIP_DONE}));
        QTRY_COMPARE(int(para()->shadow_u16(blk::BRIGHTNESS)), 61);
        QCOMPARE(int(mw->tip_done_request), 0);
    }
};

QTEST_MAIN(TstToolStrip)
#include "tst_toolstrip.moc"

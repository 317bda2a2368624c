// The main menu's tool strip and its quick user-mode grids, up to a save
// and a load through the scaler thread and the dispatcher.
#include "page_driver.h"

#include "ui/frame/mainwindow.h"
#include "ui/frame/syncupdate.h"
#include "ui/frame/tip.h"

#include <QPushButton>

namespace {
RynRamPara* para() { return RynRamPara::pInstance(); }
c331_manage* scaler() { return c331_manage::pInstance(); }
MainWindow* mw = nullptr;

template <class T = QWidget> T* child(const QString& name) { return mw->findChild<T*>(name); }

// From the menu (focus on machinestate) into the strip, on button `b`.
void open_strip(int b = 0) { press("lk" + QString(b, 'r')); }
// Slots `saved` marked saved, then the load (b 2) or save (b 3) grid opened.
void open_grid(int b, const QVector<int>& saved) {
    for (int i : saved)
        para()->UserModes[size_t(i)].bytes[0] = para()->UserModes[size_t(i)].bytes[1] = 0xAA;
    open_strip(b);
    press("k");
}
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
    void cleanup() { QVERIFY(testsupport::close_all_pages()); }

    // Black screen toggles twice.
    void strip_black_screen_twice() {
        open_strip();
        press("k");
        QCOMPARE(int(para()->u16(blk::SCREEN_BLACK)), 1);
        press("k");
        QCOMPARE(int(para()->u16(blk::SCREEN_BLACK)), 0);
        QCOMPARE(int(scaler()->para_update_flag), 1);
    }

    // Mute acts on audio_window, or on window 0 when that is off or past the
    // six; audio_window then names the window acted on. Unmute writes 0x80FF.
    void mute_data() {
        // audio_window, window 3's enable, window acted on, its audio before, after
        testsupport::int_rows({{"window 3 off: window 0 muted instead", {3, 0, 0, 0x80FF, 0}},
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
    }

    // The load grid skips empty slots and wraps; the save grid opens on a
    // saved slot, then visits every slot.
    void grid_moves_data() {
        QTest::addColumn<bool>("save");
        QTest::addColumn<QVector<int>>("saved");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QVector<int>>("selection"); // at opening, then after each key
        QTest::newRow("load, two saved") << false << QVector<int>{2, 9} << "rl" << QVector<int>{2, 9, 2};
        QTest::newRow("load, one saved") << false << QVector<int>{5} << "rl" << QVector<int>{5, 5, 5};
        QTest::newRow("save") << true << QVector<int>{14} << "rrl" << QVector<int>{14, 15, 0, 15};
    }
    void grid_moves() {
        QFETCH(bool, save);
        QFETCH(QVector<int>, saved);
        QFETCH(QString, keys);
        QFETCH(QVector<int>, selection);
        open_grid(save ? 3 : 2, saved);
        QVector<int> seen{mw->grid_index()};
        for (const QChar c : keys) {
            press(QString(c));
            seen << mw->grid_index();
        }
        QCOMPARE(seen, selection);
    }

    // Last: the scaler thread runs from here on. A save from the grid, then
    // a load of it, each taken up by the scaler and finished by the
    // dispatcher (which writes the files), each with one done notice. The
    // mode in use shows its word, which in Chinese ends in a soft hyphen
    // that must not be drawn. Save touched on the load grid switches over.
    void save_then_load_through_the_scaler() {
        connect(para(), &RynRamPara::sig_update_para, SyncUpdate::pInstance(), &SyncUpdate::para_sync,
                Qt::QueuedConnection);
        QCOMPARE(scaler()->initialize(), 0);
        testsupport::NoticeDriver notices;
        para()->set_u16(blk::BRIGHTNESS, 61);
        g_language = LANG_SCHINESE;
        open_strip(3);
        press("krrrk"); // no saved slot: the save grid starts on slot 0
        QTRY_COMPARE(notices.kinds, std::vector<int>{TIP_DONE});
        QTRY_VERIFY(para()->RynUserModeSaved(3));
        QTRY_VERIFY(child("mode_using_3")->isVisible()); // redrawn after the save
        QTRY_COMPARE(int(para()->u16(blk::CURRENT_MODE)), 4);
        QCOMPARE(int(para()->UserModes[3].u16(blk::BRIGHTNESS)), 61);
        press("bl"); // to the strip; load
        para_write([](RynRamPara& p) { p.set_u16(blk::BRIGHTNESS, 20); });
        QTRY_COMPARE(int(para()->shadow_u16(blk::BRIGHTNESS)), 20);
        press("kk");
        QCOMPARE(int(para()->u16(blk::BRIGHTNESS)), 61);
        QTRY_COMPARE(notices.kinds, (std::vector<int>{TIP_DONE, TIP_DONE}));
        QTRY_COMPARE(int(para()->shadow_u16(blk::BRIGHTNESS)), 61);
        QVERIFY(child("mode_using_3")->isVisible());
        QCOMPARE(child<QLabel>("mode_using_3")->text(), QString::fromUtf8("使用中"));
        QTest::mouseClick(child<QPushButton>("toolButton4"), Qt::LeftButton);
        QVERIFY(mw->save_mode && !mw->load_mode);
        QCOMPARE(mw->grid_index(), 3);
    }
};

QTEST_MAIN(TstToolStrip)
#include "tst_toolstrip.moc"

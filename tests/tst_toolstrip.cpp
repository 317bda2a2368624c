// The main menu's tool strip and its quick user-mode grids, with what the
// scaler's pass and the dispatcher then make of a load or a save.
#include "page_driver.h"

#include "ui/frame/mainwindow.h"
#include "ui/frame/tip.h"

#include <QPushButton>
#include <cstring>

namespace {
RynRamPara* para() { return RynRamPara::pInstance(); }
c331_manage* scaler() { return c331_manage::pInstance(); }
MainWindow* mw = nullptr;

// The slot whose data the block holds.
QString data_of_slot() {
    for (int i = 0; i < USER_MODE_COUNT; ++i)
        if (!std::memcmp(para()->RamParaBlock.data() + blk::MODE_BEGIN,
                         para()->UserModes[size_t(i)].data(), blk::MODE_SIZE))
            return QString::number(i);
    return "-";
}
// The grids open, the selected slot, the current mode, the save request,
// the slot shown in use with its word, the data, a change for the scaler.
QString grid_state() {
    QString in_use = "-";
    for (int i = 0; i < USER_MODE_COUNT; ++i) {
        auto* word = mw->findChild<QLabel*>(QString("mode_using_%1").arg(i));
        in_use = word->isVisibleTo(mw->grid_widget()) ? QString("%1 %2").arg(i).arg(word->text()) : in_use;
    }
    return QString("%1%2 %3, mode %4, request %5, using %6, data %7, flag %8")
        .arg(mw->load_mode ? "load" : "", mw->save_mode ? "save" : "")
        .arg(mw->grid_index())
        .arg(para()->u16(blk::CURRENT_MODE))
        .arg(para()->u16(blk::MODE_SAVE_REQUEST))
        .arg(in_use, data_of_slot())
        .arg(scaler()->para_update_flag);
}

// The strip's button `button` pressed with `keys`, with audio_window,
// window 3's enable word and its audio word before; then the black-screen
// word, the audio words of windows 0 and 3 and audio_window.
struct Strip {
    int button;
    QString keys;
    int audio_window, window3_enable, window3_audio;
    QVector<int> expect;
};
// Saved slots (each slot's data its own), the current mode, a waiting save
// request, the language; the load or save grid opened, its keys and a touch
// on a button (by object name); the grid then / the done notices and the
// data once the scaler and the dispatcher have taken the change up.
struct Grid {
    QVector<int> saved;
    int current, request, language;
    bool save;
    QString keys, touch, expect;
};
} // namespace
Q_DECLARE_METATYPE(Strip)
Q_DECLARE_METATYPE(Grid)

class TstToolStrip : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { mw = new MainWindow(nullptr); }
    void init() {
        testsupport::fresh_device();
        g_page_focus = PAGE_MAINWINDOW;
        mw->menulist_init();
        mw->show();
    }
    void cleanup() { QVERIFY(testsupport::close_all_pages()); }

    // Mute acts on audio_window, or on window 0 when that is off or past the
    // six; audio_window then names the window acted on. Unmute writes 0x80FF.
    void strip_data() {
        QTest::addColumn<Strip>("s");
        const auto row = [](const char* tag, const Strip& s) { QTest::newRow(tag) << s; };
        row("black screen on", {0, "k", 3, 1, 0, {1, 0x80FF, 0, 3}});
        row("black screen twice is off", {0, "kk", 3, 1, 0, {0, 0x80FF, 0, 3}});
        row("mute of window 3", {1, "k", 3, 1, 0x80FF, {0, 0x80FF, 0, 3}});
        row("unmute writes 0x80FF, not only bit 15", {1, "k", 3, 1, 0x10, {0, 0x80FF, 0x80FF, 3}});
        row("window 3 off: window 0 muted instead", {1, "k", 3, 0, 0x80FF, {0, 0, 0x80FF, 0}});
        row("audio_window 7: window 0", {1, "k", 7, 1, 0x80FF, {0, 0, 0x80FF, 0}});
    }
    void strip() {
        QFETCH(Strip, s);
        para()->set_u16(blk::AUDIO_WINDOW, uint16_t(s.audio_window));
        para()->set_u16(blk::window(3, blk::WIN_ENABLE), uint16_t(s.window3_enable));
        para()->set_u16(blk::window(3, blk::WIN_AUDIO), uint16_t(s.window3_audio));
        press("lk" + QString(s.button, 'r') + s.keys); // from the menu into the strip
        QCOMPARE((QVector<int>{para()->u16(blk::SCREEN_BLACK), para()->window_u16(0, blk::WIN_AUDIO),
                               para()->window_u16(3, blk::WIN_AUDIO), para()->u16(blk::AUDIO_WINDOW)}),
                 s.expect);
        QCOMPARE(int(scaler()->para_update_flag), 1);
    }

    // The mode in use shows its word; in Chinese it ends in a soft hyphen
    // that must not be drawn.
    void grid_data() {
        QTest::addColumn<Grid>("g");
        const auto row = [](const char* tag, const Grid& g) { QTest::newRow(tag) << g; };
        row("load skips empty slots and wraps", {{2, 9}, 10, 0, LANG_SCHINESE, false, "rr", "",
            "load 2, mode 10, request 0, using 9 使用中, data -, flag 0 / notices 0, data -"});
        row("load with one saved slot stays on it", {{5}, 0, 0, LANG_ENGLISH, false, "rl", "",
            "load 5, mode 0, request 0, using -, data -, flag 0 / notices 0, data -"});
        row("save visits every slot and wraps", {{14}, 0, 0, LANG_ENGLISH, true, "rrl", "",
            "save 15, mode 0, request 0, using -, data -, flag 0 / notices 0, data -"});
        row("load: the data, its number, no save left", {{3, 7}, 0, 5, LANG_ENGLISH, false, "rk", "",
            "load 7, mode 8, request 0, using 7 Using, data 7, flag 1 / notices 1, data 7"});
        row("loading an empty slot changes nothing", {{3}, 0, 5, LANG_ENGLISH, false, "", "5",
            "load 3, mode 0, request 5, using -, data -, flag 0 / notices 0, data -"});
        row("save: the selection stays on its slot", {{2}, 0, 0, LANG_ENGLISH, true, "rrk", "",
            "save 4, mode 0, request 5, using -, data -, flag 1 / notices 1, data 4"});
        row("a save already waiting is not asked again", {{2}, 0, 5, LANG_ENGLISH, true, "rrk", "",
            "save 4, mode 0, request 5, using -, data -, flag 0 / notices 0, data -"});
        row("Back closes the grid", {{2}, 0, 0, LANG_ENGLISH, true, "b", "",
            " 2, mode 0, request 0, using -, data -, flag 0 / notices 0, data -"});
        row("save touched over the load grid switches", {{6}, 0, 0, LANG_ENGLISH, false, "",
            "toolButton4", "save 6, mode 0, request 0, using -, data -, flag 0 / notices 0, data -"});
    }
    void grid() {
        QFETCH(Grid, g);
        for (int i = 0; i < USER_MODE_COUNT; ++i) // none saved, each with its own data
            para()->UserModes[size_t(i)].bytes.fill(uint8_t(0x10 + i));
        for (int i : g.saved)
            para()->UserModes[size_t(i)].bytes[0] = para()->UserModes[size_t(i)].bytes[1] = 0xAA;
        para()->set_u16(blk::CURRENT_MODE, uint16_t(g.current));
        para()->set_u16(blk::MODE_SAVE_REQUEST, uint16_t(g.request));
        g_language = uint8_t(g.language);
        press(QString("lk") + (g.save ? "rrr" : "rr") + "k" + g.keys); // into the strip, a grid
        if (!g.touch.isEmpty())
            QTest::mouseClick(mw->findChild<QPushButton*>(g.touch), Qt::LeftButton);
        const QString grid = grid_state();
        testsupport::NoticeDriver notices;
        scaler()->apply_pass();
        QCOMPARE(grid + QString(" / notices %1, data %2").arg(notices.kinds.size()).arg(data_of_slot()),
                 g.expect);
    }
};

QTEST_MAIN(TstToolStrip)
#include "tst_toolstrip.moc"

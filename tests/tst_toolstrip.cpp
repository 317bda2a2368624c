// The main menu's tool strip and its quick user-mode grids, with what the
// scaler's pass and the dispatcher then make of a load or a save.
#include "page_driver.h"

#include "ui/frame/language.h"
#include "ui/frame/mainwindow.h"
#include "ui/frame/tip.h"

#include <cstring>

namespace {
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
// request; the load or save grid opened in `language`, its keys, then
// "@name" a touch on that button; the grid then / n the done notices, d the
// data and u the slot shown in use once the scaler and the dispatcher have
// taken the change up.
struct Grid {
    QString saved;
    int current, request;
    bool save;
    QString keys, expect;
    int language = LANG_ENGLISH;
};
}  // namespace
Q_DECLARE_METATYPE(Strip)
Q_DECLARE_METATYPE(Grid)

class TstToolStrip : public QObject {
    Q_OBJECT
    static RynRamPara* para() { return RynRamPara::pInstance(); }
    static MainWindow* mw() { return g_mainwindow(); }
    // The slot whose data the block holds.
    static QString data() {
        for (int i = 0; i < USER_MODE_COUNT; ++i)
            if (!std::memcmp(para()->RamParaBlock.data() + blk::MODE_BEGIN, para()->UserModes[size_t(i)].data(),
                             blk::MODE_SIZE))
                return QString::number(i);
        return "-";
    }
    // The grids open and the selected slot, then m the current mode, r the
    // save request, u the slot shown in use with its word, d the slot whose
    // data the block holds, f the apply flag.
    static QString grid_state() {
        QString in_use = "-";
        for (int i = 0; i < USER_MODE_COUNT; ++i) {
            auto* word = mw()->findChild<QLabel*>(QString("mode_using_%1").arg(i));
            if (word->isVisibleTo(mw()->grid_widget()))
                in_use = QString("%1:%2").arg(i).arg(word->text());
        }
        return QString::asprintf("%s%s %d m%d r%d u%s d%s f%d", mw()->load_mode ? "load" : "",
                                 mw()->save_mode ? "save" : "", mw()->grid_index(), para()->u16(blk::CURRENT_MODE),
                                 para()->u16(blk::MODE_SAVE_REQUEST), in_use.toUtf8().constData(),
                                 data().toUtf8().constData(), int(c331_manage::pInstance()->para_update_flag));
    }

private slots:
    void initTestCase() { new MainWindow(nullptr); }
    void init() {
        testsupport::fresh_device();
        g_page_focus = PAGE_MAINWINDOW;
        mw()->menulist_init();
        mw()->show();
    }
    void cleanup() { QVERIFY(testsupport::close_all_pages()); }

    // Mute acts on audio_window, or on window 0 when that window is off;
    // audio_window then names window 0. Unmute writes 0x80FF.
    void strip_data() {
        testsupport::rows<Strip>({
            {"black screen twice is off", {0, "kk", 3, 1, 0, {0, 0x80FF, 0, 3}}},
            {"unmute writes 0x80FF, not only bit 15", {1, "k", 3, 1, 0x10, {0, 0x80FF, 0x80FF, 3}}},
            {"window 3 off: window 0 muted instead", {1, "k", 3, 0, 0x80FF, {0, 0, 0x80FF, 0}}},
        });
    }
    void strip() {
        QFETCH(Strip, row);
        para()->set_u16(blk::AUDIO_WINDOW, uint16_t(row.audio_window));
        para()->set_u16(blk::window(3, blk::WIN_ENABLE), uint16_t(row.window3_enable));
        para()->set_u16(blk::window(3, blk::WIN_AUDIO), uint16_t(row.window3_audio));
        press("lk" + QString(row.button, 'r') + row.keys);  // from the menu into the strip
        const QVector<int> words{para()->u16(blk::SCREEN_BLACK), para()->window_u16(0, blk::WIN_AUDIO),
                                 para()->window_u16(3, blk::WIN_AUDIO), para()->u16(blk::AUDIO_WINDOW)};
        QCOMPARE(words, row.expect);
        QCOMPARE(int(c331_manage::pInstance()->para_update_flag), 1);
    }

    // The mode in use shows its word; in Chinese it ends in a soft hyphen
    // that must not be drawn.
    void grid_data() {
        testsupport::rows<Grid>({
            {"load skips empty, wraps",
             {"2 9", 10, 0, false, "rr", "load 2 m10 r0 u9:使用中 d- f0 / n0 d- u9:使用中", LANG_SCHINESE}},
            {"load: one saved stays", {"5", 0, 0, false, "r", "load 5 m0 r0 u- d- f0 / n0 d- u-"}},
            {"save visits all, wraps", {"14", 0, 0, true, "rrl", "save 15 m0 r0 u- d- f0 / n0 d- u-"}},
            {"load: data, number, no save", {"3 7", 0, 5, false, "rk", "load 7 m8 r0 u7:Using d7 f1 / n1 d7 u7:Using"}},
            {"empty slot loads nothing", {"3", 0, 5, false, "@5", "load 3 m0 r5 u- d- f0 / n0 d- u-"}},
            {"save keeps its selection, then drawn in use",
             {"2", 0, 0, true, "rrk", "save 4 m0 r5 u- d- f1 / n1 d4 u4:Using"}},
            {"waiting save not asked again", {"2", 0, 5, true, "rrk", "save 4 m0 r5 u- d- f0 / n0 d- u-"}},
            {"Back closes the grid", {"2", 0, 0, true, "b", " 2 m0 r0 u- d- f0 / n0 d- u-"}},
            {"save over load switches", {"6", 0, 0, false, "@toolButton4", "save 6 m0 r0 u- d- f0 / n0 d- u-"}},
        });
    }
    void grid() {
        QFETCH(Grid, row);
        for (int i = 0; i < USER_MODE_COUNT; ++i)  // none saved, each with its own data
            para()->UserModes[size_t(i)].bytes.fill(uint8_t(0x10 + i));
        for (const QString& i : row.saved.split(' '))
            para()->UserModes[i.toUInt()].bytes[0] = para()->UserModes[i.toUInt()].bytes[1] = 0xAA;
        para()->set_u16(blk::CURRENT_MODE, uint16_t(row.current));
        para()->set_u16(blk::MODE_SAVE_REQUEST, uint16_t(row.request));
        g_language = uint8_t(row.language);
        // From the menu into the strip, then a grid.
        press(QString("lk") + (row.save ? "rrr" : "rr") + "k" + row.keys.section('@', 0, 0));
        if (row.keys.contains('@'))
            QTest::mouseClick(mw()->findChild<QPushButton*>(row.keys.section('@', 1)), Qt::LeftButton);
        const QString shown = grid_state();
        testsupport::NoticeDriver notices;
        c331_manage::pInstance()->apply_pass();
        const QString after =
            QString(" / n%1 d%2 %3").arg(notices.kinds.size()).arg(data(), grid_state().section(' ', 4, 4));
        QCOMPARE(shown + after, row.expect);
    }

    // A page opened over an open grid closes it: the save button must not
    // keep the picture that says its grid is open.
    void page_over_grid_leaves_buttons_idle() {
        para()->UserModes[0].bytes[0] = para()->UserModes[0].bytes[1] = 0xAA;
        press("lkrrrk");
        auto* save = mw()->findChild<QPushButton*>("toolButton4");
        const auto picture = [save](const char* name) {
            return QIcon(png_lang(name)).pixmap(save->iconSize()).toImage();
        };
        QCOMPARE(save->icon().pixmap(save->iconSize()).toImage(), picture("save.png"));
        QTest::mouseClick(mw()->findChild<QPushButton*>("custommode"), Qt::LeftButton);
        QCOMPARE(int(g_page_focus), int(PAGE_CUSTOMMODE));
        QCOMPARE(int(mw()->save_mode), 0);
        QCOMPARE(save->icon().pixmap(save->iconSize()).toImage(), picture("unsave.png"));
        press("b");
    }
};

QTEST_MAIN(TstToolStrip)
#include "tst_toolstrip.moc"

// The window layout view, opened from the settings menu: picking the
// window with Left and Right, and what the info frame shows of it.
#include "page_driver.h"

#include "ui/frame/imagecache.h"
#include "ui/frame/language.h"
#include "ui/frame/mainwindow.h"
#include "ui/frame/option.h"
#include "ui/pages/imagelayout.h"

#include <QComboBox>

namespace {
// Window `window` gets the row's words, every window x 100 + w, y 200 + w,
// width 300 + w, height 400 + w, window 2 the alias "Stage"; the page opens
// on window `start`, the keys are pressed, the PC sets `language`; the view
// then shows `window`.
struct View {
    int start;
    QString keys;
    int window, enable, attr, source, output, dbd;
    QString expect;
    int language = -1;
};
} // namespace
Q_DECLARE_METATYPE(View)

class TstImageLayout : public QObject {
    Q_OBJECT
    template <class T = QLabel> static T* child(const QString& name) { return g_imagelayout()->findChild<T*>(name); }
    // State, source and name lines, the pixel-to-pixel entry, the lit mirror
    // icon, x, y, width, height, and the selection frame's left edge.
    static QString shown() {
        QStringList s{child("image_state")->text(), child("image_source")->text(), child("image_name")->text(),
                      child<QComboBox>("comboBox_P2P")->currentText()};
        for (int i = 1; i <= 4; ++i)
            if (child(QString("mirror%1").arg(i))->pixmap(Qt::ReturnByValue).cacheKey() ==
                cached_pixmap(png(QString("mirror%1_on.png").arg(i))).cacheKey())
                s << QString("mirror %1").arg(i);
        for (const char* f : {"lineEdit_X", "lineEdit_Y", "lineEdit_W", "lineEdit_H"})
            s << child<QLineEdit>(f)->text();
        return s.join(' ') + QString(" frame %1").arg(child<QFrame>("frame_image")->x());
    }

private slots:
    void initTestCase() { new MainWindow(nullptr); }
    void init() { testsupport::fresh_device(); }
    void cleanup() { QVERIFY(testsupport::close_all_pages()); }

    void view_data() {
        testsupport::rows<View>({
            {"a crop of HDMI2, DBD vertical", {2, "", 2, 1, 2, 0x8005, 0x100, 9,
             "Image state:ON Source:HDMI2 Name:Image3 HD3,HD4 Ver mirror 3 102 202 302 402 frame 109"}},
            {"Left on window 1 wraps to 6, which is off", {0, "l", 5, 0, 3, 1, 0x100, 8,
             "Image state:OFF Source:DVI Name:Image6 HD3,HD4 Hor mirror 4 105 205 305 405 frame 262"}},
            {"crop index 40 names no source; bit 8 clear", {3, "", 3, 1, 1, 0x8028, 0x200, 9,
             "Image state:ON Source: Name:Image4 OFF mirror 2 103 203 303 403 frame 160"}},
            {"the window's alias, DBD on", {1, "", 1, 1, 0, 4, 0x100, 0,
             "Image state:ON Source:HDMI3 Name:Stage ON mirror 1 101 201 301 401 frame 58"}},
            {"unknown attr and dbd_mode: none shown, not window 1's; enable word 2 is off",
             {0, "r", 1, 2, 5, 2, 0x100, 5, "Image state:OFF Source:HDMI1 Name:Stage  101 201 301 401 frame 58"}},
            {"the PC's language redraws the window the keypad chose", {0, "D", 3, 1, 0, 2, 0, 0,
             "Состояние:Вкл Источник:HDMI1 Название:Канал4 OFF mirror 1 103 203 303 403 frame 160", LANG_RUSSIAN}},
        });
    }
    // A window that is off can be picked; the dispatcher's refresh that a
    // step asks for must leave the current window on it.
    void view() {
        QFETCH(View, row);
        const View& v = row;
        set_crops("x x x x x 3.2" + QString(" x").repeated(33) + " 1.1"); // records 5 and 39
        write_device_file("/data/configs/alias.json",
                          R"({"win":{"namelist":[{"id":1,"valid":"on","name":"Stage"}]}})");
        const auto set = [](int w, int field, int value) {
            RynRamPara::pInstance()->set_u16(blk::window(w, field), uint16_t(value));
        };
        for (int w = 0; w < WINDOW_COUNT; ++w) {
            for (int f = blk::WIN_ENABLE; f <= blk::WIN_DBD_MODE; f += 2) // x 100 + w, y 200 + w ..
                set(w, f, f >= blk::WIN_X && f <= blk::WIN_HEIGHT ? 50 * (f - blk::WIN_X) + 100 + w : 0);
            set(w, blk::WIN_ENABLE, 1);
            set(w, blk::WIN_SOURCE, 2);
        }
        set(v.window, blk::WIN_ENABLE, v.enable);
        set(v.window, blk::WIN_ATTR, v.attr);
        set(v.window, blk::WIN_SOURCE, v.source);
        set(v.window, blk::WIN_OUTPUT, v.output);
        set(v.window, blk::WIN_DBD_MODE, v.dbd);
        g_image_current = uint8_t(v.start);
        g_page_focus = PAGE_MAINWINDOW;
        const auto view = [&] {
            press(v.keys);
            RynRamPara::pInstance()->test_signal(SYNC_PARA);
            if (v.language >= 0)
                outside_change([&](RynRamPara& p) { p.set_u16(blk::LCD_LANGUAGE, v.language); });
            QCOMPARE(shown(), v.expect);
            QCOMPARE(int(g_image_current), v.window);
        };
        QVERIFY(testsupport::run_nested({[] { pages::open<Option>(); }, [] { press("rrk"); }},
                                        PAGE_IMAGELAYOUT, view));
    }
};

QTEST_MAIN(TstImageLayout)
#include "tst_imagelayout.moc"

// The window layout view, opened from the settings menu: picking the
// window with Left and Right, and what the info frame shows of it.
#include "page_driver.h"

#include "ui/frame/imagecache.h"
#include "ui/frame/language.h"
#include "ui/frame/mainwindow.h"
#include "ui/frame/option.h"
#include "ui/pages/imagelayout.h"

namespace {
// Window `window` gets the row's words and x 100, y 200, width 300, height
// 400; window 2 has the alias "Stage". The page opens on window `start`, the
// keys are pressed, the PC sets `language`; the view then shows `window`.
struct View {
    int start;
    QString keys;
    int window, enable, attr, source, output, dbd;
    QString expect;
    int language = -1;
};
}  // namespace
Q_DECLARE_METATYPE(View)

class TstImageLayout : public QObject {
    Q_OBJECT
    // State, source and name lines, the pixel-to-pixel entry, the lit mirror
    // icon, x, y, width, height, and the selection frame's left edge.
    static QString shown() {
        ImageLayout* page = g_imagelayout();
        QStringList s;
        for (const char* name : {"image_state", "image_source", "image_name"})
            s << page->findChild<QLabel*>(name)->text();
        s << page->findChild<QComboBox*>("comboBox_P2P")->currentText();
        for (int i = 1; i <= 4; ++i) {
            const QPixmap on = cached_pixmap(png(QString("mirror%1_on.png").arg(i)));
            auto* icon = page->findChild<QLabel*>(QString("mirror%1").arg(i));
            s << (icon->pixmap(Qt::ReturnByValue).cacheKey() == on.cacheKey() ? "lit" : "-");
        }
        for (const char* f : {"lineEdit_X", "lineEdit_Y", "lineEdit_W", "lineEdit_H"})
            s << page->findChild<QLineEdit*>(f)->text();
        return s.join(' ') + QString(" at %1").arg(page->findChild<QWidget*>("frame_image")->x());
    }

private slots:
    void initTestCase() { new MainWindow(nullptr); }
    void init() { testsupport::fresh_device(); }
    void cleanup() { QVERIFY(testsupport::close_all_pages()); }

    void view_data() {
        testsupport::rows<View>({
            {"the alias; a crop of HDMI2; DBD vertical",
             {1, "", 1, 1, 2, 0x8005, 0x100, 9,
              "Image state:ON Source:HDMI2 Name:Stage HD3,HD4 Ver - - lit - 100 200 300 400 at 58"}},
            {"Left on window 1 wraps to 6, which is off",
             {0, "l", 5, 0, 3, 1, 0x100, 8,
              "Image state:OFF Source:DVI Name:Image6 HD3,HD4 Hor - - - lit 100 200 300 400 at 262"}},
            {"crop index 40 names no source; bit 8 clear",
             {3, "", 3, 1, 1, 0x8028, 0x200, 9,
              "Image state:ON Source: Name:Image4 OFF - lit - - 100 200 300 400 at 160"}},
            {"unknown attr and dbd_mode: none shown, not window 1's; enable word 2 is off",
             {0, "r", 1, 2, 5, 2, 0x100, 5, "Image state:OFF Source:HDMI1 Name:Stage  - - - - 100 200 300 400 at 58"}},
            {"the PC's language redraws the window the keypad chose",
             {0, "D", 3, 1, 0, 4, 0x100, 0,
              "Состояние:Вкл Источник:HDMI3 Название:Канал4 ON lit - - - 100 200 300 400 at 160", LANG_RUSSIAN}},
        });
    }
    // A window that is off can be picked; the dispatcher's refresh that a
    // step asks for must leave the current window on it.
    void view() {
        QFETCH(View, row);
        set_crops("x x x x x 3.2" + QString(" x").repeated(33) + " 1.1");  // records 5 and 39
        write_device_file("/data/configs/alias.json", R"({"win":{"namelist":[{"id":1,"valid":"on","name":"Stage"}]}})");
        const int words[] = {row.enable, 0, row.attr, 0, row.source, 100, 200, 300, 400, row.output, 0, row.dbd};
        for (int i = 0; i < 12; ++i)
            RynRamPara::pInstance()->set_u16(blk::window(row.window, 2 * i), uint16_t(words[i]));
        g_image_current = uint8_t(row.start);
        g_page_focus = PAGE_MAINWINDOW;
        const auto view = [&] {
            press(row.keys);
            RynRamPara::pInstance()->test_signal(SYNC_PARA);
            if (row.language >= 0)
                outside_change([&](RynRamPara& p) { p.set_u16(blk::LCD_LANGUAGE, row.language); });
            QCOMPARE(shown(), row.expect);
            QCOMPARE(int(g_image_current), row.window);
        };
        QVERIFY(testsupport::run_nested({[] { pages::open<Option>(); }, [] { press("rrk"); }}, PAGE_IMAGELAYOUT, view));
    }
};

QTEST_MAIN(TstImageLayout)
#include "tst_imagelayout.moc"

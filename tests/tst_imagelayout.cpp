// The window layout view, opened from the settings menu: picking the
// window with Left and Right, and what the info frame shows of it.
#include "page_driver.h"

#include "ui/frame/language.h"
#include "ui/frame/mainwindow.h"
#include "ui/frame/option.h"
#include "ui/pages/imagelayout.h"

#include <QComboBox>

namespace {
RynRamPara* para() { return RynRamPara::pInstance(); }
ImageLayout* page() { return g_imagelayout(); }
QString text(const char* label) { return page()->findChild<QLabel*>(label)->text(); }
void set_window(int w, int field, uint16_t value) { para()->set_u16(blk::window(w, field), value); }
// Which mirror icon is lit: 1..4, 0 for none, -1 when the icons are mixed up.
int lit_mirror() {
    int lit = 0;
    for (int i = 1; i <= 4; ++i) {
        const QImage shown = page()->findChild<QLabel*>(QString("mirror%1").arg(i))->pixmap(Qt::ReturnByValue).toImage();
        auto picture = [i](const char* state) {
            return QPixmap(png(QString("mirror%1_%2.png").arg(i).arg(state)))
                .scaled(32, 32, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                .toImage();
        };
        if (shown == picture("on"))
            lit = lit ? -1 : i;
        else if (shown != picture("off"))
            return -1;
    }
    return lit;
}
} // namespace

class TstImageLayout : public QObject {
    Q_OBJECT
    // Opened from the settings menu as a user does; `body` runs in its loop.
    void run_page(const std::function<void()>& body) {
        g_page_focus = PAGE_MAINWINDOW;
        QVERIFY2(testsupport::run_nested({[] { pages::open<Option>(); }, [] { press("rrk"); }},
                                         PAGE_IMAGELAYOUT, body),
                 "the layout view did not open from the settings menu");
    }

private slots:
    void initTestCase() { new MainWindow(nullptr); }
    void init() {
        testsupport::fresh_device();
        for (int w = 0; w < WINDOW_COUNT; ++w)
            set_window(w, blk::WIN_ENABLE, 1);
        para()->RamParaShadow = para()->RamParaBlock;
    }
    void cleanup() {
        QVERIFY(testsupport::close_all_pages());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // A window that is off can be picked too, and the dispatcher's refresh
    // that a step asks for must not move the current window off it.
    void window_stepping_data() {
        QTest::addColumn<int>("current");
        QTest::addColumn<QString>("keys"); // l Left, r Right
        QTest::addColumn<int>("expect");
        QTest::newRow("current out of range opens on 1") << 9 << "" << 0;
        QTest::newRow("Right on 6 wraps to 1") << 5 << "r" << 0;
        QTest::newRow("Left on 1 wraps to 6") << 0 << "l" << 5;
        QTest::newRow("Right onto window 2, which is off") << 0 << "r" << 1;
    }
    void window_stepping() {
        QFETCH(int, current);
        QFETCH(QString, keys);
        QFETCH(int, expect);
        set_window(1, blk::WIN_ENABLE, 0);
        para()->RamParaShadow = para()->RamParaBlock;
        g_image_current = uint8_t(current);
        run_page([&] {
            press(keys);
            para()->test_signal(SYNC_PARA);
            QCOMPARE(int(page()->selected()), expect);
            if (!keys.isEmpty())
                QCOMPARE(int(g_image_current), expect);
        });
    }

    // Window 3's source and name lines: a crop names its source, a word
    // the table does not hold names none; an alias that is on replaces the
    // name; a broken alias file is ignored.
    void info_lines_data() {
        QTest::addColumn<int>("word");
        QTest::addColumn<QByteArray>("alias");
        QTest::addColumn<QString>("lines"); // source, name
        const QByteArray none;
        const char* on = R"({"win":{"namelist":[{"id":2,"valid":"on","name":"Stage"}]}})";
        auto row = [](const char* tag, int word, const QByteArray& alias, const char* lines) {
            QTest::newRow(tag) << word << alias << QString(lines);
        };
        row("crop of HDMI2", 0x8005, none, "Source:HDMI2, Name:Image3");
        row("crop index 40, past the table", 0x8028, none, "Source:, Name:Image3");
        row("alias of window 3", 2, on, "Source:HDMI1, Name:Stage");
        row("broken alias file", 2, "{\"win\":", "Source:HDMI1, Name:Image3");
    }
    void info_lines() {
        QFETCH(int, word);
        QFETCH(QByteArray, alias);
        set_crops("x x x x x 3.2" + QString(" x").repeated(33) + " 1.1"); // records 5 and 39
        set_window(2, blk::WIN_SOURCE, uint16_t(word));
        if (!alias.isEmpty())
            write_device_file("/data/configs/alias.json", alias);
        g_image_current = 2;
        run_page([&] { QTEST(text("image_source") + ", " + text("image_name"), "lines"); });
    }

    // Stepping to window 2 redraws its mirror icons and its pixel-to-pixel
    // entry: attr 0..3 lights one icon, and a value out of range leaves the
    // icons of the window shown before; the entry follows bit 8 of the
    // output word and modes 0, 8 and 9, another mode leaves it.
    void window_attributes_data() {  // attr of windows 1 and 2, icon lit, output word, mode, entry
        testsupport::int_rows({{"attr 3, mode 0", {1, 3, 4, 0x0100, 0, 1}},
                               {"attr 4 keeps, mode 7 keeps", {2, 4, 3, 0x0100, 7, 2}}});
    }
    void window_attributes() {
        QFETCH(QVector<int>, r);
        const int first = r[0];
        const int at[] = {blk::WIN_ATTR, blk::WIN_OUTPUT, blk::WIN_DBD_MODE};
        const int window1[] = {first, 0x0100, 8};  // shows entry 2
        for (int i = 0; i < 3; ++i) {
            set_window(0, at[i], uint16_t(window1[i]));
            set_window(1, at[i], uint16_t(r[i == 0 ? 1 : i + 2]));
        }
        run_page([&] {
            QCOMPARE(lit_mirror(), first + 1);
            press("r");
            QCOMPARE(lit_mirror(), r[2]);
            QCOMPARE(page()->findChild<QComboBox*>("comboBox_P2P")->currentIndex(), r[5]);
        });
    }
};

QTEST_MAIN(TstImageLayout)
#include "tst_imagelayout.moc"

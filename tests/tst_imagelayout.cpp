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
// The mirror icons shown lit, 1..4.
QVector<int> lit_mirrors() {
    QVector<int> lit;
    for (int i = 1; i <= 4; ++i) {
        const QImage on = QPixmap(png(QString("mirror%1_on.png").arg(i)))
                              .scaled(32, 32, Qt::IgnoreAspectRatio, Qt::SmoothTransformation).toImage();
        if (page()->findChild<QLabel*>(QString("mirror%1").arg(i))->pixmap(Qt::ReturnByValue).toImage() == on)
            lit << i;
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
    void cleanup() { QVERIFY(testsupport::close_all_pages()); }

    // Left on window 1 wraps to 6; a window that is off (enable word 2: bit
    // 0 clear, as on every page) can be picked too, and the dispatcher's
    // refresh that a step asks for must not move the current window off it.
    // Each step redraws the mirror icons and the DBD entry: an attr or a
    // dbd_mode out of range shows none, not those of the window before.
    void window_stepping_and_mirror_icons() {
        for (auto [w, attr, dbd] : {std::tuple{0, 1, 0}, {5, 3, 9}, {1, 4, 5}}) {
            set_window(w, blk::WIN_ATTR, uint16_t(attr));
            set_window(w, blk::WIN_OUTPUT, 0x100);  // pixel to pixel, by dbd_mode
            set_window(w, blk::WIN_DBD_MODE, uint16_t(dbd));
        }
        set_window(1, blk::WIN_ENABLE, 2);
        para()->RamParaShadow = para()->RamParaBlock;
        run_page([] {
            QCOMPARE(lit_mirrors(), QVector<int>{2});
            for (auto [key, expect, lit, dbd] : {std::tuple{"l", 5, 4, "HD3,HD4 Ver"}, {"rr", 1, 0, ""}}) {
                press(key);
                para()->test_signal(SYNC_PARA);
                QCOMPARE(int(page()->selected()), expect);
                QCOMPARE(int(g_image_current), expect);
                QCOMPARE(lit_mirrors(), lit ? QVector<int>{lit} : QVector<int>{});
                QCOMPARE(page()->findChild<QComboBox*>()->currentText(), QString(dbd));
            }
            QCOMPARE(text("image_state"), QString("Image state:OFF"));
        });
    }

    // Window 3's source and name lines: a crop names its source, a word
    // past the crop table names none; an alias that is on replaces the name.
    void info_lines_data() {
        QTest::addColumn<int>("word");
        QTest::addColumn<QByteArray>("alias");
        QTest::addColumn<QString>("lines"); // source, name
        QTest::newRow("crop of HDMI2") << 0x8005 << QByteArray() << "Source:HDMI2, Name:Image3";
        QTest::newRow("crop index 40, past the table") << 0x8028 << QByteArray() << "Source:, Name:Image3";
        QTest::newRow("alias of window 3")
            << 2 << QByteArray(R"({"win":{"namelist":[{"id":2,"valid":"on","name":"Stage"}]}})")
            << "Source:HDMI1, Name:Stage";
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
};

QTEST_MAIN(TstImageLayout)
#include "tst_imagelayout.moc"

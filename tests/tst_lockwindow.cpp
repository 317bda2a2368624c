// The home screen: the status line, the six window tiles in every state the
// block can hold (crops, odd enable words, unknown sources, blackout and
// freeze), touch on watched and unwatched widgets, keys, and the registry.
#include "page_driver.h"

#include "ui/frame/lockwindow.h"
#include "ui/frame/syncupdate.h"

#include <QPointer>

namespace {
using testsupport::MainStub;
using testsupport::set_input;
RynRamPara* para() { return RynRamPara::pInstance(); }

void set_window(int w, uint16_t enable, uint16_t source, uint16_t output = 0, uint16_t audio = 0) {
    para()->set_u16(blk::window(w, blk::WIN_ENABLE), enable);
    para()->set_u16(blk::window(w, blk::WIN_SOURCE), source);
    para()->set_u16(blk::window(w, blk::WIN_OUTPUT), output);
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

// A row of tiles_data: the crop table as set_crops takes it, then window
// set[0] with its enable word, source word and output bits, screen_black
// and HDMI1's rate.
void set_tile_row(const QVector<int>& set) {
    set_input(2, 1920, 1080, set[5]);
    set_input(0, 1920, 1080, 60);
    set_crops("2.2 2.1 x 6.1");
    set_window(set[0], uint16_t(set[1]), uint16_t(set[2]), uint16_t(set[3]));
    para()->set_u16(blk::SCREEN_BLACK, uint16_t(set[4]));
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
QImage image(const QString& res) { return QPixmap(":/png/" + res).toImage(); }
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
        g_str_ip = "192.168.1.20";
        main_stub = new MainStub;
        pages::set(PAGE_MAINWINDOW, main_stub, PAGE_MAINWINDOW);
    }
    void cleanup() {
        testsupport::close_all_pages();
        pages::clear(PAGE_MAINWINDOW);
        delete main_stub;
    }

    // Each field alone changed from outside, as the dispatcher's refresh
    // brings it: the line must follow every one of them.
    void status_line_follows_refresh_data() {
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("shown");
        QTest::newRow("LED width only") << blk::LED_WIDTH << 3840 << "label_input" << "LED size:3840 x 1080";
        QTest::newRow("LED height only") << blk::LED_HEIGHT << 2160 << "label_input" << "LED size:1920 x 2160";
        QTest::newRow("brightness") << blk::BRIGHTNESS << 12 << "label_bright" << "12";
        QTest::newRow("contrast") << blk::CONTRAST << 0 << "label_contrast" << "0";
    }
    void status_line_follows_refresh() {
        QFETCH(int, offset);
        QFETCH(int, value);
        QFETCH(QString, field);
        para()->set_u16(blk::CONTRAST, 50);
        para()->RamParaShadow = para()->RamParaBlock;
        LockWindow* lw = open_home();
        QPointer<QFrame> old_tiles = lw->tiles_frame();
        para()->set_u16(offset, uint16_t(value));
        set_input(2, 720, 576, 25);
        g_str_ip = "10.0.0.7";
        SyncUpdate::pInstance()->para_sync(SYNC_PARA);
        QTEST(label(lw, qPrintable(field)), "shown");
        QCOMPARE(label(lw, "label_IPaddr"), QString("10.0.0.7"));
        QCOMPARE(info_of(lw, 0), QString("720x576@25Hz"));
        // The tiles are patched in place (a refresh must stay cheap), and only
        // one set exists.
        QVERIFY(old_tiles == lw->tiles_frame() && lw->findChildren<QFrame*>("frame_tiles").size() == 1);
    }

    // Crop records: 0 HDMI1 crop 2, 1 HDMI1 crop 1 (out of number order), 2
    // free, 3 used but naming source 6.
    void tiles_data() {
        QTest::addColumn<QVector<int>>("set");  // window, enable, source, output, screen_black, rate
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("info");
        QTest::addColumn<bool>("frozen");
        const QString sig = "1920x1080@60Hz";
        const int F = blk::OUTPUT_FREEZE, C = blk::SOURCE_CROP_BIT;
        using V = QVector<int>;
        QTest::newRow("window 0 disabled shows") << V{0, 0, 2, 0, 0, 60} << "HDMI1" << sig << false;
        QTest::newRow("enable 1 frozen") << V{1, 1, 2, F, 0, 60} << "HDMI1" << sig << true;
        QTest::newRow("enable 0x0101 off, no mark") << V{3, 0x0101, 2, F, 0, 60} << "" << "Close" << false;
        QTest::newRow("rate byte 0") << V{2, 1, 2, 0, 0, 0} << "HDMI1" << "No signal" << false;
        QTest::newRow("window black") << V{2, 1, 2, 1, 0, 60} << "HDMI1" << "Black" << false;
        QTest::newRow("screen_black 1") << V{0, 1, 2, 0, 1, 60} << "HDMI1" << "Black" << false;
        QTest::newRow("screen_black 2 freezes") << V{0, 1, 2, 0, 2, 60} << "HDMI1" << sig << true;
        QTest::newRow("source id 6") << V{1, 1, 6, 0, 0, 60} << "" << "No signal" << false;
        QTest::newRow("crop record 0") << V{0, 1, C, 0, 0, 60} << "HDMI1_Crop2" << "200x100@60Hz" << false;
        QTest::newRow("deleted crop") << V{0, 1, C | 2, 0, 0, 60} << "" << "No signal" << false;
        QTest::newRow("crop naming source 6") << V{0, 1, C | 3, 0, 0, 60} << "" << "No signal" << false;
        QTest::newRow("crop index 40") << V{0, 1, C | 40, 0, 0, 60} << "" << "No signal" << false;
    }

    // Each state reached by the refresh of a page that showed every window on,
    // frozen and with a signal (a label or mark left from before is a fault),
    // then on a fresh page, which puts the info line where the refresh did.
    void tiles() {
        QFETCH(QVector<int>, set);
        QFETCH(QString, name);
        QFETCH(QString, info);
        QFETCH(bool, frozen);
        const int w = set[0];
        const auto shown = [w](LockWindow* lw) {
            const int marks = lw->tiles_frame()->findChildren<QLabel*>("tile_freeze_" + QString::number(w)).size();
            return QStringList{name_of(lw, w), info_of(lw, w), QString::number(marks)};
        };
        const QStringList want{name, info, frozen ? "1" : "0"};
        set_input(0, 1280, 720, 50);
        for (int i = 0; i < 6; ++i)
            set_window(i, 1, 0, blk::OUTPUT_FREEZE);
        LockWindow* refreshed = open_home();
        set_tile_row(set);
        refreshed->syncUpdate(SYNC_PARA);
        QCOMPARE(shown(refreshed), want);
        const QRect at = tile(refreshed, "tile_info_", w)->geometry();
        testsupport::close_all_pages();
        LockWindow* fresh = open_home();
        QCOMPARE(shown(fresh), want);
        QCOMPARE(tile(fresh, "tile_info_", w)->geometry(), at);
    }

    // An alias replaces the source's name, shortened to fit its tile (the
    // file's own rules are the alias reader's tests). Only audio_window
    // changes between refreshes: the icon must still follow.
    void alias_names_and_audio_icon() {
        const QString long_name = "Main stage camera left side, balcony feed number two";
        write_device_file("/data/configs/alias.json",
                          R"({"source":{"namelist":[{"id":2,"valid":"on","name":"Stage"},
            {"id":3,"valid":"on","name":")" + long_name.toUtf8() + R"("}]}})");
        set_window(0, 1, 2, 0, blk::AUDIO_ON | 50);
        set_window(1, 1, 3, 0, 100); // volume but no sound bit
        set_window(3, 1, 2, 0, blk::AUDIO_ON);
        para()->RamParaShadow = para()->RamParaBlock;
        LockWindow* lw = open_home();
        QCOMPARE(name_of(lw, 0), QString("Stage"));
        const QString elided = name_of(lw, 1);
        QVERIFY2(elided.endsWith(QChar(0x2026)) && long_name.startsWith(elided.chopped(1)),
                 qPrintable(elided));
        QLabel* name_label = tile(lw, "tile_name_", 1);
        QVERIFY(QFontMetrics(name_label->font()).horizontalAdvance(elided) <= name_label->width());
        auto* icon = lw->findChild<QLabel*>("label_volume_icon");
        for (int aw : {1, 3, 1, 7}) {
            const bool open = aw != 1; // 7 counts as window 0
            para()->set_u16(blk::AUDIO_WINDOW, uint16_t(aw));
            lw->syncUpdate(SYNC_PARA);
            QCOMPARE(lw->volume_check(), open);
            QCOMPARE(icon->pixmap(Qt::ReturnByValue).toImage(),
                     image(open ? "volume_open.png" : "volume_close.png"));
        }
    }

    // The mark sits on a disabled window too; "D" on the USB keypad, seen
    // after the page, selects window 3 and the refresh moves the mark. Back,
    // Left and unknown letters keep the page; the keypad's OK leaves it.
    void current_window_mark_and_keys() {
        g_image_current = 3;
        QPointer<LockWindow> lw = open_home();
        QCOMPARE(marked_tile(lw), tile(lw, "tile_number_", 3));
        g_image_current = 0;
        lw->syncUpdate(SYNC_PARA);
        QCOMPARE(marked_tile(lw), tile(lw, "tile_number_", 0));
        set_window(3, 1, 2);
        testsupport::key('D');
        QCOMPARE(int(g_image_current), 3);
        QCOMPARE(marked_tile(lw), tile(lw, "tile_number_", 3));
        for (int k : {int(PANEL_KEY_BACK), int(PANEL_LETTER_BACK), int(PANEL_KEY_LEFT), int('Z')})
            testsupport::key(k);
        QCoreApplication::processEvents();
        QVERIFY(!lw.isNull());
        testsupport::key(PANEL_LETTER_OK);
        QCOMPARE(g_page_focus, uint8_t(PAGE_MAINWINDOW));
        QTRY_VERIFY(lw.isNull() && !g_lockwindow());
    }

    void touch_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("leaves");
        QTest::newRow("empty spot") << "widget" << true;
        QTest::newRow("a tile number") << "tile_number_4" << true;
        QTest::newRow("the line") << "line" << false;
        QTest::newRow("label_volume_icon") << "label_volume_icon" << false;
    }
    void touch() {
        QFETCH(QString, target);
        QFETCH(bool, leaves);
        QPointer<LockWindow> lw = open_home();
        auto* w = lw->findChild<QWidget*>(target);
        QVERIFY2(w, qPrintable(target));
        QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(w->width() / 2, 0));
        QCoreApplication::processEvents();
        QCOMPARE(g_page_focus, uint8_t(leaves ? PAGE_MAINWINDOW : PAGE_LOCKWINDOW));
        QCOMPARE(main_stub->language_calls, leaves ? 1 : 0);
        if (leaves)
            QTRY_VERIFY(lw.isNull() && !g_lockwindow());
        else
            QCOMPARE(g_lockwindow(), lw.data());
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
        auto* third = pages::create<LockWindow>();
        pages::set(PAGE_LOCKWINDOW, third, PAGE_MAINWINDOW);
        delete newer;
        QCOMPARE(g_lockwindow(), third);
        delete third;
        QVERIFY(!g_lockwindow());
    }

private:
    MainStub* main_stub = nullptr;
};

QTEST_MAIN(TstLockWindow)
#include "tst_lockwindow.moc"

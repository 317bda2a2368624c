// The home screen: the status line, the six window tiles in every state
// the block can hold (crops, odd enable words, unknown sources, blackout and
// freeze), touch on watched and unwatched widgets, keys, and the registry.
#include "testsupport.h"

#include "core/devicepath.h"
#include "core/global.h"
#include "core/ramblock.h"
#include "core/rynrampara.h"
#include "ui/frame/keys.h"
#include "ui/frame/lockwindow.h"

#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QMainWindow>
#include <QPointer>
#include <QtTest>

namespace {
RynRamPara* para() { return RynRamPara::pInstance(); }

// Stands in for the main menu under the home screen.
class MainStub : public FramePage<QMainWindow> {
public:
    MainStub() : FramePage<QMainWindow>(PAGE_MAINWINDOW) {}
    void language_changed() override { ++language_calls; }
    int language_calls = 0;
};

void set_input(int s, int width, int height, int rate) {
    RynRamPara* p = para();
    p->set_u16(blk::input_info(s), uint16_t(width));
    p->set_u16(blk::input_info(s) + 2, uint16_t(height));
    p->RamParaBlock[size_t(blk::input_info(s) + 4)] = uint8_t(rate);
}

void set_window(int w, uint16_t enable, uint16_t source, uint16_t output = 0, uint16_t audio = 0) {
    RynRamPara* p = para();
    p->set_u16(blk::window(w, blk::WIN_ENABLE), enable);
    p->set_u16(blk::window(w, blk::WIN_SOURCE), source);
    p->set_u16(blk::window(w, blk::WIN_OUTPUT), output);
    p->set_u16(blk::window(w, blk::WIN_AUDIO), audio);
}

void set_crop(int k, int source, int number, int width, int height) {
    uint8_t* rec = para()->RamParaBlock.data() + blk::crop(k);
    rec[0] = uint8_t(source);
    rec[1] = uint8_t(number ? blk::CROP_USED | (number - 1) : 0);
    blk::wr16(rec, blk::CROP_W, uint16_t(width));
    blk::wr16(rec, blk::CROP_H, uint16_t(height));
}

// Every window off on HDMI1, no input signal, no crops, no blackout.
void plain_block() {
    for (int w = 0; w < 6; ++w)
        set_window(uint16_t(w), 0, 2);
    for (int s = 0; s < 6; ++s)
        set_input(s, 0, 0, 0);
    for (int k = 0; k < 40; ++k)
        set_crop(k, 0, 0, 0, 0);
    para()->set_u16(blk::SCREEN_BLACK, 0);
    para()->set_u16(blk::AUDIO_WINDOW, 0);
    para()->set_u16(blk::PANEL_LOCK, 0);
    para()->set_u16(blk::LED_WIDTH, 1920);
    para()->set_u16(blk::LED_HEIGHT, 1080);
    para()->RamParaShadow = para()->RamParaBlock;
}

LockWindow* open_home() {
    auto* lw = new LockWindow;
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
bool frozen(LockWindow* lw, int w) { return tile(lw, "tile_freeze_", w) != nullptr; }

QImage image(const QString& res) { return QPixmap(res).toImage(); }
QImage image_of(const QLabel* l) { return l->pixmap(Qt::ReturnByValue).toImage(); }

void write_alias(const QByteArray& json) {
    const QString path = device_path("/data/configs/alias.json");
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(json);
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

    void status_line();
    void window0_always_on();
    void enable_words_data();
    void enable_words();
    void signal_text_data();
    void signal_text();
    void screen_black_data();
    void screen_black();
    void crop_tiles_data();
    void crop_tiles();
    void unknown_source_ids();
    void alias_names();
    void audio_icon_data();
    void audio_icon();
    void refresh_recomputes_audio_for_new_audio_window();
    void refresh_rereads_changed_fields();
    void current_window_mark();
    void texts_follow_language();
    void touch_data();
    void touch();
    void keys_without_action_stay();
    void ok_returns_to_main();
    void mode_opens_user_modes_unless_locked();
    void usb_window_key_moves_mark();
    void registry_kept_for_newer_page();

private:
    MainStub* main_stub = nullptr;
};

void TstLockWindow::status_line() {
    para()->set_u16(blk::BRIGHTNESS, 73);
    para()->set_u16(blk::CONTRAST, 0);
    LockWindow* lw = open_home();
    QCOMPARE(lw->findChild<QLabel*>("label_input")->text(), QString("LED size:1920 x 1080"));
    QCOMPARE(lw->findChild<QLabel*>("label_bright")->text(), QString("73"));
    QCOMPARE(lw->findChild<QLabel*>("label_contrast")->text(), QString("0"));
    QCOMPARE(lw->findChild<QLabel*>("label_IPaddr")->text(), QString("192.168.1.20"));
    QVERIFY(lw->findChild<QLabel*>("label_volume")->isHidden());
    QVERIFY(lw->findChild<QWidget*>("main_Button")->isHidden());
    QCOMPARE(lw->tiles_frame()->geometry(), QRect(0, 74, 320, 160));
    // Two columns of three rows.
    QCOMPARE(tile(lw, "tile_number_", 5)->geometry(), QRect(165, 110, 40, 40));
    QCOMPARE(tile(lw, "tile_number_", 5)->text(), QString("6"));
    QCOMPARE(tile(lw, "tile_number_", 5)->styleSheet(),
             QString("background-color: #FC5404;font: 20px"));
}

void TstLockWindow::window0_always_on() {
    set_window(0, 0, 2);
    set_input(2, 1920, 1080, 60);
    LockWindow* lw = open_home();
    QCOMPARE(name_of(lw, 0), QString("HDMI1"));
    QCOMPARE(info_of(lw, 0), QString("1920x1080@60Hz"));
    QCOMPARE(tile(lw, "tile_info_", 0)->geometry(), QRect(55, 28, 100, 12));
}

void TstLockWindow::enable_words_data() {
    QTest::addColumn<int>("enable");
    QTest::addColumn<bool>("on");
    QTest::newRow("0 off") << 0 << false;
    QTest::newRow("1 on") << 1 << true;
    QTest::newRow("2 off") << 2 << false;
    QTest::newRow("0x0101 off though bit 0 set") << 0x0101 << false;
    QTest::newRow("0xFFFF off") << 0xFFFF << false;
}

void TstLockWindow::enable_words() {
    QFETCH(int, enable);
    QFETCH(bool, on);
    set_input(3, 1280, 720, 50);
    for (int w = 1; w < 6; ++w)
        set_window(w, uint16_t(enable), 3, blk::OUTPUT_FREEZE);
    LockWindow* lw = open_home();
    for (int w = 1; w < 6; ++w) {
        QCOMPARE(name_of(lw, w), on ? QString("HDMI2") : QString());
        QCOMPARE(info_of(lw, w), on ? QString("1280x720@50Hz") : QString("Close"));
        QCOMPARE(tile(lw, "tile_info_", w)->size(), on ? QSize(100, 12) : QSize(40, 15));
        // No freeze mark on a window that is off, whatever its output word.
        QCOMPARE(frozen(lw, w), on);
    }
}

void TstLockWindow::signal_text_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("output");
    QTest::addColumn<QString>("info");
    QTest::newRow("signal") << 1920 << 1080 << 60 << 0 << "1920x1080@60Hz";
    QTest::newRow("rate byte 0") << 1920 << 1080 << 0 << 0 << "No signal";
    QTest::newRow("width 0") << 0 << 1080 << 60 << 0 << "No signal";
    QTest::newRow("height 0") << 1920 << 0 << 60 << 0 << "No signal";
    QTest::newRow("largest values") << 65535 << 65535 << 255 << 0 << "65535x65535@255Hz";
    QTest::newRow("window black") << 1920 << 1080 << 60 << 1 << "Black";
    QTest::newRow("window black, no signal") << 0 << 0 << 0 << 1 << "Black";
    QTest::newRow("frozen keeps signal") << 3840 << 2160 << 30 << 2 << "3840x2160@30Hz";
}

void TstLockWindow::signal_text() {
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, rate);
    QFETCH(int, output);
    QFETCH(QString, info);
    set_input(5, width, height, rate);
    set_window(2, 1, 5, uint16_t(output));
    LockWindow* lw = open_home();
    QCOMPARE(name_of(lw, 2), QString("HDMI4"));
    QCOMPARE(info_of(lw, 2), info);
    QCOMPARE(frozen(lw, 2), bool(output & 2));
}

void TstLockWindow::screen_black_data() {
    QTest::addColumn<int>("black");
    QTest::addColumn<QString>("info_on");
    QTest::addColumn<bool>("all_frozen");
    QTest::newRow("0") << 0 << "1920x1080@60Hz" << false;
    QTest::newRow("1 black text") << 1 << "Black" << false;
    QTest::newRow("2 freeze marks") << 2 << "1920x1080@60Hz" << true;
    QTest::newRow("3 as 0") << 3 << "1920x1080@60Hz" << false;
}

void TstLockWindow::screen_black() {
    QFETCH(int, black);
    QFETCH(QString, info_on);
    QFETCH(bool, all_frozen);
    set_input(2, 1920, 1080, 60);
    set_window(0, 1, 2);
    set_window(1, 1, 2, blk::OUTPUT_FREEZE);  // frozen keeps its mark
    set_window(2, 0, 2);                      // off
    para()->set_u16(blk::SCREEN_BLACK, uint16_t(black));
    LockWindow* lw = open_home();
    QCOMPARE(info_of(lw, 0), info_on);
    QCOMPARE(info_of(lw, 1), info_on);
    QCOMPARE(info_of(lw, 2), QString("Close"));
    QCOMPARE(frozen(lw, 0), all_frozen);
    QVERIFY(frozen(lw, 1));
    QVERIFY(!frozen(lw, 2));
}

void TstLockWindow::crop_tiles_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("info");
    // Records in table order: 0 HDMI1 crop 2, 1 HDMI1 crop 1, 2 deleted,
    // 3 a used record naming source 7.
    QTest::newRow("only crop of HDMI1 shown") << 0 << "HDMI1_Crop2" << "800x600@60Hz";
    // Out of crop-number order: record 1 holds crop 1.
    QTest::newRow("table out of order") << 1 << "HDMI1_Crop1" << "640x480@60Hz";
    QTest::newRow("deleted crop") << 2 << "EXT" << "No signal";
    QTest::newRow("record names source 7") << 3 << "" << "No signal";
    QTest::newRow("index 39 free") << 39 << "EXT" << "No signal";
    QTest::newRow("index 40 past the table") << 40 << "" << "No signal";
    QTest::newRow("index 255") << 255 << "" << "No signal";
}

void TstLockWindow::crop_tiles() {
    QFETCH(int, index);
    QFETCH(QString, name);
    QFETCH(QString, info);
    set_input(2, 1920, 1080, 60);
    set_input(0, 1920, 1080, 60);
    set_crop(0, 2, 2, 800, 600);
    set_crop(1, 2, 1, 640, 480);
    set_crop(2, 0, 0, 320, 200);
    set_crop(3, 7, 1, 100, 100);
    set_window(0, 1, uint16_t(blk::SOURCE_CROP_BIT | index));
    LockWindow* lw = open_home();
    QCOMPARE(name_of(lw, 0), name);
    QCOMPARE(info_of(lw, 0), info);
}

void TstLockWindow::unknown_source_ids() {
    set_window(0, 1, 6);
    set_window(1, 1, 200);
    set_window(2, 1, 0x7FFF);
    set_input(0, 1920, 1080, 60);
    LockWindow* lw = open_home();
    for (int w = 0; w < 3; ++w) {
        QCOMPARE(name_of(lw, w), QString());
        QCOMPARE(info_of(lw, w), QString("No signal"));
    }
}

void TstLockWindow::alias_names() {
    const QString long_name = QString("Main stage camera left side, balcony feed number two");
    write_alias(R"({"source":{"namelist":[
        {"id":2,"valid":"on","name":"Stage"},
        {"id":3,"valid":"on","name":")" + long_name.toUtf8() + R"("},
        {"id":4,"valid":"off","name":"Hidden"},
        {"id":5,"valid":"on","name":""}]}})");
    for (int w = 0; w < 4; ++w)
        set_window(w, 1, uint16_t(2 + w));
    LockWindow* lw = open_home();
    QCOMPARE(name_of(lw, 0), QString("Stage"));
    const QString elided = name_of(lw, 1);
    QVERIFY2(elided.endsWith(QChar(0x2026)) && elided.size() < long_name.size(),
             qPrintable(elided));
    QVERIFY(long_name.startsWith(elided.chopped(1)));
    QFont font;
    font.setPixelSize(10);
    QVERIFY(QFontMetrics(font).horizontalAdvance(elided) <= 206);
    QCOMPARE(name_of(lw, 2), QString("HDMI3"));  // alias switched off
    QCOMPARE(name_of(lw, 3), QString("HDMI4"));  // empty alias
}

void TstLockWindow::audio_icon_data() {
    QTest::addColumn<int>("audio_window");
    QTest::addColumn<bool>("open");
    // Window 0 sound on, window 1 off, window 3 on.
    QTest::newRow("window 0") << 0 << true;
    QTest::newRow("window 1") << 1 << false;
    QTest::newRow("window 3") << 3 << true;
    QTest::newRow("audio_window 6 counts as 0") << 6 << true;
    QTest::newRow("audio_window 7 counts as 0") << 7 << true;
    QTest::newRow("audio_window 0xFFFF counts as 0") << 0xFFFF << true;
}

void TstLockWindow::audio_icon() {
    QFETCH(int, audio_window);
    QFETCH(bool, open);
    set_window(0, 1, 2, 0, blk::AUDIO_ON | 50);
    set_window(1, 1, 2, 0, 100);  // volume but no sound bit
    set_window(3, 1, 2, 0, blk::AUDIO_ON);
    para()->set_u16(blk::AUDIO_WINDOW, uint16_t(audio_window));
    LockWindow* lw = open_home();
    QCOMPARE(lw->volume_check(), open);
    const QImage expected = image(open ? ":/png/volume_open.png" : ":/png/volume_close.png");
    QVERIFY(!expected.isNull());
    QCOMPARE(image_of(lw->findChild<QLabel*>("label_volume_icon")), expected);
}

// Only audio_window changes: the audio words match their saved copies, and
// the icon must still follow the new window.
void TstLockWindow::refresh_recomputes_audio_for_new_audio_window() {
    set_window(0, 1, 2, 0, blk::AUDIO_ON);
    set_window(1, 1, 2, 0, 0);
    para()->RamParaShadow = para()->RamParaBlock;
    LockWindow* lw = open_home();
    auto* icon = lw->findChild<QLabel*>("label_volume_icon");
    QCOMPARE(image_of(icon), image(":/png/volume_open.png"));
    para()->set_u16(blk::AUDIO_WINDOW, 1);
    lw->syncUpdate(SYNC_PARA);
    QCOMPARE(image_of(icon), image(":/png/volume_close.png"));
}

void TstLockWindow::refresh_rereads_changed_fields() {
    LockWindow* lw = open_home();
    QPointer<QFrame> old_tiles = lw->tiles_frame();
    para()->set_u16(blk::LED_WIDTH, 3840);
    para()->set_u16(blk::LED_HEIGHT, 64);
    para()->set_u16(blk::BRIGHTNESS, 12);
    para()->set_u16(blk::CONTRAST, 99);
    set_input(2, 720, 576, 25);
    g_str_ip = "10.0.0.7";
    lw->syncUpdate(SYNC_PARA);
    QCOMPARE(lw->findChild<QLabel*>("label_input")->text(), QString("LED size:3840 x 64"));
    QCOMPARE(lw->findChild<QLabel*>("label_bright")->text(), QString("12"));
    QCOMPARE(lw->findChild<QLabel*>("label_contrast")->text(), QString("99"));
    QCOMPARE(lw->findChild<QLabel*>("label_IPaddr")->text(), QString("10.0.0.7"));
    QCOMPARE(info_of(lw, 0), QString("720x576@25Hz"));
    // The tiles are rebuilt, not patched, and only one set exists.
    QVERIFY(old_tiles.isNull());
    QCOMPARE(lw->findChildren<QFrame*>("frame_tiles").size(), 1);
}

void TstLockWindow::current_window_mark() {
    g_image_current = 3;  // window 3 is off
    LockWindow* lw = open_home();
    QList<QLabel*> marks = lw->tiles_frame()->findChildren<QLabel*>("tile_current");
    QCOMPARE(marks.size(), 1);
    QCOMPARE(marks[0]->parentWidget(), tile(lw, "tile_number_", 3));
    QCOMPARE(marks[0]->geometry(), QRect(28, 0, 12, 12));
    g_image_current = 0;
    lw->syncUpdate(SYNC_PARA);
    marks = lw->tiles_frame()->findChildren<QLabel*>("tile_current");
    QCOMPARE(marks.size(), 1);
    QCOMPARE(marks[0]->parentWidget(), tile(lw, "tile_number_", 0));
}

void TstLockWindow::texts_follow_language() {
    set_window(0, 1, 2);
    set_window(1, 1, 2, blk::OUTPUT_BLACK);
    g_language = LANG_RUSSIAN;
    LockWindow* lw = open_home();
    QCOMPARE(lw->findChild<QLabel*>("label_input")->text(), QString("Размер LED:1920 x 1080"));
    QCOMPARE(info_of(lw, 0), QString("Нет сигнала"));
    QCOMPARE(info_of(lw, 1), QString("Черный"));
    QCOMPARE(info_of(lw, 2), QString("Откл"));
    // Vietnamese not offered: English everywhere.
    g_language = LANG_VIETNAMESE;
    g_lcd_lang_valid = 0x17;
    lw->language_changed();
    QCOMPARE(lw->findChild<QLabel*>("label_input")->text(), QString("LED size:1920 x 1080"));
    QCOMPARE(info_of(lw, 2), QString("Close"));
    g_language = LANG_TCHINESE;
    g_lcd_lang_valid = LCD_LANG_VALID_ALL;
    lw->language_changed();
    QCOMPARE(info_of(lw, 0), QString("無信號"));
    QCOMPARE(info_of(lw, 2), QString("未開啟"));
}

void TstLockWindow::touch_data() {
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("leaves");
    QTest::newRow("empty spot") << "widget" << true;
    QTest::newRow("label_input") << "label_input" << true;
    QTest::newRow("label_IPaddr") << "label_IPaddr" << true;
    QTest::newRow("a tile number") << "tile_number_4" << true;
    QTest::newRow("a tile name") << "tile_name_1" << true;
    QTest::newRow("tiles frame") << "frame_tiles" << true;
    QTest::newRow("line") << "line" << false;
    QTest::newRow("label_bright") << "label_bright" << false;
    QTest::newRow("label_contrast") << "label_contrast" << false;
    QTest::newRow("label_LED_icon") << "label_LED_icon" << false;
    QTest::newRow("label_volume_icon") << "label_volume_icon" << false;
    QTest::newRow("label_ip") << "label_ip" << false;
}

void TstLockWindow::touch() {
    QFETCH(QString, target);
    QFETCH(bool, leaves);
    QPointer<LockWindow> lw = open_home();
    auto* w = lw->findChild<QWidget*>(target);
    QVERIFY2(w, qPrintable(target));
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(w->width() / 2, 0));
    if (leaves) {
        QCOMPARE(g_page_focus, uint8_t(PAGE_MAINWINDOW));
        QVERIFY(!g_lockwindow());
        QCOMPARE(main_stub->language_calls, 1);
        QTRY_VERIFY(lw.isNull());
    } else {
        QCoreApplication::processEvents();
        QVERIFY(!lw.isNull());
        QCOMPARE(g_page_focus, uint8_t(PAGE_LOCKWINDOW));
        QCOMPARE(g_lockwindow(), lw.data());
    }
}

void TstLockWindow::keys_without_action_stay() {
    QPointer<LockWindow> lw = open_home();
    for (int k : {int(PANEL_KEY_BACK), int(PANEL_LETTER_BACK), int(PANEL_KEY_LEFT),
                  int(PANEL_KEY_RIGHT), int('Z')})
        testsupport::key(k);
    QCoreApplication::processEvents();
    QVERIFY(!lw.isNull());
    QCOMPARE(g_page_focus, uint8_t(PAGE_LOCKWINDOW));
    QCOMPARE(main_stub->language_calls, 0);
}

void TstLockWindow::ok_returns_to_main() {
    for (int k : {int(PANEL_KEY_OK), int(PANEL_LETTER_OK), -1}) {
        QPointer<LockWindow> lw = open_home();
        main_stub->language_calls = 0;
        if (k < 0)
            lw->on_main_Button_clicked();
        else
            testsupport::key(k);
        QCOMPARE(g_page_focus, uint8_t(PAGE_MAINWINDOW));
        QVERIFY(!pages::is_open(PAGE_LOCKWINDOW));
        QCOMPARE(main_stub->language_calls, 1);
        QTRY_VERIFY(lw.isNull());
    }
}

void TstLockWindow::mode_opens_user_modes_unless_locked() {
    para()->set_u16(blk::PANEL_LOCK, 1);
    QPointer<LockWindow> lw = open_home();
    testsupport::key(PANEL_KEY_MODE);
    testsupport::key(PANEL_LETTER_MODE);
    QCoreApplication::processEvents();
    QVERIFY(!lw.isNull());
    QCOMPARE(g_page_focus, uint8_t(PAGE_LOCKWINDOW));
    QVERIFY(!pages::is_open(PAGE_CUSTOMMODE));
    QCOMPARE(int(g_mode_shortcut_key), 0);

    para()->set_u16(blk::PANEL_LOCK, 0);
    testsupport::key(PANEL_KEY_MODE);
    QCOMPARE(g_page_focus, uint8_t(PAGE_CUSTOMMODE));
    QVERIFY(pages::is_open(PAGE_CUSTOMMODE));
    QVERIFY(!g_lockwindow());
    QCOMPARE(int(g_mode_shortcut_key), 1);
    QTRY_VERIFY(lw.isNull());
}

// The USB keypad sees the key after the page: "D" selects window 3, and the
// refresh that follows moves the current-window mark.
void TstLockWindow::usb_window_key_moves_mark() {
    set_window(3, 1, 2);
    LockWindow* lw = open_home();
    testsupport::key('D');
    QCOMPARE(int(g_image_current), 3);
    const auto marks = lw->tiles_frame()->findChildren<QLabel*>("tile_current");
    QCOMPARE(marks.size(), 1);
    QCOMPARE(marks[0]->parentWidget(), tile(lw, "tile_number_", 3));
}

// A home screen replaced by a newer one must neither clear the newer one's
// registry entry when it goes, nor close it.
void TstLockWindow::registry_kept_for_newer_page() {
    LockWindow* old_page = open_home();
    LockWindow* newer = open_home();
    QCOMPARE(g_lockwindow(), newer);
    QPointer<LockWindow> old_alive = old_page;
    QKeyEvent release(QEvent::KeyRelease, PANEL_KEY_OK, Qt::NoModifier);
    QApplication::sendEvent(old_page, &release);
    QTRY_VERIFY(old_alive.isNull());
    QCOMPARE(g_lockwindow(), newer);
    QCOMPARE(g_page_focus, uint8_t(PAGE_LOCKWINDOW));
    QVERIFY(newer->isVisible());

    auto* third = new LockWindow;
    pages::set(PAGE_LOCKWINDOW, third, PAGE_MAINWINDOW);
    delete newer;
    QCOMPARE(g_lockwindow(), third);
    delete third;
    QVERIFY(!g_lockwindow());
}

QTEST_MAIN(TstLockWindow)
#include "tst_lockwindow.moc"

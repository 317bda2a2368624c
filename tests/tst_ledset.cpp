// The LED screen page, opened from the settings and output menus, up to
// the whole road through the scaler and FPGA threads to the panel and file.
#include "page_driver.h"

#include "fpga/fpga_manage.h"
#include "ui/frame/mainwindow.h"
#include "ui/frame/option.h"
#include "ui/frame/outputset.h"
#include "ui/frame/syncupdate.h"
#include "ui/frame/tip.h"
#include "ui/pages/ledset.h"

#include <QPushButton>
#include <functional>

using testsupport::key;
using IntList = QVector<int>;

namespace {
RynRamPara* para() { return RynRamPara::pInstance(); }
c331_manage* scaler() { return c331_manage::pInstance(); }
fpga_manage* fpga() { return fpga_manage::pInstance(); }
ledset* page() { return g_ledset(); }
std::vector<int> notices;               // kinds of the notices shown, in order
std::function<void()> during_notice;    // runs once on the notice's first tick

QString field(const char* name) { return page()->findChild<QLineEdit*>(name)->text(); }
// Right up to `entry` (0 width, 1 height, or a button), then OK on it and
// `seq` typed on the keypad it opens, if any.
void ok_on(int entry, const QString& seq = QString()) {
    for (int i = 0; i < 4 && page()->focused_entry() != entry; ++i)
        key(PANEL_KEY_RIGHT);
    seq.isEmpty() ? key(PANEL_KEY_OK) : keypad_on_field(seq);
}
void set_size(uint16_t w, uint16_t h) {
    para()->set_u16(blk::LED_WIDTH, w);
    para()->set_u16(blk::LED_HEIGHT, h);
    para()->RamParaShadow = para()->RamParaBlock;
}
void set_fpga_state(uint8_t state) { fpga()->MCU_REG_func[0][fpga_reg::STATE] = state; }
// The block's words at `offsets`.
IntList words(std::initializer_list<int> offsets) {
    IntList out;
    for (int at : offsets)
        out << para()->u16(at);
    return out;
}
} // namespace

class TstLedset : public QObject {
    Q_OBJECT
    // The settings menu, OK on its output entry and OK on the LED entry;
    // `body` runs inside the LED page's loop.
    void run_page(const std::function<void()>& body) {
        g_page_focus = PAGE_MAINWINDOW;
        QVERIFY2(testsupport::run_nested({[] { pages::open<Option>(); }, [] { press("k"); },
                                          [] { press("k"); }},
                                         PAGE_LEDSET, body),
                 "the LED page did not open from the output menu");
    }

private slots:
    void initTestCase() {
        if (!g_mainwindow())
            new MainWindow(nullptr);
        testsupport::run_fast_ticks(this, [](int kind) {
            notices.push_back(kind);
            if (during_notice)
                std::exchange(during_notice, nullptr)();
        });
        fpga()->bringup();
    }
    void init() {
        testsupport::fresh_device();
        notices.clear();
        during_notice = nullptr;
        set_fpga_state(fpga_reg::STATE_RUNNING);
        MutexLocker led(&Utils::_led_para_init_mutex);
        g_set_led_para = LED_PARA_IDLE;
        g_set_led_setup = 0;
    }
    void cleanup() {
        QVERIFY(testsupport::close_all_pages());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // Typed sizes are clamped to 64..8188 per side and to the pixels the
    // processor drives; nothing reaches the block before Apply.
    void keypad_clamps_data() {
        QTest::addColumn<int>("entry"); // 0 width, 1 height
        QTest::addColumn<IntList>("start");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("width");
        QTest::addColumn<QString>("height");
        auto row = [](const char* tag, int e, IntList s, QString k, QString w, QString h) {
            QTest::newRow(tag) << e << s << k << w << h;
        };
        row("width 8189 cut to 8188", 0, {1920, 1000}, "8189K", "8188", "1000");
        row("width 8188 with 1280 is just within", 0, {1920, 1280}, "8188K", "8188", "1280");
        row("width 8188 with 1281 is just over", 0, {1920, 1281}, "8188K", "8188", "1280");
        row("width 63 raised to 64", 0, {1920, 8188}, "63K", "64", "8188");
        row("width emptied raised to 64", 0, {1920, 1080}, "XXXXK", "64", "1080");
        // Eleven digits do not fit an int: still far above the limit.
        row("width of eleven digits", 0, {1920, 1000}, "99999999999K", "8188", "1000");
        row("height 4000 with width 4000 cuts width to 3250", 1, {4000, 1080}, "4000K", "3250",
            "4000");
        row("keypad Cancel changes nothing", 0, {1920, 1080}, "5N", "1920", "1080");
        // A size word above 32767 (set by the PC) still counts as itself.
        row("height 40000 from the PC still limits the pixels", 0, {1920, 40000}, "4000K", "4000",
            "2621");
    }
    void keypad_clamps() {
        QFETCH(int, entry);
        QFETCH(IntList, start);
        QFETCH(QString, keys);
        set_size(uint16_t(start[0]), uint16_t(start[1]));
        run_page([&] {
            ok_on(entry, keys);
            QTEST(field("lineEdit_ledw"), "width");
            QTEST(field("lineEdit_ledh"), "height");
            QCOMPARE(para()->u16(blk::LED_WIDTH), uint16_t(start[0]));
            QCOMPARE(int(scaler()->para_update_flag), 0);
        });
    }

    // Apply of a new size: windows laid out, notice, and the FPGA's reload
    // only when it runs. Without the manager or its register shadow the
    // FPGA counts as not running (no read through a null pointer).
    void apply_new_size_data() {
        QTest::addColumn<QString>("fpga_case");
        QTest::addColumn<int>("led_para");
        QTest::newRow("FPGA running") << "running" << int(LED_PARA_REQUEST);
        QTest::newRow("FPGA state 2") << "stopped" << int(LED_PARA_IDLE);
        QTest::newRow("no FPGA manager") << "no manager" << int(LED_PARA_IDLE);
        QTest::newRow("no register shadow") << "no shadow" << int(LED_PARA_IDLE);
    }
    void apply_new_size() {
        QFETCH(QString, fpga_case);
        QFETCH(int, led_para);
        set_size(1920, 1080);
        uint8_t* b = para()->RamParaBlock.data();
        blk::wr16(b, blk::SPLICE_MODE, 2);
        for (int w = 0; w < WINDOW_COUNT; ++w) {
            blk::wr16(b, blk::window(w, blk::WIN_ENABLE), 1);
            blk::wr16(b, blk::window(w, blk::WIN_X), uint16_t(100 + w));
            blk::wr16(b, blk::window(w, blk::WIN_SOURCE), uint16_t(w));
        }
        para()->RamParaShadow = para()->RamParaBlock;
        fpga_manage* const manager = fpga_manage::p_fpga_manage;
        uint8_t* const shadow = fpga()->MCU_REG_func[0];
        if (fpga_case == "stopped")
            set_fpga_state(2);
        else if (fpga_case == "no manager")
            fpga_manage::p_fpga_manage = nullptr;
        else if (fpga_case == "no shadow")
            fpga()->MCU_REG_func[0] = nullptr;
        bool locked_during_notice = false;
        bool flag_during_notice = true;
        during_notice = [&] {
            locked_during_notice = pthread_mutex_trylock(&scaler()->para_mutex) != 0;
            if (!locked_during_notice)
                pthread_mutex_unlock(&scaler()->para_mutex);
            flag_during_notice = scaler()->para_update_flag != 0;
            key(PANEL_KEY_OK); // no second apply: it would wait on the lock held here
            key(PANEL_LETTER_OK);
        };
        run_page([] {
            ok_on(0, "2560K");
            ok_on(1, "1440K");
            ok_on(ledset::ENTRY_APPLY);
            QCOMPARE(g_page_focus, uint8_t(PAGE_LEDSET)); // the page stays open
            QCOMPARE(field("lineEdit_ledw"), QString("2560"));
        });
        fpga_manage::p_fpga_manage = manager;
        fpga()->MCU_REG_func[0] = shadow;

        QCOMPARE(notices, std::vector<int>{TIP_DONE});
        QVERIFY2(locked_during_notice, "para_mutex was free while the notice showed");
        QVERIFY2(!flag_during_notice, "the apply flag was raised before the notice ended");
        QCOMPARE(int(scaler()->para_update_flag), 1);
        QCOMPARE(int(g_set_led_para), led_para);
        QCOMPARE(int(g_set_led_setup), 0);
        QCOMPARE(words({blk::SPLICE_MODE, blk::LED_WIDTH, blk::LED_HEIGHT, blk::OUT1_X, blk::OUT1_Y,
                        blk::OUT1_W, blk::OUT1_H, blk::OUT2_X, blk::OUT2_Y, blk::OUT2_W, blk::OUT2_H}),
                 (IntList{0, 2560, 1440, 0, 0, 2560, 1440, 0, 0, 2560, 1440}));
        const auto win = [](int w, int field) { return blk::window(w, field); };
        QCOMPARE(words({win(0, blk::WIN_ENABLE), win(0, blk::WIN_X), win(0, blk::WIN_Y),
                        win(0, blk::WIN_WIDTH), win(0, blk::WIN_HEIGHT), win(0, blk::WIN_SOURCE),
                        win(5, blk::WIN_ENABLE), win(5, blk::WIN_X)}),
                 (IntList{1, 0, 0, 2560, 1440, 0, 0, 105})); // the others only switched off
    }

    // Apply without typing resets the split only and writes back what the
    // fields show, a size word above 32767 included: never a zero size.
    void apply_unchanged_size_resets_the_split_only() {
        set_size(1920, 40000);
        uint8_t* b = para()->RamParaBlock.data();
        blk::wr16(b, blk::SPLICE_MODE, 1);
        blk::wr16(b, blk::OUT1_W, 960);
        blk::wr16(b, blk::OUT2_X, 960);
        blk::wr16(b, blk::window(1, blk::WIN_ENABLE), 1);
        blk::wr16(b, blk::window(0, blk::WIN_X), 50);
        run_page([] { ok_on(ledset::ENTRY_APPLY); });
        QVERIFY(notices.empty());
        QCOMPARE(int(scaler()->para_update_flag), 1);
        QCOMPARE(int(g_set_led_para), int(LED_PARA_IDLE));
        QCOMPARE(words({blk::SPLICE_MODE, blk::OUT1_W, blk::OUT2_X, blk::OUT2_W, blk::LED_HEIGHT,
                        blk::OUT2_H, blk::window(1, blk::WIN_ENABLE), blk::window(0, blk::WIN_X)}),
                 (IntList{0, 1920, 0, 1920, 40000, 40000, 1, 50}));
    }

    // A touch opens the keypad on a field; the buttons ignore touches. A
    // size set by the PC reaches the fields at the next refresh, over what
    // was typed; other changes leave the typing alone. OK on Cancel and Back
    // both discard what was typed and return to the output menu, which shows
    // the size then in the block.
    void refresh_then_cancel_or_back_data() {
        QTest::addColumn<bool>("cancel");
        QTest::newRow("OK on Cancel") << true;
        QTest::newRow("Back") << false;
    }
    void refresh_then_cancel_or_back() {
        QFETCH(bool, cancel);
        set_size(1920, 1080);
        QString line;
        run_page([&] {
            testsupport::post([] { keypad::type("777K"); });
            QTest::mouseClick(page()->findChild<QLineEdit*>("lineEdit_ledh"), Qt::LeftButton);
            page()->findChild<QPushButton*>("Button_apply")->click();
            page()->findChild<QPushButton*>("Button_cancle")->click();
            QCOMPARE(g_page_focus, uint8_t(PAGE_LEDSET));
            outside_change([](RynRamPara& p) { p.set_u16(blk::BRIGHTNESS, 10); });
            QCOMPARE(field("lineEdit_ledh"), QString("777"));
            outside_change([](RynRamPara& p) { p.set_u16(blk::LED_HEIGHT, 720); });
            QCOMPARE(field("lineEdit_ledw") + "x" + field("lineEdit_ledh"), QString("1920x720"));
            ok_on(0, "3000K");
            cancel ? ok_on(ledset::ENTRY_CANCEL) : key(PANEL_KEY_BACK);
            QCOMPARE(g_page_focus, uint8_t(PAGE_OUTPUTSET));
            line = g_outputset()->findChild<QLabel*>("label_info")->text();
        });
        QCOMPARE(line, QString("LED Screen can be set:1920x720"));
        QCOMPARE(para()->u16(blk::LED_WIDTH), uint16_t(1920));
        QCOMPARE(int(scaler()->para_update_flag), 0);
    }

    // Last: starts the scaler and FPGA threads, which then run for the rest
    // of the process. The size typed on the page reaches the scaler's panel
    // only after the notice and the FPGA's reload, FPGA 0 is reset, and the
    // block is saved.
    void apply_reaches_panel_fpga_and_file() {
        connect(para(), &RynRamPara::sig_update_para, SyncUpdate::pInstance(),
                &SyncUpdate::para_sync, Qt::QueuedConnection);
        QCOMPARE(fpga()->initialize_start(), 0);
        QCOMPARE(scaler()->initialize(), 0);
        QTRY_COMPARE(fpga()->get_fpga_status(), 1);
        QTRY_COMPARE(scaler()->panel().width, int(para()->u16(blk::LED_WIDTH)));
        const int calls = scaler()->panel().calls;
        const int resets = fpga()->reset_count();
        int calls_during_notice = -1;
        during_notice = [&] {
            QThread::msleep(50);
            calls_during_notice = scaler()->panel().calls;
        };
        QString line;
        run_page([&] {
            ok_on(0, "3072K");
            ok_on(1, "1536K");
            ok_on(ledset::ENTRY_APPLY);
            QTRY_COMPARE(scaler()->panel().width, 3072);
            QTRY_COMPARE(int(g_set_led_para), int(LED_PARA_IDLE));
            key(PANEL_KEY_BACK);
            line = g_outputset()->findChild<QLabel*>("label_info")->text();
        });
        QCOMPARE(calls_during_notice, calls);
        const SimPanel panel = scaler()->panel();
        QCOMPARE((IntList{panel.width, panel.height, panel.out_w, panel.splice_mode, panel.calls}),
                 (IntList{3072, 1536, 3072, 0, calls + 1}));
        QCOMPARE(int(scaler()->led_wait_timeouts), 0);
        QTRY_COMPARE(fpga()->reset_count(), resets + 1);
        QCOMPARE(line, QString("LED Screen can be set:3072x1536"));
        QFile f(device_path("/data/ram_device_info"));
        QTRY_VERIFY(f.exists() && f.size() == blk::SIZE);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray saved = f.readAll();
        const auto* s = reinterpret_cast<const uint8_t*>(saved.constData());
        QCOMPARE((IntList{blk::rd16(s, blk::LED_WIDTH), blk::rd16(s, blk::LED_HEIGHT)}),
                 (IntList{3072, 1536}));
    }
};

QTEST_MAIN(TstLedset)
#include "tst_ledset.moc"

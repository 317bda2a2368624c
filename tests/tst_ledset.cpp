// The LED screen page, from the output menu through the scaler and FPGA
// threads to the panel and file.
#include "page_driver.h"

#include "fpga/fpga_manage.h"
#include "ui/frame/mainwindow.h"
#include "ui/frame/option.h"
#include "ui/frame/outputset.h"
#include "ui/frame/syncupdate.h"
#include "ui/frame/tip.h"
#include "ui/pages/ledset.h"

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
// Right up to `entry` (0 width, 1 height, or a button), OK, `seq` typed.
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
    // Settings menu, OK on output, OK on LED; `body` runs inside the page.
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
        fpga()->MCU_REG_func[0][fpga_reg::STATE] = fpga_reg::STATE_RUNNING;
        MutexLocker led(&Utils::_led_para_init_mutex);
        g_set_led_para = LED_PARA_IDLE;
        g_set_led_setup = 0;
    }
    void cleanup() {
        QVERIFY(testsupport::close_all_pages());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // Apply of a new size: windows laid out, notice, and the FPGA's reload
    // only when it runs. Without the manager or its register shadow the
    // FPGA counts as not running (no read through a null pointer).
    void apply_new_size_data() {
        QTest::addColumn<QString>("fpga_case");
        QTest::newRow("FPGA running") << "running";
        QTest::newRow("no FPGA manager") << "no manager";
        QTest::newRow("no register shadow") << "no shadow";
    }
    void apply_new_size() {
        QFETCH(QString, fpga_case);
        set_size(1920, 1080);
        uint8_t* b = para()->RamParaBlock.data();
        blk::wr16(b, blk::SPLICE_MODE, 2);
        for (int w = 0; w < WINDOW_COUNT; ++w) {
            blk::wr16(b, blk::window(w, blk::WIN_ENABLE), 1);
            blk::wr16(b, blk::window(w, blk::WIN_X), uint16_t(100 + w));
        }
        para()->RamParaShadow = para()->RamParaBlock;
        fpga_manage* const manager = fpga_manage::p_fpga_manage;
        uint8_t* const shadow = fpga()->MCU_REG_func[0];
        if (fpga_case == "no manager")
            fpga_manage::p_fpga_manage = nullptr;
        else if (fpga_case == "no shadow")
            fpga()->MCU_REG_func[0] = nullptr;
        bool locked_during_notice = false;
        during_notice = [&] {
            locked_during_notice = pthread_mutex_trylock(&scaler()->para_mutex) != 0;
            if (!locked_during_notice)
                pthread_mutex_unlock(&scaler()->para_mutex);
            key(PANEL_KEY_OK); // no second apply: it would wait on the lock held here
            key(PANEL_LETTER_OK);
        };
        run_page([] {
            ok_on(0, "2560K");
            ok_on(1, "1440K");
            ok_on(ledset::ENTRY_APPLY);
            QCOMPARE(g_page_focus, uint8_t(PAGE_LEDSET)); // the page stays open
        });
        fpga_manage::p_fpga_manage = manager;
        fpga()->MCU_REG_func[0] = shadow;

        QCOMPARE(notices, std::vector<int>{TIP_DONE});
        QVERIFY2(locked_during_notice, "para_mutex was free while the notice showed");
        QCOMPARE(int(scaler()->para_update_flag), 1);
        QCOMPARE(int(g_set_led_para),
                 int(fpga_case == "running" ? LED_PARA_REQUEST : LED_PARA_IDLE));
        QCOMPARE(int(g_set_led_setup), 0);
        QCOMPARE(words({blk::SPLICE_MODE, blk::LED_WIDTH, blk::LED_HEIGHT, blk::OUT2_W,
                        blk::window(0, blk::WIN_X), blk::window(0, blk::WIN_WIDTH),
                        blk::window(5, blk::WIN_ENABLE), blk::window(5, blk::WIN_X)}),
                 (IntList{0, 2560, 1440, 2560, 0, 2560, 0, 105})); // the others only switched off
    }

    // A size set by the PC reaches the fields at the next refresh, over
    // what was typed. A typed width is cut to 8188, and the height then to
    // the pixels the processor drives (8188x1280). Cancel stores nothing and
    // returns to the output menu, whose LED line shows the block's size.
    void outside_size_clamps_and_cancel() {
        set_size(1920, 1080);
        QString line;
        run_page([&] {
            ok_on(1, "777K");
            outside_change([](RynRamPara& p) { p.set_u16(blk::LED_HEIGHT, 1281); });
            QCOMPARE(field("lineEdit_ledw") + "x" + field("lineEdit_ledh"), QString("1920x1281"));
            ok_on(0, "8189K");
            QCOMPARE(field("lineEdit_ledw") + "x" + field("lineEdit_ledh"), QString("8188x1280"));
            ok_on(ledset::ENTRY_CANCEL);
            QCOMPARE(g_page_focus, uint8_t(PAGE_OUTPUTSET));
            line = g_outputset()->findChild<QLabel*>("label_info")->text();
        });
        QCOMPARE(line, QString("LED Screen can be set:1920x1281"));
        QCOMPARE(para()->u16(blk::LED_WIDTH), uint16_t(1920));
        QCOMPARE(int(scaler()->para_update_flag), 0);
    }

    // Last: starts the scaler and FPGA threads, which then run for the rest
    // of the process. The size typed on the page reaches the scaler's panel
    // after the FPGA's reload, FPGA 0 is reset, and the block is saved.
    void apply_reaches_panel_fpga_and_file() {
        connect(para(), &RynRamPara::sig_update_para, SyncUpdate::pInstance(),
                &SyncUpdate::para_sync, Qt::QueuedConnection);
        QCOMPARE(fpga()->initialize_start(), 0);
        QCOMPARE(scaler()->initialize(), 0);
        QTRY_COMPARE(fpga()->get_fpga_status(), 1);
        QTRY_COMPARE(scaler()->panel().width, int(para()->u16(blk::LED_WIDTH)));
        const int calls = scaler()->panel().calls;
        const int resets = fpga()->reset_count();
        run_page([&] {
            ok_on(0, "3072K");
            ok_on(1, "1536K");
            ok_on(ledset::ENTRY_APPLY);
            QTRY_COMPARE(scaler()->panel().width, 3072);
            QTRY_COMPARE(int(g_set_led_para), int(LED_PARA_IDLE));
        });
        const SimPanel panel = scaler()->panel();
        QCOMPARE((IntList{panel.width, panel.height, panel.out_w, panel.splice_mode, panel.calls}),
                 (IntList{3072, 1536, 3072, 0, calls + 1}));
        QCOMPARE(int(scaler()->led_wait_timeouts), 0);
        QTRY_COMPARE(fpga()->reset_count(), resets + 1);
        QTRY_COMPARE(int(testsupport::read_file("/data/ram_device_info").size()), int(blk::SIZE));
        const QByteArray saved = testsupport::read_file("/data/ram_device_info");
        const auto* s = reinterpret_cast<const uint8_t*>(saved.constData());
        QCOMPARE((IntList{blk::rd16(s, blk::LED_WIDTH), blk::rd16(s, blk::LED_HEIGHT)}),
                 (IntList{3072, 1536}));
    }
};

QTEST_MAIN(TstLedset)
#include "tst_ledset.moc"

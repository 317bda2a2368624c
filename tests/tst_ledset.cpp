// The LED screen page, through the scaler and FPGA threads to the panel and file.
#include "page_driver.h"

#include "fpga/fpga_manage.h"
#include "ui/frame/mainwindow.h"
#include "ui/frame/option.h"
#include "ui/frame/syncupdate.h"
#include "ui/frame/tip.h"
#include "ui/pages/ledset.h"

using testsupport::key;
using IntList = QVector<int>;

namespace {
RynRamPara* para() { return RynRamPara::pInstance(); }
c331_manage* scaler() { return c331_manage::pInstance(); }
fpga_manage* fpga() { return fpga_manage::pInstance(); }
std::function<void(int)> on_notice; // runs on each notice's first tick, with its kind

// Right up to `entry` (0 width, 1 height, or a button), OK, `seq` typed.
void ok_on(int entry, const QString& seq = QString()) {
    for (int i = 0; i < 4 && g_ledset()->focused_entry() != entry; ++i)
        key(PANEL_KEY_RIGHT);
    seq.isEmpty() ? key(PANEL_KEY_OK) : keypad_on_field(seq);
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
        QVERIFY(testsupport::run_nested({[] { pages::open<Option>(); }, [] { press("k"); }, [] { press("k"); }},
                                        PAGE_LEDSET, body));
    }

private slots:
    void initTestCase() {
        new MainWindow(nullptr); // registers itself
        testsupport::run_fast_ticks(this, [](int kind) { on_notice ? on_notice(kind) : void(); });
        fpga()->bringup();
    }
    void init() {
        testsupport::fresh_device();
        fpga()->MCU_REG_func[0][fpga_reg::STATE] = fpga_reg::STATE_RUNNING;
        MutexLocker led(&Utils::_led_para_init_mutex);
        g_set_led_para = LED_PARA_IDLE;
        g_set_led_setup = 0;
    }
    void cleanup() {
        on_notice = nullptr; // it may hold a finished test's locals
        QVERIFY(testsupport::close_all_pages());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // Apply of a new size (the width cut to 8188, the height then to the
    // pixels the processor drives): windows laid out, the done notice shown
    // with para_mutex held, and the FPGA's reload only when it runs. Without
    // the manager or its register shadow the FPGA counts as not running.
    void apply_new_size_data() {
        QTest::addColumn<QString>("fpga_case");
        for (const char* c : {"running", "no manager", "no shadow"})
            QTest::newRow(c) << c;
    }
    void apply_new_size() {
        QFETCH(QString, fpga_case);
        para()->set_u16(blk::SPLICE_MODE, 2);
        for (int w = 0; w < WINDOW_COUNT; ++w) {
            para()->set_u16(blk::window(w, blk::WIN_ENABLE), 1);
            para()->set_u16(blk::window(w, blk::WIN_X), uint16_t(100 + w));
        }
        para()->RamParaShadow = para()->RamParaBlock;
        fpga_manage* const manager = fpga_manage::p_fpga_manage;
        uint8_t* const shadow = fpga()->MCU_REG_func[0];
        if (fpga_case == "no manager")
            fpga_manage::p_fpga_manage = nullptr;
        else if (fpga_case == "no shadow")
            fpga()->MCU_REG_func[0] = nullptr;
        std::vector<int> notices;
        bool locked_during_notice = false;
        on_notice = [&](int kind) {
            notices.push_back(kind);
            locked_during_notice = pthread_mutex_trylock(&scaler()->para_mutex) != 0;
            if (!locked_during_notice)
                pthread_mutex_unlock(&scaler()->para_mutex);
            key(PANEL_KEY_OK); // no second apply: it would wait on the lock held here
            key(PANEL_LETTER_OK);
        };
        run_page([] {
            ok_on(1, "1281K");
            ok_on(0, "8189K");
            ok_on(ledset::ENTRY_APPLY);
        });
        fpga_manage::p_fpga_manage = manager;
        fpga()->MCU_REG_func[0] = shadow;

        QCOMPARE(notices, std::vector<int>{TIP_DONE});
        QVERIFY2(locked_during_notice, "para_mutex was free while the notice showed");
        QCOMPARE(int(scaler()->para_update_flag), 1);
        QCOMPARE(int(g_set_led_para), int(fpga_case == "running" ? LED_PARA_REQUEST : LED_PARA_IDLE));
        QCOMPARE(words({blk::SPLICE_MODE, blk::LED_WIDTH, blk::LED_HEIGHT, blk::OUT2_W,
                        blk::window(0, blk::WIN_X), blk::window(0, blk::WIN_WIDTH),
                        blk::window(5, blk::WIN_ENABLE), blk::window(5, blk::WIN_X)}),
                 (IntList{0, 8188, 1280, 8188, 0, 8188, 0, 105})); // the others only switched off
    }

    void cancel_stores_nothing() {
        run_page([] {
            ok_on(0, "2560K");
            ok_on(ledset::ENTRY_CANCEL);
        });
        QCOMPARE(para()->u16(blk::LED_WIDTH), uint16_t(1920));
        QCOMPARE(int(scaler()->para_update_flag), 0);
    }

    // Last: starts the scaler and FPGA threads, which then run for the rest
    // of the process. The typed size reaches the scaler's panel after the
    // FPGA's reload, FPGA 0 is reset, and the file is saved.
    void apply_reaches_panel_fpga_and_file() {
        connect(para(), &RynRamPara::sig_update_para, SyncUpdate::pInstance(),
                &SyncUpdate::para_sync, Qt::QueuedConnection);
        QCOMPARE(fpga()->initialize_start() + scaler()->initialize(), 0);
        QTRY_COMPARE(fpga()->get_fpga_status(), 1);
        QTRY_COMPARE(scaler()->panel().width, int(para()->u16(blk::LED_WIDTH)));
        const int calls = scaler()->panel().calls, resets = fpga()->reset_count();
        run_page([&] {
            ok_on(0, "3072K");
            ok_on(1, "1536K");
            ok_on(ledset::ENTRY_APPLY);
            QTRY_COMPARE(scaler()->panel().width, 3072);
        });
        QCOMPARE(int(scaler()->led_wait_timeouts), 0); // ended by the FPGA's reload, not the time limit
        const SimPanel panel = scaler()->panel();
        QCOMPARE((IntList{panel.height, panel.out_w, panel.calls}), (IntList{1536, 3072, calls + 1}));
        QTRY_COMPARE(fpga()->reset_count(), resets + 1);
        QTRY_COMPARE(testsupport::read_file("/data/ram_device_info").mid(blk::LED_WIDTH, 4).toHex(),
                     QByteArray("000c0006")); // 3072 and 1536, as a peer reads them
    }
};

QTEST_MAIN(TstLedset)
#include "tst_ledset.moc"

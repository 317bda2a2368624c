// The LED screen page: the typed size held to its limits, and what Apply
// and Cancel store.
#include "page_driver.h"

#include "fpga/fpga_manage.h"
#include "ui/frame/mainwindow.h"
#include "ui/frame/option.h"
#include "ui/frame/tip.h"
#include "ui/pages/ledset.h"

using IntList = QVector<int>;

namespace {
enum Fpga { RUNNING, NO_SHADOW, NO_MANAGER };
// The size stored when the page opens; what is typed ("w" or "h", then the
// keypad's keys; its OK follows); a height the PC sets then; the fields
// then; Apply or Cancel.
struct Visit {
    int width, height;
    QString typed, fields;
    int pc_height = 0;
    bool apply = true;
    Fpga fpga = RUNNING;
};
}  // namespace
Q_DECLARE_METATYPE(Visit)

class TstLedset : public QObject {
    Q_OBJECT
    static RynRamPara* para() { return RynRamPara::pInstance(); }
    static fpga_manage* fpga() { return fpga_manage::pInstance(); }
    static pthread_mutex_t* para_mutex() { return &c331_manage::pInstance()->para_mutex; }
    static QString text(const char* name) { return g_ledset()->findChild<QLineEdit*>(name)->text(); }
    // Right up to `entry` (0 width, 1 height, or a button), OK, `seq` typed.
    static void ok_on(int entry, const QString& seq = QString()) {
        for (int i = 0; i < 4 && g_ledset()->focused_entry() != entry; ++i)
            testsupport::key(PANEL_KEY_RIGHT);
        seq.isEmpty() ? testsupport::key(PANEL_KEY_OK) : keypad_on_field(seq);
    }
    std::function<void(int)> on_notice;  // runs on each notice's first tick, with its kind

private slots:
    void initTestCase() {
        new MainWindow(nullptr);  // registers itself
        testsupport::run_fast_ticks(this, [this](int kind) { on_notice ? on_notice(kind) : void(); });
        fpga()->bringup();
        fpga()->MCU_REG_func[0][fpga_reg::STATE] = fpga_reg::STATE_RUNNING;
    }
    void init() {
        testsupport::fresh_device();
        g_set_led_para = LED_PARA_IDLE;
        g_set_led_setup = 7;
    }
    void cleanup() {
        on_notice = nullptr;  // it may hold a finished test's locals
        QVERIFY(testsupport::close_all_pages());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void visit_data() {
        testsupport::rows<Visit>({
            {"typed 0 is the minimum 64", {1920, 1080, "w0", "64x1080"}},
            {"8189 is cut to 8188", {1920, 1000, "w8189", "8188x1000"}},
            {"a digit string too long for a number", {1920, 1080, "w99999999999", "8188x1080"}},
            {"width 9000, height 2000: height 1280", {1920, 2000, "w9000", "8188x1280"}},
            {"width 4000, height 3000: height 2621", {1920, 3000, "w4000", "4000x2621"}},
            {"a typed height allows 13,000,000 pixels", {4000, 1080, "h3000", "4000x3000"}},
            {"unchanged: splice and outputs only", {1920, 1080, "", "1920x1080"}},
            {"a size word above 32767 reads as itself", {40000, 1080, "", "40000x1080"}},
            {"FPGA without its shadow", {1920, 1080, "w3840", "3840x1080", 0, true, NO_SHADOW}},
            {"FPGA without its manager", {1920, 1080, "w3840", "3840x1080", 0, true, NO_MANAGER}},
            {"the PC's height replaces what is typed", {1920, 1080, "w2560 h99", "1920x720", 720}},
            {"Cancel stores nothing", {1920, 1080, "w2560", "2560x1080", 0, false}},
        });
    }
    // Apply of a new size lays window 0 over the screen, switches the others
    // off and shows the done notice with para_mutex held (a key then must not
    // start a second Apply, which would wait on that lock); the FPGA reloads
    // only when it runs.
    void visit() {
        QFETCH(Visit, row);
        const Visit& v = row;
        para()->set_u16(blk::SPLICE_MODE, 2);
        para()->set_u16(blk::LED_WIDTH, uint16_t(v.width));
        para()->set_u16(blk::LED_HEIGHT, uint16_t(v.height));
        for (int w = 0; w < WINDOW_COUNT; ++w) {
            para()->set_u16(blk::window(w, blk::WIN_ENABLE), 1);
            para()->set_u16(blk::window(w, blk::WIN_Y), 50);
        }
        para()->RamParaShadow = para()->RamParaBlock;
        fpga_manage* const manager = fpga_manage::p_fpga_manage;
        uint8_t* const regs = fpga()->MCU_REG_func[0];
        fpga()->MCU_REG_func[0] = v.fpga == NO_SHADOW ? nullptr : regs;
        fpga_manage::p_fpga_manage = v.fpga == NO_MANAGER ? nullptr : manager;
        int notices = 0;
        on_notice = [&](int kind) {
            const bool held = pthread_mutex_trylock(para_mutex()) != 0;
            if (!held)
                pthread_mutex_unlock(para_mutex());
            notices += kind == TIP_DONE && held;
            testsupport::key(PANEL_KEY_OK);
            testsupport::key(PANEL_LETTER_OK);
        };
        const auto visit = [&] {
            for (const QString& t : v.typed.split(' ', Qt::SkipEmptyParts))
                ok_on(t[0] == 'w' ? ledset::ENTRY_WIDTH : ledset::ENTRY_HEIGHT, t.mid(1) + "K");
            if (v.pc_height) {
                outside_change([&](RynRamPara& p) { p.set_u16(blk::LED_HEIGHT, v.pc_height); });
                g_set_led_para = LED_PARA_IDLE;  // the simulated scaler marked its panel done
            }
            QCOMPARE(text("lineEdit_ledw") + "x" + text("lineEdit_ledh"), v.fields);
            ok_on(v.apply ? ledset::ENTRY_APPLY : ledset::ENTRY_CANCEL);
            QCOMPARE(int(g_page_focus), v.apply ? int(PAGE_LEDSET) : int(PAGE_OUTPUTSET));
        };
        g_page_focus = PAGE_MAINWINDOW;  // settings menu, OK on output, OK on LED
        QVERIFY(testsupport::run_nested({[] { pages::open<Option>(); }, [] { press("k"); }, [] { press("k"); }},
                                        PAGE_LEDSET, visit));
        fpga_manage::p_fpga_manage = manager;
        fpga()->MCU_REG_func[0] = regs;

        const int w = v.fields.section('x', 0, 0).toInt(), h = v.fields.section('x', 1).toInt();
        const bool changed = v.apply && (w != v.width || h != (v.pc_height ? v.pc_height : v.height));
        const bool reload = changed && v.fpga == RUNNING;
        QCOMPARE(notices, int(changed));  // shown with para_mutex held
        const int flag = c331_manage::pInstance()->para_update_flag;
        QCOMPARE((IntList{flag, g_set_led_para, g_set_led_setup}), (IntList{v.apply, reload, reload ? 0 : 7}));
        IntList words;
        for (int at : {blk::SPLICE_MODE, blk::LED_WIDTH, blk::LED_HEIGHT})
            words << para()->u16(at);
        for (int at = blk::OUT1_X; at <= blk::OUT2_X + 6; at += 2)  // both output rectangles
            words << para()->u16(at);
        for (int f : {blk::WIN_X, blk::WIN_Y, blk::WIN_WIDTH, blk::WIN_HEIGHT})
            words << para()->window_u16(0, f);
        words << para()->window_u16(1, blk::WIN_ENABLE) << para()->window_u16(5, blk::WIN_ENABLE);
        const IntList layout = changed ? IntList{0, 0, w, h, 0, 0} : IntList{0, 50, 1920, 1080, 1, 1};
        if (v.apply)
            QCOMPARE(words, IntList({0, w, h, 0, 0, w, h, 0, 0, w, h}) + layout);
    }
};

QTEST_MAIN(TstLedset)
#include "tst_ledset.moc"

// The device status page: versions from the FPGA register shadow (and
// without a manager), the serial number rules, inputs online, the port row
// and which notices redraw it, language images, and leaving the page.
#include "testsupport.h"

#include "core/global.h"
#include "core/ramblock.h"
#include "core/rynrampara.h"
#include "fpga/fpga_manage.h"
#include "ui/frame/keys.h"
#include "ui/frame/machinestate.h"

#include <QFrame>
#include <QLabel>
#include <QMainWindow>
#include <QPointer>
#include <QtTest>

namespace {
RynRamPara* para() { return RynRamPara::pInstance(); }
fpga_manage* fpga() { return fpga_manage::pInstance(); }

class MainStub : public FramePage<QMainWindow> {
public:
    MainStub() : FramePage<QMainWindow>(PAGE_MAINWINDOW) {}
    void language_changed() override { ++language_calls; }
    int language_calls = 0;
};

void set_input(int s, int width, int height, int rate) {
    para()->set_u16(blk::input_info(s), uint16_t(width));
    para()->set_u16(blk::input_info(s) + 2, uint16_t(height));
    para()->RamParaBlock[size_t(blk::input_info(s) + 4)] = uint8_t(rate);
}

// FPGA 0 running with the given port links (bit p = port p).
void set_links(uint16_t links) {
    fpga()->MCU_REG_func[0][fpga_reg::STATE] = fpga_reg::STATE_RUNNING;
    fpga()->sim_set_register(0, fpga_reg::LINK_LOW, uint8_t(links & 0xFF));
    fpga()->sim_set_register(0, fpga_reg::LINK_HIGH, uint8_t(links >> 8));
}

void set_version(uint8_t func, uint8_t day, uint8_t month, uint8_t year) {
    uint8_t* r = fpga()->MCU_REG_func[0];
    r[fpga_reg::VERSION_FUNC] = func;
    r[fpga_reg::VERSION_DAY] = day;
    r[fpga_reg::VERSION_MONTH] = month;
    r[fpga_reg::VERSION_YEAR] = year;
}

MachineState* open_state() {
    auto* page = new MachineState;
    pages::set(PAGE_MACHINESTATE, page, PAGE_MAINWINDOW);
    g_page_focus = PAGE_MACHINESTATE;
    page->show();
    return page;
}

QString text(QWidget* page, const char* name) { return page->findChild<QLabel*>(name)->text(); }
QImage image(const QString& res) { return QPixmap(res).toImage(); }
QImage image_of(const QLabel* l) { return l->pixmap(Qt::ReturnByValue).toImage(); }
QLabel* port_icon(QWidget* page, int p) {
    return page->findChild<QLabel*>(QString("port_icon_%1").arg(p));
}
}  // namespace

class TstMachineState : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { Q_INIT_RESOURCE(png); }
    void init() {
        testsupport::fresh_device();
        fpga_manage::p_fpga_manage = fpga();
        for (int s = 0; s < 6; ++s)
            set_input(s, 0, 0, 0);
        set_links(0);
        set_version(0, 0, 0, 0);
        g_str_barcode = "ZT0001";
        main_stub = new MainStub;
        pages::set(PAGE_MAINWINDOW, main_stub, PAGE_MAINWINDOW);
    }
    void cleanup() {
        fpga_manage::p_fpga_manage = fpga();
        testsupport::close_all_pages();
        pages::clear(PAGE_MAINWINDOW);
        delete main_stub;
    }

    void form_after_construction();
    void versions_data();
    void versions();
    void no_manager_reads_zeros();
    void no_shadow_reads_zeros();
    void serial_number_data();
    void serial_number();
    void inputs_online();
    void port_row();
    void port_row_redrawn_only_on_link_notice();
    void language_images_data();
    void language_images();
    void back_and_mode();

private:
    MainStub* main_stub = nullptr;
};

void TstMachineState::form_after_construction() {
    MachineState* page = open_state();
    QCOMPARE(page->findChild<QLabel*>("label_FPGA1")->geometry(), QRect(150, 15, 140, 15));
    QVERIFY(page->findChild<QLabel*>("label_FPGA2")->isHidden());
    QVERIFY(page->findChild<QWidget*>("Button_back")->isHidden());
    QCOMPARE(text(page, "label_title"), QString("Devices"));
    QCOMPARE(text(page, "label_MCU"), QString("MCU:V11.02.01 2025-02-26"));
    // Columns in list order, HDMI 2.0 names in green.
    const char* names[] = {"HDMI1", "HDMI2", "HDMI3", "HDMI4", "DVI", "EXT"};
    for (int k = 0; k < 6; ++k) {
        const QString t = text(page, qPrintable(QString("sourceid%1name").arg(k)));
        QCOMPARE(t, QString("<font style = 'font-size:9px' color = %1 >%2</font>")
                        .arg(k == 2 || k == 3 ? "#51BB28" : "#ffffff", names[k]));
    }
}

void TstMachineState::versions_data() {
    QTest::addColumn<int>("func");
    QTest::addColumn<int>("day");
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("year");
    QTest::addColumn<QString>("shown");
    QTest::newRow("example") << 0x05 << 0x18 << 0x06 << 0x24 << "FPGA:V11.00.05 2024-06-18";
    QTest::newRow("zeros") << 0 << 0 << 0 << 0 << "FPGA:V11.00.00 2000-00-00";
    QTest::newRow("lowercase hex") << 0xAB << 0x31 << 0x12 << 0x99 << "FPGA:V11.00.ab 2099-12-31";
    QTest::newRow("all ones") << 0xFF << 0xFF << 0xFF << 0xFF << "FPGA:V11.00.ff 20ff-ff-ff";
}

void TstMachineState::versions() {
    QFETCH(int, func);
    QFETCH(int, day);
    QFETCH(int, month);
    QFETCH(int, year);
    QFETCH(QString, shown);
    set_version(uint8_t(func), uint8_t(day), uint8_t(month), uint8_t(year));
    MachineState* page = open_state();
    QCOMPARE(text(page, "label_FPGA1"), shown);
}

void TstMachineState::no_manager_reads_zeros() {
    set_version(0x05, 0x18, 0x06, 0x24);
    set_links(0xFFFF);
    fpga_manage::p_fpga_manage = nullptr;
    MachineState* page = open_state();
    QCOMPARE(text(page, "label_FPGA1"), QString("FPGA:V11.00.00 2000-00-00"));
    for (int p = 0; p < 16; ++p)
        QCOMPARE(image_of(port_icon(page, p)), image(":/png/offline.png"));
    // No manager: a link notice leaves the row alone rather than reading.
    QPointer<QFrame> row = page->findChild<QFrame*>("frame_ports");
    page->syncUpdate(SYNC_OUTPUT_LINK);
    QVERIFY(!row.isNull());
}

void TstMachineState::no_shadow_reads_zeros() {
    set_version(0x05, 0x18, 0x06, 0x24);
    uint8_t* shadow = fpga()->MCU_REG_func[0];
    fpga()->MCU_REG_func[0] = nullptr;
    QPointer<MachineState> page;
    const QString shown = [&] {
        page = open_state();
        return text(page, "label_FPGA1");
    }();
    fpga()->MCU_REG_func[0] = shadow;
    QCOMPARE(shown, QString("FPGA:V11.00.00 2000-00-00"));
}

void TstMachineState::serial_number_data() {
    QTest::addColumn<QString>("barcode");
    QTest::addColumn<QString>("shown");
    QTest::newRow("one blank keeps placeholder") << " " << "SN:ZT9999";
    QTest::newRow("empty") << "" << "SN:";
    QTest::newRow("two blanks") << "  " << "SN:  ";
    QTest::newRow("serial") << "ZT2024A17" << "SN:ZT2024A17";
}

void TstMachineState::serial_number() {
    QFETCH(QString, barcode);
    QFETCH(QString, shown);
    g_str_barcode = barcode;
    MachineState* page = open_state();
    QCOMPARE(text(page, "label_2"), shown);
}

void TstMachineState::inputs_online() {
    set_input(2, 1920, 1080, 60);  // HDMI1 online
    set_input(3, 1920, 1080, 0);   // HDMI2: rate 0 is offline
    set_input(0, 720, 576, 50);    // EXT online
    set_input(1, 0, 1080, 60);     // DVI: no width
    MachineState* page = open_state();
    auto icon = [page](int k) {
        return image_of(page->findChild<QLabel*>(QString("sourceid%1pixmap").arg(k)));
    };
    QVERIFY(!image(":/png/HDMI13_lv.png").isNull());
    QCOMPARE(icon(0), image(":/png/HDMI13_lv.png"));
    QCOMPARE(icon(1), image(":/png/HDMI13_1.png"));
    QCOMPARE(icon(2), image(":/png/HDMI20.png"));
    QCOMPARE(icon(4), image(":/png/DVI.png"));
    QCOMPARE(icon(5), image(":/png/extlv.png"));
    QVERIFY(page->findChild<QLabel*>("sourceid5pixmap")->hasScaledContents());

    // Every notice redraws the inputs, whatever its code.
    set_input(3, 1920, 1080, 60);
    set_input(0, 0, 0, 0);
    page->syncUpdate(SYNC_INPUT_TIMING);
    QCOMPARE(icon(1), image(":/png/HDMI13_lv.png"));
    QCOMPARE(icon(5), image(":/png/HDMI.png"));
}

void TstMachineState::port_row() {
    set_links(0x8005);  // ports 1, 3 and 16
    MachineState* page = open_state();
    auto* row = page->findChild<QFrame*>("frame_ports");
    QVERIFY(row);
    QCOMPARE(row->geometry(), QRect(20, 20, 288, 65));
    const QImage on = image(":/png/online.png");
    const QImage off = image(":/png/offline.png");
    QVERIFY(!on.isNull() && on != off);
    for (int p = 0; p < 16; ++p) {
        const bool linked = p == 0 || p == 2 || p == 15;
        QVERIFY2(image_of(port_icon(page, p)) == (linked ? on : off), qPrintable(QString::number(p)));
        QCOMPARE(page->findChild<QLabel*>(QString("port_number_%1").arg(p))->text(),
                 QString::number(p + 1));
    }
    QCOMPARE(port_icon(page, 15)->geometry(), QRect(272, 27, 16, 14));
    QCOMPARE(port_icon(page, 0)->geometry(), QRect(2, 27, 16, 14));

    // FPGA 0 not running: every port offline.
    fpga()->MCU_REG_func[0][fpga_reg::STATE] = 0;
    page->syncUpdate(SYNC_OUTPUT_LINK);
    for (int p = 0; p < 16; ++p)
        QCOMPARE(image_of(port_icon(page, p)), off);
}

void TstMachineState::port_row_redrawn_only_on_link_notice() {
    MachineState* page = open_state();
    QPointer<QFrame> row = page->findChild<QFrame*>("frame_ports");
    set_links(0x0002);
    page->syncUpdate(SYNC_INPUT_TIMING);
    QVERIFY(!row.isNull());
    QCOMPARE(image_of(port_icon(page, 1)), image(":/png/offline.png"));
    page->syncUpdate(SYNC_OUTPUT_LINK);
    QVERIFY(row.isNull());
    QCOMPARE(page->findChildren<QFrame*>("frame_ports").size(), 1);
    QCOMPARE(image_of(port_icon(page, 1)), image(":/png/online.png"));
}

void TstMachineState::language_images_data() {
    QTest::addColumn<int>("lang");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("version_image");
    QTest::addColumn<bool>("russian_states");
    QTest::newRow("zh-Hans") << 0 << "设备信息" << ":/png/version_state.png" << false;
    QTest::newRow("en") << 1 << "Devices" << ":/png/en_version_state.png" << false;
    QTest::newRow("ru") << 2 << "Устройство" << ":/png/ru_version_state.png" << true;
    QTest::newRow("vi uses English image") << 3 << "Thiết bị" << ":/png/en_version_state.png"
                                           << false;
    QTest::newRow("zh-Hant") << 4 << "設備信息" << ":/png/version_state.png" << false;
}

void TstMachineState::language_images() {
    QFETCH(int, lang);
    QFETCH(QString, title);
    QFETCH(QString, version_image);
    QFETCH(bool, russian_states);
    g_language = uint8_t(lang);
    MachineState* page = open_state();
    QCOMPARE(text(page, "label_title"), title);
    QCOMPARE(image_of(page->findChild<QLabel*>("label_state3")), image(version_image));
    QCOMPARE(image_of(page->findChild<QLabel*>("label_state1")),
             image(russian_states ? ":/png/ru_output_state.png" : ":/png/output_state.png"));
    QCOMPARE(image_of(page->findChild<QLabel*>("label_state2")),
             image(russian_states ? ":/png/ru_input_state.png" : ":/png/input_state.png"));
}

void TstMachineState::back_and_mode() {
    para()->set_u16(blk::PANEL_LOCK, 1);
    QPointer<MachineState> page = open_state();
    for (int k : {int(PANEL_KEY_OK), int(PANEL_KEY_LEFT), int(PANEL_KEY_RIGHT),
                  int(PANEL_KEY_MODE)})
        testsupport::key(k);
    QCOMPARE(g_page_focus, uint8_t(PAGE_MACHINESTATE));
    QVERIFY(!pages::is_open(PAGE_CUSTOMMODE));

    testsupport::key(PANEL_KEY_BACK);
    QCOMPARE(g_page_focus, uint8_t(PAGE_MAINWINDOW));
    QVERIFY(!g_machinestate());
    QCOMPARE(main_stub->language_calls, 1);
    QTRY_VERIFY(page.isNull());

    para()->set_u16(blk::PANEL_LOCK, 0);
    page = open_state();
    testsupport::key(PANEL_LETTER_MODE);
    QCOMPARE(g_page_focus, uint8_t(PAGE_CUSTOMMODE));
    QVERIFY(!g_machinestate());
    QCOMPARE(int(g_mode_shortcut_key), 1);
    QTRY_VERIFY(page.isNull());

    page = open_state();
    g_page_focus = PAGE_MACHINESTATE;
    page->on_Button_back_clicked();
    QVERIFY(!g_machinestate());
    QTRY_VERIFY(page.isNull());
}

QTEST_MAIN(TstMachineState)
#include "tst_machinestate.moc"

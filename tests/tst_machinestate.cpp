// The device status page: versions, the port row and the notice that
// redraws it, and the language of its pictures.
#include "testsupport.h"

#include "fpga/fpga_manage.h"
#include "ui/frame/machinestate.h"
#include "ui/frame/sourceinfo.h"

namespace {
fpga_manage* fpga() { return fpga_manage::pInstance(); }

// FPGA 0 running with the given port links (bit p = port p).
void set_links(uint16_t links) {
    fpga()->MCU_REG_func[0][fpga_reg::STATE] = fpga_reg::STATE_RUNNING;
    fpga()->sim_set_register(0, fpga_reg::LINK_LOW, uint8_t(links & 0xFF));
    fpga()->sim_set_register(0, fpga_reg::LINK_HIGH, uint8_t(links >> 8));
}
MachineState* open_state() { // as the main menu opens it, without the modal loop
    delete g_machinestate();
    auto* page = pages::create<MachineState>();
    pages::set(PAGE_MACHINESTATE, page, PAGE_MAINWINDOW);
    g_page_focus = PAGE_MACHINESTATE;
    page->show();
    return page;
}
QString text(QWidget* page, const QString& name) { return page->findChild<QLabel*>(name)->text(); }
QImage image(const QString& res) { return QPixmap(":/png/" + res).toImage(); }
QImage icon(QWidget* page, const QString& name) {
    return page->findChild<QLabel*>(name)->pixmap(Qt::ReturnByValue).toImage();
}
// "1" for an input column showing its online picture, "0" else, HDMI1 first.
QString inputs(QWidget* page) {
    QString s;
    QLabel online;
    for (int k = 0; k < 6; ++k) {
        sourceinfo::set_sourceonline_pixmap(&online, sourceinfo::get_source_id_by_listseq(k), 1);
        s += icon(page, QString("sourceid%1pixmap").arg(k)) == online.pixmap(Qt::ReturnByValue).toImage() ? '1' : '0';
    }
    return s;
}
// "1" for a linked port, "0" for an offline one, port 1 first.
QString ports(QWidget* page) {
    QString s;
    for (int p = 0; p < 16; ++p)
        s += icon(page, QString("port_icon_%1").arg(p)) == image("online.png") ? '1' : '0';
    return s;
}
}  // namespace

class TstMachineState : public QObject {
    Q_OBJECT
    testsupport::MainStub main_stub;
private slots:
    void initTestCase() { Q_INIT_RESOURCE(png); }
    void init() {
        testsupport::fresh_device();
        pages::set(PAGE_MAINWINDOW, &main_stub, PAGE_MAINWINDOW);
    }
    void cleanup() {
        fpga_manage::p_fpga_manage = fpga();
        testsupport::close_all_pages();
        pages::clear(PAGE_MAINWINDOW);
    }

    // Versions in lower-case hex, zeros without an FPGA manager. The link
    // notice redraws the port row; a stopped FPGA shows every port offline.
    void versions_and_port_row() {
        for (auto [reg, v] : {std::pair{fpga_reg::VERSION_FUNC, 0xAB}, {fpga_reg::VERSION_DAY, 0x31},
                              {fpga_reg::VERSION_MONTH, 0x12}, {fpga_reg::VERSION_YEAR, 0x99}})
            fpga()->MCU_REG_func[0][reg] = uint8_t(v);
        set_links(0x8005);
        MachineState* page = open_state();
        QCOMPARE(text(page, "label_FPGA1"), QString("FPGA:V11.00.ab 2099-12-31"));
        QCOMPARE(ports(page), QString("1010000000000001"));
        fpga()->MCU_REG_func[0][fpga_reg::STATE] = 0;
        page->syncUpdate(SYNC_OUTPUT_LINK);
        QCOMPARE(ports(page), QString(16, '0'));
        fpga_manage::p_fpga_manage = nullptr; // put back by cleanup()
        QCOMPARE(text(open_state(), "label_FPGA1"), QString("FPGA:V11.00.00 2000-00-00"));
    }

    // A timing from the source thread redraws the inputs: online with width,
    // height and rate, in the list's order (HDMI1 first).
    void inputs_follow_their_timing() {
        MachineState* page = open_state();
        QCOMPARE(inputs(page), QString("000000"));
        testsupport::set_input(2, 1920, 1080, 60);
        testsupport::set_input(3, 1920, 1080, 0);
        testsupport::set_input(0, 720, 576, 50);
        page->syncUpdate(SYNC_INPUT_TIMING);
        QCOMPARE(inputs(page), QString("100001"));
    }

    // A single blank is the file's "no serial number": the placeholder stays.
    void serial_number_data() {
        QTest::addColumn<QString>("barcode");
        QTest::addColumn<QString>("shown");
        QTest::newRow("one blank") << " " << "SN:ZT9999";
        QTest::newRow("empty") << "" << "SN:";
        QTest::newRow("a number") << "RY123" << "SN:RY123";
    }
    void serial_number() {
        QFETCH(QString, barcode);
        g_str_barcode = barcode;
        QTEST(text(open_state(), "label_2"), "shown");
    }

    // The side tabs follow every language, not only Russian ("版本"
    // stayed Chinese), after a change from outside.
    void language_images() {
        MachineState* page = open_state();
        RynRamPara::pInstance()->set_u16(blk::LCD_LANGUAGE, LANG_ENGLISH);
        page->syncUpdate(SYNC_PARA);
        QCOMPARE(icon(page, "label_state3"), image("en_version_state.png"));
    }
};

QTEST_MAIN(TstMachineState)
#include "tst_machinestate.moc"

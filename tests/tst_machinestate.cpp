// The device status page: versions, serial number, the port row and the
// inputs with the notices that redraw them, the language of its pictures.
#include "testsupport.h"

#include "fpga/fpga_manage.h"
#include "ui/frame/machinestate.h"
#include "ui/frame/sourceinfo.h"

namespace {
fpga_manage* fpga() {
    return fpga_manage::pInstance();
}

// FPGA 0 running with the given port links (bit p = port p).
void set_links(uint16_t links) {
    fpga()->MCU_REG_func[0][fpga_reg::STATE] = fpga_reg::STATE_RUNNING;
    fpga()->sim_set_register(0, fpga_reg::LINK_LOW, uint8_t(links & 0xFF));
    fpga()->sim_set_register(0, fpga_reg::LINK_HIGH, uint8_t(links >> 8));
}
MachineState* open_state() {  // as the main menu opens it, without the modal loop
    delete g_machinestate();
    auto* page = pages::create<MachineState>();
    pages::set(PAGE_MACHINESTATE, page, PAGE_MAINWINDOW);
    g_page_focus = PAGE_MACHINESTATE;
    page->show();
    return page;
}
QString text(QWidget* page, const QString& name) {
    return page->findChild<QLabel*>(name)->text();
}
QImage image(const QString& res) {
    return QPixmap(":/png/" + res).toImage();
}
QImage icon(QWidget* page, const QString& name) {
    return page->findChild<QLabel*>(name)->pixmap(Qt::ReturnByValue).toImage();
}
// "1" for each label `name` 0..n-1 that shows `lit(i)`, "0" for the others.
QString shown(QWidget* page, const char* name, int n, const std::function<QImage(int)>& lit) {
    QString s;
    for (int i = 0; i < n; ++i)
        s += icon(page, QString(name).arg(i)) == lit(i) ? '1' : '0';
    return s;
}
QString ports(QWidget* page) {
    return shown(page, "port_icon_%1", 16, [](int) { return image("online.png"); });
}
QString inputs(QWidget* page) {  // HDMI1 first
    return shown(page, "sourceid%1pixmap", 6, [](int k) {
        QLabel online;
        sourceinfo::set_sourceonline_pixmap(&online, sourceinfo::get_source_id_by_listseq(k), 1);
        return online.pixmap(Qt::ReturnByValue).toImage();
    });
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
        for (auto [reg, v] : {std::pair{fpga_reg::VERSION_FUNC, 0xAB},
                              {fpga_reg::VERSION_DAY, 0x31},
                              {fpga_reg::VERSION_MONTH, 0x12},
                              {fpga_reg::VERSION_YEAR, 0x99}})
            fpga()->MCU_REG_func[0][reg] = uint8_t(v);
        set_links(0x8005);
        MachineState* page = open_state();
        QCOMPARE(text(page, "label_FPGA1"), QString("FPGA:V11.00.ab 2099-12-31"));
        QCOMPARE(ports(page), QString("1010000000000001"));
        fpga()->MCU_REG_func[0][fpga_reg::STATE] = 0;
        page->syncUpdate(SYNC_OUTPUT_LINK);
        QCOMPARE(ports(page), QString(16, '0'));
        fpga_manage::p_fpga_manage = nullptr;  // put back by cleanup()
        QCOMPARE(text(open_state(), "label_FPGA1"), QString("FPGA:V11.00.00 2000-00-00"));
    }

    // A change from outside redraws the inputs (online with width, height
    // and rate) and the side tabs, in every language, not only Russian.
    void inputs_and_tabs_follow_changes() {
        RynRamPara* p = RynRamPara::pInstance();
        p->set_u16(blk::LCD_LANGUAGE, g_language = 0);
        p->RamParaShadow = p->RamParaBlock;
        MachineState* page = open_state();
        QCOMPARE(inputs(page), QString("000000"));
        testsupport::set_input(2, 1920, 1080, 60);
        testsupport::set_input(3, 1920, 1080, 0);
        testsupport::set_input(0, 720, 576, 50);
        p->set_u16(blk::LCD_LANGUAGE, LANG_ENGLISH);
        page->syncUpdate(SYNC_INPUT_TIMING);
        QCOMPARE(inputs(page), QString("100001"));
        QCOMPARE(icon(page, "label_state3"), image("en_version_state.png"));
    }

    // A single blank is the file's "no serial number": the placeholder stays.
    void serial_number_data() {
        QTest::addColumn<QString>("barcode");
        QTest::addColumn<QString>("shown");
        QTest::newRow("one blank") << " "
                                   << "SN:ZT9999";
        QTest::newRow("empty") << ""
                               << "SN:";
        QTest::newRow("a number") << "RY123"
                                  << "SN:RY123";
    }
    void serial_number() {
        QFETCH(QString, barcode);
        g_str_barcode = barcode;
        QTEST(text(open_state(), "label_2"), "shown");
    }
};

QTEST_MAIN(TstMachineState)
#include "tst_machinestate.moc"

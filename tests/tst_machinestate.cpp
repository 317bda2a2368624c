// The device status page: versions, inputs online, the port row and which
// notices redraw it, and the language of its pictures.
#include "testsupport.h"

#include "core/global.h"
#include "core/ramblock.h"
#include "core/rynrampara.h"
#include "fpga/fpga_manage.h"
#include "ui/frame/machinestate.h"

#include <QLabel>
#include <QtTest>

namespace {
using testsupport::set_input;
fpga_manage* fpga() { return fpga_manage::pInstance(); }

// FPGA 0 running with the given port links (bit p = port p).
void set_links(uint16_t links) {
    fpga()->MCU_REG_func[0][fpga_reg::STATE] = fpga_reg::STATE_RUNNING;
    fpga()->sim_set_register(0, fpga_reg::LINK_LOW, uint8_t(links & 0xFF));
    fpga()->sim_set_register(0, fpga_reg::LINK_HIGH, uint8_t(links >> 8));
}
MachineState* open_state() {
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
    testsupport::MainStub* main_stub = nullptr;
private slots:
    void initTestCase() { Q_INIT_RESOURCE(png); }
    void init() {
        testsupport::fresh_device();
        fpga_manage::p_fpga_manage = fpga();
        for (int s = 0; s < 6; ++s)
            set_input(s, 0, 0, 0);
        set_links(0);
        main_stub = new testsupport::MainStub;
        pages::set(PAGE_MAINWINDOW, main_stub, PAGE_MAINWINDOW);
    }
    void cleanup() {
        fpga_manage::p_fpga_manage = fpga();
        testsupport::close_all_pages();
        pages::clear(PAGE_MAINWINDOW);
        delete main_stub;
    }

    // Hex in lower case; no FPGA manager shows zeros.
    void versions() {
        uint8_t* shadow = fpga()->MCU_REG_func[0];
        shadow[fpga_reg::VERSION_FUNC] = 0xAB;
        shadow[fpga_reg::VERSION_DAY] = 0x31;
        shadow[fpga_reg::VERSION_MONTH] = 0x12;
        shadow[fpga_reg::VERSION_YEAR] = 0x99;
        QCOMPARE(text(open_state(), "label_FPGA1"), QString("FPGA:V11.00.ab 2099-12-31"));
        fpga_manage::p_fpga_manage = nullptr;  // put back by cleanup()
        QCOMPARE(text(open_state(), "label_FPGA1"), QString("FPGA:V11.00.00 2000-00-00"));
    }

    // The link notice redraws the port row; a stopped FPGA shows every port
    // offline.
    void inputs_and_port_row() {
        set_input(2, 1920, 1080, 60); // HDMI1
        set_links(0x8005);
        MachineState* page = open_state();
        QCOMPARE(icon(page, "sourceid0pixmap"), image("HDMI13_lv.png"));
        QCOMPARE(ports(page), QString("1010000000000001"));
        set_links(0x0002);
        page->syncUpdate(SYNC_OUTPUT_LINK);
        QCOMPARE(ports(page), QString("0100000000000000"));
        fpga()->MCU_REG_func[0][fpga_reg::STATE] = 0;
        page->syncUpdate(SYNC_OUTPUT_LINK);
        QCOMPARE(ports(page), QString(16, '0'));
    }

    // The side tabs follow every language, not only Russian, after a
    // change from outside and on the page opened in it.
    void language_images() {
        MachineState* page = open_state();
        RynRamPara::pInstance()->set_u16(blk::LCD_LANGUAGE, LANG_ENGLISH);
        page->syncUpdate(SYNC_PARA);
        for (int pass = 0; pass < 2; ++pass, page = open_state()) // "版本" stayed Chinese
            QCOMPARE(icon(page, "label_state3"), image("en_version_state.png"));
    }
};

QTEST_MAIN(TstMachineState)
#include "tst_machinestate.moc"

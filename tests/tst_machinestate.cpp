// The device status page: versions, serial number, inputs online, the port
// row and which notices redraw it, and the language of its pictures.
#include "testsupport.h"

#include "core/global.h"
#include "core/ramblock.h"
#include "core/rynrampara.h"
#include "fpga/fpga_manage.h"
#include "ui/frame/machinestate.h"

#include <QFrame>
#include <QLabel>
#include <QPointer>
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

    // Hex in lower case; no manager or no register shadow shows zeros.
    void versions() {
        uint8_t* shadow = fpga()->MCU_REG_func[0];
        const int at[] = {fpga_reg::VERSION_FUNC, fpga_reg::VERSION_DAY, fpga_reg::VERSION_MONTH, fpga_reg::VERSION_YEAR};
        const uint8_t regs[] = {0xAB, 0x31, 0x12, 0x99};
        for (int i = 0; i < 4; ++i)
            shadow[at[i]] = regs[i];
        const QString shown = text(open_state(), "label_FPGA1");
        fpga()->MCU_REG_func[0] = nullptr;
        const QString no_shadow = text(open_state(), "label_FPGA1");
        fpga()->MCU_REG_func[0] = shadow;
        QCOMPARE(shown, QString("FPGA:V11.00.ab 2099-12-31"));
        QCOMPARE(no_shadow, QString("FPGA:V11.00.00 2000-00-00"));
        fpga_manage::p_fpga_manage = nullptr;  // put back by cleanup()
        QCOMPARE(text(open_state(), "label_FPGA1"), no_shadow);
    }

    void serial_number() {
        const QPair<QString, QString> rows[] = {{" ", "SN:ZT9999"}, {"", "SN:"}, {"ZT2024A17", "SN:ZT2024A17"}};
        for (const auto& r : rows) {
            g_str_barcode = r.first;
            QCOMPARE(text(open_state(), "label_2"), r.second);
        }
    }

    // Online needs width, height and rate; every notice redraws the
    // inputs, only the link notice rebuilds the port row; a stopped FPGA or
    // none at all shows every port offline.
    void inputs_and_port_row() {
        set_input(2, 1920, 1080, 60); // HDMI1
        set_input(3, 1920, 1080, 0);  // HDMI2: rate 0 is offline
        set_input(1, 0, 1080, 60);    // DVI: no width
        set_links(0x8005);
        MachineState* page = open_state();
        const auto src = [&page](int k) { return icon(page, QString("sourceid%1pixmap").arg(k)); };
        QCOMPARE(src(0), image("HDMI13_lv.png"));
        QCOMPARE(src(1), image("HDMI13_1.png"));
        QCOMPARE(ports(page), QString("1010000000000001"));
        QPointer<QFrame> row = page->findChild<QFrame*>("frame_ports");
        set_input(3, 1920, 1080, 60);
        set_input(0, 720, 576, 50); // EXT
        set_links(0x0002);
        page->syncUpdate(SYNC_INPUT_TIMING);
        QCOMPARE(src(1), image("HDMI13_lv.png"));
        QCOMPARE(src(5), image("extlv.png"));
        QVERIFY(!row.isNull());
        page->syncUpdate(SYNC_OUTPUT_LINK);
        QVERIFY(row.isNull());
        QCOMPARE(page->findChildren<QFrame*>("frame_ports").size(), 1);
        QCOMPARE(ports(page), QString("0100000000000000"));
        fpga()->MCU_REG_func[0][fpga_reg::STATE] = 0;
        page->syncUpdate(SYNC_OUTPUT_LINK);
        QCOMPARE(ports(page), QString(16, '0'));
        set_links(0xFFFF);
        fpga_manage::p_fpga_manage = nullptr;
        page = open_state();
        QCOMPARE(ports(page), QString(16, '0'));
        row = page->findChild<QFrame*>("frame_ports");
        page->syncUpdate(SYNC_OUTPUT_LINK);
        QVERIFY(!row.isNull());
    }

    // The three side tabs follow the language, after a change from outside
    // and on the page opened in it.
    void language_images_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("prefix");
        const char* prefixes[] = {"", "en_", "ru_", "vn_", "tn_"};
        for (int l = 0; l < 5; ++l)
            QTest::addRow("language %d", l) << l << prefixes[l];
    }
    void language_images() {
        QFETCH(int, language);
        QFETCH(QString, prefix);
        MachineState* page = open_state();
        RynRamPara::pInstance()->set_u16(blk::LCD_LANGUAGE, uint16_t(language));
        page->syncUpdate(SYNC_PARA);
        for (int pass = 0; pass < 2; ++pass, page = open_state())
            for (const char* tab : {"1output_state", "2input_state", "3version_state"})
                QCOMPARE(icon(page, QString("label_state") + tab[0]), image(prefix + (tab + 1) + ".png"));
    }
};

QTEST_MAIN(TstMachineState)
#include "tst_machinestate.moc"

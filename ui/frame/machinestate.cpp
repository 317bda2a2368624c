#include "ui/frame/machinestate.h"

#include "core/ramblock.h"
#include "core/rynrampara.h"
#include "fpga/fpga_manage.h"
#include "ui/frame/imagecache.h"
#include "ui/frame/sourceinfo.h"

#include "ui_machinestate.h"

#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <array>

namespace {
const Text5 kTitle = {"设备信息", "Devices", "Устройство", "Thiết bị", "設備信息"};

constexpr int PORT_COUNT = 16;

// The application's own version and date, as BCD-style numbers.
constexpr int APP_MAJOR = 11, APP_MINOR = 2, APP_PATCH = 1;
constexpr int APP_YEAR = 0x2025, APP_MONTH = 0x02, APP_DAY = 0x26;

// The register shadow of FPGA 0, or null while there is no manager or no
// shadow: the version then reads as zeros.
const uint8_t* fpga0_shadow() {
    const fpga_manage* m = fpga_manage::p_fpga_manage;
    return m ? m->MCU_REG_func[0] : nullptr;
}

QString hex2(int v) {
    return QStringLiteral("%1").arg(v, 2, 16, QLatin1Char('0'));
}
QString dec2(int v) {
    return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0'));
}

void set_scaled_pixmap(QLabel* label, const QString& resource) {
    set_label_pixmap(label, resource);
    label->setScaledContents(true);
}
}  // namespace

MachineState::MachineState(QWidget* parent) : FramePage<QDialog>(parent), ui(new Ui::MachineState) {
    ui->setupUi(this);
    ui->label_FPGA1->setGeometry(150, 15, 140, 15);
    ui->label_FPGA2->hide();

    const std::array<QLabel*, SOURCE_COUNT> names = {ui->sourceid0name, ui->sourceid1name, ui->sourceid2name,
                                                     ui->sourceid3name, ui->sourceid4name, ui->sourceid5name};
    for (int k = 0; k < SOURCE_COUNT; ++k) {
        const uint8_t s = sourceinfo::get_source_id_by_listseq(k);
        names[size_t(k)]->setText(
            sourceinfo::get_source_specialstyle0_by_sourceid(s).arg(sourceinfo::get_source_name_by_sourceid(s)));
    }

    ui->Button_back->setIcon(cached_icon(png(QStringLiteral("back.png"))));
    ui->Button_back->setIconSize(QSize(32, 32));
    ui->Button_back->hide();

    initWlan();
    version_changed();
    source_check();

    // A single blank is the "no serial number" mark of the configuration
    // file: the placeholder stays.
    if (g_str_barcode != QLatin1String(" "))
        ui->label_2->setText(QStringLiteral("SN:") + g_str_barcode);
}

MachineState::~MachineState() {
    delete ui;
}

void MachineState::version_changed() {
    ui->label_MCU->setText(QStringLiteral("MCU:V%1.%2.%3 %4-%5-%6")
                               .arg(dec2(APP_MAJOR), dec2(APP_MINOR), dec2(APP_PATCH))
                               .arg(APP_YEAR, 0, 16)
                               .arg(hex2(APP_MONTH), hex2(APP_DAY)));

    const uint8_t* reg = fpga0_shadow();
    auto r = [reg](int n) { return reg ? int(reg[n]) : 0; };
    ui->label_FPGA1->setText(QStringLiteral("FPGA:V%1.00.%2 %3-%4-%5")
                                 .arg(0x11, 0, 16)
                                 .arg(hex2(r(fpga_reg::VERSION_FUNC)))
                                 .arg(0x2000 + r(fpga_reg::VERSION_YEAR), 0, 16)
                                 .arg(hex2(r(fpga_reg::VERSION_MONTH)), hex2(r(fpga_reg::VERSION_DAY))));
}

void MachineState::source_check() {
    const std::array<QLabel*, SOURCE_COUNT> icons = {ui->sourceid0pixmap, ui->sourceid1pixmap, ui->sourceid2pixmap,
                                                     ui->sourceid3pixmap, ui->sourceid4pixmap, ui->sourceid5pixmap};
    const uint8_t* block = RynRamPara::pInstance()->RamParaBlock.data();
    for (int s = 0; s < SOURCE_COUNT; ++s) {
        const int off = blk::input_info(s);
        const bool online = blk::rd16(block, off) != 0 && blk::rd16(block, off + 2) != 0 && block[off + 4] != 0;
        QLabel* icon = icons[sourceinfo::get_listseq_by_source_id(s)];
        sourceinfo::set_sourceonline_pixmap(icon, s, online ? 1 : 0);
        icon->setScaledContents(true);
    }
}

void MachineState::initWlan() {
    delete port_frame;
    port_frame = new QFrame(ui->frame);
    port_frame->setObjectName(QStringLiteral("frame_ports"));
    port_frame->setGeometry(20, 20, 288, 65);
    port_frame->setStyleSheet(QStringLiteral("background-color: rgb(33, 36, 53);"));

    fpga_manage* m = fpga_manage::p_fpga_manage;
    const uint32_t links = m ? m->get_wlan_state() : 0;
    for (int p = 0; p < PORT_COUNT; ++p) {
        const int x = 2 + 18 * p;
        auto* number = new QLabel(QString::number(p + 1), port_frame);
        number->setObjectName(QStringLiteral("port_number_%1").arg(p));
        number->setStyleSheet(QStringLiteral("color: rgb(255, 255, 255);font: 10px"));
        number->setGeometry(x + 4, 13, 12, 14);
        auto* icon = new QLabel(port_frame);
        icon->setObjectName(QStringLiteral("port_icon_%1").arg(p));
        icon->setGeometry(x, 27, 16, 14);
        set_scaled_pixmap(icon, png((links >> p) & 1 ? QStringLiteral("online.png") : QStringLiteral("offline.png")));
    }
    port_frame->show();
}

void MachineState::language_changed() {
    set_fitted_text(ui->label_title, tr5(kTitle));
    // Every language has its own tabs, chosen as every other image is.
    set_scaled_pixmap(ui->label_state1, png_lang(QStringLiteral("output_state.png")));
    set_scaled_pixmap(ui->label_state2, png_lang(QStringLiteral("input_state.png")));
    set_scaled_pixmap(ui->label_state3, png_lang(QStringLiteral("version_state.png")));
}

void MachineState::syncUpdate(int code) {
    if (RynRamPara::pInstance()->RynLanguageChanged())
        language_changed();
    source_check();
    if (fpga_manage::p_fpga_manage && code == SYNC_OUTPUT_LINK)
        initWlan();
}

void MachineState::on_Button_back_clicked() {
    close_page();
}

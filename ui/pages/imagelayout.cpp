#include "ui/pages/imagelayout.h"

#include "ui_imagelayout.h"

#include "core/global.h"
#include "core/jsonfiles.h"
#include "core/ramblock.h"
#include "core/rynrampara.h"
#include "ui/frame/imagecache.h"
#include "ui/frame/sourceinfo.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <array>

namespace {
const Text5 kTitle = {"画面布局", "Screen layout", "Расположение", "Bố cục màn hình", "畫面佈局"};
const Text5 kP2P = {"点对点", "DBD", "Пиксель к пикселю", "Điểm tới điểm", "點對點"};
const Text5 kW = {"宽", "W", "Ширина", "Rộng", "寬"};
const Text5 kH = {"高", "H", "Высота", "Cao", "高"};
const Text5 kMirror = {"镜像", "mirror", "Отражение", "Ảnh phản chiếu", "鏡像"};
const Text5 kStatePrefix = {"画面状态:", "Image state:", "Состояние:", "Trạng thái:", "畫面狀態:"};
const Text5 kOn = {"开启", "ON", "Вкл", "Mở", "開啟"};
const Text5 kOff = {"关闭", "OFF", "Откл", "Đóng", "關閉"};
const Text5 kNumberedName = {"画面名称:画面%d", "Name:Image%d", "Название:Канал%d", "Tên:Hình ảnh%d",
                             "畫面名稱:畫面%d"};
const Text5 kNamePrefix = {"名称:", "Name:", "Название:", "Tên:", "名稱:"};
const Text5 kSourcePrefix = {"信源:", "Source:", "Источник:", "Nguồn tín hiệu:", "信源:"};
const std::array<Text5, 4> kCombo = {{
    {"点对点关闭", "OFF", "Откл", "Đóng", "點對點關閉"},
    {"点对点开启", "ON", "Вкл", "Mở", "點對點開啟"},
    {"HD3,HD4水平拼接", "HD3,HD4 Hor", "Гор HD3,HD4", "Nối ngang HD3,HD4", "HD3,HD4水平拼接"},
    {"HD3,HD4垂直拼接", "HD3,HD4 Ver", "Вер HD3,HD4", "Ghép dọc HD3,HD4", "HD3,HD4垂直拼接"},
}};

const char* const kSelectionStyle = "#frame_image{border:1px solid;border-left-color:rgb(255,171,84);"
                                    "border-right-color:rgb(255,171,84);border-top-color:rgb(255,171,84);}";
const char* const kInfoStyle = "#frame{border:1px solid rgb(255,171,84);}";

// Left edge of the selection frame over window w's tile.
constexpr int kFrameX = 7, kFrameStep = 51, kFrameY = 39, kFrameW = 51, kFrameH = 49;
constexpr uint16_t kOutputP2P = 0x0100;
constexpr int kMirrorCount = 4;

RynRamPara* para() {
    return RynRamPara::pInstance();
}

// The texts of the view can be long in Russian and Vietnamese: each keeps
// to its label, in a smaller size where it must.
void set_text(QLabel* label, const QString& text) {
    set_fitted_text(label, text);
}

// The window's source name. A crop that the table does not hold (an index
// of 40 or more, or a free record) names no source.
QString source_name(int w) {
    RynRamPara* p = para();
    short crop_flag = 0;
    char crop_index = 0;
    const int source = p->RynGetImageSource(p->RamParaBlock.data(), uint8_t(w), &crop_flag, &crop_index, 0);
    if ((p->window_u16(w, blk::WIN_SOURCE) & blk::SOURCE_CROP_BIT) && !crop_flag)
        return QString();
    return sourceinfo::get_source_name_by_sourceid(source);
}
}  // namespace

ImageLayout::ImageLayout(QWidget* parent) : FramePage<QDialog>(parent), ui(std::make_unique<Ui::ImageLayout>()) {
    ui->setupUi(this);
    // An alias comes from a file: shown as it is, never as markup.
    ui->image_name->setTextFormat(Qt::PlainText);
    // A view: the combo shows a value, touch does not open it.
    ui->comboBox_P2P->setAttribute(Qt::WA_TransparentForMouseEvents);
    for (QLineEdit* field : {ui->lineEdit_X, ui->lineEdit_Y, ui->lineEdit_W, ui->lineEdit_H})
        field->setAttribute(Qt::WA_TransparentForMouseEvents);
    for (QLabel* icon : {ui->mirror1, ui->mirror2, ui->mirror3, ui->mirror4})
        icon->setScaledContents(true);
    menulist_init();
    // The entries keep the language the page was opened in.
    QStringList entries;
    for (const Text5& entry : kCombo)
        entries << tr5(entry);
    ui->comboBox_P2P->addItems(entries);
    // The longest entry sets the size for all four (border and padding
    // off). The padding in the form's style sheet matters: without it the
    // label is drawn by the platform style, which keeps room for the hidden
    // arrow.
    QFont font = ui->comboBox_P2P->font();
    const int px = fitting_pixel_size(font, entries.join('\n'), ui->comboBox_P2P->width() - 6);
    if (px != QFontInfo(font).pixelSize()) {
        font.setPixelSize(px);
        ui->comboBox_P2P->setFont(font);
    }
}

ImageLayout::~ImageLayout() = default;

void ImageLayout::menulist_init() {
    ui_window = g_image_current < WINDOW_COUNT ? g_image_current : 0;
}

void ImageLayout::para_init() {
    image_init();
    image_para_update();
}

void ImageLayout::image_init() {
    const int w = ui_window;
    const bool on = para()->window_shown(w);
    set_text(ui->image_state, tr5(kStatePrefix) + tr5(on ? kOn : kOff));
    ui->frame_image->setGeometry(kFrameX + kFrameStep * w, kFrameY, kFrameW, kFrameH);
    set_style(ui->frame_image, kSelectionStyle);
}

void ImageLayout::image_para_update() {
    const int w = ui_window;
    RynRamPara* p = para();

    ALIAS_PARA alias;
    if (get_json_alias_para(&alias, "win", w)) {
        // The alias gives way so that the whole line fits the label.
        const QString prefix = tr5(kNamePrefix);
        const QFontMetrics fm(ui->image_name->font());
        const int room = ui->image_name->width() - fm.horizontalAdvance(prefix);
        set_text(ui->image_name, prefix + fm.elidedText(QString::fromStdString(alias.name), Qt::ElideRight,
                                                        std::max(room, 0), Qt::TextShowMnemonic));
    } else {
        set_text(ui->image_name, fill_numbers(tr5(kNumberedName), {w + 1}));
    }
    set_text(ui->image_source, tr5(kSourcePrefix) + source_name(w));

    const std::array<std::pair<QLineEdit*, int>, 4> values = {{{ui->lineEdit_X, blk::WIN_X},
                                                               {ui->lineEdit_Y, blk::WIN_Y},
                                                               {ui->lineEdit_W, blk::WIN_WIDTH},
                                                               {ui->lineEdit_H, blk::WIN_HEIGHT}}};
    for (const auto& v : values) {
        const QString text = QString::number(p->window_u16(w, v.second));
        if (v.first->text() != text)
            v.first->setText(text);
    }

    mirror_select(p->window_u16(w, blk::WIN_ATTR));

    if (!(p->window_u16(w, blk::WIN_OUTPUT) & kOutputP2P)) {
        ui->comboBox_P2P->setCurrentIndex(0);
    } else {
        switch (p->window_u16(w, blk::WIN_DBD_MODE)) {
        case 0: ui->comboBox_P2P->setCurrentIndex(1); break;
        case 8: ui->comboBox_P2P->setCurrentIndex(2); break;
        case 9: ui->comboBox_P2P->setCurrentIndex(3); break;
        default: ui->comboBox_P2P->setCurrentIndex(-1); break;  // unknown: no entry, not the last window's
        }
    }
    set_style(ui->frame, kInfoStyle);
}

void ImageLayout::mirror_select(int attr) {
    // A value the view does not know lights none, rather than leaving the
    // icon of the window shown before.
    if (attr < 0 || attr >= kMirrorCount)
        attr = kMirrorCount;
    if (attr == mirror_lit)
        return;
    const std::array<QLabel*, kMirrorCount> icons = {ui->mirror1, ui->mirror2, ui->mirror3, ui->mirror4};
    for (int i = 0; i < kMirrorCount; ++i)
        set_label_pixmap(icons[size_t(i)], png(QString("mirror%1_%2.png").arg(i + 1).arg(i == attr ? "on" : "off")));
    mirror_lit = attr;
}

void ImageLayout::language_changed() {
    set_text(ui->label_title, tr5(kTitle));
    set_text(ui->label_P2P, tr5(kP2P));
    // The row of the four fields in one size.
    set_fitted_texts({{ui->label_X, QStringLiteral("X")},
                      {ui->label_Y, QStringLiteral("Y")},
                      {ui->label_W, tr5(kW)},
                      {ui->label_H, tr5(kH)}});
    set_text(ui->label_mirror, tr5(kMirror));
}

void ImageLayout::syncUpdate(int) {
    if (!para()->RynLanguageChanged())
        return;
    language_changed();
    menulist_init();
    image_init();
    image_para_update();
}

void ImageLayout::step_window(int dir) {
    ui_window = uint8_t((ui_window + dir + WINDOW_COUNT) % WINDOW_COUNT);
    image_init();
    image_para_update();
    g_image_current = ui_window;
    para()->test_signal(SYNC_PARA);
}

bool ImageLayout::page_key(PanelKey k, int) {
    switch (k) {
    case PanelKey::Left: step_window(-1); return true;
    case PanelKey::Right: step_window(1); return true;
    case PanelKey::Ok: return true;
    default: return false;
    }
}

void ImageLayout::slot_Button_back_clicked() {
    close_page();
}

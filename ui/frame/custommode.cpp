#include "ui/frame/custommode.h"

#include "core/jsonfiles.h"
#include "core/para_write.h"
#include "core/ramblock.h"
#include "core/rynrampara.h"
#include "ui/frame/lockwindow.h"
#include "ui/frame/mainwindow.h"
#include "ui/frame/ryncontrol.h"
#include "ui/frame/sourceinfo.h"

#include "ui_custommode.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <cstring>

namespace {
const Text5 kTitle = {"用户模式", "User mode", "Слот", "Chế độ người dùng", "用戶模式"};
const Text5 kDelete = {"删除", "Delete", "Удалить", "Xoá bỏ", "刪除"};
const Text5 kUse = {"调用", "Invoke", "Вызвать", "Dùng", "調用"};
const Text5 kUsing = {"使用中\u00AD", "Using", "Использовать", "sử dụng", "使用中\u00AD"};
const Text5 kBlank = {"未保存用户模式数据", "Usermode does not exist", "Данные не сохранены", "Chế độ không được lưu",
                      "未保存用戶模式數據"};
const Text5 kModeName = {"用户模式%d", "MODE %d", "Слот %d", "Chế độ %d", "用戶模式%d"};

const Text5 kNameNoAlias = {"名称:用户模式%d", "Name:Mode%d", "Название:Слот%d", "Tên:Chế độ%d", "名稱:用戶模式%d"};
const Text5 kNamePrefix = {"名称:", "Name:", "Название:", "Tên:", "名稱:"};
const Text5 kLedSize = {"LED参数:%dx%d", "LED size:%dx%d", "Размер LED:%dx%d", "Kích thước LED:%dx%d", "LED參數:%dx%d"};
const Text5 kVolumeOn = {"亮度:%d 对比度:%d 音量:开启", "Bri:%d CTRST:%d Volume:ON",
                         "Яркость:%d Контраст:%d Громкость:Вкл", "Độ sáng:%d Tương phản:%d Âm:Mở",
                         "亮度:%d 對比度:%d 音量:開啟"};
const Text5 kVolumeOff = {"亮度:%d 对比度:%d 音量:关闭", "Bri:%d CTRST:%d Volume:OFF",
                          "Яркость:%d Контраст:%d Громкость:Откл", "Độ sáng:%d Tương phản:%d Âm:đóng",
                          "亮度:%d 對比度:%d 音量:關閉"};
const Text5 kMore = {"更多", "More", "Больше", "Nhiều hơn", "更多"};
const Text5 kWindowOn = {"开启", "ON", "Вкл", "Mở", "開啟"};
const Text5 kWindowOff = {"关闭", "OFF", "Откл", "Đóng", "關閉"};

// The OSD view has words of its own in Chinese; Russian and Vietnamese use
// the English ones.
const Text5 kOsdRegion = {"osd [x:", "osd [x:", "osd [x:", "osd [x:", "osd [x:"};
const Text5 kOsdFont = {"字体大小:", "font size:", "font size:", "font size:", "字體大小:"};
const Text5 kOsdSpacing = {"字-行间距 [h:", "space [h:", "space [h:", "space [h:", "字-行間距 [h:"};
const Text5 kOsdStart = {"字幕坐标[x:", "char[x:", "char[x:", "char[x:", "字幕坐標[x:"};
const Text5 kOsdSpeed = {"速度:", "speed:", "speed:", "speed:", "速度:"};
const std::array<Text5, 6> kOsdEffect = {{
    {"特技:静止", "effect:static", "effect:static", "effect:static", "特技:靜止"},
    {"特技:静止", "effect:static", "effect:static", "effect:static", "特技:靜止"},
    {"特技:上移", "effect:move up", "effect:move up", "effect:move up", "特技:上移"},
    {"特技:下移", "effect:move down", "effect:move down", "effect:move down", "特技:下移"},
    {"特技:左移", "effect:move left", "effect:move left", "effect:move left", "特技:左移"},
    {"特技:右移", "effect:move right", "effect:move right", "effect:move right", "特技:右移"},
}};

const std::array<const char*, WINDOW_COUNT> kWindowColours = {
    "background-color: #D5E5FF;", "background-color: #D4FC79;", "background-color: #FC9D79;",
    "background-color: #7E9AC9;", "background-color: #32CC4C;", "background-color: #4777FF;"};
const char* const kOtherColour = "background-color: #CCCCCC;";
// The mode box and the action buttons draw their own looks.
const FocusStyles kNoLook{};
const char* const kLineStyle = "background-color: #10101C;color: #FFFFFF;";

constexpr int ALIAS_ELIDE_PIXELS = 171;
constexpr int OSD_SAMPLE_LINES = 3;

// Corners inclusive, as the layout is drawn.
QRect corners(int x1, int y1, int x2, int y2) {
    return QRect(QPoint(x1, y1), QPoint(x2, y2));
}

const UserModeSlot& selected_slot() {
    return RynRamPara::pInstance()->UserModes[size_t(g_mode_select % USER_MODE_COUNT)];
}

// A colour text of the OSD file ("0xRRGGBB") without its first two
// characters. The file comes from the PC and the digits go into a style
// sheet: anything but hex digits (a "url(...)" would make Qt open any file)
// gives no colour, as a missing or short text does.
QString colour_digits(const std::string& text) {
    static const QRegularExpression hex(QStringLiteral("^0[xX]([0-9a-fA-F]{3}|[0-9a-fA-F]{6}|[0-9a-fA-F]{8})$"));
    const QRegularExpressionMatch m = hex.match(QString::fromStdString(text));
    return m.hasMatch() ? m.captured(1) : QString();
}

QString first_lines(const QString& text, int max) {
    const QStringList lines = text.split(QLatin1Char('\n'));
    return lines.size() > max ? lines.mid(0, max).join(QLatin1Char('\n')) : text;
}
}  // namespace

CustomMode::CustomMode(QWidget* parent)
    : FramePage<QWidget>(parent), ui(new Ui::CustomMode),
      style_focus(QStringLiteral("background-color: #212435;color: rgb(255, 255, 255);border:1px "
                                 "solid rgb(255, 171, 84);")),
      style_default(QStringLiteral("background-color: #212435;color: rgb(255, 255, 255);border:1px "
                                   "solid rgb(255, 255, 255);")) {
    ui->setupUi(this);
    preview_font.setPixelSize(10);
    ui->lineEdit->setReadOnly(true);
    ui->label_blank->hide();
    // The mode's alias comes from a file: shown as written, never as markup.
    ui->label_name->setTextFormat(Qt::PlainText);

    box = new ryncontrol(corners(19, 0, 118, 21), corners(0, 0, 19, 21), corners(118, 0, 137, 21), this);
    box->setGeometry(3, 28, 320, 24);
    build_preview();

    // Browsing: one entry per slot, Left/Right step the mode with
    // wrap-around; the mode box has its own looks.
    focus.styles = &kNoLook;
    focus.moved = [this](int i) {
        box->set_box_default();
        box->set_boxindexsel(char(i));
        ryn_button_mode_clicked();
    };
    focus.ok = [this](int) { enter_row(); };
    // The action row: its Left/Right are the page's own (the row's length
    // changes with each redraw).
    row.styles = &kNoLook;
    row.set_count(3);
    row.ok = [this](int) {
        const int pressed = button_select;
        leave_row();
        if (pressed == 0)
            on_Button_use_clicked();
        else if (pressed == 1)
            on_Button_delete_clicked();
        ryn_button_selinfo(2, 0);
        if (pressed == 2)
            ryn_button_mode_clicked();  // the focus left More: the windows again, not its OSD view
    };
    row.back = [this] {
        leave_row();
        ryn_button_selinfo(2, 0);
        ryn_button_mode_clicked();  // from the OSD view back to the windows
    };
}

void CustomMode::para_init() {
    const int current = RynRamPara::pInstance()->RynGetCurrentModeIndex();
    g_mode_select = uint8_t(current > 0 ? current - 1 : 0);
    init();
    lcd_para_init();
    image_para_init();
    menulist_init();
    set_style(ui->Button_use, style_default);
}

CustomMode::~CustomMode() {
    delete ui;
}

void CustomMode::init() {
    QStringList names;
    for (int i = 1; i <= USER_MODE_COUNT; ++i)
        names << fill_numbers(tr5(kModeName), {i});
    box->combo->clear();
    box->combo->insertItems(0, names);
    box->setFocusPolicy(Qt::NoFocus);
    box->combo->setFocusPolicy(Qt::NoFocus);
    box->set_boxindexsel(char(g_mode_select));
}

void CustomMode::menulist_init() {
    focus.set_count(USER_MODE_COUNT);
    focus.select(g_mode_select);
    set_level(focus);
    button_select = 0;
    box->set_box_default();
}

void CustomMode::language_changed() {
    set_fitted_text(ui->label_title, tr5(kTitle));
    text_buttons();
    set_fitted_text(ui->label_using, tr5(kUsing));
    set_fitted_text(ui->label_blank, tr5(kBlank));
}

bool CustomMode::get_mode_status() const {
    return RynRamPara::pInstance()->RynUserModeSaved(g_mode_select) != 0;
}

void CustomMode::text_buttons() {
    set_fitted_texts({{ui->Button_use, tr5(kUse)}, {ui->Button_delete, tr5(kDelete)}, {ui->Button_more, tr5(kMore)}});
}

void CustomMode::color_fill(QLabel* label, char index) {
    const int i = static_cast<unsigned char>(index);
    set_style(label, QString::fromLatin1(i < WINDOW_COUNT ? kWindowColours[size_t(i)] : kOtherColour));
}

void CustomMode::ryn_button_mode_clicked() {
    g_mode_select = uint8_t(mode_sel());
    lcd_para_init();
    image_para_init();
}

QPushButton* CustomMode::action_button(int index) const {
    switch (index) {
    case 0: return ui->Button_use;
    case 1: return ui->Button_delete;
    case 2: return ui->Button_more;
    default: return nullptr;
    }
}

void CustomMode::ryn_button_selinfo(char mode, char index) {
    QPushButton* button = action_button(static_cast<unsigned char>(index));
    switch (mode) {
    case 0:
        if (button)
            set_style(button, style_focus);
        ryn_button_mode_clicked();
        break;
    case 1:
        if (button)
            set_style(button, style_default);
        break;
    case 2:
        for (int i = 0; i < 3; ++i)
            set_style(action_button(i), style_default);
        break;
    default: break;
    }
}

void CustomMode::lcd_para_init() {
    const UserModeSlot& slot = selected_slot();
    const RynRamPara* p = RynRamPara::pInstance();

    ALIAS_PARA alias;
    QString name = fill_numbers(tr5(kNameNoAlias), {g_mode_select + 1});
    if (get_json_alias_para(&alias, "usermode", g_mode_select))
        name =
            QFontMetrics(ui->label_name->font())
                .elidedText(tr5(kNamePrefix) + QString::fromStdString(alias.name), Qt::ElideRight, ALIAS_ELIDE_PIXELS);
    // The slot's own audio window, from a file or the PC: an index past the
    // six windows reads window 0, never past the slot.
    int audio_window = slot.u16(blk::AUDIO_WINDOW) & 0xFF;
    if (audio_window >= WINDOW_COUNT)
        audio_window = 0;
    const bool sound_on = slot.u16(blk::window(audio_window, blk::WIN_AUDIO)) & blk::AUDIO_ON;
    // The four lines in one size: the block reads as one.
    set_fitted_texts(
        {{ui->label_ID, QStringLiteral("ID:%1").arg(g_mode_select + 1)},
         {ui->label_name, name},
         {ui->label_LED, fill_numbers(tr5(kLedSize), {slot.u16(blk::LED_WIDTH), slot.u16(blk::LED_HEIGHT)})},
         {ui->label_brightness,
          fill_numbers(tr5(sound_on ? kVolumeOn : kVolumeOff), {slot.u16(blk::BRIGHTNESS), slot.u16(blk::CONTRAST)})}});
    text_buttons();
    ui->label_using->setVisible(p->RynGetCurrentModeIndex() == g_mode_select + 1);
}

// The preview's labels are made once; a redraw fills them in place.
void CustomMode::build_preview() {
    preview = new QWidget(ui->frame);
    preview->setObjectName(QStringLiteral("preview"));
    preview->setGeometry(3, 61, 285, 90);
    preview->setMinimumSize(50, 60);
    auto make = [this](const QString& name, const QRect& r) {
        auto* l = new QLabel(preview);
        l->setObjectName(name);
        l->setGeometry(r);
        l->setFont(preview_font);
        return l;
    };
    for (int w = 0; w < WINDOW_COUNT; ++w) {
        const int column = w / 3;
        const int y = 16 + 30 * (w % 3);
        const QString n = QString::number(w);
        tile[size_t(w)] = make(QStringLiteral("window_tile_") + n,
                               column ? corners(145, y - 14, 168, y + 9) : corners(0, y - 14, 23, y + 9));
        tile[size_t(w)]->setAlignment(Qt::AlignCenter);
        tile[size_t(w)]->setText(QString::number(w + 1));
        color_fill(tile[size_t(w)], char(w));
        source_line[size_t(w)] = make(QStringLiteral("window_source_") + n,
                                      column ? corners(171, y - 14, 270, y - 3) : corners(24, y - 14, 123, y - 3));
        position_line[size_t(w)] = make(QStringLiteral("window_position_") + n,
                                        column ? corners(171, y, 310, y + 11) : corners(24, y, 163, y + 11));
        // A 13-pixel line in a 12-pixel row: on the bottom edge it gives up
        // the empty row above the capitals, not the underscore of "_Crop".
        for (QLabel* l : {source_line[size_t(w)], position_line[size_t(w)]}) {
            l->setStyleSheet(QString::fromLatin1(kLineStyle));
            l->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
        }
    }
    osd_info = make(QStringLiteral("osd_info"), corners(2, 56, 301, 85));
    osd_info->setStyleSheet(QString::fromLatin1(kLineStyle));
    osd_sample = make(QStringLiteral("osd_sample"), corners(6, 2, 305, 51));
    preview->hide();
}

void CustomMode::image_para_init() {
    const RynRamPara* p = RynRamPara::pInstance();
    if (!p->RynUserModeSaved(g_mode_select)) {
        for (QWidget* w : {static_cast<QWidget*>(ui->label_LED), static_cast<QWidget*>(ui->label_brightness),
                           static_cast<QWidget*>(ui->Button_delete), static_cast<QWidget*>(ui->Button_use),
                           static_cast<QWidget*>(ui->label_using), static_cast<QWidget*>(ui->Button_more)})
            w->hide();
        ui->label_blank->show();
        button_hidden = 1;
        preview->hide();
        return;
    }
    for (QWidget* w : {static_cast<QWidget*>(ui->label_LED), static_cast<QWidget*>(ui->label_brightness),
                       static_cast<QWidget*>(ui->Button_delete), static_cast<QWidget*>(ui->Button_use)})
        w->show();
    ui->label_blank->hide();
    ui->label_using->setVisible(p->RynGetCurrentModeIndex() == g_mode_select + 1);

    const bool osd = selected_slot().u16(blk::OSD_ENABLE) != 0;
    ui->Button_more->setVisible(osd);
    button_hidden = osd ? 0 : 1;

    if (ui_edit() && button_hidden == 0 && button_select == 2)
        show_osd_view();
    else
        show_window_list();
    preview->show();
}

void CustomMode::show_window_list() {
    const RynRamPara* p = RynRamPara::pInstance();
    const UserModeSlot& slot = selected_slot();
    osd_info->hide();
    osd_sample->hide();
    for (int w = 0; w < WINDOW_COUNT; ++w) {
        short crop = 0;
        char crop_index = 0;
        const int source = p->RynGetImageSource(slot.data(), uint8_t(w), &crop, &crop_index, 1);
        const uint16_t word = slot.u16(blk::window(w, blk::WIN_SOURCE));
        QString text;
        if (word & blk::SOURCE_CROP_BIT) {
            // Named by the crop's own number, as the home screen and the
            // source page name it; a crop the slot's table does not hold has
            // no source to name and keeps the table position.
            const int k = word & 0xFF;
            const int number = crop ? (slot.data()[blk::crop(k) + blk::CROP_ID - blk::MODE_BEGIN] & 0x7F) + 1 : k + 1;
            text = crop ? sourceinfo::get_source_name_by_sourceid(source) : QString();
            text += QStringLiteral("_Crop%1").arg(number);
        } else {
            text = sourceinfo::get_source_name_by_sourceid(source);
        }
        text += QLatin1Char(' ') +
                tr5(blk::window_shown(slot.u16(blk::window(w, blk::WIN_ENABLE))) ? kWindowOn : kWindowOff);
        set_fitted_text(source_line[size_t(w)], text);
        set_fitted_text(position_line[size_t(w)], QStringLiteral("[%1,%2]%3x%4")
                                                      .arg(slot.u16(blk::window(w, blk::WIN_X)))
                                                      .arg(slot.u16(blk::window(w, blk::WIN_Y)))
                                                      .arg(slot.u16(blk::window(w, blk::WIN_WIDTH)))
                                                      .arg(slot.u16(blk::window(w, blk::WIN_HEIGHT))));
        tile[size_t(w)]->show();
        source_line[size_t(w)]->show();
        position_line[size_t(w)]->show();
    }
}

void CustomMode::show_osd_view() {
    for (int w = 0; w < WINDOW_COUNT; ++w) {
        tile[size_t(w)]->hide();
        source_line[size_t(w)]->hide();
        position_line[size_t(w)]->hide();
    }
    // Numbers 0 and texts empty unless the file says otherwise: a missing
    // or broken file shows zeros.
    OSD_LIST list;
    const QByteArray file = QString::asprintf("/data/modes/MO%02x.json", g_mode_select + 1).toLatin1();
    get_json_omenu_para(file.constData(), &list);
    const OMENU_PARA& m = list.menu;
    const int effect = m.effect >= 0 && m.effect < int(kOsdEffect.size()) ? m.effect : 0;
    set_fitted_text(osd_info,
                    tr5(kOsdRegion) + QStringLiteral("%1,y:%2,w:%3,h:%4] ").arg(m.x).arg(m.y).arg(m.w).arg(m.h) +
                        tr5(kOsdFont) + QStringLiteral("%1*%2\n").arg(m.fontw).arg(m.fonth) + tr5(kOsdSpacing) +
                        QStringLiteral("%1,v:%2] ").arg(m.wordspace).arg(m.verticalspace) + tr5(kOsdStart) +
                        QStringLiteral("%1,y:%2] ").arg(m.startx).arg(m.starty) + tr5(kOsdSpeed) +
                        QStringLiteral("%1,").arg(m.speed) + tr5(kOsdEffect[size_t(effect)]));
    set_style(osd_sample, QStringLiteral("background-color:#") + colour_digits(m.back_color) +
                              QStringLiteral(";color:#") + colour_digits(m.font_color) + QStringLiteral(";"));
    set_fitted_text(osd_sample, first_lines(QString::fromStdString(m.texts), OSD_SAMPLE_LINES));
    osd_info->show();
    osd_sample->show();
}

void CustomMode::on_Button_use_clicked() {
    if (!get_mode_status())
        return;
    const int slot = g_mode_select;
    para_write([slot](RynRamPara& p) {
        p.set_u16(blk::CURRENT_MODE, uint16_t(slot + 1));
        std::memcpy(p.RamParaBlock.data() + blk::MODE_BEGIN, p.UserModes[size_t(slot)].data(), blk::MODE_SIZE);
        // A save still waiting would otherwise store the invoked mode over
        // the slot it names.
        p.set_u16(blk::MODE_SAVE_REQUEST, 0);
    });
    ui->label_using->show();  // the mode shown is the one in use now
}

void CustomMode::on_Button_delete_clicked() {
    if (!get_mode_status())
        return;
    RynRamPara::pInstance()->mode_file_deal(g_mode_select, 1);
    lcd_para_init();
    image_para_init();
}

void CustomMode::slot_Button_back_clicked() {
    close_page();
}

void CustomMode::enter_row() {
    if (!get_mode_status())
        return;
    set_level(row);
    box->set_box_modify();
    button_select = 0;
    row.select(0);
    ryn_button_selinfo(0, 0);
}

void CustomMode::leave_row() {
    set_level(focus);
    box->set_box_default();
}

// The row holds 3 - button_hidden buttons. A redraw may hide More while it
// has the focus, so the wrap is "at or past the count".
void CustomMode::step_button(int delta) {
    const int count = 3 - button_hidden;
    ryn_button_selinfo(1, char(button_select));
    int next = button_select + delta;
    if (next < 0)
        next = count - 1;
    else if (next >= count)
        next = 0;
    button_select = uint8_t(next);
    row.select(next);
    ryn_button_selinfo(0, char(button_select));
}

bool CustomMode::page_key(PanelKey k, int) {
    if (k == PanelKey::Mode)
        return true;  // only the keypad handler sees it here
    if (level == &row && (k == PanelKey::Left || k == PanelKey::Right)) {
        step_button(k == PanelKey::Left ? -1 : 1);
        return true;
    }
    return false;
}

// Back while browsing: to the home screen when MODE opened the page, else
// to the main menu.
void CustomMode::back_pressed() {
    if (g_mode_shortcut_key == 1) {
        g_mode_shortcut_key = 0;
        close_page();
        pages::open<LockWindow>(false);
    } else {
        slot_Button_back_clicked();
    }
}

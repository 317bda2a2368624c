#include "ui/pages/inputcut.h"

#include "core/global.h"
#include "core/jsonfiles.h"
#include "core/rynrampara.h"
#include "ui/frame/sourceinfo.h"
#include "ui_inputcut.h"

#include <QFont>
#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <algorithm>
#include <cstring>

namespace {
const Text5 kTitle = {"输入截取", "Input intercept", "Источник", "Chặn nguồn vào", "輸入截取"};
const Text5 kCrop = {"截取:", "Crop:", "Обрезать:", "Cắt:", "截取:"};
const Text5 kWidth = {"宽", "W", "Ширина", "Rộng", "寬"};
const Text5 kHeight = {"高", "H", "Высота", "Cao", "高"};
const Text5 kCancel = {"取消", "Cancle", "Отмена", "Hủy bỏ", "取消"};
const Text5 kOk = {"确定", "OK", "OK", "Đồng ý", "確定"};
const Text5 kDelete = {"删除", "Delete", "Удалить", "Xoá bỏ", "删除"};
const Text5 kNamePrefix = {"名称:", "Name:", "Название:", "Tên:", "名稱:"};
const Text5 kNoSignal = {"无信号", "No signal", "Нет сигнала", "Không có tín hiệu", "無信號"};

const QString kRowFocusBrowsing =
    "border:1px solid;background-color: rgb(16,16, 28);border-left-color:rgb(255,171,84);"
    "border-right-color:rgb(255,171,84);border-top-color:rgb(255,171,84);";
const QString kRowFocusIdle =
    "border:1px solid;background-color: rgb(16,16, 28);border-left-color:rgb(71, 119, 255);"
    "border-right-color:rgb(71, 119, 255);border-top-color:rgb(71, 119, 255);";
const QString kListBrowsing =
    "#frame_source{background-color: rgb(16,16, 28);border:1px solid rgb(255,171,84);}";
const QString kListIdle =
    "#frame_source{background-color: rgb(16,16, 28);border:1px solid rgb(71, 119, 255);}";
const QString kTileNormal = "background-color: #212435;border:1px solid #CCCCCC;";
const QString kTileFocused = "background-color: #212435;border:1px solid #FFA854;";
const QString kTileText = "background-color:#212435;color:#FFFFFF";
const QString kTileIcon = "background-color: #212435;";
const QString kAddFocused = "border:1px solid rgb(255,171,84);";
const QString kAddNormal = "border:0px solid rgb(0,0,0);";
const QString kEditorNormal = "color:rgb(255, 255, 255);background-color: rgb(33, 36, 53);"
                              "border:1px solid rgb(255, 255, 255);font:10px";
const QString kEditorFocused = "color:rgb(255, 255, 255);background-color: rgb(33, 36, 53);"
                               "border:1px solid rgb(255,171,84);font:10px";

constexpr int BUTTON_Y = 210, BUTTON_W = 60, BUTTON_H = 18;

RynRamPara* para() {
    return RynRamPara::pInstance();
}

// Styles are set only when they change: a restyle re-polishes the widget.
void set_style(QWidget* w, const QString& style) {
    if (w && w->styleSheet() != style)
        w->setStyleSheet(style);
}

QFont pixel_font(int px) {
    QFont f;
    f.setPixelSize(px);
    return f;
}

// A field's text as the signed 16-bit number the table stores; anything
// else (empty, not a number, outside -32768..32767) is 0.
int read_short(const QString& text) {
    bool ok = false;
    const short v = text.toShort(&ok);
    return ok ? v : 0;
}

// List entry (1..) of crop number `number` among the crops of `source`, in
// ascending crop number; 0 when the source has no such crop.
int entry_of_crop(int source, int number) {
    if (number < 1)
        return 0;
    for (int e = 1; e <= CROP_COUNT; ++e) {
        const int id = para()->RynGetCropID(source, e);
        if (id == 0)
            return 0;
        if (id == number)
            return e;
    }
    return 0;
}

QString alias_name(const char* kind, int id, bool* found) {
    ALIAS_PARA alias;
    *found = get_json_alias_para(&alias, kind, id) != 0;
    return *found ? QString::fromStdString(alias.name) : QString();
}
} // namespace

InputCut::InputCut(QWidget* parent) : FramePage<QDialog>(PAGE_INPUTCUT, parent), ui(new Ui::InputCut) {
    ui->setupUi(this);
    row_names = {ui->sourcelistseq0name, ui->sourcelistseq1name, ui->sourcelistseq2name,
                 ui->sourcelistseq3name, ui->sourcelistseq4name, ui->sourcelistseq5name};

    source_focus_frame = new QFrame(this);
    source_focus_frame->setGeometry(1, 40, 53, 41);
    source_focus_frame->setStyleSheet(kRowFocusBrowsing);
    source_focus_frame->lower();

    const std::array<QLabel*, SOURCE_COUNT> icons = {
        ui->sourcelistseq0pixmap, ui->sourcelistseq1pixmap, ui->sourcelistseq2pixmap,
        ui->sourcelistseq3pixmap, ui->sourcelistseq4pixmap, ui->sourcelistseq5pixmap};
    for (int p = 0; p < SOURCE_COUNT; ++p)
        sourceinfo::set_source_pixmap(icons[size_t(p)], sourceinfo::get_source_id_by_listseq(p));

    para()->RynCropSourceInit();
    crop_source_num_update();

    source_name = sourceinfo::get_source_name_by_listseq(0);
    menulist_init();
    build_crop_list();
    source_init();
    ui->frame_add->hide();

    auto make_button = [this](const Text5& text) {
        auto* b = new QPushButton(QString::fromUtf8(text[LANG_SCHINESE]), this);
        b->setStyleSheet(kEditorNormal);
        b->setFocusPolicy(Qt::NoFocus);
        b->setAutoDefault(false);
        b->resize(BUTTON_W, BUTTON_H);
        b->hide();
        return b;
    };
    button_cancel = make_button(kCancel);
    button_ok = make_button(kOk);
    button_delete = make_button(kDelete);
    button_cancel->setObjectName(QStringLiteral("button_cancel"));
    button_ok->setObjectName(QStringLiteral("button_ok"));
    button_delete->setObjectName(QStringLiteral("button_delete"));
    for (int e = ED_X; e <= ED_H; ++e) {
        set_style(field(e), kEditorNormal);
        connect_number_field(field(e));
    }
    language_changed();
}

InputCut::~InputCut() {
    delete ui;
}

void InputCut::menulist_init() {
    ui_select = 0;
    ui_level = LEVEL_SOURCES;
}

void InputCut::build_crop_list() {
    frame_source = new QFrame(this);
    frame_source->setObjectName(QStringLiteral("frame_source"));
    frame_source->setGeometry(1, 80, 318, 120);
    frame_source->setStyleSheet(kListBrowsing);
    const QPixmap state(png(QStringLiteral("state_on.png")));
    for (int t = 0; t < TILES_PER_PAGE; ++t) {
        const int dx = 95 * (t % 3), dy = 55 * (t / 3);
        Tile& tile = tiles[size_t(t)];
        tile.frame = new QFrame(frame_source);
        tile.frame->setObjectName(QStringLiteral("tile%1").arg(t));
        tile.frame->setGeometry(5 + dx, 10 + dy, 92, 45);
        tile.frame->setStyleSheet(kTileNormal);
        tile.state = new QLabel(frame_source);
        tile.state->setGeometry(10 + dx, 12 + dy, 7, 7);
        tile.state->setScaledContents(true);
        tile.state->setPixmap(state);
        tile.icon = new QLabel(frame_source);
        tile.icon->setGeometry(20 + dx, 12 + dy, 25, 8);
        tile.icon->setScaledContents(true);
        tile.icon->setStyleSheet(kTileIcon);
        tile.name = new QLabel(frame_source);
        tile.name->setObjectName(QStringLiteral("name%1").arg(t));
        tile.name->setGeometry(7 + dx, 23 + dy, 80, 12);
        tile.name->setFont(pixel_font(10));
        // The size line holds "1920x1080@60Hz" and the no-signal texts.
        tile.size = new QLabel(frame_source);
        tile.size->setObjectName(QStringLiteral("size%1").arg(t));
        tile.size->setGeometry(7 + dx, 38 + dy, 84, 12);
        tile.size->setFont(pixel_font(9));
        for (QLabel* l : {tile.name, tile.size}) {
            l->setStyleSheet(kTileText);
            l->setTextFormat(Qt::PlainText);
        }
    }
    add_button = new QPushButton(frame_source);
    add_button->setObjectName(QStringLiteral("add_button"));
    add_button->setGeometry(292, 10, 20, 20);
    add_button->setIcon(QIcon(png(QStringLiteral("add.png"))));
    add_button->setIconSize(QSize(20, 20));
    add_button->setFocusPolicy(Qt::NoFocus);
    add_button->setAutoDefault(false);
    add_button->setStyleSheet(kAddNormal);
    frame_source->lower();
}

void InputCut::crop_source_num_update() {
    for (int s = 0; s < SOURCE_COUNT; ++s)
        entry_count[size_t(s)] = uint8_t(para()->RynGetSourceNum(s, CROP_COUNT) + 1);
    source_name_update();
}

int InputCut::get_source_num(int id) const {
    return (id >= 0 && id < SOURCE_COUNT) ? entry_count[size_t(id)] : 0;
}

void InputCut::source_name_update() {
    const QFontMetrics metrics(pixel_font(9));
    for (int p = 0; p < SOURCE_COUNT; ++p) {
        const uint8_t id = sourceinfo::get_source_id_by_listseq(p);
        QLabel* label = row_names[size_t(p)];
        bool found = false;
        const QString alias = alias_name("source", id, &found);
        // A user's name is plain text in a rich-text label.
        const QString name =
            found ? metrics.elidedText(alias, Qt::ElideRight, label->width() - 16).toHtmlEscaped()
                  : sourceinfo::get_source_name_by_listseq(p);
        label->setText(sourceinfo::get_source_specialstyle1_by_sourceid(
            id, name, uint8_t(get_source_num(id))));
    }
}

void InputCut::source_current_check() {
    max_source_info = para()->RynGetSourceNum(select_source, CROP_COUNT) + 1;
    max_page = uint8_t(max_source_info / TILES_PER_PAGE -
                       (max_source_info % TILES_PER_PAGE == 0 ? 1 : 0));
}

void InputCut::ryn_button_input_clicked() {
    if (ui_level == LEVEL_SOURCES) {
        select_source = sourceinfo::get_source_id_by_listseq(ui_select);
        source_name = sourceinfo::get_source_name_by_listseq(ui_select);
        source_focus_frame->move(1 + 53 * ui_select, 40);
        set_style(source_focus_frame, kRowFocusBrowsing);
    } else {
        set_style(source_focus_frame, kRowFocusIdle);
    }
    source_focus_frame->lower();
    source_init();
}

void InputCut::source_init() {
    source_current_check();
    RynRamPara* p = para();
    set_style(frame_source, ui_level == LEVEL_SOURCES ? kListBrowsing : kListIdle);
    const int shown = std::clamp(max_source_info - TILES_PER_PAGE * current_pag, 0, TILES_PER_PAGE);
    // Every tile shows the DVI connector for DVI and the HDMI one otherwise.
    const int icon_source = select_source == 1 ? 1 : 0;
    const bool new_icon = icon_source != tile_icon_source;
    tile_icon_source = icon_source;
    for (int t = 0; t < TILES_PER_PAGE; ++t) {
        const Tile& tile = tiles[size_t(t)];
        const bool visible = t < shown;
        if (new_icon)
            sourceinfo::set_source_pixmap(tile.icon, icon_source);
        for (QWidget* w : std::initializer_list<QWidget*>{tile.frame, tile.state, tile.icon,
                                                          tile.name, tile.size})
            w->setVisible(visible);
        if (!visible)
            continue;
        const int e = TILES_PER_PAGE * current_pag + t;
        const bool focused = ui_level == LEVEL_CROPS &&
                             ((current_pag == 0 && ui_select != 0 && ui_select == t + 1) ||
                              (current_pag != 0 && ui_select == t));
        set_style(tile.frame, focused ? kTileFocused : kTileNormal);

        if (e == 0) {
            tile.name->setText(source_name);
            const int off = blk::input_info(select_source);
            const int w = p->u16(off), h = p->u16(off + 2), rate = p->RamParaBlock[size_t(off + 4)];
            tile.size->setText(w && h && rate ? QString::asprintf("%dx%d@%dHz", w, h, rate)
                                              : tr5(kNoSignal));
            continue;
        }
        // Zeroed, so that an entry without a record (a crop number the
        // table holds twice) shows zeros rather than stale values.
        CROP_PARA crop;
        int index = CROP_COUNT;
        p->RynGetCropPara(select_source, e, &crop, &index);
        bool found = false;
        const QString alias = index < CROP_COUNT ? alias_name("crop", index, &found) : QString();
        tile.name->setText(
            found ? tile.name->fontMetrics().elidedText(alias, Qt::ElideRight, tile.name->width())
                  : source_name + QString::asprintf("_crop%d", ((crop.para[0] >> 8) & 0x7F) + 1));
        tile.size->setText(QString::asprintf("%dx%d", crop.para[3], crop.para[4]));
    }
    set_style(add_button,
              ui_level == LEVEL_CROPS && ui_select == 0 && current_pag == 0 ? kAddFocused
                                                                             : kAddNormal);
}

QWidget* InputCut::editor_widget(int entry) const {
    switch (entry) {
    case ED_X: return ui->lineEdit_X;
    case ED_Y: return ui->lineEdit_Y;
    case ED_W: return ui->lineEdit_W;
    case ED_H: return ui->lineEdit_H;
    case ED_DELETE: return button_delete;
    case ED_CANCEL: return button_cancel;
    case ED_OK: return button_ok;
    default: return nullptr;
    }
}

My_lineEdit* InputCut::field(int entry) const {
    return entry >= ED_X && entry <= ED_H ? static_cast<My_lineEdit*>(editor_widget(entry))
                                          : nullptr;
}

void InputCut::ryn_sel_info(int index, int mode, int n) {
    if (mode == 2) {
        set_style(ui->lineEdit_X, kEditorNormal);
        return;
    }
    if (QWidget* w = editor_widget(index - n))
        set_style(w, mode == 1 ? kEditorFocused : kEditorNormal);
}

void InputCut::set_editor_title() {
    ui->label_change_source->setText(tr5(kNamePrefix) + crop_name);
}

void InputCut::open_editor(Level level) {
    editor_base = max_source_info;
    editor_level = level;
    add_button->hide();
    set_editor_title();
    const bool existing = level == LEVEL_EDIT;
    button_delete->setVisible(existing);
    button_delete->move(50, BUTTON_Y);
    button_cancel->move(existing ? 120 : 80, BUTTON_Y);
    button_ok->move(existing ? 190 : 150, BUTTON_Y);
    ui->frame_add->show();
    button_cancel->show();
    button_ok->show();
}

void InputCut::ryn_button_add_clicked() {
    edited_crop = 0;
    crop_name =
        source_name + QString::asprintf("-Crop-%d", para()->RynGetSourceNum(select_source, CROP_COUNT) + 1);
    ui->lineEdit_X->setText(QStringLiteral("0"));
    ui->lineEdit_Y->setText(QStringLiteral("0"));
    ui->lineEdit_W->setText(QStringLiteral("1920"));
    ui->lineEdit_H->setText(QStringLiteral("1080"));
    open_editor(LEVEL_NEW);
}

void InputCut::ryn_button_source_clicked() {
    crop_number = uint8_t(current_pag == 0 ? ui_select - 1 : TILES_PER_PAGE * current_pag + ui_select);
    if (crop_number == 0) {
        para_changed_over();
        return;
    }
    crop_name = source_name + QString::asprintf("-Crop-%d", crop_number);
    // The crop is remembered by its own number: its list position moves
    // when the PC adds or deletes a crop of this source meanwhile.
    edited_crop = para()->RynGetCropID(select_source, crop_number);
    CROP_PARA crop;
    int index = CROP_COUNT;
    para()->RynGetCropPara(select_source, crop_number, &crop, &index);
    for (int e = ED_X; e <= ED_H; ++e)
        field(e)->setText(QString::asprintf("%d", crop.para[1 + e]));
    open_editor(LEVEL_EDIT);
}

void InputCut::ryn_button_ok_clicked() {
    CROP_PARA values;
    values.para[0] = select_source;
    for (int e = ED_X; e <= ED_H; ++e)
        values.para[1 + e] = read_short(field(e)->text());
    RynRamPara* p = para();
    p->RynCropSourceInit(); // the PC may have changed the table since the last refresh
    if (editor_level == LEVEL_NEW) {
        p->RynAddNewCrop(select_source, &values);
    } else {
        const int entry = entry_of_crop(select_source, edited_crop);
        if (entry > 0)
            p->RynSetCropPara(char(select_source), char(entry), &values);
        else
            qWarning("InputCut: crop %d of source %d is gone, nothing stored", edited_crop,
                     select_source);
    }
    p->RynCropSourceInit();
    crop_source_num_update();
    source_init();
    para_changed_over();
}

void InputCut::ryn_button_cancel_clicked() {
    source_init();
    para_changed_over();
}

void InputCut::ryn_button_delete_clicked() {
    RynRamPara* p = para();
    p->RynCropSourceInit();
    const int entry = entry_of_crop(select_source, edited_crop);
    if (entry > 0)
        p->RynDeleteCrop(char(select_source), char(entry));
    else
        qWarning("InputCut: crop %d of source %d is gone, nothing deleted", edited_crop,
                 select_source);
    p->RynCropSourceInit();
    crop_source_num_update();
    source_init();
    para_changed_over();
}

void InputCut::para_changed_over() {
    ui->frame_add->hide();
    button_cancel->hide();
    button_ok->hide();
    button_delete->hide();
    // The next editor opens with only its X field focused.
    for (int e = ED_X; e < ED_COUNT; ++e)
        set_style(editor_widget(e), kEditorNormal);
    edited_crop = 0;
    add_button->show();
}

void InputCut::slot_Button_back_clicked() {
    close_page();
}

void InputCut::language_changed() {
    ui->label_title->setText(tr5(kTitle));
    ui->label_crop->setText(tr5(kCrop));
    ui->label_W->setText(tr5(kWidth));
    ui->label_H->setText(tr5(kHeight));
    button_cancel->setText(tr5(kCancel));
    button_ok->setText(tr5(kOk));
    button_delete->setText(tr5(kDelete));
    if (!ui->frame_add->isHidden())
        set_editor_title();
    source_init(); // the no-signal text
}

QString InputCut::number_title(const My_lineEdit* f) const {
    if (f == ui->lineEdit_W)
        return tr5(kKeypadTitleWidth);
    if (f == ui->lineEdit_H)
        return tr5(kKeypadTitleHeight);
    return f == ui->lineEdit_Y ? QStringLiteral("Y") : QStringLiteral("X");
}

void InputCut::confirmString(const QString& text) {
    if (!g_lineedit) {
        qWarning("InputCut: keypad result without a field");
        return;
    }
    g_lineedit->setText(text);
}

void InputCut::syncUpdate(int code) {
    RynRamPara* p = para();
    if (p->RynLanguageChanged())
        language_changed();
    const bool crops_changed =
        std::memcmp(p->RamParaBlock.data() + blk::CROP, p->RamParaShadow.data() + blk::CROP,
                    size_t(CROP_COUNT * blk::CROP_SIZE)) != 0;
    if (crops_changed || code == SYNC_PC_FILE_END) {
        // An open editor stays open: it knows its crop by number.
        p->RynCropSourceInit();
        crop_source_num_update();
        source_init();
    } else if (code == SYNC_INPUT_TIMING) {
        source_init(); // the whole input's size line
    }
}

bool InputCut::page_key(PanelKey k, int) {
    if (k != PanelKey::Left && k != PanelKey::Right && k != PanelKey::Ok && k != PanelKey::Back)
        return false; // MODE and the rest: the frame
    switch (ui_level) {
    case LEVEL_SOURCES:
        key_sources(k);
        break;
    case LEVEL_CROPS:
        key_crops(k);
        break;
    case LEVEL_NEW:
    case LEVEL_EDIT:
        key_editor(k);
        break;
    default:
        qWarning("InputCut: level %d unknown, back to the source row", ui_level);
        ui_level = LEVEL_SOURCES;
        ui_select = source_select;
        para_changed_over();
        ryn_button_input_clicked();
        break;
    }
    return true;
}

void InputCut::key_sources(PanelKey k) {
    switch (k) {
    case PanelKey::Left:
    case PanelKey::Right:
        current_pag = 0;
        ui_select = k == PanelKey::Left ? (ui_select == 0 ? SOURCE_COUNT - 1 : ui_select - 1)
                                        : (ui_select >= SOURCE_COUNT - 1 ? 0 : ui_select + 1);
        ryn_button_input_clicked();
        break;
    case PanelKey::Ok:
        source_select = ui_select;
        ui_select = 0;
        current_pag = 0;
        ui_level = LEVEL_CROPS;
        ryn_button_input_clicked();
        break;
    case PanelKey::Back:
        slot_Button_back_clicked();
        break;
    default:
        break;
    }
}

// Page 0 holds the add button (position 0) and entries 0..5 (positions
// 1..6); page p >= 1 holds entries 6p..6p+5 (positions 0..5).
void InputCut::key_crops(PanelKey k) {
    source_current_check();
    const int p = current_pag, n = max_source_info;
    switch (k) {
    case PanelKey::Left:
        if (p == 0 && ui_select == 0) {
            current_pag = max_page;
            ui_select = uint8_t(max_page == 0 ? n : n - TILES_PER_PAGE * max_page - 1);
        } else if (ui_select != 0) {
            --ui_select;
        } else {
            current_pag = uint8_t(p - 1);
            ui_select = current_pag == 0 ? TILES_PER_PAGE : TILES_PER_PAGE - 1;
        }
        ryn_button_input_clicked();
        break;
    case PanelKey::Right: {
        const int s = ui_select + 1;
        const int last = p == 0 ? n + 1 : n;
        if (TILES_PER_PAGE * p + s >= last) {
            current_pag = 0;
            ui_select = 0;
        } else if (s > (p == 0 ? TILES_PER_PAGE : TILES_PER_PAGE - 1)) {
            ui_select = 0;
            current_pag = uint8_t(p + 1 > max_page ? 0 : p + 1);
        } else {
            ui_select = uint8_t(s);
        }
        ryn_button_input_clicked();
        break;
    }
    case PanelKey::Ok:
        if (p == 0 && ui_select == 0) {
            crop_select = 0;
            ui_select = uint8_t(n);
            ryn_button_add_clicked();
            ui_level = LEVEL_NEW;
            ryn_sel_info(ui_select, 1, editor_base);
        } else if (p == 0 && ui_select == 1) {
            // The whole input: nothing to edit.
        } else {
            ui_level = LEVEL_EDIT;
            ryn_button_input_clicked();
            ryn_button_source_clicked();
            crop_select = ui_select;
            ui_select = uint8_t(editor_base);
            ryn_sel_info(ui_select, 1, editor_base);
        }
        break;
    case PanelKey::Back:
        ui_level = LEVEL_SOURCES;
        ui_select = source_select;
        ryn_button_input_clicked();
        break;
    default:
        break;
    }
}

void InputCut::key_editor(PanelKey k) {
    const int base = editor_base;
    int e = std::clamp(int(ui_select) - base, 0, ED_COUNT - 1);
    switch (k) {
    case PanelKey::Left:
    case PanelKey::Right: {
        const int dir = k == PanelKey::Left ? -1 : 1;
        ryn_sel_info(ui_select, 0, base);
        e = (e + dir + ED_COUNT) % ED_COUNT;
        if (ui_level == LEVEL_NEW && e == ED_DELETE) // the new-crop editor has no Delete
            e = (e + dir + ED_COUNT) % ED_COUNT;
        ui_select = uint8_t(base + e);
        ryn_sel_info(ui_select, 1, base);
        break;
    }
    case PanelKey::Ok:
        if (e <= ED_H) {
            My_lineEdit* f = field(e);
            emit f->send_show(f->objectName());
            return;
        }
        if (e == ED_DELETE && ui_level != LEVEL_EDIT)
            return;
        ui_select = crop_select;
        ui_level = LEVEL_CROPS;
        if (e == ED_OK)
            ryn_button_ok_clicked();
        else if (e == ED_CANCEL)
            ryn_button_cancel_clicked();
        else
            ryn_button_delete_clicked();
        ryn_sel_info(0, 2, base);
        break;
    case PanelKey::Back:
        ui_level = LEVEL_CROPS;
        ui_select = crop_select;
        ryn_button_input_clicked();
        ryn_button_cancel_clicked();
        ryn_sel_info(0, 2, base);
        break;
    default:
        break;
    }
}

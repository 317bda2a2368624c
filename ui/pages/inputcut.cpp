#include "ui/pages/inputcut.h"

#include "core/global.h"
#include "ui/frame/shared_widgets.h"
#include "core/rynrampara.h"
#include "ui/frame/fonts.h"
#include "ui/frame/imagecache.h"
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
const Text5 kTitle = {"输入截取", "Input intercept", "Обрезка входа", "Chặn nguồn vào", "輸入截取"};
const Text5 kCrop = {"截取:", "Crop:", "Обрезать:", "Cắt:", "截取:"};
const Text5 kWidth = {"宽", "W", "Ширина", "Rộng", "寬"};
const Text5 kHeight = {"高", "H", "Высота", "Cao", "高"};
const Text5 kCancel = {"取消", "Cancel", "Отмена", "Hủy bỏ", "取消"};
const Text5 kOk = {"确定", "OK", "OK", "Đồng ý", "確定"};
const Text5 kDelete = {"删除", "Delete", "Удалить", "Xoá bỏ", "删除"};
const Text5 kNamePrefix = {"名称:", "Name:", "Название:", "Tên:", "名稱:"};
const Text5 kNoSignal = {"无信号", "No signal", "Нет сигнала", "Không có tín hiệu", "無信號"};

const QString kRowFocusBrowsing = "border:1px solid;background-color: rgb(16,16, 28);border-left-color:rgb(255,171,84);"
                                  "border-right-color:rgb(255,171,84);border-top-color:rgb(255,171,84);";
const QString kRowFocusIdle = "border:1px solid;background-color: rgb(16,16, 28);border-left-color:rgb(71, 119, 255);"
                              "border-right-color:rgb(71, 119, 255);border-top-color:rgb(71, 119, 255);";
const QString kListBrowsing = "#frame_source{background-color: rgb(16,16, 28);border:1px solid rgb(255,171,84);}";
const QString kListIdle = "#frame_source{background-color: rgb(16,16, 28);border:1px solid rgb(71, 119, 255);}";
const QString kTileNormal = "background-color: #212435;border:1px solid #CCCCCC;";
const QString kTileFocused = "background-color: #212435;border:1px solid #FFA854;";
const QString kTileText = "background-color:#212435;color:#FFFFFF";
const QString kTileIcon = "background-color: #212435;";
const QString kAddFocused = "border:1px solid rgb(255,171,84);";
const QString kAddNormal = "border:0px solid rgb(0,0,0);";
const FocusStyles kEditorStyles{"color:rgb(255, 255, 255);background-color: rgb(33, 36, 53);"
                                "border:1px solid rgb(255, 255, 255);font:10px",
                                "color:rgb(255, 255, 255);background-color: rgb(33, 36, 53);"
                                "border:1px solid rgb(255,171,84);font:10px",
                                "color:rgb(255, 255, 255);background-color: rgb(33, 36, 53);"
                                "border:1px solid rgb(255,171,84);font:10px"};

constexpr int BUTTON_Y = 210, BUTTON_W = 60, BUTTON_H = 18;

RynRamPara* para() {
    return RynRamPara::pInstance();
}

}  // namespace

InputCut::InputCut(QWidget* parent) : FramePage<QDialog>(parent), ui(new Ui::InputCut) {
    ui->setupUi(this);
    row_names = {ui->sourcelistseq0name, ui->sourcelistseq1name, ui->sourcelistseq2name,
                 ui->sourcelistseq3name, ui->sourcelistseq4name, ui->sourcelistseq5name};

    source_focus_frame = new QFrame(this);
    source_focus_frame->setGeometry(1, 40, 53, 41);
    source_focus_frame->setStyleSheet(kRowFocusBrowsing);
    source_focus_frame->lower();

    const std::array<QLabel*, SOURCE_COUNT> icons = {ui->sourcelistseq0pixmap, ui->sourcelistseq1pixmap,
                                                     ui->sourcelistseq2pixmap, ui->sourcelistseq3pixmap,
                                                     ui->sourcelistseq4pixmap, ui->sourcelistseq5pixmap};
    for (int p = 0; p < SOURCE_COUNT; ++p)
        sourceinfo::set_source_pixmap(icons[size_t(p)], sourceinfo::get_source_id_by_listseq(p));

    source_name = sourceinfo::get_source_name_by_listseq(0);
    build_crop_list();
    ui->frame_add->hide();

    auto make_button = [this](const char* name, const Text5& text) {
        auto* b = new QPushButton(QString::fromUtf8(text[LANG_SCHINESE]), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setStyleSheet(kEditorStyles.normal);
        b->setFocusPolicy(Qt::NoFocus);
        b->setAutoDefault(false);
        b->resize(BUTTON_W, BUTTON_H);
        b->hide();
        return b;
    };
    button_cancel = make_button("button_cancel", kCancel);
    button_ok = make_button("button_ok", kOk);
    button_delete = make_button("button_delete", kDelete);
    for (int e = ED_X; e <= ED_H; ++e) {
        set_style(field(e), kEditorStyles.normal);
        connect_number_field(field(e));
    }
    build_levels();
}

InputCut::~InputCut() {
    delete ui;
}

void InputCut::build_levels() {
    row.set_count(SOURCE_COUNT);
    row.moved = [this](int i) {
        current_pag = 0;
        ui_select = uint8_t(i);
        ryn_button_input_clicked();
    };
    row.ok = [this](int i) {
        source_select = uint8_t(i);
        ui_level = LEVEL_CROPS;
        enter_crop_list(0, 0);  // on the add button
    };
    // Back on the row: the frame's close protocol.

    crops.moved = [this](int) {
        take_crop_focus();
        ryn_button_input_clicked();
    };
    crops.ok = [this](int k) {
        if (k == 0) {  // the add button
            crop_select = 0;
            ryn_button_add_clicked();
            ui_level = LEVEL_NEW;
            open_editor(new_editor);
        } else if (k > 1) {  // a crop; entry 0 (k 1) is the whole input
            ui_level = LEVEL_EDIT;
            ryn_button_input_clicked();
            ryn_button_source_clicked();
            crop_select = ui_select;
            open_editor(crop_editor);
        }
    };
    crops.back = [this] {
        // The page shown stays; the same source keeps the row's focus.
        ui_level = LEVEL_SOURCES;
        ui_select = source_select;
        row.select(source_select);
        set_level(row);
        ryn_button_input_clicked();
    };

    // The editors hold their own elements: whatever the PC does to the
    // list meanwhile, OK stays OK and Cancel stays Cancel.
    new_editor.set({ui->lineEdit_X, ui->lineEdit_Y, ui->lineEdit_W, ui->lineEdit_H, button_cancel, button_ok});
    crop_editor.set(
        {ui->lineEdit_X, ui->lineEdit_Y, ui->lineEdit_W, ui->lineEdit_H, button_delete, button_cancel, button_ok});
    auto editor_ok = [this](int entry) {
        if (My_lineEdit* f = field(entry))
            emit f->send_show(f->objectName());  // the keypad, as a touch does
        else if (entry == ED_OK)
            leave_editor(&InputCut::ryn_button_ok_clicked);
        else if (entry == ED_CANCEL)
            leave_editor(&InputCut::ryn_button_cancel_clicked);
        else if (entry == ED_DELETE)
            leave_editor(&InputCut::ryn_button_delete_clicked);
    };
    new_editor.ok = [editor_ok](int i) { editor_ok(i < ED_DELETE ? i : i + 1); };
    crop_editor.ok = editor_ok;
    for (FocusList* editor : {&new_editor, &crop_editor}) {
        editor->styles = &kEditorStyles;
        editor->restyle_all();
        editor->back = [this] {
            ui_level = LEVEL_CROPS;
            ui_select = crop_select;
            set_level(crops);
            show_crop_focus();
            ryn_button_input_clicked();
            ryn_button_cancel_clicked();
        };
    }
    set_level(row);
}

void InputCut::para_init() {
    para()->RynCropSourceInit();
    crop_source_num_update();
    source_init();
}

int InputCut::editor_entry() const {
    if (ui_level == LEVEL_NEW)
        return new_editor.index() < ED_DELETE ? new_editor.index() : new_editor.index() + 1;
    if (ui_level == LEVEL_EDIT)
        return crop_editor.index();
    return -1;
}

void InputCut::show_crop_focus() {
    source_current_check();
    crops.set_count(max_source_info + 1);
    const int k = current_pag == 0 ? ui_select : TILES_PER_PAGE * current_pag + ui_select + 1;
    if (k >= crops.size()) {
        // The entry went away under the list (a deletion, the PC).
        current_pag = 0;
        ui_select = 0;
    }
    crops.select(k < crops.size() ? k : 0);
}

void InputCut::take_crop_focus() {
    const int k = crops.index();
    if (k == 0) {
        current_pag = 0;
        ui_select = 0;
        return;
    }
    const int e = k - 1;
    current_pag = uint8_t(e / TILES_PER_PAGE);
    ui_select = uint8_t(current_pag == 0 ? e + 1 : e % TILES_PER_PAGE);
}

void InputCut::enter_crop_list(uint8_t page, uint8_t position) {
    current_pag = page;
    ui_select = position;
    set_level(crops);
    show_crop_focus();
    ryn_button_input_clicked();
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
        // Tall enough for the underscore of "HDMI1_crop1".
        tile.name->setGeometry(7 + dx, 23 + dy, 80, 14);
        tile.name->setFont(pixel_font(10));
        // The size line holds "1920x1080@60Hz" and the no-signal texts.
        tile.size = new QLabel(frame_source);
        tile.size->setObjectName(QStringLiteral("size%1").arg(t));
        tile.size->setGeometry(7 + dx, 38 + dy, 84, 14);
        tile.size->setFont(pixel_font(10));
        for (QLabel* l : {tile.name, tile.size}) {
            l->setStyleSheet(kTileText);
            l->setTextFormat(Qt::PlainText);
            align_short_row(l);
        }
    }
    add_button = new QPushButton(frame_source);
    add_button->setObjectName(QStringLiteral("add_button"));
    add_button->setGeometry(292, 10, 20, 20);
    add_button->setIcon(cached_icon(png(QStringLiteral("add.png"))));
    // Inside its 1-pixel border, which is its focus mark.
    add_button->setIconSize(QSize(18, 18));
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
        const QString alias = sourceinfo::alias_name("source", id, &found);
        // A user's name is plain text in a rich-text label.
        const QString name = found ? metrics.elidedText(alias, Qt::ElideRight, label->width() - 16).toHtmlEscaped()
                                   : sourceinfo::get_source_name_by_listseq(p);
        label->setText(sourceinfo::get_source_specialstyle1_by_sourceid(id, name, uint8_t(get_source_num(id))));
    }
}

void InputCut::source_current_check() {
    max_source_info = para()->RynGetSourceNum(select_source, CROP_COUNT) + 1;
    max_page = uint8_t(max_source_info / TILES_PER_PAGE - (max_source_info % TILES_PER_PAGE == 0 ? 1 : 0));
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
        for (QWidget* w : std::initializer_list<QWidget*>{tile.frame, tile.state, tile.icon, tile.name, tile.size})
            w->setVisible(visible);
        if (!visible)
            continue;
        const int e = TILES_PER_PAGE * current_pag + t;
        const bool focused = ui_level == LEVEL_CROPS && ((current_pag == 0 && ui_select != 0 && ui_select == t + 1) ||
                                                         (current_pag != 0 && ui_select == t));
        set_style(tile.frame, focused ? kTileFocused : kTileNormal);

        if (e == 0) {
            tile.name->setText(source_name);
            const int off = blk::input_info(select_source);
            const int w = p->u16(off), h = p->u16(off + 2), rate = p->RamParaBlock[size_t(off + 4)];
            tile.size->setText(w && h && rate ? QString::asprintf("%dx%d@%dHz", w, h, rate) : tr5(kNoSignal));
            continue;
        }
        // Zeroed, so that an entry without a record (a crop number the
        // table holds twice) shows zeros rather than stale values.
        CROP_PARA crop;
        int index = CROP_COUNT;
        p->RynGetCropPara(select_source, e, &crop, &index);
        bool found = false;
        const QString alias = index < CROP_COUNT ? sourceinfo::alias_name("crop", index, &found) : QString();
        tile.name->setText(found ? tile.name->fontMetrics().elidedText(alias, Qt::ElideRight, tile.name->width())
                                 : source_name + QString::asprintf("_crop%d", ((crop.para[0] >> 8) & 0x7F) + 1));
        tile.size->setText(QString::asprintf("%dx%d", crop.para[3], crop.para[4]));
    }
    set_style(add_button, ui_level == LEVEL_CROPS && ui_select == 0 && current_pag == 0 ? kAddFocused : kAddNormal);
}

My_lineEdit* InputCut::field(int entry) const {
    switch (entry) {
    case ED_X: return ui->lineEdit_X;
    case ED_Y: return ui->lineEdit_Y;
    case ED_W: return ui->lineEdit_W;
    case ED_H: return ui->lineEdit_H;
    default: return nullptr;
    }
}

void InputCut::set_editor_title() {
    ui->label_change_source->setText(tr5(kNamePrefix) + crop_name);
}

void InputCut::open_editor(FocusList& editor) {
    add_button->hide();
    set_editor_title();
    const bool existing = &editor == &crop_editor;
    button_delete->setVisible(existing);
    button_delete->move(50, BUTTON_Y);
    button_cancel->move(existing ? 120 : 80, BUTTON_Y);
    button_ok->move(existing ? 190 : 150, BUTTON_Y);
    ui->frame_add->show();
    button_cancel->show();
    button_ok->show();
    editor.focus_to(ED_X);  // X focused, the rest normal
    set_level(editor);
}

void InputCut::leave_editor(void (InputCut::*action)()) {
    ui_level = LEVEL_CROPS;
    ui_select = crop_select;
    set_level(crops);
    show_crop_focus();
    (this->*action)();
}

void InputCut::ryn_button_add_clicked() {
    edited_crop = NEW_CROP;
    crop_name = source_name + QString::asprintf("-Crop-%d", para()->RynGetSourceNum(select_source, CROP_COUNT) + 1);
    ui->lineEdit_X->setText(QStringLiteral("0"));
    ui->lineEdit_Y->setText(QStringLiteral("0"));
    ui->lineEdit_W->setText(QStringLiteral("1920"));
    ui->lineEdit_H->setText(QStringLiteral("1080"));
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
    // Zeroed: an entry without a record shows zeros.
    CROP_PARA crop;
    int index = CROP_COUNT;
    para()->RynGetCropPara(select_source, crop_number, &crop, &index);
    for (int e = ED_X; e <= ED_H; ++e)
        field(e)->setText(QString::asprintf("%d", crop.para[1 + e]));
}

void InputCut::ryn_button_ok_clicked() {
    CROP_PARA values;
    values.para[0] = select_source;
    for (int e = ED_X; e <= ED_H; ++e)
        values.para[1 + e] = field_short(field(e)->text());
    RynRamPara* p = para();
    p->RynCropSourceInit();  // the PC may have changed the table since the last refresh
    if (edited_crop == NEW_CROP) {
        p->RynAddNewCrop(select_source, &values);
    } else {
        const int entry = p->crop_list_entry(select_source, edited_crop);
        if (entry > 0)
            p->RynSetCropPara(char(select_source), char(entry), &values);
        else
            qWarning("InputCut: crop %d of source %d is gone, nothing stored", edited_crop, select_source);
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
    const int entry = p->crop_list_entry(select_source, edited_crop);
    if (entry > 0)
        p->RynDeleteCrop(char(select_source), char(entry));
    else
        qWarning("InputCut: crop %d of source %d is gone, nothing deleted", edited_crop, select_source);
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
    source_init();  // the no-signal text
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
    const bool crops_changed = std::memcmp(p->RamParaBlock.data() + blk::CROP, p->RamParaShadow.data() + blk::CROP,
                                           size_t(CROP_COUNT * blk::CROP_SIZE)) != 0;
    if (crops_changed || code == SYNC_PC_FILE_END) {
        // An open editor stays open: it knows its crop by number.
        p->RynCropSourceInit();
        crop_source_num_update();
        if (ui_level == LEVEL_CROPS)
            show_crop_focus();
        source_init();
    } else if (code == SYNC_INPUT_TIMING) {
        source_init();  // the whole input's size line
    }
}

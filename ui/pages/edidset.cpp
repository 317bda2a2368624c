#include "ui/pages/edidset.h"

#include "core/global.h"
#include "ui/frame/shared_widgets.h"
#include "core/rynrampara.h"
#include "ui/frame/imagecache.h"
#include "ui/frame/sourceinfo.h"
#include "ui_edidset.h"

#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <array>
#include <cstring>

namespace {
const Text5 kTitle = {"设置EDID", "EDID Settings", "Настройка EDID", "Cài đặt EDID", "設置EDID"};
const Text5 kSourcePrefix = {"EDID信源:", "EDID source:", "Источник EDID:", "Tín hiệu EDID:", "EDID信源:"};
const Text5 kWidth = {"宽", "W", "Ширина", "Rộng", "寬"};
const Text5 kHeight = {"高", "H", "Высота", "Cao", "高"};
const Text5 kFreq = {"刷新率", "Refresh rate", "Частота", "Tần số", "刷新率"};
const Text5 kCancel = {"取消", "Cancel", "Отмена", "Hủy bỏ", "取消"};
const Text5 kSave = {"保存", "SAVE", "Сохранить", "lưu", "保存"};
const Text5 kDelete = {"删除", "Delete", "Удалить", "Xoá bỏ", "删除"};

const QString kTabNormal = "border:1px solid;border-bottom-color:rgb(16,16,28);border-left-color:rgb(71, 119, 255);"
                           "border-right-color:rgb(71, 119, 255);border-top-color:rgb(71, 119, 255);";
const QString kTabFocused = "border:1px solid;border-bottom-color:rgb(16,16,28);border-left-color:rgb(255,171,84);"
                            "border-right-color:rgb(255,171,84);border-top-color:rgb(255,171,84);";
const QString kCardNormal = "#frame_source{border:1px solid rgb(71, 119, 255);}";
const QString kCardFocused = "#frame_source{border:1px solid rgb(255,171,84);}";
const QString kButtonNormal = "color: rgb(255, 255, 255);background-color: rgb(33, 36, 53) ; "
                              "border:1px solid rgb(255,255,255);;";
const QString kButtonFocused = "color: rgb(255, 255, 255);background-color: rgb(33, 36, 53); "
                               "border:1px solid rgb(255,171,84);";
const QString kButtonStart = "color: rgb(255, 255, 255);border:1px solid rgb(255, 255, 255);font:9px";
const QString kBoxStyle = "background-color: #212435;border:1px solid #CCCCCC;";
const QString kCardText = "background-color:#212435;color:#FFFFFF";

constexpr int BUTTON_Y = 214, BUTTON_W = 60, BUTTON_H = 20;

const FocusStyles kButtonStyles{kButtonNormal, kButtonFocused, kButtonFocused};

RynRamPara* para() {
    return RynRamPara::pInstance();
}
}  // namespace

EDIDset::EDIDset(QWidget* parent) : FramePage<QDialog>(parent), ui(new Ui::EDIDset) {
    ui->setupUi(this);
    const std::array<QLabel*, SOURCE_COUNT> names = {ui->sourcelistseq0name, ui->sourcelistseq1name,
                                                     ui->sourcelistseq2name, ui->sourcelistseq3name,
                                                     ui->sourcelistseq4name, ui->sourcelistseq5name};
    const std::array<QLabel*, SOURCE_COUNT> pictures = {ui->sourcelistseq0pixmap, ui->sourcelistseq1pixmap,
                                                        ui->sourcelistseq2pixmap, ui->sourcelistseq3pixmap,
                                                        ui->sourcelistseq4pixmap, ui->sourcelistseq5pixmap};
    for (int n = 0; n < SOURCE_COUNT; ++n) {
        const uint8_t id = sourceinfo::get_source_id_by_listseq(n);
        names[size_t(n)]->setText(
            sourceinfo::get_source_specialstyle0_by_sourceid(id).arg(sourceinfo::get_source_name_by_listseq(n)));
        sourceinfo::set_source_pixmap(pictures[size_t(n)], id);
    }
    source_name = sourceinfo::get_source_name_by_listseq(0);
    for (QWidget* w : {static_cast<QWidget*>(ui->lineEdit_W), static_cast<QWidget*>(ui->lineEdit_H),
                       static_cast<QWidget*>(ui->label_rate)}) {
        w->setFont(pixel_font(10));
        w->setStyleSheet(row_styles().normal);
    }

    frame_select = new QFrame(this);
    frame_select->setObjectName(QStringLiteral("frame_select"));
    frame_select->setGeometry(4, 38, 50, 43);
    frame_select->setStyleSheet(kTabFocused);
    frame_select->lower();

    // The card, built once and re-filled in place.
    frame_source = new QFrame(this);
    frame_source->setObjectName(QStringLiteral("frame_source"));
    frame_source->setGeometry(4, 80, 310, 120);
    frame_source->setStyleSheet(kCardFocused);
    card_box = new QLabel(frame_source);
    card_box->setGeometry(10, 10, 120, 50);
    card_box->setStyleSheet(kBoxStyle);
    card_state = new QLabel(frame_source);
    card_state->setGeometry(15, 13, 7, 7);
    card_state->setScaledContents(true);
    set_label_pixmap(card_state, png(QStringLiteral("state_on.png")));
    card_input = new QLabel(frame_source);
    card_input->setGeometry(25, 13, 25, 8);
    card_input->setScaledContents(true);
    card_input->setStyleSheet("background-color: #212435;");
    card_name = new QLabel(frame_source);
    card_name->setObjectName(QStringLiteral("card_name"));
    card_name->setGeometry(15, 24, 60, 14);
    // Wide enough for "1920x1080@60Hz" in the card's font.
    card_timing = new QLabel(frame_source);
    card_timing->setObjectName(QStringLiteral("card_timing"));
    card_timing->setGeometry(15, 39, 110, 14);
    for (QLabel* l : {card_name, card_timing}) {
        l->setFont(pixel_font(10));
        l->setStyleSheet(kCardText);
        l->setTextFormat(Qt::PlainText);
    }
    frame_source->lower();

    auto make_button = [this](const char* name) {
        auto* b = new QPushButton(this);
        b->setObjectName(QString::fromLatin1(name));
        b->setFont(pixel_font(9));
        b->setStyleSheet(kButtonStart);
        b->setFocusPolicy(Qt::NoFocus);
        b->setAutoDefault(false);
        b->resize(BUTTON_W, BUTTON_H);
        b->hide();
        return b;
    };
    button_delete = make_button("button_delete");
    button_cancel = make_button("button_cancel");
    button_save = make_button("button_save");
    ui->frame_add->hide();

    connect_number_field(ui->lineEdit_W);
    connect_number_field(ui->lineEdit_H);
    build_levels();
}

EDIDset::~EDIDset() {
    delete ui;
}

void EDIDset::build_levels() {
    tabs.set_count(SOURCE_COUNT);
    tabs.moved = [this](int i) {
        ui_select = uint8_t(i);
        ryn_button_input_clicked();
    };
    tabs.ok = [this](int) {
        ryn_button_source_clicked();
        ui_seltype = LEVEL_FRAME;
        ui_line_select = ENTRY_W;
        edit.focus_to(ENTRY_W);
        set_level(edit);
    };
    // Back on the tabs: the frame's close protocol.

    edit.set({ui->lineEdit_W, ui->lineEdit_H, ui->label_rate, button_delete, button_cancel, button_save});
    edit.styles_of = [](int i) -> const FocusStyles& { return i <= ENTRY_RATE ? row_styles() : kButtonStyles; };
    edit.restyle_all();
    edit.moved = [this](int i) {
        ui_line_select = uint8_t(i);
        if (i <= ENTRY_H)
            ui_focus = edit.widget(i);
        else if (i >= ENTRY_DELETE)
            ui_focus_button = edit.widget(i);
    };
    edit.ok = [this](int i) { edit_frame_ok(i); };
    edit.back = [this] {
        ui_seltype = LEVEL_TABS;
        ui_line_select = ENTRY_W;
        ryn_button_cancel_clicked();
    };

    rate.set_count(2);
    rate.moved = [this](int i) {
        rate_select = uint8_t(i);
        on_Button_freq_clicked();
    };
    rate.ok = [this](int) {
        on_Button_freq_clicked();
        set_style(ui->label_rate, row_styles().focused);
        ui_seltype = LEVEL_FRAME;
        set_level(edit);
    };
    rate.back = [this] {
        // The rate shown before the choice comes back as it was, also a
        // stored rate other than 30 or 60.
        ui_seltype = LEVEL_FRAME;
        rate_select = rate_saved;
        ui->label_rate->setText(rate_text_saved);
        set_style(ui->label_rate, row_styles().focused);
        set_level(edit);
    };

    ui_focus_button = button_delete;
    ui_focus = ui->lineEdit_W;
    set_style(ui_focus, row_styles().normal);
    set_level(tabs);
}

void EDIDset::edit_frame_ok(int entry) {
    switch (entry) {
    case ENTRY_W:
    case ENTRY_H: {
        auto* f = static_cast<My_lineEdit*>(edit.widget(entry));
        emit f->send_show(f->objectName());  // the keypad, as a touch does
        break;
    }
    case ENTRY_RATE:
        ui_seltype = LEVEL_RATE;
        set_style(ui->label_rate, row_styles().editing);
        rate_saved = rate_select;
        rate_text_saved = ui->label_rate->text();
        rate.select(rate_select);
        set_level(rate);
        break;
    case ENTRY_DELETE:  // leaves without storing, as Cancel does
    case ENTRY_CANCEL:
        ui_seltype = LEVEL_TABS;
        ryn_button_cancel_clicked();
        ui_line_select = ENTRY_W;
        break;
    case ENTRY_SAVE:
        ui_seltype = LEVEL_TABS;
        ryn_button_ok_clicked();
        ui_line_select = ENTRY_W;
        break;
    default: break;
    }
}

void EDIDset::para_init() {
    source_init();
}

void EDIDset::style_tabs(bool focused) {
    set_style(frame_select, focused ? kTabFocused : kTabNormal);
    set_style(frame_source, focused ? kCardFocused : kCardNormal);
}

void EDIDset::source_init() {
    const RynRamPara* p = para();
    set_style(frame_source, ui_seltype == LEVEL_TABS ? kCardFocused : kCardNormal);
    const int picture = source_id == 1 ? 1 : 0;  // DVI, or the HDMI slot for every other
    if (picture != card_input_source) {
        sourceinfo::set_source_pixmap(card_input, picture);
        card_input_source = picture;
    }
    card_name->setText(source_name);
    const int off = blk::edid(source_id);
    card_timing->setText(QString::asprintf("%dx%d@%dHz", int(int16_t(p->u16(off))), int(int16_t(p->u16(off + 2))),
                                           int(int16_t(p->u16(off + 4)))));
}

void EDIDset::ryn_button_input_clicked() {
    frame_select->move(4 + 52 * ui_select, 38);
    source_id = sourceinfo::get_source_id_by_listseq(ui_select);
    source_name = sourceinfo::get_source_name_by_listseq(ui_select);
    source_init();
}

void EDIDset::ryn_button_source_clicked() {
    style_tabs(false);
    ui->label_edid_source->setText(tr5(kSourcePrefix) + source_name);
    const RynRamPara* p = para();
    const int off = blk::edid(source_id);
    ui->lineEdit_W->setText(QString::asprintf("%u", unsigned(p->u16(off))));
    ui->lineEdit_H->setText(QString::asprintf("%u", unsigned(p->u16(off + 2))));
    const unsigned rate = p->u16(off + 4);
    ui->label_rate->setText(QString::asprintf("%u", rate));
    rate_select = rate == 60 ? 1 : 0;
    button_delete->move(60, BUTTON_Y);
    button_cancel->move(130, BUTTON_Y);
    button_save->move(200, BUTTON_Y);
    ui->frame_add->show();
    for (QPushButton* b : {button_delete, button_cancel, button_save})
        b->show();
}

void EDIDset::ryn_button_ok_clicked() {
    style_tabs(true);
    set_style(ui_focus, row_styles().normal);
    set_style(ui_focus_button, kButtonNormal);
    const short w = field_short(ui->lineEdit_W->text());
    const short h = field_short(ui->lineEdit_H->text());
    const short r = field_short(ui->label_rate->text());
    para()->RynSetEDIDPara(source_id, w, h, r);
    rate_select = r == 60 ? 1 : 0;
    source_init();
    hide_edit_frame();
}

void EDIDset::hide_edit_frame() {
    ui->frame_add->hide();
    for (QPushButton* b : {button_delete, button_cancel, button_save})
        b->hide();
    set_level(tabs);
}

void EDIDset::ryn_button_cancel_clicked() {
    style_tabs(true);
    set_style(ui_focus, row_styles().normal);
    set_style(ui_focus_button, kButtonNormal);
    set_style(ui->label_rate, kButtonNormal);
    // The card was not rebuilt while the frame was open: show the entry as
    // it is now, a change from the PC meanwhile included.
    source_init();
    hide_edit_frame();
}

void EDIDset::on_Button_freq_clicked() {
    ui->label_rate->setText(rate_select == 1 ? QStringLiteral("60") : QStringLiteral("30"));
}

void EDIDset::slot_Button_back_clicked() {
    close_page();
}

QString EDIDset::number_title(const My_lineEdit* field) const {
    return tr5(field == ui->lineEdit_H ? kKeypadTitleHeight : kKeypadTitleWidth);
}

// The frame runs the keypad only for the two connected fields; a result
// without a field (the field's page gone) is dropped.
void EDIDset::confirmString(const QString& text) {
    if (!g_lineedit || (g_lineedit != ui->lineEdit_W && g_lineedit != ui->lineEdit_H)) {
        qWarning("EDIDset: keypad result without one of the page's fields");
        return;
    }
    g_lineedit->setText(text);
}

void EDIDset::language_changed() {
    ui->label_title->setText(tr5(kTitle));
    ui->label_W->setText(tr5(kWidth));
    ui->label_H->setText(tr5(kHeight));
    ui->label_freq->setText(tr5(kFreq));
    button_cancel->setText(tr5(kCancel));
    button_save->setText(tr5(kSave));
    button_delete->setText(tr5(kDelete));
    if (!ui->frame_add->isHidden())
        ui->label_edid_source->setText(tr5(kSourcePrefix) + source_name);
}

void EDIDset::syncUpdate(int) {
    RynRamPara* p = para();
    if (p->RynLanguageChanged())
        language_changed();
    // While the edit frame is open the card and the fields stay as they are.
    const int off = blk::edid(source_id);
    if (ui_seltype == LEVEL_TABS &&
        std::memcmp(p->RamParaBlock.data() + off, p->RamParaShadow.data() + off, size_t(blk::EDID_PARA_SIZE)) != 0)
        source_init();
}

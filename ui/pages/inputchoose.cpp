#include "ui/pages/inputchoose.h"

#include "core/global.h"
#include "ui/frame/shared_widgets.h"
#include "core/rynrampara.h"
#include "ui/frame/fonts.h"
#include "ui/frame/imagecache.h"
#include "ui/frame/sourceinfo.h"
#include "ui/frame/tip.h"
#include "ui/pages/edidset.h"
#include "ui/pages/entrylist.h"
#include "ui/pages/inputcut.h"
#include "ui_inputchoose.h"

#include <QDebug>
#include <QFont>
#include <QColor>
#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QRegion>
#include <QPixmap>
#include <QPointer>
#include <algorithm>
#include <cstring>
#include <vector>

// What a window's source word names. The word comes from the parameter file
// or the PC: a crop index outside the table, a free or broken crop record or
// a source id above 5 name nothing, and nothing is looked up with them.
struct InputChoose::WindowChoice {
    bool valid = false;           // names an existing input or crop record
    const char* fault = nullptr;  // why it names nothing, for the console
    uint8_t source = 0;           // source id 0..5 when valid
    bool crop = false;            // a crop record, valid
    uint8_t crop_index = 0;       // its table index 0..39
    int crop_number = 0;          // its crop number 1..40
};

namespace {
const Text5 kTitle = {"信源切换", "Source switch", "Переключение источника", "Chuyển đổi nguồn", "信源切換"};
const Text5 kCropButton = {"输入截取", "Input intercept", "Обрезка", "Chặn nguồn vào", "輸入截取"};
const Text5 kEdidButton = {"设置EDID", "EDID Settings", "Настройка EDID", "Cài đặt EDID", "設置EDID"};

// One colour per window tab.
const std::array<const char*, WINDOW_COUNT> kTabColour = {"#867AE9", "#005A8D", "#39A9CB",
                                                          "#EBA83A", "#FF96AD", "#D5E5FF"};

// The two buttons after the tabs (the tabs show their focus by a frame).
const FocusStyles kButtonStyles{"color:rgb(255, 255, 255);border:1px solid rgb(255, 255, 255);",
                                "color:rgb(255, 255, 255);border:1px solid rgb(255,171,84);",
                                "color:rgb(255, 255, 255);border:1px solid rgb(255,171,84);"};
// The two colours of the frames the page draws itself (tab frame, source
// marker, entry list): orange where the keys act, blue elsewhere (the
// styles' rgb(255,171,84) and rgb(71, 119, 255)).
const QColor kOrange(255, 171, 84);
const QColor kBlue(71, 119, 255);
RynRamPara* para() {
    return RynRamPara::pInstance();
}

// A word or field of the block that differs from the last saved copy.
bool block_differs(int offset, int len) {
    const RynRamPara* p = para();
    return std::memcmp(p->RamParaBlock.data() + offset, p->RamParaShadow.data() + offset, size_t(len)) != 0;
}

InputChoose::WindowChoice window_choice(int w) {
    using WindowChoice = InputChoose::WindowChoice;
    WindowChoice c;
    if (w < 0 || w >= WINDOW_COUNT)
        return c;
    RynRamPara* p = para();
    const uint16_t word = p->window_u16(w, blk::WIN_SOURCE);
    short crop_flag = 0;
    char crop_index = 0;
    const int source = p->RynGetImageSource(p->RamParaBlock.data(), uint8_t(w), &crop_flag, &crop_index, 0);
    // The reader answers a crop it cannot use with source 0 and no crop flag.
    if ((word & blk::SOURCE_CROP_BIT) && !crop_flag) {
        c.fault = "a crop record that is not usable";
        return c;
    }
    if (source < 0 || source >= SOURCE_COUNT) {
        c.fault = "no such input";
        return c;
    }
    c.valid = true;
    c.source = uint8_t(source);
    if (crop_flag) {
        c.crop = true;
        c.crop_index = uint8_t(crop_index);
        if (c.crop_index >= CROP_COUNT) {
            c = WindowChoice{};
            c.fault = "a crop index out of range";
            return c;
        }
        c.crop_number = (p->RamParaBlock[size_t(blk::crop(c.crop_index) + blk::CROP_ID)] & 0x7F) + 1;
    }
    return c;
}
}  // namespace

// The sides of the source list's marker in `frame` (53 x 33): 1 pixel,
// the foot left out (see EntriesFrame).
static std::array<QRect, 3> marker_sides(const QRect& f) {
    return {QRect(f.x(), f.y(), 1, f.height()), QRect(f.right(), f.y(), 1, f.height()),
            QRect(f.x() + 1, f.y(), f.width() - 2, 1)};
}

class InputChoose::TabFrame : public QFrame {
public:
    using QFrame::QFrame;

    // Around tab position `tab` in `colour`; none off the tabs.
    void show_ring(int tab, const QColor& colour) { set_ring(QRect(7 + 50 * tab, 0, 51, 46), colour); }
    void hide_ring() { set_ring(QRect(), colour_); }

protected:
    void paintEvent(QPaintEvent* e) override {
        QFrame::paintEvent(e);
        if (ring_.isNull())
            return;
        QPainter p(this);
        for (const QRect& side : sides(ring_))
            p.fillRect(side, colour_);
    }

private:
    static std::array<QRect, 4> sides(const QRect& r) {
        return {QRect(r.x(), r.y(), r.width(), 2), QRect(r.x(), r.bottom() - 1, r.width(), 2),
                QRect(r.x(), r.y() + 2, 2, r.height() - 4), QRect(r.right() - 1, r.y() + 2, 2, r.height() - 4)};
    }
    QRegion region(const QRect& r) const {
        QRegion all;
        if (!r.isNull())
            for (const QRect& side : sides(r))
                all += side;
        return all;
    }
    void set_ring(const QRect& r, const QColor& colour) {
        if (r == ring_ && colour == colour_)
            return;
        update(region(ring_) + region(r));
        ring_ = r;
        colour_ = colour;
    }

    QRect ring_;
    QColor colour_;
};

InputChoose::InputChoose(QWidget* parent) : FramePage<QDialog>(parent), ui(new Ui::InputChoose) {
    ui->setupUi(this);
    // frame1 is the source list's marker; the page draws its look itself
    // (show_marker), so that moving it repaints lines, not the names and
    // icons it surrounds.
    ui->frame1->hide();
    for (QWidget* w : std::initializer_list<QWidget*>{
             ui->label_title, ui->button_inputcut, ui->button_EDID, ui->sourcelistseq0name, ui->sourcelistseq1name,
             ui->sourcelistseq2name, ui->sourcelistseq3name, ui->sourcelistseq4name, ui->sourcelistseq5name,
             ui->sourcelistseq0pixmap, ui->sourcelistseq1pixmap, ui->sourcelistseq2pixmap, ui->sourcelistseq3pixmap,
             ui->sourcelistseq4pixmap, ui->sourcelistseq5pixmap})
        frame::on_same_fill(w);

    // Level 0: the window tabs (drawn by the focus frame), then the crop
    // and EDID buttons.
    windows.styles = &kButtonStyles;
    windows.moved = [this](int) {
        imagemenu();
        image_select();
    };
    windows.ok = [this](int i) {
        if (i == window_count)
            ryn_button_inputcut_clicked();
        else if (i == window_count + 1)
            ryn_button_EDID_clicked();
        else
            open_sources();
    };
    // Level 1: the six inputs in list order.
    sources.set_count(SOURCE_COUNT);
    sources.moved = [this](int) { image_select(); };
    sources.ok = [this](int) { open_entries(); };
    sources.back = [this] { back_to_windows(); };
    // Level 2: the input itself and its crops, shown three at a time.
    entries.moved = [this](int e) {
        current_page = uint8_t(e / ENTRIES_PER_PAGE);
        initSource();
    };
    entries.ok = [this](int) {
        QPointer<InputChoose> self(this);
        ryn_source_button_clicked();
        if (self && g_inputchoose() == this)
            TextCreate(select_window);
    };
    entries.back = [this] {
        ui_seltype = LEVEL_SOURCES;
        set_level(sources);
        para_source_index_init();
        on_Button_source_clicked();
    };
}

void InputChoose::para_init() {
    // What menulist_init and the fill below leave as they were.
    select_source = 0;
    select_listseq = 0;
    using_crop = 0;
    using_crop_index = 0;
    window_focus = 0;
    max_page = 0;
    warned_word.fill(-1);
    sources.select(0);
    entries.set_count(0);

    menulist_init();
    para()->RynCropSourceInit();
    crop_source_num_update();
    initMenu();
    // The tab of the selected window holds the focus from the start, so that
    // Back from the source list returns to it.
    const int tab = tab_of_window(select_window);
    windows.select(std::max(tab, 0));
    window_focus = uint8_t(windows.index());
    image_select();
}

InputChoose::WindowChoice InputChoose::choice_of(int w) {
    const WindowChoice c = window_choice(w);
    if (w < 0 || w >= WINDOW_COUNT)
        return c;
    // Said once per source word: the page redraws at every key.
    const int word = para()->window_u16(w, blk::WIN_SOURCE);
    if (c.fault && warned_word[size_t(w)] != word)
        qWarning("InputChoose: window %d source word %#x names %s", w, unsigned(word), c.fault);
    warned_word[size_t(w)] = c.fault ? word : -1;
    return c;
}

uint8_t InputChoose::focus() const {
    switch (ui_seltype) {
    case LEVEL_WINDOWS: {
        const int i = windows.index();
        return uint8_t(i < window_count ? i : POS_CROP_BUTTON + (i - window_count));
    }
    case LEVEL_SOURCES: return uint8_t(sources.index());
    default: return uint8_t(entries.index() % ENTRIES_PER_PAGE);
    }
}

void InputChoose::open_sources() {
    ui_seltype = LEVEL_SOURCES;
    set_level(sources);
    imagemenu();
    para_source_index_init();
    on_Button_source_clicked();
}

void InputChoose::open_entries() {
    ui_seltype = LEVEL_ENTRIES;
    set_level(entries);
    para_uiselect_init();
    on_Button_source_clicked();
}

void InputChoose::back_to_windows() {
    ui_seltype = LEVEL_WINDOWS;
    set_level(windows);
    windows.select(window_focus);
    imagemenu();
    // Back to the window's own choice, not the source last browsed.
    image_select();
}

InputChoose::~InputChoose() {
    delete ui;
}

void InputChoose::menulist_init() {
    ui_seltype = LEVEL_WINDOWS;
    set_level(windows);
    current_page = 0;
    using_source = 0;
    select_window = (g_image_current < WINDOW_COUNT && para()->window_shown(g_image_current)) ? g_image_current : 0;
}

int InputChoose::tab_of_window(int window) const {
    for (int t = 0; t < window_count; ++t)
        if (window_of_tab[size_t(t)] == window)
            return t;
    return -1;
}

void InputChoose::initMenu() {
    // Window 0 always has a tab; the others only while enabled.
    std::array<uint8_t, WINDOW_COUNT> tabbed{};
    int count = 0;
    for (int w = 0; w < WINDOW_COUNT; ++w)
        if (w == 0 || para()->window_shown(w))
            tabbed[size_t(count++)] = uint8_t(w);
    // The same windows keep their tabs: only the names and the focus frame
    // are set again.
    if (!tab_frame || count != window_count ||
        !std::equal(tabbed.begin(), tabbed.begin() + count, window_of_tab.begin()))
        make_tabs(tabbed, count);
    else
        for (int t = 0; t < window_count; ++t)
            TextCreate(window_of_tab[size_t(t)]);
    const int tab = tab_of_window(select_window);
    if (tab >= 0)
        tab_frame->show_ring(tab, kOrange);
    else
        tab_frame->hide_ring();
    std::vector<QWidget*> level0(size_t(window_count), nullptr);
    level0.push_back(ui->button_inputcut);
    level0.push_back(ui->button_EDID);
    windows.set(std::move(level0));
}

void InputChoose::make_tabs(const std::array<uint8_t, WINDOW_COUNT>& tabbed, int count) {
    delete tab_frame;
    tab_name.fill(nullptr);
    window_of_tab.fill(0);
    window_count = 0;
    tab_frame = frame::on_same_fill(new TabFrame(this));
    tab_frame->setGeometry(0, 42, 320, 47);

    for (int t = 0; t < count; ++t) {
        const int w = tabbed[size_t(t)];
        auto* tab = new QLabel(tab_frame);
        tab->setGeometry(10 + 50 * t, 3, 45, 40);
        tab->setText(QString::asprintf("%d", w + 1));
        tab->setAlignment(Qt::AlignCenter);
        tab->setStyleSheet(QString("background-color: %1;font: 9px").arg(kTabColour[size_t(w)]));

        auto* name = frame::on_same_fill(new QLabel(tab));
        name->setObjectName(QStringLiteral("tab_name"));
        name->setGeometry(0, 1, 30, 12);
        name->setTextFormat(Qt::PlainText);
        tab_name[size_t(w)] = name;
        TextCreate(w);

        auto* state = frame::on_same_fill(new QLabel(tab));
        state->setGeometry(33, 1, 7, 7);
        state->setScaledContents(true);
        set_label_pixmap(state, png("state_on.png"));

        window_of_tab[size_t(t)] = uint8_t(w);
        ++window_count;
    }
    tab_frame->show();
}

void InputChoose::TextCreate(int window, int) {
    if (window < 0 || window >= WINDOW_COUNT || !tab_name[size_t(window)])
        return;
    const WindowChoice c = choice_of(window);
    QString text;
    if (c.valid) {
        text = sourceinfo::get_source_name_by_sourceid(c.source);
        // The crop's own number: the table order of the records says nothing
        // about which crop the user picked.
        if (c.crop)
            text += QString::asprintf("_Crop%d", c.crop_number);
    }
    tab_name[size_t(window)]->setText(fitted_text(tab_name[size_t(window)], text));
}

void InputChoose::input_source_changed(int window) {
    TextCreate(window);
}

void InputChoose::show_window_focus() {
    if (!tab_frame)
        return;
    windows.restyle_all();
    const int i = windows.index();
    if (i < window_count) {
        window_focus = uint8_t(i);
        tab_frame->show_ring(i, kOrange);
    } else {
        tab_frame->hide_ring();
    }
}

void InputChoose::imagemenu() {
    if (!tab_frame)
        return;
    const int tab = windows.index();
    if (ui_seltype == LEVEL_WINDOWS) {
        if (tab < window_count) {
            select_window = window_of_tab[size_t(tab)];
            if (g_image_current != select_window) {
                // Runs our own refresh at once; select_window already matches.
                g_image_current = select_window;
                para()->test_signal(SYNC_PARA);
            }
        }
        show_window_focus();
    } else if (ui_seltype == LEVEL_SOURCES) {
        tab_frame->show_ring(tab, kBlue);
    }
}

void InputChoose::image_select() {
    current_page = 0;
    if (ui_seltype == LEVEL_WINDOWS) {
        const WindowChoice c = choice_of(select_window);
        const uint8_t shown = c.valid ? c.source : sourceinfo::get_source_id_by_listseq(0);
        select_listseq = sourceinfo::get_listseq_by_source_id(shown);
        source_name = sourceinfo::get_source_name_by_sourceid(shown);
        using_source = c.valid ? c.source : NO_SOURCE;
    } else if (ui_seltype == LEVEL_SOURCES) {
        select_listseq = uint8_t(sources.index());
    }
    on_Button_source_clicked();
}

void InputChoose::on_Button_source_clicked() {
    initSource();
    show_marker(QRect(1 + 53 * select_listseq, 95, 53, 33), ui_seltype == LEVEL_SOURCES ? kOrange : kBlue);
}

void InputChoose::show_marker(const QRect& frame, const QColor& colour) {
    if (frame == marker && colour == marker_colour)
        return;
    QRegion changed;
    for (const QRect& side : marker_sides(marker))
        changed += side;
    for (const QRect& side : marker_sides(frame))
        changed += side;
    update(changed);
    marker = frame;
    marker_colour = colour;
    entry_list->set_foot(frame.x() + 1 - entry_list->x(), frame.width() - 2);
}

void InputChoose::paintEvent(QPaintEvent* e) {
    FramePage<QDialog>::paintEvent(e);
    if (marker.isNull())
        return;
    QPainter p(this);
    for (const QRect& side : marker_sides(marker))
        p.fillRect(side, marker_colour);
}

void InputChoose::para_source_index_init() {
    current_page = 0;
    sources.select(select_listseq);
}

int InputChoose::in_use_position() const {
    if (!using_crop)
        return 0;
    if (using_crop_index >= CROP_COUNT)
        return -1;
    const RynRamPara* p = para();
    const int rec = blk::crop(using_crop_index);
    const uint8_t id = p->RamParaBlock[size_t(rec + blk::CROP_ID)];
    if (!(id & blk::CROP_USED) || (id & 0x7F) >= CROP_COUNT)
        return -1;
    const int position = p->crop_list_entry(p->RamParaBlock[size_t(rec + blk::CROP_SOURCE)], (id & 0x7F) + 1);
    return position > 0 ? position : -1;
}

void InputChoose::para_uiselect_init() {
    current_page = 0;
    entries.set_count(source_current_check());
    int start = 0;
    if (select_source == using_source && using_crop) {
        const int position = in_use_position();
        if (position >= 1 && position < ENTRIES_PER_PAGE)
            start = position;
    }
    entries.select(start);
}

int InputChoose::source_current_check() {
    const int n = 1 + (select_source < SOURCE_COUNT ? para()->RynGetSourceNum(select_source, CROP_COUNT) : 0);
    max_page = uint8_t((n + ENTRIES_PER_PAGE - 1) / ENTRIES_PER_PAGE - 1);
    return n;
}

int InputChoose::get_source_num(int id) const {
    return (id >= 0 && id < SOURCE_COUNT) ? entry_count[size_t(id)] : 0;
}

void InputChoose::crop_source_num_update() {
    for (int p = 0; p < SOURCE_COUNT; ++p) {
        const uint8_t id = sourceinfo::get_source_id_by_listseq(p);
        entry_count[id] = uint8_t(1 + para()->RynGetSourceNum(id, CROP_COUNT));
    }
    source_name_update();
    source_check_update();
}

void InputChoose::source_name_update() {
    const std::array<QLabel*, SOURCE_COUNT> labels = {ui->sourcelistseq0name, ui->sourcelistseq1name,
                                                      ui->sourcelistseq2name, ui->sourcelistseq3name,
                                                      ui->sourcelistseq4name, ui->sourcelistseq5name};
    const QFont font = pixel_font(9);
    for (int p = 0; p < SOURCE_COUNT; ++p) {
        const uint8_t id = sourceinfo::get_source_id_by_listseq(p);
        const uint8_t count = uint8_t(get_source_num(id));
        bool found = false;
        const QString alias = sourceinfo::alias_name("source", id, &found);
        // A user's name is plain text, however it reads.
        const QString name = found ? elided_text(font, alias, labels[size_t(p)]->width() - 16).toHtmlEscaped()
                                   : sourceinfo::get_source_name_by_listseq(p);
        labels[size_t(p)]->setText(sourceinfo::get_source_specialstyle1_by_sourceid(id, name, count));
    }
}

void InputChoose::source_check_update() {
    const std::array<QLabel*, SOURCE_COUNT> labels = {ui->sourcelistseq0pixmap, ui->sourcelistseq1pixmap,
                                                      ui->sourcelistseq2pixmap, ui->sourcelistseq3pixmap,
                                                      ui->sourcelistseq4pixmap, ui->sourcelistseq5pixmap};
    for (int p = 0; p < SOURCE_COUNT; ++p) {
        const uint8_t id = sourceinfo::get_source_id_by_listseq(p);
        sourceinfo::set_sourceonline_pixmap(labels[size_t(p)], id, input_has_signal(id) ? 1 : 0);
    }
    const uint8_t* block = para()->RamParaBlock.data();
    for (int s = 0; s < SOURCE_COUNT; ++s)
        std::copy_n(block + blk::input_info(s), blk::INPUT_INFO_SIZE, drawn_inputs[size_t(s)].begin());
}

// The input to list and, as the result, the input the window shows (its
// entries carry the in-use mark), by level.
uint8_t InputChoose::listed_source() {
    if (ui_seltype == LEVEL_WINDOWS) {
        const WindowChoice c = choice_of(select_window);
        using_crop = c.crop ? 1 : 0;
        if (c.crop)
            using_crop_index = c.crop_index;
        // A window naming nothing that exists lists the first source, with
        // no entry marked as in use.
        select_source = c.valid ? c.source : sourceinfo::get_source_id_by_listseq(0);
        source_name = sourceinfo::get_source_name_by_sourceid(select_source);
        return c.valid ? c.source : NO_SOURCE;
    }
    if (ui_seltype == LEVEL_SOURCES) {
        select_source = sourceinfo::get_source_id_by_listseq(select_listseq);
        source_name = sourceinfo::get_source_name_by_sourceid(select_source);
    } else {
        source_name = sourceinfo::get_source_name_by_sourceid(select_source);
        select_source = sourceinfo::get_source_id_by_listseq(select_listseq);
    }
    return using_source;
}

void InputChoose::initSource() {
    const uint8_t in_use_source = listed_source();
    const int n = source_current_check();
    EntryList::View view;
    view.source = select_source;
    view.name = source_name;
    view.first = ENTRIES_PER_PAGE * current_page;
    view.shown = std::clamp(n - view.first, 0, ENTRIES_PER_PAGE);
    view.focused = ui_seltype == LEVEL_ENTRIES ? entries.index() : -1;
    view.in_use = select_source == in_use_source ? in_use_position() : -1;
    debug_printf("InputChoose: source %d, %d entries, page %d, in use %d\n", select_source, n, current_page,
                 view.in_use);
    if (!entry_list)
        entry_list = frame::on_same_fill(new EntryList(this));
    entry_list->set_border(ui_seltype == LEVEL_SOURCES ? kOrange : kBlue);
    entry_list->show_entries(view);
}

void InputChoose::ryn_source_button_clicked() {
    RynRamPara* p = para();
    const int e = entries.index();
    // The crop table may have changed under the list (the PC, before the
    // refresh): an entry that is gone is refused, never written as EXT.
    if (e >= source_current_check()) {
        qWarning("InputChoose: entry %d of source %d no longer exists", e, select_source);
        return;
    }
    if (e == 0) {
        using_crop = 0;
        using_crop_index = 0;
    } else {
        CROP_PARA crop;
        int index = CROP_COUNT;
        p->RynGetCropPara(select_source, e, &crop, &index);
        if (index < 0 || index >= CROP_COUNT) {
            qWarning("InputChoose: crop %d of source %d no longer exists", e, select_source);
            return;
        }
        using_crop = 1;
        using_crop_index = uint8_t(index);
    }
    p->RynSetImageSource(e, char(select_source), char(select_window));
    using_source = select_source;
    initSource();
    shared_tip()->tip_create(TIP_DONE);
}

void InputChoose::slot_Button_back_clicked() {
    close_page();
}

void InputChoose::ryn_button_inputcut_clicked() {
    QPointer<InputChoose> self(this);
    pages::open<InputCut>();
    if (!self || g_inputchoose() != this)
        return;  // MODE closed this page together with the crop page
    // The crop page's changes were refreshed on it, not here, and the saved
    // copy has caught up since: re-read the crop table unconditionally.
    para()->RynCropSourceInit();
    initSource();
    crop_source_num_update();
}

void InputChoose::ryn_button_EDID_clicked() {
    QPointer<InputChoose> self(this);
    pages::open<EDIDset>();
    if (!self || g_inputchoose() != this)
        return;
    initSource();
}

void InputChoose::language_changed() {
    ui->label_title->setText(tr5(kTitle));
    ui->button_inputcut->setText(tr5(kCropButton));
    ui->button_EDID->setText(tr5(kEdidButton));
    // The entries carry texts too ("No signal", the badge), in the language
    // they were last built in.
    if (entry_list && entry_list->language() != lang_pick())
        initSource();
}

// The entry list may have changed under the page (the PC, before the
// refresh): the entries are counted anew before each move. OK keeps the
// entry as shown, and ryn_source_button_clicked refuses one that is gone.
bool InputChoose::page_key(PanelKey k, int) {
    if (level == &entries && (k == PanelKey::Left || k == PanelKey::Right))
        entries.set_count(std::min(source_current_check(), 100));
    return false;
}

void InputChoose::syncUpdate(int code) {
    RynRamPara* p = para();
    if (p->RynLanguageChanged())
        language_changed();

    bool windows_changed = false;
    for (int w = 0; w < WINDOW_COUNT; ++w) {
        if (block_differs(blk::window(w, blk::WIN_ENABLE), 2))
            windows_changed = true;
        if (block_differs(blk::window(w, blk::WIN_SOURCE), 2))
            input_source_changed(w);
    }
    const bool selected_source_changed =
        select_window < WINDOW_COUNT && block_differs(blk::window(select_window, blk::WIN_SOURCE), 2);
    // The inputs' live timings are never saved, so the saved copy says
    // nothing about them: compare with what the page drew last.
    std::array<bool, SOURCE_COUNT> input_moved{};
    bool any_input_moved = false;
    for (int s = 0; s < SOURCE_COUNT; ++s) {
        input_moved[size_t(s)] = std::memcmp(p->RamParaBlock.data() + blk::input_info(s),
                                             drawn_inputs[size_t(s)].data(), blk::INPUT_INFO_SIZE) != 0;
        any_input_moved = any_input_moved || input_moved[size_t(s)];
    }
    const bool input_changed = !selected_source_changed && select_source < SOURCE_COUNT && input_moved[select_source];
    const bool crops_changed = block_differs(blk::CROP, CROP_COUNT * blk::CROP_SIZE);

    if (windows_changed) {
        // The tabs change under the user: start over on window 0 at the
        // window level, whatever level was open, so that no later OK edits
        // a window the user did not pick.
        ui_seltype = LEVEL_WINDOWS;
        set_level(windows);
        select_window = 0;
        image_select();
        initMenu();
        show_window_focus();
    } else if (ui_seltype == LEVEL_WINDOWS) {
        // Only a window with a tab is followed: an OK here must not edit a
        // window that is not shown.
        const int tab = g_image_current < WINDOW_COUNT ? tab_of_window(g_image_current) : -1;
        if (tab >= 0 && g_image_current != select_window) {
            select_window = g_image_current;
            windows.select(tab);
            show_window_focus();
            image_select();
        } else if (selected_source_changed) {
            image_select();
        } else if (input_changed) {
            initSource();
        }
    } else if (input_changed) {
        initSource();
    }
    if (any_input_moved)
        source_check_update();

    if (code == SYNC_PC_FILE_END || crops_changed) {
        p->RynCropSourceInit();
        // Entries may have gone: keep the focus on one that exists.
        const int n = source_current_check();
        if (ui_seltype == LEVEL_ENTRIES && entries.index() >= n)
            current_page = 0;
        entries.set_count(n);
        initSource();
        crop_source_num_update();
    }
}

#pragma once
// The source selection page (page 3): a window, then one of the six inputs,
// then that input whole or one of its crops goes into the window's source
// word. Opens the input crop page and the EDID page.
#include "core/ids.h"
#include "core/ramblock.h"
#include "ui/frame/pageframe.h"

#include <QDialog>
#include <QColor>
#include <QRect>
#include <QString>
#include <array>
#include <cstdint>

class EntryList;
class QColor;
class QPaintEvent;
class QLabel;

namespace Ui {
class InputChoose;
}

class InputChoose : public FramePage<QDialog> {
    Q_OBJECT
public:
    static constexpr PAGE_ID ID = PAGE_INPUTCHOOSE;
    explicit InputChoose(QWidget* parent = nullptr);
    ~InputChoose() override;

    // Levels of the page (ui_seltype).
    enum Level : uint8_t { LEVEL_WINDOWS = 0, LEVEL_SOURCES = 1, LEVEL_ENTRIES = 2 };
    // Level-0 positions after the tabs.
    static constexpr int POS_CROP_BUTTON = 6;
    static constexpr int POS_EDID_BUTTON = 7;
    static constexpr int ENTRIES_PER_PAGE = 3;
    // using_source when the window's source word names nothing that exists.
    static constexpr uint8_t NO_SOURCE = 0xFF;
    // What a window's source word names.
    struct WindowChoice;

    void menulist_init();
    void initMenu();
    void TextCreate(int window, int flag = 0);
    void imagemenu();
    void image_select();
    void on_Button_source_clicked();
    void initSource();
    void para_source_index_init();
    void para_uiselect_init();
    // 1 + the crops of select_source; also sets max_page. Signed on purpose:
    // the page arithmetic below must be able to go negative.
    int source_current_check();
    int get_source_num(int id) const;
    void crop_source_num_update();
    void source_name_update();
    void source_check_update();
    void input_source_changed(int window);

    // Fills the page as a new one starts, from the block and the crop
    // table; a closed page is kept and filled again (keep_when_closed).
    void para_init() override;
    void language_changed() override;
    void syncUpdate(int code) override;
    bool keep_when_closed() const override { return true; }

    // The focused entry of the open level: a tab (0..), POS_CROP_BUTTON or
    // POS_EDID_BUTTON; a list position; an entry position on the shown page.
    uint8_t focus() const;

    // The page's state, read by the pages it opens and by tests.
    uint8_t ui_seltype = LEVEL_WINDOWS;
    uint8_t select_window = 0;
    uint8_t select_source = 0;
    uint8_t select_listseq = 0;
    uint8_t using_source = 0;
    uint8_t using_crop_index = 0;
    int16_t using_crop = 0;
    uint8_t window_focus = 0;
    uint8_t current_page = 0;
    uint8_t max_page = 0;
    uint8_t window_count = 0;
    std::array<uint8_t, WINDOW_COUNT> window_of_tab{};
    std::array<uint8_t, SOURCE_COUNT> entry_count{};
    QString source_name;

public slots:
    void ryn_source_button_clicked();
    void slot_Button_back_clicked();
    void ryn_button_inputcut_clicked();
    void ryn_button_EDID_clicked();

protected:
    bool page_key(PanelKey k, int key) override;
    void paintEvent(QPaintEvent* e) override;
    void back_pressed() override { slot_Button_back_clicked(); }

private:
    void open_sources();
    void open_entries();
    void back_to_windows();
    // Level-0 focus display without announcing the window (a refresh
    // already runs inside the dispatcher).
    void show_window_focus();
    int tab_of_window(int window) const;
    // A new tab frame with a tab for each of the first `count` windows.
    void make_tabs(const std::array<uint8_t, WINDOW_COUNT>& tabbed, int count);
    // Entry position (0 the input itself) of the window's own choice among
    // the entries of using_source; -1 when it is not listed.
    int in_use_position() const;
    // Sets select_source and source_name for the level; returns the input
    // the window shows (NO_SOURCE for none), whose entries carry the mark.
    uint8_t listed_source();
    // The window's choice; a word that names nothing is said on the
    // console once, not at every redraw.
    WindowChoice choice_of(int w);

    Ui::InputChoose* ui;
    // The levels: window tabs and buttons, the inputs, an input's entries.
    FocusList windows, sources, entries;
    // The tabs' frame; it also draws the 2-pixel frame around the selected
    // tab, so that moving that repaints its own pixels, not the tabs.
    class TabFrame;
    TabFrame* tab_frame = nullptr;

    EntryList* entry_list = nullptr;
    // The source list's marker, frame1's look drawn by the page (its sides)
    // and the entry list (its black foot on the frame's top edge): a move
    // repaints those lines, not the names and icons inside the frame.
    void show_marker(const QRect& frame, const QColor& colour);
    QRect marker;
    QColor marker_colour;
    std::array<QLabel*, WINDOW_COUNT> tab_name{};
    std::array<int, WINDOW_COUNT> warned_word{-1, -1, -1, -1, -1, -1};
    // The input records as the signal icons and the timing show them.
    std::array<std::array<uint8_t, blk::INPUT_INFO_SIZE>, SOURCE_COUNT> drawn_inputs{};
};

inline InputChoose* g_inputchoose() {
    return pages::get<InputChoose>();
}

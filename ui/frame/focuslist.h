#pragma once
// One level of a page's focus: its entries in focus order, their styles,
// the focused index with wrap-around, and what the panel keys do on it
// (moving, edit mode, OK, Back). A page holds one FocusList per level and
// tells the frame which one the keys go to (FramePage::set_level).
#include "ui/frame/keys.h"

#include <QString>
#include <functional>
#include <vector>

class QWidget;

// The three looks of an entry.
struct FocusStyles {
    QString normal, focused, editing;
};
const FocusStyles& row_styles();                 // one declaration string per style
const FocusStyles& row_styles_lines();           // the same declarations, one per line
const FocusStyles& tile_styles();                // rounded 2-pixel tiles of the main menu
const FocusStyles& menu_tile_styles();           // the same tiles with white text (menus)
const FocusStyles& menu_tile_disabled_styles();  // a greyed menu tile

// Sets a style sheet only when it differs from the look the widget has:
// setting one re-parses it and re-polishes the widget and its children.
void set_style(QWidget* w, const QString& style);
// What QWidget::setStyleSheet does for `w` alone, without parsing: after a
// change of a property its parent's style rules select on. A widget not
// yet polished takes its look when it is shown.
void repolish(QWidget* w);
// The declarations that give `w` its look: its style sheet, or the one of
// its two looks that a focus list's button shows (see FocusList::restyle).
QString look_of(const QWidget* w);

class FocusList {
public:
    enum class Style { Normal, Focused, Editing };

    FocusList() = default;
    explicit FocusList(const FocusStyles* s) : styles(s) {}

    // Replaces the entries: entry 0 focused, the others normal, edit mode
    // off. A null widget is an entry the page draws itself (see `moved`).
    void set(std::vector<QWidget*> entries);
    // `n` entries without widgets, drawn by the page (lists, pages of
    // boxes). Keeps the focused index when it still exists.
    void set_count(int n);

    int size() const { return int(widgets_.size()); }
    bool empty() const { return widgets_.empty(); }
    int index() const { return index_; }
    QWidget* widget(int i) const;
    QWidget* focused() const { return widget(index_); }
    bool editing() const { return editing_; }

    // Moves the focus to `i`, restyles the old and the new entry, then runs
    // `moved`. An index out of range is logged and ignored.
    void focus_to(int i);
    // The same without `moved` (the page redraws by itself afterwards).
    void select(int i);
    // Left (-1) and Right (+1): wraps at both ends, or stops there when
    // `wrap` is false (and `moved` does not run).
    void move(int delta);
    // Gives entry `i` the look of its state again; after a change of its
    // styles (a greyed tile) or of the page's own drawing. A push button
    // whose normal and focused looks differ in the border only holds both
    // in one style sheet and shows the focus by its flat state (see
    // focuslist.cpp); any other entry gets the look as its style sheet.
    void restyle(int i);
    void restyle_all();

    // The panel keys of this level. Left and Right move or step the edited
    // value; OK ends edit mode, begins it on an editable entry or runs `ok`;
    // Back restores the edited value, or runs `back`. Returns false for a
    // key the level leaves to the page (Back without `back`, MODE, others).
    bool key(PanelKey k);

    // Edit mode (driven by key(); public for pages with their own keys).
    // A step is refused while the previous change waits for the scaler;
    // restoring on Back is never refused.
    void begin_edit();
    void edit_step(int dir);
    void end_edit(bool keep);

    // The looks of every entry, unless `styles_of` picks per entry.
    const FocusStyles* styles = &row_styles();
    std::function<const FocusStyles&(int)> styles_of;
    bool wrap = true;

    // Optional hooks, all given the entry index.
    std::function<void(int)> moved;          // after the focus moved
    std::function<void(int)> ok;             // OK on an entry not editable
    std::function<void()> back;              // Back when not editing
    std::function<bool(int)> editable;       // OK begins edit mode on it
    std::function<int(int)> value;           // the entry's value now
    std::function<int(int, int, int)> step;  // (entry, value, -1/+1): the next value
    std::function<void(int, int)> apply;     // (entry, value): write it

private:
    const FocusStyles& styles_for(int i) const;
    int value_of(int i) const { return value ? value(i) : 0; }

    std::vector<QWidget*> widgets_;
    int index_ = 0;
    bool editing_ = false;
    int edit_saved_ = 0;
};

#pragma once
// What every front-panel page shares: the page registry, the open and close
// protocol, the focus list with its styles, edit mode and the key map.
// A page derives from FramePage<QDialog> (or <QMainWindow>, <QWidget>) and
// states only its focus list, its keys' actions, its texts and its apply
// operations.
#include "core/global.h"
#include "core/ids.h"
#include "ui/frame/keys.h"
#include "ui/frame/language.h"
#include "ui/frame/my_lineedit.h"
#include "ui/frame/numberkeyboard.h"
#include "ui/frame/ryn_keyboard.h"

#include <QDialog>
#include <QKeyEvent>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <type_traits>
#include <vector>

// The three row styles and the large tile styles.
struct FocusStyles {
    QString normal, focused, editing;
};
const FocusStyles& row_styles();   // one declaration string per style
const FocusStyles& row_styles_lines();  // the same declarations, one per line
const FocusStyles& tile_styles();  // rounded 2-pixel menu tiles

// What the dispatcher and the close protocol need of an open page.
class RynPage {
public:
    virtual ~RynPage();
    virtual QWidget* page_widget() = 0;
    virtual void language_changed() = 0;
    // The refresh after a parameter change (SyncUpdate::para_sync).
    virtual void syncUpdate(int code) = 0;
};

// The page registry: one entry per PAGE_ID, non-null exactly while that
// page is open, with the page it returns to.
namespace pages {
RynPage* at(int id);  // null for a closed page or an id out of range
int parent_of(int id);
void set(int id, RynPage* page, int parent);
void clear(int id);
// Clears every entry naming `page` (a page being destroyed).
void forget(RynPage* page);
template <class T> T* get(int id) { return dynamic_cast<T*>(at(id)); }
bool is_open(int id);

// Opens a child page in front of the page named by g_page_focus: created
// with a null parent, registered, made the page in front, then run with
// exec() (dialogs) or show(). Returns once a modal page has closed; the
// caller must not touch itself afterwards unless it still exists.
// The home screen is a dialog shown with show(): pass modal = false.
template <class T> T* open(PAGE_ID id, bool modal = std::is_base_of_v<QDialog, T>) {
    const int parent = g_page_focus;
    T* page = new T(nullptr);
    set(id, page, parent);
    g_page_focus = id;
    if constexpr (std::is_base_of_v<QDialog, T>) {
        if (modal) {
            page->exec();
            return nullptr;
        }
    }
    page->show();
    return page;
}

// The close protocol: delete-on-close and close(), registry entry cleared,
// the parent's language_changed(), g_page_focus = the parent's id.
void close(int id);
// MODE: closes the page in front and every open ancestor below MainWindow
// (no language_changed() calls) and shows CustomMode.
void mode_shortcut();
}  // namespace pages

// The frame shared by every page, over the page's Qt base class.
template <class Base> class FramePage : public Base, public RynPage {
public:
    explicit FramePage(PAGE_ID id, QWidget* parent = nullptr) : Base(parent), page_id(id) {}
    ~FramePage() override { pages::forget(this); }
    QWidget* page_widget() override { return this; }
    void language_changed() override {}
    void syncUpdate(int) override {}

    const PAGE_ID page_id;

protected:
    // Focus list (menulist_init): entry 0 focused, the others normal.
    void set_focus_list(std::vector<QWidget*> list) {
        focus_list = std::move(list);
        for (size_t i = 0; i < focus_list.size(); ++i)
            restyle(int(i), i == 0 ? Style::Focused : Style::Normal);
        ui_select = 0;
        focus_widget = focus_list.empty() ? nullptr : focus_list[0];
    }
    // Moves the focus to `index`, restyling the old and the new entry.
    void focus_to(int index) {
        if (focus_list.empty())
            return;
        restyle(ui_select, Style::Normal);
        ui_select = uint8_t(index);
        focus_widget = focus_list[ui_select];
        restyle(ui_select, Style::Focused);
    }
    // Left (-1) and Right (+1), wrapping at both ends.
    void move_focus(int delta) {
        const int n = int(focus_list.size());
        if (n == 0)
            return;
        focus_to(((int(ui_select) + delta) % n + n) % n);
    }
    enum class Style { Normal, Focused, Editing };
    // The styles of entry `index`; pages with mixed entries override.
    virtual const FocusStyles& entry_styles(int) const { return *styles; }
    void restyle(int index, Style s) {
        if (index < 0 || index >= int(focus_list.size()) || !focus_list[index])
            return;
        const FocusStyles& st = entry_styles(index);
        focus_list[index]->setStyleSheet(s == Style::Normal    ? st.normal
                                         : s == Style::Focused ? st.focused
                                                               : st.editing);
    }

    // Edit mode. A page with editable entries says which, what their value
    // is, how a step changes it and how a value is applied.
    virtual bool entry_editable(int) const { return false; }
    virtual int entry_value(int) const { return 0; }
    virtual int step_value(int, int value, int dir) const { return value + dir; }
    virtual void apply_value(int, int) {}
    void begin_edit() {
        editing = 1;
        edit_saved = entry_value(ui_select);
        restyle(ui_select, Style::Editing);
    }
    void edit_step(int dir);
    void end_edit(bool keep);

    // OK on an entry that is not editable: open a page or run a slot.
    virtual void entry_ok(int) {}
    // Back when not editing: the close protocol by default.
    virtual void back_pressed() { close_page(); }
    // A page with its own levels handles a key here and returns true; the
    // frame then skips its default handling (the keypad still gets the key).
    virtual bool page_key(PanelKey, int) { return false; }

    void close_page() { pages::close(page_id); }

    // Number entry. Touching a connected field (or the page emitting its
    // send_show on OK) runs the shared keypad for it; the keypad's OK comes
    // back to confirmString() of this page only.
    void connect_number_field(My_lineEdit* field) {
        QObject::connect(field, &My_lineEdit::send_show, this,
                         [this, field](const QString&) { show_numberkeyboard_ui(field); });
    }
    void show_numberkeyboard_ui(My_lineEdit* field);
    // The keypad's title for `field` (by its object name, current language).
    virtual QString number_title(const My_lineEdit*) const { return QString(); }
    // The keypad's result for g_lineedit: a page checks its range, writes
    // the text and applies the value.
    virtual void confirmString(const QString& text) { g_lineedit->setText(text); }

    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;

    std::vector<QWidget*> focus_list;
    uint8_t ui_select = 0;
    QWidget* focus_widget = nullptr;
    const FocusStyles* styles = &row_styles();
    uint8_t editing = 0;
    int edit_saved = 0;
    ryn_keyboard keyboard;
};

// Non-template pieces of the key handling.
namespace frame {
void log_key(const char* page, const char* what, int key);
bool panel_locked();
bool step_refused();
}  // namespace frame

template <class Base> void FramePage<Base>::edit_step(int dir) {
    if (frame::step_refused())
        return;
    apply_value(ui_select, step_value(ui_select, entry_value(ui_select), dir));
}

template <class Base> void FramePage<Base>::end_edit(bool keep) {
    editing = 0;
    // Restoring is never refused: the block must not keep a value the page
    // no longer shows.
    if (!keep)
        apply_value(ui_select, edit_saved);
    else
        edit_saved = entry_value(ui_select);
    restyle(ui_select, Style::Focused);
}

template <class Base> void FramePage<Base>::show_numberkeyboard_ui(My_lineEdit* field) {
    if (!g_numberkeyboard || !field) {
        qWarning("show_numberkeyboard_ui: no keypad or no field");
        return;
    }
    g_lineedit = field;
    g_numberkeyboard->label_show(number_title(field), field->text());
    // Connected for this run only: a page further down the stack with
    // number fields of its own must not take the result too.
    const QMetaObject::Connection result =
        QObject::connect(g_numberkeyboard, &NumberKeyboard::sendKeyBoardUIDataToLineEdit, this,
                         [this, field](const QString& text) {
                             if (g_lineedit == field)
                                 confirmString(text);
                         });
    g_numberkeyboard->exec();
    QObject::disconnect(result);
    // The field may go with its page; leave no pointer to it behind.
    if (g_lineedit == field)
        g_lineedit = nullptr;
}

// Logs only: the base class's handling (Escape rejecting a dialog) would
// bypass the close protocol.
template <class Base> void FramePage<Base>::keyPressEvent(QKeyEvent* e) {
    frame::log_key(this->metaObject()->className(), "keyPressEvent", e->key());
}

template <class Base> void FramePage<Base>::keyReleaseEvent(QKeyEvent* e) {
    const int key = e->key();
    frame::log_key(this->metaObject()->className(), "keyReleaseEvent", key);
    const PanelKey k = panel_key(key);
    if (k == PanelKey::Mode && frame::panel_locked())
        return;  // refused, and the keypad sees no key either
    QPointer<QObject> alive(this);
    if (!page_key(k, key)) {
        switch (k) {
        case PanelKey::Left:
        case PanelKey::Right: {
            const int dir = k == PanelKey::Left ? -1 : 1;
            if (editing)
                edit_step(dir);
            else
                move_focus(dir);
            break;
        }
        case PanelKey::Ok:
            if (editing)
                end_edit(true);
            else if (entry_editable(ui_select))
                begin_edit();
            else
                entry_ok(ui_select);
            break;
        case PanelKey::Back:
            if (editing)
                end_edit(false);
            else
                back_pressed();
            break;
        case PanelKey::Mode:
            pages::mode_shortcut();
            break;
        case PanelKey::Other:
            break;
        }
    }
    // A child opened from here may have closed this page (MODE): then the
    // stateless keypad handler of a temporary takes the key.
    if (alive)
        keyboard.update_usb_keyEvent(key);
    else
        ryn_keyboard().update_usb_keyEvent(key);
}

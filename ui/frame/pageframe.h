#pragma once
// What every front-panel page shares: the page registry, the open and close
// protocol, the focus levels with their styles, edit mode and the key map.
//
// How to build a page on it:
//
// * The id. A page class states its id once, as a constant:
//       class ledset : public FramePage<QDialog> {
//           Q_OBJECT
//       public:
//           static constexpr PAGE_ID ID = PAGE_LEDSET;
//   and is opened and reached only through it: pages::open<ledset>() (runs
//   it modally, returns when it closed), pages::get<ledset>() (null while it
//   is closed). The frame registers the page under ID, so close_page(), Back
//   and MODE find it there; nothing else names the id.
//
// * Construction. The constructor builds the form and the focus levels
//   only. pages::open<T>() (or pages::create<T>() for a page registered by
//   hand, as tests do) then calls para_init() (values) and
//   language_changed() (texts and pictures) once the page is complete; a
//   page never calls them from its own constructor. MainWindow, the root
//   that is never opened, is the one exception.
//
// * Focus levels. A FocusList (focuslist.h) is one level: its entries in
//   focus order, their FocusStyles, wrap-around, restyling (a style sheet is
//   set only when it changes) and optional hooks: ok, back, moved, and for
//   edit mode editable / value / step / apply. The frame routes Left, Right,
//   OK and Back to the level in `level`. A simple page calls
//   set_focus_list({...}) and overrides entry_ok() (and the edit virtuals
//   entry_editable / entry_value / step_value / apply_value): that fills and
//   drives the default level `focus`. A page with levels holds one FocusList
//   per level, fills their hooks in its constructor, and switches with
//   set_level(list) (e.g. OK on a row enters the row's sub-list, whose
//   `back` hook calls set_level(focus) again). Back on a level without a
//   `back` hook closes the page (back_pressed()).
//
// * Menus. A menu of tiles derives from MenuPage (ui/frame/menupage.h) and
//   states only its table: per tile the button's object name, what OK opens
//   (pages::opener<T>), five texts and an optional picture with its sizes.
//   A service page with a title and a Back button derives from ServicePage.
//
// * Refresh. syncUpdate(code) is the dispatcher's call after a parameter
//   change while the page is in front; it starts with
//   RynRamPara::RynLanguageChanged().
//
// Cleverness kept because the board feels it. Each has one rule, and one
// test holds the rule; break the rule and that test fails.
//
// * Kept pages. A page that is costly to build may answer true to
//   keep_when_closed(): closing then hides it instead of deleting it (one
//   per id, unregistered as any closed page), and the next opening takes it
//   back and runs para_init() and language_changed() on it. Rule: its
//   para_init() starts from scratch, so nothing may tell the kept page from
//   a new one, on the screen included. Held by tst_inputchoose
//   (reopened_page_is_as_new) and tst_stacking (kept_page_reopened_on_top).
//
// * The spare home screen. A home screen that closes builds the next one in
//   idle time (LockWindow::make_spare, pages::keep_spare), so Back on the
//   main menu does not pay for it. Rule: the spare opens as a new home
//   screen would, after an address or language change too. Held by
//   tst_lockwindow (spare_opens_as_new).
//
// * Hand-painted frames. The source page draws its tab ring, source marker
//   and entry-list border itself, the entry list draws each box's look
//   (border and rounded corners) under the box from one picture per look,
//   made once by a frame with that look's style sheet, its state dots and
//   icons from pictures made once to their size (set_label_picture), and
//   labels on a plain fill draw that fill (frame::on_same_fill), so a
//   focus move repaints a few lines instead of the labels under them. A key
//   on the source page costs 0.75 to 0.86 M instructions instead of 1.28
//   to 1.57 M. Rule: after any
//   key or change from outside the screen shows what a full paint of the
//   page shows, and that is what a new page shows. Held by tst_inputchoose
//   (reopened_page_is_as_new compares the screen with a grab at each key,
//   outside_change_redraws_entries after a lost signal and a new crop).
//
// * Focus by the flat state. A push button whose normal and focused looks
//   differ in the border only holds both in one style sheet and shows the
//   focus by setFlat() (FocusList::restyle): no style sheet is parsed per
//   move. Without it a Right on a menu costs 0.9 to 1.0 M instructions
//   instead of 0.55 to 0.65 M. Rule: the button draws the look of its state.
//   Held by tst_mainwindow (focus_wraps_and_home_returns_to_same_menu) and
//   tst_page_tree, which read the drawn border.
#include "core/global.h"
#include "ui/frame/shared_widgets.h"
#include "core/ids.h"
#include "ui/frame/focuslist.h"
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

// What the dispatcher and the close protocol need of an open page.
class RynPage {
public:
    virtual ~RynPage();
    virtual QWidget* page_widget() = 0;
    // Reads the parameter block and the managers' state into the widgets.
    virtual void para_init() {}
    virtual void language_changed() = 0;
    // The refresh after a parameter change (SyncUpdate::para_sync).
    virtual void syncUpdate(int code) = 0;
    // A page whose construction is costly may be kept when it closes and
    // opened again instead of a new one (see pages::create). Its para_init()
    // must then bring every value back to what a new page starts with.
    virtual bool keep_when_closed() const { return false; }

    // Modal runs of this page still on the stack (pages::open): a kept page
    // is not opened again before its last exec() has returned.
    int exec_depth = 0;
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
// The id `page` is registered under; PAGE_COUNT when it is not.
int id_of(const RynPage* page);
bool is_open(int id);
template <class T> T* get() {
    return dynamic_cast<T*>(at(T::ID));
}

// The closed page of `id` kept for its next opening, handed over (null when
// there is none, or its last modal run has not returned yet).
RynPage* take_kept(int id);
// A spare: `page`, built anew in idle time for the next opening of `id`,
// never shown or registered, is kept as a closed page is. Deleted when a
// page of `id` is kept already.
void keep_spare(int id, RynPage* page);
bool is_kept(int id);

// A page of class T, built with a null parent and filled: para_init(), then
// language_changed(). Not registered yet. A page that keeps itself when
// closed is taken back instead of built anew when one is kept: hidden,
// unregistered and filled as a new one by the same two calls.
// Opens page T in front of the page named by g_page_focus: created as
// above, registered under T::ID
// with the page in front as its parent, made the page in front, then run
// with exec() (dialogs) or show(). Returns once a modal page has closed
// (null); the caller must not touch itself afterwards unless it still
// exists. The home screen is a dialog shown with show(): pass modal = false.
template <class T> T* create() {
    static_assert(T::ID < PAGE_COUNT, "a page states its id as static constexpr PAGE_ID ID");
    T* page = dynamic_cast<T*>(take_kept(T::ID));
    if (!page)
        page = new T(nullptr);
    page->para_init();
    page->language_changed();
    return page;
}
template <class T> T* open(bool modal = std::is_base_of_v<QDialog, T>) {
    const int parent = g_page_focus;
    T* page = create<T>();
    set(T::ID, page, parent);
    g_page_focus = T::ID;
    if constexpr (std::is_base_of_v<QDialog, T>) {
        if (modal) {
            const QPointer<QWidget> alive(page);
            ++page->exec_depth;
            page->exec();
            if (alive)
                --page->exec_depth;
            return nullptr;
        }
    }
    page->show();
    return page;
}
// open<T>() as a plain function, for tables of what OK opens.
template <class T> void opener() {
    open<T>();
}

// The close protocol: delete-on-close and close(), registry entry cleared,
// the parent's language_changed(), g_page_focus = the parent's id.
void close(int id);
// MODE: closes the page in front and every open ancestor below MainWindow
// (no language_changed() calls) and shows CustomMode.
void mode_shortcut();
}  // namespace pages

// Non-template pieces of the frame.
namespace frame {
void log_key(const char* page, const char* what, int key);
bool panel_locked();
// RynRamPara::RynLanguageChanged(): true once after the block's language
// byte changed.
bool language_switched();
// Drops the polish requests that `w` and its children posted when they
// were made: a widget not shown yet is polished when it shows instead.
void hold_polish(QWidget* w);
// A page's style sheet gives every child the page's background, and each
// child fills its box with it again before drawing. A child without a
// border of its own lying on a fill of that same colour (or of its
// parent's own, the same way) skips the fill: the parent's shows through,
// the same pixels for less work. (A frame's border is drawn with that
// fill.)
template <class W> W* on_same_fill(W* w) {
    w->setAttribute(Qt::WA_NoSystemBackground);
    return w;
}
}  // namespace frame

// The frame shared by every page, over the page's Qt base class.
template <class Base> class FramePage : public Base, public RynPage {
public:
    explicit FramePage(QWidget* parent = nullptr) : Base(parent) {
        // The default level drives the page's own virtuals.
        focus.styles_of = [this](int i) -> const FocusStyles& { return entry_styles(i); };
        focus.ok = [this](int i) { entry_ok(i); };
        focus.editable = [this](int i) { return entry_editable(i); };
        focus.value = [this](int i) { return entry_value(i); };
        focus.step = [this](int i, int value, int dir) { return step_value(i, value, dir); };
        focus.apply = [this](int i, int value) { apply_value(i, value); };
    }
    ~FramePage() override { pages::forget(this); }
    QWidget* page_widget() override { return this; }
    void language_changed() override {}
    // The refresh every page starts with: re-text after a language change.
    // A page that shows block values extends it.
    void syncUpdate(int) override {
        if (frame::language_switched())
            language_changed();
    }

    // The id the page is open under (PAGE_COUNT while it is not).
    int page_id() const { return pages::id_of(this); }

protected:
    using Style = FocusList::Style;

    // The default level (menulist_init): entry 0 focused, the others normal.
    void set_focus_list(std::vector<QWidget*> list) { focus.set(std::move(list)); }
    // The level the keys go to from now on. Its entries take its looks
    // again: a widget that two levels share (the OK of two editors) may
    // still show the focus the other level gave it.
    void set_level(FocusList& l) {
        level = &l;
        l.restyle_all();
    }
    uint8_t ui_select() const { return uint8_t(focus.index()); }
    void focus_to(int index) { focus.focus_to(index); }
    void move_focus(int delta) { focus.move(delta); }

    // The looks of entry `index` of the default level: `focus.styles`
    // unless a page with mixed entries overrides.
    virtual const FocusStyles& entry_styles(int) const { return *focus.styles; }

    // Edit mode on the default level. A page with editable entries says
    // which, what their value is, how a step changes it and how a value is
    // applied.
    virtual bool entry_editable(int) const { return false; }
    virtual int entry_value(int) const { return 0; }
    virtual int step_value(int, int value, int dir) const { return value + dir; }
    virtual void apply_value(int, int) {}

    // OK on an entry of the default level that is not editable: open a
    // page or run a slot.
    virtual void entry_ok(int) {}
    // Back on a level without its own back hook: the close protocol.
    virtual void back_pressed() { close_page(); }
    // A page that handles a key itself returns true; the frame then skips
    // its own handling (the keypad still gets the key).
    virtual bool page_key(PanelKey, int) { return false; }

    void close_page() { pages::close(page_id()); }

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

    FocusList focus;
    FocusList* level = &focus;
    ryn_keyboard keyboard;
};

template <class Base> void FramePage<Base>::show_numberkeyboard_ui(My_lineEdit* field) {
    if (!field) {
        qWarning("show_numberkeyboard_ui: no field");
        return;
    }
    NumberKeyboard* keypad = shared_keypad();
    g_lineedit = field;
    keypad->label_show(number_title(field), field->text());
    // Connected for this run only: a page further down the stack with
    // number fields of its own must not take the result too.
    const QMetaObject::Connection result = QObject::connect(keypad, &NumberKeyboard::sendKeyBoardUIDataToLineEdit, this,
                                                            [this, field](const QString& text) {
                                                                if (g_lineedit == field)
                                                                    confirmString(text);
                                                            });
    keypad->exec();
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
        if (k == PanelKey::Mode)
            pages::mode_shortcut();
        else if (!level->key(k) && k == PanelKey::Back)
            back_pressed();
    }
    // A child opened from here may have closed this page (MODE): then the
    // stateless keypad handler of a temporary takes the key.
    if (alive)
        keyboard.update_usb_keyEvent(key);
    else
        ryn_keyboard().update_usb_keyEvent(key);
}

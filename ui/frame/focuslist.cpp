#include "ui/frame/focuslist.h"

#include "core/para_write.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPushButton>
#include <QStringList>
#include <QStyle>
#include <QWidget>
#include <QtGlobal>

const FocusStyles& row_styles() {
    static const FocusStyles s{
        "color:rgb(255,255,255);background-color: rgb(33, 36, 53) ; border:1px solid rgb(255,255,255);",
        "color:rgb(255,255,255);background-color: rgb(33, 36, 53); border:1px solid rgb(255,171,84);",
        "color:rgb(255,255,255);background-color: rgb(33, 36, 53); border:1px solid rgb(255,0,0);"};
    return s;
}

const FocusStyles& row_styles_lines() {
    static const FocusStyles s{
        "color:rgb(255,255,255);\nbackground-color: rgb(33, 36, 53);\nborder:1px solid rgb(255,255,255);",
        "color:rgb(255,255,255);\nbackground-color: rgb(33, 36, 53);\nborder:1px solid rgb(255,171,84);",
        "color:rgb(255,255,255);\nbackground-color: rgb(33, 36, 53);\nborder:1px solid rgb(255,0,0);"};
    return s;
}

const FocusStyles& tile_styles() {
    static const FocusStyles s{
        "background-color: rgb(33, 36, 53);border:2px;border-radius:10px;padding:2px 4px",
        "background-color: rgb(33, 36, 53);border:2px solid rgb(255,171,84);border-radius:10px;padding:2px 4px;",
        "background-color: rgb(33, 36, 53);border:2px solid rgb(255,0,0);border-radius:10px;padding:2px 4px;"};
    return s;
}

const FocusStyles& menu_tile_styles() {
    static const FocusStyles s{
        "background-color: rgb(33, 36, 53);border:2px;border-radius:10px;padding:2px 4px;color:rgb(255,255,255)",
        "background-color: rgb(33, 36, 53); border:2px solid rgb(255,171,84);border-radius:10px;padding:2px "
        "4px;color:rgb(255,255,255)",
        "background-color: rgb(33, 36, 53); border:2px solid rgb(255,0,0);border-radius:10px;padding:2px "
        "4px;color:rgb(255,255,255)"};
    return s;
}

const FocusStyles& menu_tile_disabled_styles() {
    static const FocusStyles s{
        "background-color: gray;border:2px;border-radius:10px;padding:2px 4px;color:rgb(255,255,255)",
        "background-color: gray; border:2px solid rgb(255,171,84);border-radius:10px;padding:2px "
        "4px;color:rgb(255,255,255)",
        "background-color: gray; border:2px solid rgb(255,171,84);border-radius:10px;padding:2px "
        "4px;color:rgb(255,255,255)"};
    return s;
}

namespace {
// A push button's normal and focused looks in one style sheet, told apart by
// the :flat pseudo-state, which is read when the button is drawn: a focus
// move is setFlat(), with no style sheet parsed and nothing re-polished.
// The flag changes nothing else here: every look draws its own background
// and border.
const QString kFlatOpen = QStringLiteral("*:!flat{");
const QString kFlatFocused = QStringLiteral("}*:flat{");

QString flat_sheet(const FocusStyles& s) {
    return kFlatOpen + s.normal + kFlatFocused + s.focused + QLatin1Char('}');
}

// The normal (false) or focused (true) look of a flat_sheet(), or null.
QString flat_look(const QString& sheet, bool focused) {
    const int mid = sheet.indexOf(kFlatFocused);
    if (!sheet.startsWith(kFlatOpen) || mid < 0 || !sheet.endsWith(QLatin1Char('}')))
        return QString();
    if (!focused)
        return sheet.mid(kFlatOpen.size(), mid - kFlatOpen.size());
    const int from = mid + kFlatFocused.size();
    return sheet.mid(from, sheet.size() - 1 - from);
}

// A look's declarations other than the border's, in order. Polishing takes
// the palette and font from the normal look alone, so the focused one may
// differ from it in its border only.
QStringList non_border(const QString& look) {
    QStringList out;
    for (const QString& d : look.split(QLatin1Char(';'))) {
        const QString decl = d.simplified();
        if (!decl.isEmpty() && !decl.startsWith(QLatin1String("border")))
            out << decl;
    }
    return out;
}

// True when `w` can show `looks` by its flat state: a push button without
// children, and looks of plain declarations that differ in the border.
bool flat_capable(QWidget* w, const FocusStyles& looks) {
    if (!qobject_cast<QPushButton*>(w) || w->findChild<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        return false;
    for (const QString* look : {&looks.normal, &looks.focused})
        if (look->isEmpty() || look->contains(QLatin1Char('{')) || look->contains(QLatin1Char('}')))
            return false;
    return non_border(looks.normal) == non_border(looks.focused);
}
}  // namespace

void repolish(QWidget* w) {
    if (!w || !w->testAttribute(Qt::WA_WState_Polished))
        return;
    w->style()->polish(w);
    QEvent change(QEvent::StyleChange);
    QCoreApplication::sendEvent(w, &change);
    w->update();
}

QString look_of(const QWidget* w) {
    if (!w)
        return QString();
    const QString sheet = w->styleSheet();
    const auto* button = qobject_cast<const QPushButton*>(w);
    const QString flat = button ? flat_look(sheet, button->isFlat()) : QString();
    return flat.isNull() ? sheet : flat;
}

void set_style(QWidget* w, const QString& style) {
    if (!w || look_of(w) == style)
        return;
    // A button showing its looks by its flat state keeps them when a page
    // asks for one of the two.
    auto* button = qobject_cast<QPushButton*>(w);
    const QString sheet = w->styleSheet();
    if (button && !flat_look(sheet, false).isNull() &&
        (style == flat_look(sheet, false) || style == flat_look(sheet, true))) {
        button->setFlat(style == flat_look(sheet, true));
        return;
    }
    w->setStyleSheet(style);
}

QWidget* FocusList::widget(int i) const {
    return i >= 0 && i < size() ? widgets_[size_t(i)] : nullptr;
}

void FocusList::set(std::vector<QWidget*> entries) {
    widgets_ = std::move(entries);
    index_ = 0;
    editing_ = false;
    restyle_all();
}

void FocusList::set_count(int n) {
    widgets_.assign(size_t(qMax(n, 0)), nullptr);
    if (index_ >= size())
        index_ = 0;
}

const FocusStyles& FocusList::styles_for(int i) const {
    if (styles_of)
        return styles_of(i);
    return styles ? *styles : row_styles();
}

void FocusList::restyle(int i) {
    QWidget* w = widget(i);
    if (!w)
        return;
    const FocusStyles& st = styles_for(i);
    if (editing_ && i == index_) {
        set_style(w, st.editing);
        return;
    }
    const bool focused = i == index_;
    // Set once per list of looks; the focus moves by the flat state.
    const QString sheet = flat_sheet(st);
    auto* button = qobject_cast<QPushButton*>(w);
    if (!button || (w->styleSheet() != sheet && !flat_capable(w, st))) {
        set_style(w, focused ? st.focused : st.normal);
        return;
    }
    button->setFlat(focused);
    if (w->styleSheet() != sheet)
        w->setStyleSheet(sheet);
}

void FocusList::restyle_all() {
    for (int i = 0; i < size(); ++i)
        restyle(i);
}

void FocusList::select(int i) {
    if (i < 0 || i >= size()) {
        qWarning("FocusList: entry %d of %d does not exist", i, size());
        return;
    }
    const int old = index_;
    index_ = i;
    restyle(old);
    restyle(i);
}

void FocusList::focus_to(int i) {
    if (i < 0 || i >= size()) {
        qWarning("FocusList: entry %d of %d does not exist", i, size());
        return;
    }
    select(i);
    if (moved)
        moved(i);
}

void FocusList::move(int delta) {
    const int n = size();
    if (n == 0)
        return;
    int next = index_ + delta;
    if (wrap)
        next = (next % n + n) % n;
    else if (next < 0 || next >= n)
        return;
    focus_to(next);
}

void FocusList::begin_edit() {
    editing_ = true;
    edit_saved_ = value_of(index_);
    restyle(index_);
}

void FocusList::edit_step(int dir) {
    if (para_update_pending())
        return;
    const int now = value_of(index_);
    const int next = step ? step(index_, now, dir) : now + dir;
    if (apply)
        apply(index_, next);
}

void FocusList::end_edit(bool keep) {
    editing_ = false;
    if (keep)
        edit_saved_ = value_of(index_);
    else if (apply)
        apply(index_, edit_saved_);  // the block must not keep a value the page no longer shows
    restyle(index_);
}

bool FocusList::key(PanelKey k) {
    switch (k) {
    case PanelKey::Left:
    case PanelKey::Right: {
        const int dir = k == PanelKey::Left ? -1 : 1;
        if (editing_)
            edit_step(dir);
        else
            move(dir);
        return true;
    }
    case PanelKey::Ok:
        if (editing_)
            end_edit(true);
        else if (editable && editable(index_))
            begin_edit();
        else if (ok)
            ok(index_);  // index 0 on a page without entries: the page's own OK
        return true;
    case PanelKey::Back:
        if (editing_) {
            end_edit(false);
            return true;
        }
        if (!back)
            return false;
        back();
        return true;
    case PanelKey::Mode:
    case PanelKey::Other: break;
    }
    return false;
}

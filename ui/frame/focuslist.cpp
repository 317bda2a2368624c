#include "ui/frame/focuslist.h"

#include "core/para_write.h"

#include <QCoreApplication>
#include <QEvent>
#include <QStringList>
#include <QStyle>
#include <QVariant>
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
        "background-color: rgb(33, 36, 53); border:2px solid rgb(255,171,84);border-radius:10px;padding:2px 4px;color:rgb(255,255,255)",
        "background-color: rgb(33, 36, 53); border:2px solid rgb(255,0,0);border-radius:10px;padding:2px 4px;color:rgb(255,255,255)"};
    return s;
}

const FocusStyles& menu_tile_disabled_styles() {
    static const FocusStyles s{
        "background-color: gray;border:2px;border-radius:10px;padding:2px 4px;color:rgb(255,255,255)",
        "background-color: gray; border:2px solid rgb(255,171,84);border-radius:10px;padding:2px 4px;color:rgb(255,255,255)",
        "background-color: gray; border:2px solid rgb(255,171,84);border-radius:10px;padding:2px 4px;color:rgb(255,255,255)"};
    return s;
}

namespace {
// An entry's look: "<set>-<state>", the set being its looks' index in
// look_sets() and the state a FocusList::Style. Its parent's style sheet
// carries one rule per set and state, after kLooksMarker.
const char* const kLookProperty = "look";
const QString kLooksMarker = QStringLiteral("/*looks*/");
const QString kWrapOpen = QStringLiteral("* {");
const QString kWrapClose = QStringLiteral("}\n");
constexpr size_t kMaxLookSets = 64;

// Copies: a page may hold its looks in a member that goes with it.
std::vector<FocusStyles>& look_sets() {
    static std::vector<FocusStyles> sets;
    return sets;
}

int look_set_id(const FocusStyles& s) {
    std::vector<FocusStyles>& sets = look_sets();
    for (size_t i = 0; i < sets.size(); ++i)
        if (sets[i].normal == s.normal && sets[i].focused == s.focused && sets[i].editing == s.editing)
            return int(i);
    // Each set adds rules to the parents that use it: a page making looks
    // on the fly gets its own style sheets instead.
    if (sets.size() >= kMaxLookSets)
        return -1;
    sets.push_back(s);
    return int(sets.size() - 1);
}

const QString& look_text(const FocusStyles& s, int state) {
    return state == int(FocusList::Style::Editing) ? s.editing
           : state == int(FocusList::Style::Focused) ? s.focused
                                                      : s.normal;
}

QString look_value(int set, FocusList::Style state) {
    return QStringLiteral("%1-%2").arg(set).arg(int(state));
}

// The declarations a parent had before it carried looks: its selector-free
// sheet, which applies to it and all its children alike, as "* {...}".
QString own_part(const QString& sheet) {
    const int mark = sheet.indexOf(kLooksMarker);
    if (mark < 0)
        return sheet;
    QString own = sheet.left(mark);
    if (own.startsWith(kWrapOpen) && own.endsWith(kWrapClose))
        own = own.mid(kWrapOpen.size(), own.size() - kWrapOpen.size() - kWrapClose.size());
    return own;
}

QString with_looks(const QString& own, const QString& looks) {
    return (own.trimmed().isEmpty() ? QString() : kWrapOpen + own + kWrapClose) + kLooksMarker +
           looks;
}

// Gives `parent` the rules of look set `set`. False when its own sheet has
// selectors: their weight against the looks' rules would differ from that
// of a style sheet of the entry's own.
bool parent_carries(QWidget* parent, int set) {
    const QString sheet = parent->styleSheet();
    if (sheet.contains(QStringLiteral("[look=\"%1-").arg(set)))
        return true;
    const QString own = own_part(sheet);
    if (own.contains(QLatin1Char('{')))
        return false;
    const int mark = sheet.indexOf(kLooksMarker);
    QString looks = mark < 0 ? QString() : sheet.mid(mark + kLooksMarker.size());
    const FocusStyles& s = look_sets()[size_t(set)];
    for (FocusList::Style state :
         {FocusList::Style::Normal, FocusList::Style::Focused, FocusList::Style::Editing})
        looks += QStringLiteral("*[look=\"%1\"]{%2}\n")
                     .arg(look_value(set, state), look_text(s, int(state)));
    parent->setStyleSheet(with_looks(own, looks));
    if (!parent->testAttribute(Qt::WA_WState_Polished)) {
        // A child polished before may have parsed the old sheet, and only a
        // polished widget's new sheet replaces that parse: unpolishing the
        // parent as a styled widget drops it without re-styling all its
        // children. Their own rules stay right, the looks' rules match none
        // of them.
        parent->setAttribute(Qt::WA_StyleSheet);
        parent->style()->unpolish(parent);
    }
    return true;
}

bool plain_declarations(const QString& look) {
    return !look.isEmpty() && !look.contains(QLatin1Char('{'));
}

// Gives `w` the look `state` of `looks` through its parent's rules; false
// when that cannot keep the look exact (see FocusList::restyle).
bool show_look(QWidget* w, const FocusStyles& looks, FocusList::Style state) {
    QWidget* parent = w->parentWidget();
    if (!parent || w->findChild<QWidget*>(QString(), Qt::FindDirectChildrenOnly) ||
        !plain_declarations(looks.normal) || !plain_declarations(looks.focused) ||
        !plain_declarations(looks.editing))
        return false;
    const int set = look_set_id(looks);
    if (set < 0 || !parent_carries(parent, set))
        return false;
    const QString value = look_value(set, state);
    const bool own_sheet = !w->styleSheet().isEmpty();
    if (!own_sheet && w->property(kLookProperty).toString() == value)
        return true;
    w->setProperty(kLookProperty, value);
    if (own_sheet)
        w->setStyleSheet(QString());  // re-polishes with the parent's rules
    else
        repolish(w);
    return true;
}
}  // namespace

// The style rules matched again, the palette and font set, the contents
// margins and size hints taken up. A widget not yet polished takes its look
// when it is shown.
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
    const QString own = own_part(w->styleSheet());
    if (!own.isEmpty())
        return own;
    const QStringList look = w->property(kLookProperty).toString().split(QLatin1Char('-'));
    bool ok = false;
    const int set = look.value(0).toInt(&ok);
    if (!ok || look.size() != 2 || set < 0 || set >= int(look_sets().size()))
        return QString();
    return look_text(look_sets()[size_t(set)], look.value(1).toInt());
}

void set_style(QWidget* w, const QString& style) {
    if (!w || look_of(w) == style)
        return;
    const QString sheet = w->styleSheet();
    const int mark = sheet.indexOf(kLooksMarker);
    if (mark >= 0) {
        // A parent keeps the looks of its entries.
        w->setStyleSheet(with_looks(style, sheet.mid(mark + kLooksMarker.size())));
        return;
    }
    // The own sheet outweighs the parent's look rules; without one the look
    // property must go too.
    if (style.isEmpty() && w->property(kLookProperty).isValid()) {
        w->setProperty(kLookProperty, QVariant());
        repolish(w);
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
    const Style state = i != index_ ? Style::Normal : editing_ ? Style::Editing : Style::Focused;
    if (!show_look(w, st, state))
        set_style(w, look_text(st, int(state)));
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
    case PanelKey::Other:
        break;
    }
    return false;
}

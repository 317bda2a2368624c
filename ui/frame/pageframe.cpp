#include "ui/frame/pageframe.h"

#include "core/rynrampara.h"
#include "core/ramblock.h"
#include "ui/frame/custommode.h"
#include "ui/frame/popup.h"
#include "ui/frame/syncupdate.h"

#include <QCoreApplication>
#include <QDebug>
#include <QEvent>
#include <array>
#include <utility>

RynPage::~RynPage() = default;

namespace pages {
namespace {
struct Entry {
    RynPage* page = nullptr;
    int parent = PAGE_MAINWINDOW;
};
std::array<Entry, PAGE_COUNT> registry;
// Closed pages kept for their next opening, hidden and unregistered.
std::array<RynPage*, PAGE_COUNT> kept{};

bool valid(int id) {
    return id >= 0 && id < PAGE_COUNT;
}
}  // namespace

RynPage* at(int id) {
    return valid(id) ? registry[id].page : nullptr;
}
bool is_open(int id) {
    return at(id) != nullptr;
}
int parent_of(int id) {
    return valid(id) ? registry[id].parent : PAGE_MAINWINDOW;
}

void set(int id, RynPage* page, int parent) {
    // Open pages are refreshed after every parameter change.
    SyncUpdate::pInstance();
    if (!valid(id)) {
        qWarning("pages::set: page id %d out of range", id);
        return;
    }
    registry[id] = Entry{page, valid(parent) ? parent : PAGE_MAINWINDOW};
}

void clear(int id) {
    if (valid(id))
        registry[id].page = nullptr;
}

int id_of(const RynPage* page) {
    for (int id = 0; id < PAGE_COUNT; ++id)
        if (page && registry[size_t(id)].page == page)
            return id;
    return PAGE_COUNT;
}

void forget(RynPage* page) {
    for (Entry& e : registry)
        if (e.page == page)
            e.page = nullptr;
    for (RynPage*& k : kept)
        if (k == page)
            k = nullptr;
}

RynPage* take_kept(int id) {
    if (!valid(id) || !kept[size_t(id)] || kept[size_t(id)]->exec_depth > 0)
        return nullptr;
    return std::exchange(kept[size_t(id)], nullptr);
}

void keep_spare(int id, RynPage* page) {
    if (!valid(id) || kept[size_t(id)]) {
        delete page;
        return;
    }
    kept[size_t(id)] = page;
}

bool is_kept(int id) {
    return valid(id) && kept[size_t(id)];
}

// Deleted once closed, or hidden and kept for the next opening (one per id).
static void close_widget(int id, RynPage* page) {
    QWidget* w = page->page_widget();
    const bool keep =
        valid(id) && page->keep_when_closed() && !kept[size_t(id)] && !w->testAttribute(Qt::WA_DeleteOnClose);
    if (!keep)
        w->setAttribute(Qt::WA_DeleteOnClose);
    w->close();
    if (!keep || w->isVisible())
        return;
    kept[size_t(id)] = page;
    // Shown again later, its window keeps its old place in the stacking
    // order, under the windows opened since: it is raised when shown.
    static const char* const raised = "frontpanel_raised_when_shown";
    if (!w->property(raised).toBool()) {
        w->setProperty(raised, true);
        raise_when_shown(w);
    }
}

void close(int id) {
    RynPage* page = at(id);
    if (!page) {
        qWarning("pages::close: page %d is not open", id);
        return;
    }
    const int parent = parent_of(id);
    close_widget(id, page);
    clear(id);
    if (RynPage* p = at(parent))
        p->language_changed();
    g_page_focus = uint8_t(parent);
}

void mode_shortcut() {
    // Walk from the page in front down to MainWindow; a broken chain (a
    // parent already closed) ends the walk.
    int id = g_page_focus;
    for (int guard = 0; guard < PAGE_COUNT && id != PAGE_MAINWINDOW; ++guard) {
        RynPage* page = at(id);
        if (!page)
            break;
        const int parent = parent_of(id);
        close_widget(id, page);
        clear(id);
        id = parent;
    }
    g_page_focus = PAGE_MAINWINDOW;
    g_mode_shortcut_key = 1;
    open<CustomMode>();
}
}  // namespace pages

namespace frame {
void log_key(const char* page, const char* what, int key) {
    qDebug("in %s %s event %#x", page, what, unsigned(key));
}

bool language_switched() {
    return RynRamPara::pInstance()->RynLanguageChanged();
}

void hold_polish(QWidget* w) {
    QCoreApplication::removePostedEvents(w, QEvent::PolishRequest);
    for (QWidget* child : w->findChildren<QWidget*>())
        QCoreApplication::removePostedEvents(child, QEvent::PolishRequest);
}

bool panel_locked() {
    return RynRamPara::pInstance()->u16(blk::PANEL_LOCK) != 0;
}
}  // namespace frame

#include "ui/frame/menupage.h"

#include "core/rynrampara.h"
#include "ui/frame/imagecache.h"

#include <QIcon>
#include <QLabel>

void MenuPage::build(MenuTouch touch) {
    focus.styles = &menu_tile_styles();
    for (size_t i = 0; i < count_; ++i) {
        auto* button = findChild<QPushButton*>(QLatin1String(entries_[i].button));
        if (!button)
            qWarning("MenuPage: no tile %s in the form", entries_[i].button);
        else if (touch == MenuTouch::Opens)
            connect(button, &QPushButton::clicked, this, [this, i] { entry_ok(int(i)); });
        tiles_.push_back(button);
    }
    set_focus_list({tiles_.begin(), tiles_.end()});
    // The key hints at the bottom, where the form has them.
    if (auto* ok = findChild<QLabel*>(QStringLiteral("label_note_OK")))
        set_label_pixmap(ok, png(QStringLiteral("OK_Enter.png")));
    if (auto* back = findChild<QLabel*>(QStringLiteral("label_note_back")))
        set_label_pixmap(back, png(QStringLiteral("back_return.png")));
}

QPushButton* MenuPage::tile(int index) const {
    return index >= 0 && index < int(tiles_.size()) ? tiles_[size_t(index)] : nullptr;
}

const FocusStyles& MenuPage::entry_styles(int index) const {
    return entry_available(index) ? menu_tile_styles() : menu_tile_disabled_styles();
}

void MenuPage::entry_ok(int index) {
    if (index < 0 || index >= int(count_) || !entry_available(index))
        return;
    if (entries_[index].open)
        entries_[index].open();
}

void MenuPage::language_changed() {
    if (auto* title = findChild<QLabel*>(QStringLiteral("label_title")))
        set_fitted_text(title, tr5(*title_));
    const int lang = lang_pick();
    std::vector<std::pair<QWidget*, QString>> texts;
    for (size_t i = 0; i < count_; ++i) {
        QPushButton* button = tiles_[i];
        const MenuEntry& e = entries_[i];
        if (!button)
            continue;
        if (e.text[0]) {
            // Fitted inside the focused look's border, which the normal
            // look leaves out of the box: the text stays put when focused.
            set_style(button, entry_styles(int(i)).focused);
            texts.emplace_back(button, tr5(e.text));
        }
        if (e.icon.name) {
            const char* name = lang == LANG_ENGLISH && e.icon.english ? e.icon.english : e.icon.name;
            set_button_icon(button, png_lang(QLatin1String(name) + QLatin1String(".png")), e.icon.size[size_t(lang)]);
        }
    }
    // The tiles side by side read in one size.
    set_fitted_texts(texts);
    focus.restyle_all();
}

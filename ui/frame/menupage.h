#pragma once
// A menu of tiles, each opening a page one level down. A menu states only
// its table (and its form); the keys, the tile styles, the tile texts and
// pictures and the re-text on a language change are done here.
//
//     const std::array<MenuEntry, 2> kEntries = {{
//         {"Button_quality", pages::opener<quality>, {"画质", "Quality", ...}},
//         {"Button_temperature", pages::opener<temperature>, {...}},
//     }};
//     ImageQuality::ImageQuality(QWidget* parent)
//         : MenuPage(Ui::ImageQuality(), kTitle, kEntries, MenuTouch::Opens, parent) {}
#include "ui/frame/pageframe.h"

#include <QDialog>
#include <QPushButton>
#include <QSize>
#include <array>
#include <vector>

// A tile's picture: ":/png/" + language prefix + name + ".png" at the size
// given for the language shown.
struct MenuIcon {
    const char* name = nullptr;  // null: a text tile
    std::array<QSize, LANG_COUNT> size{};
    const char* english = nullptr;  // the English picture's name where it differs
};

struct MenuEntry {
    const char* button;  // object name of the tile's push button in the form
    void (*open)();      // what OK on the tile does, as a rule pages::opener<T>
    Text5 text{};        // the tile's text; none for a picture tile
    MenuIcon icon{};
};

// Whether a touch on a tile acts as OK on it (without moving the focus).
enum class MenuTouch { Opens, Ignored };

class MenuPage : public FramePage<QDialog> {
public:
    // Sets up `form` on this page and finds the tiles of `entries` in it;
    // the table must outlive the page (a static table).
    template <class Form, size_t N>
    MenuPage(Form form, const Text5& title, const std::array<MenuEntry, N>& entries, MenuTouch touch, QWidget* parent)
        : FramePage<QDialog>(parent), title_(&title), entries_(entries.data()), count_(N) {
        form.setupUi(this);
        build(touch);
    }

    // The title, the tile texts and pictures in the current language, and
    // the tiles' looks (availability may have changed). Every child calls
    // it when it closes.
    void language_changed() override;
    // Back (the USB drive watcher closes the settings menu through it too).
    void slot_Button_back_clicked() { close_page(); }

    QPushButton* tile(int index) const;
    int focused_entry() const { return focus.index(); }

protected:
    // An unavailable tile stays in the focus order, drawn grey; OK on it
    // does nothing.
    virtual bool entry_available(int) const { return true; }
    void entry_ok(int index) override;
    const FocusStyles& entry_styles(int index) const override;

private:
    void build(MenuTouch touch);

    const Text5* title_;
    const MenuEntry* entries_;
    size_t count_;
    std::vector<QPushButton*> tiles_;
};

#pragma once
// The picture of the tool strip's quick user-mode grid: 16 slots in a 4x4
// grid over the main menu, each drawn as saved or empty from the slot
// markers, the current mode's slot marked "Using", the selected slot framed
// in orange. What the keys and a click do is the main window's.
#include <QRect>
#include <array>

class QFrame;
class QLabel;
class QPushButton;
class QWidget;

class ModeGrid {
public:
    // Builds the grid, hidden, as a child of `parent` (object name
    // "widget_mode"; slot button i is named "i").
    explicit ModeGrid(QWidget* parent);

    QWidget* widget() const { return widget_; }
    QPushButton* button(int slot) const;

    // Draws every slot anew. The slot `selected` gets the orange frame when
    // it is saved and `frame_saved`, or empty and `frame_empty`.
    void fill(int selected, bool frame_saved, bool frame_empty);
    // Places the grid over the menu, titled for saving or loading, on top.
    void show_titled(bool save);
    void hide();
    // A slot's frame as its marker says (saved or empty), or green as the
    // slot just clicked.
    void show_slot_state(int slot);
    void show_clicked(int slot);

private:
    struct Slot {
        QFrame* frame = nullptr;
        QLabel* image = nullptr;
        QLabel* using_label = nullptr;
        QPushButton* button = nullptr;
    };
    QWidget* widget_;
    QLabel* title_;
    std::array<Slot, 16> slots_{};
};

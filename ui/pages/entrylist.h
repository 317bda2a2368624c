#pragma once
// The source page's entry list: the listed input itself, then its crops,
// three boxes to a page, each with a state dot, the input's icon, a name,
// its size and, on the window's own choice, the "in use" badge. The page
// says what to show; the list reads the names and sizes from the block.
#include <QColor>
#include <QFrame>
#include <QPixmap>
#include <QPointer>
#include <QRect>
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

class QLabel;

// An input has a signal when width, height and rate (as a 16-bit word) of
// its record in the block are all non-zero.
bool input_has_signal(int source);

class EntryList : public QFrame {
public:
    // What one page of the list shows.
    struct View {
        uint8_t source = 0;  // the listed input's source id
        QString name;        // its name: the first entry's, and the crops' stem
        int first = 0;       // entry position of the first box
        int shown = 0;       // boxes shown, 0..3
        int focused = -1;    // the focused entry position, -1 none
        int in_use = -1;     // the window's own choice, -1 none
    };

    // Named "frame", at its place on `page`, below the page's other children.
    explicit EntryList(QWidget* page);

    // Shows the list: a box is made the first time a place is needed and
    // hidden while it is not (a hidden box shows no badge), and a label
    // given what it shows already does nothing.
    void show_entries(const View& view);
    // The language the texts were last built in (lang_pick()), -1 never.
    int language() const { return language_; }

    // The 1-pixel border in the level's colour.
    void set_border(const QColor& colour);
    // The source marker's foot: black (its style sets no colour there),
    // between its sides, over this frame's top edge; `from` in this frame's
    // x, -1 none.
    void set_foot(int from, int width);

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    enum Look { NORMAL, FOCUSED, IN_USE, LOOK_COUNT };
    struct Box {
        QFrame* box = nullptr;
        QLabel* state = nullptr;
        QLabel* icon = nullptr;
        QLabel* name = nullptr;
        QLabel* info = nullptr;
        QPointer<QLabel> badge;
        Look look = NORMAL;
    };
    Box make_box(int i);
    void fill_texts(Box& b, const View& view, int e);
    void show_badge(Box& b, bool used);
    void make_look(Look look);
    void set_look(Box& b, Look look);

    std::vector<Box> boxes_;
    std::array<QPixmap, LOOK_COUNT> looks_;
    int language_ = -1;
    QColor border_;
    QRect foot_;
};

#pragma once
// Pictures of what push buttons draw on the screen in their two focus looks
// (a focus list shows them by the flat state, see FocusList::restyle), so
// that a focus move copies two pictures instead of running the style
// sheet's drawing, which strokes rounded borders and fills rounded
// backgrounds anew at every move.
//
// A picture is the button's spot of the window as the window draws it: the
// ancestors' backgrounds, then the button. It is drawn in idle time after
// the button was painted without one, and used only while the button still
// shows what it was drawn from (look, icon, text, size; style, palette and
// font changes and a move drop it). A pressed button, a paint into anything but the
// window (grab, render) and a button whose window has no raster backing
// store are drawn by the style as ever. Meant for buttons that lie alone
// on plain backgrounds, such as menu tiles.
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QSize>
#include <QString>
#include <array>
#include <vector>

class QPushButton;

class LookCache : public QObject {
    Q_OBJECT
public:
    explicit LookCache(QObject* parent = nullptr) : QObject(parent) {}
    void add(QPushButton* button);
    // The number of the buttons' pictures that match what they show now.
    int ready() const;

    // Off: every paint is the style's (for comparing the two).
    static bool enabled;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    struct Picture {
        QImage image;
        qint64 icon = 0;
        QSize icon_size, size;
        QString text;
        bool enabled = false;
    };
    struct Entry {
        QPushButton* button = nullptr;
        std::array<Picture, 2> looks; // by isFlat()
    };
    static bool matches(const Picture& p, const QPushButton* b);
    Entry* entry(const QObject* button);
    bool paint(Entry& e);
    void schedule(QPushButton* button);
    void draw_pending();
    void draw(Entry& e);

    std::vector<Entry> entries_;
    std::vector<QPointer<QPushButton>> pending_;
    const QPushButton* drawing_ = nullptr;
};

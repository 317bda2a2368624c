#pragma once
// What the panel is measured against: the least any program showing a
// 320x240 screen does, in the same run and the same build.
#include <QObject>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace bench {
// A window of the LCD's size with a 10 ms tick of its own, as the panel
// has. It takes the keys: Left and Right move a mark (a part repaints),
// any other key repaints it whole, as a page change must at least. With
// `texts` it also draws the home screen's texts in the application font.
class FloorWindow : public QWidget {
public:
    explicit FloorWindow(bool texts);
    // The least a parameter change shown on the home screen costs: one
    // number's box repainted.
    void refresh();

protected:
    void paintEvent(QPaintEvent*) override;
    void keyReleaseEvent(QKeyEvent* e) override;

private:
    QRect mark_rect() const;
    bool texts_;
    int mark_ = 0;
    int ticks_ = 0;
    QTimer tick_;
};

// Calls `reached` once, when the GUI thread has gone idle after arm(): a
// pass of the event loop that delivered nothing but 10 ms ticks.
class IdleWatch : public QObject {
public:
    explicit IdleWatch(std::function<void()> reached);
    void arm() { armed_ = true; }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void about_to_block();
    std::function<void()> reached_;
    bool armed_ = false;
    bool busy_ = true;
};
}  // namespace bench

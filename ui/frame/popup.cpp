#include "ui/frame/popup.h"

#include <QEvent>
#include <QGuiApplication>
#include <QObject>
#include <QWidget>

namespace {
// Sees the show event before the window is mapped, so the popup is mapped
// on top rather than raised after a first frame under the page.
class RaiseOnShow : public QObject {
public:
    explicit RaiseOnShow(QWidget* popup) : QObject(popup), popup_(popup) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == popup_ && event->type() == QEvent::Show)
            popup_->raise();
        return false;
    }

private:
    QWidget* popup_;
};
}  // namespace

void raise_when_shown(QWidget* popup) {
    // The offscreen platform of the tests has no stacking (and says so on
    // every raise).
    if (popup && QGuiApplication::platformName() != QLatin1String("offscreen"))
        popup->installEventFilter(new RaiseOnShow(popup));
}

#include "ui/frame/popup.h"

#include <QEvent>
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
    if (popup)
        popup->installEventFilter(new RaiseOnShow(popup));
}

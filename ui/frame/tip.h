#pragma once
// The one notice popup: a check mark or a USB line for 3 seconds, modal.
#include <QDialog>

class QFrame;

enum TIP_KIND : int { TIP_DONE = 1, TIP_USB_IN = 3, TIP_USB_OUT = 4, TIP_USB_READING = 5 };

class TIP : public QDialog {
    Q_OBJECT
public:
    explicit TIP(QWidget* parent = nullptr);
    // Shows the notice of `kind` and returns when it has gone (3 s). A
    // second call while a notice shows rebuilds it and restarts the count.
    void tip_create(int kind);
    void tip_show();
    // Called every 10 ms tick while g_tip_flag is set.
    void tip_outtime_deal();
    int tick_count() const { return count_; }
    int shown_kind() const { return kind_; }

protected:
    void keyPressEvent(QKeyEvent*) override {}
    void reject() override {}

private:
    QFrame* frame_ = nullptr;
    int count_ = 0;
    int kind_ = 0;
};

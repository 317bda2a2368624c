#pragma once
// The LED screen page (page 13), opened from the output menu: the width and
// height of the LED screen, typed on the number keypad and applied with the
// output split reset to one screen.
#include "ui/frame/pageframe.h"

#include <QDialog>
#include <QString>
#include <memory>

namespace Ui {
class ledset;
}

class ledset : public FramePage<QDialog> {
    Q_OBJECT
public:
    static constexpr PAGE_ID ID = PAGE_LEDSET;
    explicit ledset(QWidget* parent = nullptr);
    ~ledset() override;

    // Focus list positions.
    enum Entry : uint8_t { ENTRY_WIDTH = 0, ENTRY_HEIGHT = 1, ENTRY_APPLY = 2, ENTRY_CANCEL = 3 };

    // Limits of the typed size: each side, and the pixel count. A height
    // typed within range limits the pixel count more loosely.
    static constexpr int kMinSide = 64;
    static constexpr int kMaxSide = 8188;
    static constexpr int32_t kMaxPixels = 0xA00000;
    static constexpr int32_t kMaxPixelsHeightTyped = 13000000;

    void para_init() override;
    void menulist_init();
    void language_changed() override;
    void syncUpdate(int code) override;

    // Apply: the size, splice mode 0 and both output rectangles; for a new
    // size also window 0 over the whole screen, the other windows off and
    // the FPGA's LED reload. Reached by the keys only.
    void on_Button_apply1_clicked();

    int focused_entry() const { return focus.index(); }

public slots:
    void slot_Button_back_clicked();

protected:
    const FocusStyles& entry_styles(int index) const override;
    void entry_ok(int index) override;
    void back_pressed() override { slot_Button_back_clicked(); }
    QString number_title(const My_lineEdit* field) const override;
    void confirmString(const QString& text) override;
    void keyReleaseEvent(QKeyEvent* e) override;

private:
    std::unique_ptr<Ui::ledset> ui;
    // Set while Apply shows its notice with para_mutex held: a key that
    // reached the page then must not start a second Apply (or a keypad
    // shortcut) that would wait on that lock in this very thread.
    bool applying = false;
};

inline ledset* g_ledset() {
    return pages::get<ledset>();
}

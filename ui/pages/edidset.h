#pragma once
// The EDID page (page 8): per input, the width, height and refresh rate
// that its EDID announces. Save stores them in the input's EDID entry; the
// scaler then asks the source manager to rewrite that input's EEPROM.
#include "core/ids.h"
#include "ui/frame/pageframe.h"

#include <QDialog>
#include <QString>
#include <cstdint>

class QFrame;
class QLabel;
class QPushButton;

namespace Ui {
class EDIDset;
}

class EDIDset : public FramePage<QDialog> {
    Q_OBJECT
public:
    static constexpr PAGE_ID ID = PAGE_EDIDSET;
    explicit EDIDset(QWidget* parent = nullptr);
    ~EDIDset() override;

    // Levels (ui_seltype).
    enum Level : uint8_t { LEVEL_TABS = 0, LEVEL_FRAME = 1, LEVEL_RATE = 2 };
    // Entries of the edit frame (ui_line_select).
    enum Entry : uint8_t { ENTRY_W = 0, ENTRY_H, ENTRY_RATE, ENTRY_DELETE, ENTRY_CANCEL, ENTRY_SAVE, ENTRY_COUNT };

    void source_init();
    void on_Button_freq_clicked();

    void para_init() override;
    void language_changed() override;
    void syncUpdate(int code) override;

    uint8_t focus() const { return ui_select; }

    // The page's state, read by tests.
    uint8_t ui_select = 0;  // list position of the selected input
    uint8_t ui_line_select = ENTRY_W;
    uint8_t ui_seltype = LEVEL_TABS;
    uint8_t rate_select = 0;  // 1 = 60 Hz, 0 = 30 Hz
    uint8_t rate_saved = 0;
    uint8_t source_id = 2;
    QString source_name;

public slots:
    void ryn_button_input_clicked();
    void ryn_button_source_clicked();
    void ryn_button_ok_clicked();
    void ryn_button_cancel_clicked();
    void slot_Button_back_clicked();

protected:
    void back_pressed() override { slot_Button_back_clicked(); }
    QString number_title(const My_lineEdit* field) const override;
    void confirmString(const QString& text) override;

private:
    void build_levels();
    void edit_frame_ok(int entry);
    // The tab outline and the card: orange while the tabs have the focus.
    void style_tabs(bool focused);
    void hide_edit_frame();

    Ui::EDIDset* ui;
    // The levels: the six input tabs, the edit frame's six entries and the
    // refresh-rate choice (0 = 30 Hz, 1 = 60 Hz).
    FocusList tabs, edit, rate;
    QWidget* ui_focus = nullptr;         // the size field that has or last had the focus
    QWidget* ui_focus_button = nullptr;  // the button that has or last had the focus
    QString rate_text_saved;             // "label_rate" when the rate choice was entered
    QFrame* frame_select = nullptr;
    QFrame* frame_source = nullptr;
    QLabel* card_box = nullptr;
    QLabel* card_state = nullptr;
    QLabel* card_input = nullptr;
    QLabel* card_name = nullptr;
    QLabel* card_timing = nullptr;
    int card_input_source = -1;  // the source whose picture the card shows
    QPushButton* button_cancel = nullptr;
    QPushButton* button_save = nullptr;
    QPushButton* button_delete = nullptr;
};

inline EDIDset* g_edidset() {
    return pages::get<EDIDset>();
}

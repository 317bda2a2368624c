#pragma once
// The input crop page (page 7): per input, a list of rectangular crops of
// its picture that the source selection page offers as window sources.
// Levels: the source row, the crop list (six tiles a page and an add
// button), the new-crop editor and the crop editor.
#include "core/ids.h"
#include "ui/frame/pageframe.h"

#include <QDialog>
#include <QString>
#include <array>
#include <cstdint>

class QFrame;
class QLabel;
class QPushButton;

namespace Ui {
class InputCut;
}

class InputCut : public FramePage<QDialog> {
    Q_OBJECT
public:
    static constexpr PAGE_ID ID = PAGE_INPUTCUT;
    explicit InputCut(QWidget* parent = nullptr);
    ~InputCut() override;

    enum Level : uint8_t { LEVEL_SOURCES = 0, LEVEL_CROPS = 1, LEVEL_NEW = 2, LEVEL_EDIT = 3 };
    // The elements of the editors; the new-crop editor has no Delete.
    enum EditorEntry : int { ED_X = 0, ED_Y, ED_W, ED_H, ED_DELETE, ED_CANCEL, ED_OK, ED_COUNT };
    static constexpr int TILES_PER_PAGE = 6;

    void source_init();
    void source_name_update();
    void crop_source_num_update();
    int get_source_num(int id) const;
    void source_current_check();
    void para_changed_over();

    void para_init() override;
    void language_changed() override;
    void syncUpdate(int code) override;

    uint8_t focus() const { return ui_select; }
    // The editor element that has the focus (ED_X..ED_OK), -1 outside them.
    int editor_entry() const;

    // The page's state, read by tests. ui_select: the source-row position
    // at level 0; in the crop list 0 the add button and 1..6 entries 0..5
    // on page 0, 0..5 entries 6p..6p+5 on page p >= 1.
    uint8_t ui_level = LEVEL_SOURCES;
    uint8_t ui_select = 0;
    uint8_t source_select = 0;
    uint8_t crop_select = 0;
    uint8_t current_pag = 0;
    uint8_t max_page = 0;
    uint8_t select_source = 2;
    uint8_t crop_number = 0;
    int max_source_info = 1;
    std::array<uint8_t, SOURCE_COUNT> entry_count{};
    QString source_name = QStringLiteral("HDMI1");
    QString crop_name;
    // The crop number (1..40) of the crop the crop editor edits, 0 for
    // none, NEW_CROP in the new-crop editor: a change of the crop table
    // from outside moves list positions, never this.
    static constexpr int NEW_CROP = -1;
    int edited_crop = 0;

public slots:
    void slot_Button_back_clicked();
    void ryn_button_input_clicked();
    void ryn_button_source_clicked();
    void ryn_button_add_clicked();
    void ryn_button_cancel_clicked();
    void ryn_button_ok_clicked();
    void ryn_button_delete_clicked();

protected:
    void back_pressed() override { slot_Button_back_clicked(); }
    QString number_title(const My_lineEdit* field) const override;
    void confirmString(const QString& text) override;

private:
    struct Tile {
        QFrame* frame = nullptr;
        QLabel* state = nullptr;
        QLabel* icon = nullptr;
        QLabel* name = nullptr;
        QLabel* size = nullptr;
    };
    void build_crop_list();
    void build_levels();
    // The crop list's focus from its position (current_pag, ui_select),
    // and back; a position past the list falls back to the add button.
    void show_crop_focus();
    void take_crop_focus();
    void enter_crop_list(uint8_t page, uint8_t position);
    void open_editor(FocusList& editor);
    // Leaves an editor for the crop list, then runs `action`.
    void leave_editor(void (InputCut::*action)());
    My_lineEdit* field(int entry) const;
    void set_editor_title();

    Ui::InputCut* ui;
    // The levels: the source row, the crop list (entry 0 the add button,
    // entry k list entry k - 1) and the two editors.
    FocusList row, crops, new_editor, crop_editor;
    QFrame* source_focus_frame = nullptr;
    QFrame* frame_source = nullptr;
    QPushButton* add_button = nullptr;
    QPushButton* button_cancel = nullptr;
    QPushButton* button_ok = nullptr;
    QPushButton* button_delete = nullptr;
    std::array<Tile, TILES_PER_PAGE> tiles{};
    std::array<QLabel*, SOURCE_COUNT> row_names{};
    int tile_icon_source = -1;  // the source whose connector the tiles show
};

inline InputCut* g_inputcut() {
    return pages::get<InputCut>();
}

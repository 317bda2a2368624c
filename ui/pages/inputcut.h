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
    explicit InputCut(QWidget* parent = nullptr);
    ~InputCut() override;

    enum Level : uint8_t { LEVEL_SOURCES = 0, LEVEL_CROPS = 1, LEVEL_NEW = 2, LEVEL_EDIT = 3 };
    // Editor positions, counted from the editor's base (max_source_info
    // when the editor opened).
    enum EditorEntry : int {
        ED_X = 0, ED_Y, ED_W, ED_H, ED_DELETE, ED_CANCEL, ED_OK, ED_COUNT
    };
    static constexpr int TILES_PER_PAGE = 6;

    void menulist_init();
    void source_init();
    void source_name_update();
    void crop_source_num_update();
    int get_source_num(int id) const;
    void source_current_check();
    // mode 0 normal, 1 focused, 2 the X field normal whatever the index.
    void ryn_sel_info(int index, int mode, int n);
    void para_changed_over();

    void language_changed() override;
    void syncUpdate(int code) override;

    uint8_t focus() const { return ui_select; }

    // The page's state, read by tests.
    uint8_t ui_level = LEVEL_SOURCES;
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
    // Fixed when an editor opens: the base of its positions and the crop
    // number (1..40) of the crop it edits, 0 for none. A change of the
    // crop table from outside must not move them.
    int editor_base = 0;
    int edited_crop = 0;
    uint8_t editor_level = LEVEL_NEW; // which editor is (or was last) open

public slots:
    void slot_Button_back_clicked();
    void ryn_button_input_clicked();
    void ryn_button_source_clicked();
    void ryn_button_add_clicked();
    void ryn_button_cancel_clicked();
    void ryn_button_ok_clicked();
    void ryn_button_delete_clicked();

protected:
    bool page_key(PanelKey k, int key) override;
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
    void key_sources(PanelKey k);
    void key_crops(PanelKey k);
    void key_editor(PanelKey k);
    void build_crop_list();
    void open_editor(Level level);
    // The editor's element at `entry` (ED_X..ED_OK).
    QWidget* editor_widget(int entry) const;
    My_lineEdit* field(int entry) const;
    void set_editor_title();

    Ui::InputCut* ui;
    QFrame* source_focus_frame = nullptr;
    QFrame* frame_source = nullptr;
    QPushButton* add_button = nullptr;
    QPushButton* button_cancel = nullptr;
    QPushButton* button_ok = nullptr;
    QPushButton* button_delete = nullptr;
    std::array<Tile, TILES_PER_PAGE> tiles{};
    std::array<QLabel*, SOURCE_COUNT> row_names{};
    int tile_icon_source = -1; // the source whose connector the tiles show
};

inline InputCut* g_inputcut() {
    return pages::get<InputCut>(PAGE_INPUTCUT);
}

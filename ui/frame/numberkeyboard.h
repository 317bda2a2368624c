#pragma once
// The one on-screen number keypad shared by every number field, driven by
// the panel keys (focus and OK) and by touch.
#include "ui/frame/language.h"

#include <QDialog>
#include <QString>
#include <array>
#include <cstdint>

class QPushButton;

// The keypad's titles for width and height fields: the Chinese character in
// the two Chinese languages, the letter in the others.
constexpr Text5 kKeypadTitleWidth = {"宽", "W", "W", "W", "寬"};
constexpr Text5 kKeypadTitleHeight = {"高", "H", "H", "H", "高"};

namespace Ui {
class NumberKeyboard;
}

class NumberKeyboard : public QDialog {
    Q_OBJECT
public:
    explicit NumberKeyboard(QWidget* parent = nullptr);
    ~NumberKeyboard() override;

    void menulist_init();
    // Fills the keypad for a field; does not show it or move the focus.
    void label_show(const QString& title, const QString& value);
    void language_changed();

    // For tests and callers that inspect the keypad.
    QString title() const;
    QString value() const;
    uint8_t focused_index() const { return ui_select; }

signals:
    void sendKeyBoardUIDataToLineEdit(QString text);

public slots:
    void on_ButtonC_clicked();
    void on_ButtonX_clicked();
    void on_Button_ok_clicked();
    void on_Button_close_clicked();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    static constexpr int KEY_COUNT = 14;
    static constexpr int KEY_ZERO = 9;
    static constexpr int KEY_C = 10;
    static constexpr int KEY_X = 11;
    static constexpr int KEY_CANCEL = 12;
    static constexpr int KEY_OK = 13;

    void type_digit(int digit);
    void press(int index);
    void move_focus(int delta);

    Ui::NumberKeyboard* ui;
    uint8_t ui_select = 0;
    QWidget* ui_focus = nullptr;
    const QString style_default = "background-color: rgb(255, 255, 255);border:1px ;";
    const QString style_focus = "background-color: rgb(255, 255, 255);border:1px solid rgb(255,171,84);";
    const QString style_ok_default = "background-color: rgb(71, 119, 255);border:1px ;";
    const QString style_ok_focus = "background-color: rgb(71, 119, 255);border:1px solid rgb(255,171,84);";
    std::array<QPushButton*, KEY_COUNT> ui_list{};
};

#include "ui/frame/custommode.h"

#include "ui/frame/lockwindow.h"

#include <QLabel>

namespace {
const Text5 kTitle = {"用户模式", "User mode", "Пользовательский режим", "Chế độ người dùng", "用戶模式"};
}

CustomMode::CustomMode(QWidget* parent) : FramePage<QWidget>(parent) {
    setGeometry(0, 0, 320, 240);
    setStyleSheet("background-color: rgb(33, 36, 53); color: rgb(255, 255, 255);");
    auto* title = new QLabel(this);
    title->setObjectName("label_title");
    title->setGeometry(0, 10, 320, 30);
    title->setAlignment(Qt::AlignCenter);
}

void CustomMode::language_changed() { findChild<QLabel*>("label_title")->setText(tr5(kTitle)); }

void CustomMode::syncUpdate(int) {}

// Back returns to the home screen when MODE opened the page, else to
// MainWindow.
void CustomMode::back_pressed() {
    const bool shortcut = g_mode_shortcut_key != 0;
    g_mode_shortcut_key = 0;
    close_page();
    if (shortcut)
        pages::open<LockWindow>(false);
}

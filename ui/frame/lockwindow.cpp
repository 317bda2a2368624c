#include "ui/frame/lockwindow.h"

#include <QLabel>

namespace {
const Text5 kTitle = {"主页", "Home", "Главная", "Trang chủ", "主頁"};
}

LockWindow::LockWindow(QWidget* parent) : FramePage<QDialog>(PAGE_LOCKWINDOW, parent) {
    setGeometry(0, 0, 320, 240);
    setStyleSheet("background-color: rgb(33, 36, 53); color: rgb(255, 255, 255);");
    auto* title = new QLabel(this);
    title->setObjectName("label_title");
    title->setGeometry(0, 10, 320, 30);
    title->setAlignment(Qt::AlignCenter);
    language_changed();
}

void LockWindow::language_changed() { findChild<QLabel*>("label_title")->setText(tr5(kTitle)); }

void LockWindow::syncUpdate(int) {}

// OK closes the home screen and returns to MainWindow.
void LockWindow::entry_ok(int) { close_page(); }

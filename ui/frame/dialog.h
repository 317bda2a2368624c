#pragma once
// A spare dialog that no page opens: it closes with accept() when its one
// button is clicked.
#include <QDialog>
#include <memory>

namespace Ui {
class Dialog;
}

class Dialog : public QDialog {
    Q_OBJECT
public:
    explicit Dialog(QWidget* parent = nullptr);
    ~Dialog() override;

private:
    std::unique_ptr<Ui::Dialog> ui;
};

#pragma once
// A spare dialog that no page opens: it closes with accept() when its one
// button is clicked.
#include <QDialog>
#include <memory>

namespace Ui {
class About;
}

class About : public QDialog {
    Q_OBJECT
public:
    explicit About(QWidget* parent = nullptr);
    ~About() override;

private:
    std::unique_ptr<Ui::About> ui;
};

#pragma once
// The device status page (page 2): output-port links, inputs online, the
// serial number and the versions. Read-only.
#include "ui/frame/pageframe.h"

#include <QDialog>
#include <QFrame>
#include <QPointer>

namespace Ui {
class MachineState;
}

class MachineState : public FramePage<QDialog> {
    Q_OBJECT
public:
    static constexpr PAGE_ID ID = PAGE_MACHINESTATE;
    explicit MachineState(QWidget* parent = nullptr);
    ~MachineState() override;

    void version_changed();
    void source_check();
    void initWlan();
    void language_changed() override;
    void syncUpdate(int code) override;

public slots:
    void on_Button_back_clicked();

private:
    Ui::MachineState* ui;
    QPointer<QFrame> port_frame;
};

inline MachineState* g_machinestate() {
    return pages::get<MachineState>();
}

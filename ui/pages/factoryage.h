#pragma once
// The ageing-log page (page 23): the in-memory ageing record and the counts
// of how far the frame counter moved between samples.
#include "ui/frame/servicepage.h"

class QListWidget;

class factoryage : public ServicePage {
    Q_OBJECT
public:
    static constexpr PAGE_ID ID = PAGE_FACTORYAGE;
    explicit factoryage(QWidget* parent = nullptr);

    // Redraws the list from factoryage_log and the step counters; the tick
    // calls it after every ageing sample while the page is open.
    void update_agelog();
    void para_init() override { update_agelog(); }

public slots:
    void slot_Button_back_clicked();

protected:
    void back_pressed() override { slot_Button_back_clicked(); }

private:
    QListWidget* log_list = nullptr;
    QLabel* steps = nullptr;
};

inline factoryage* g_factoryage() {
    return pages::get<factoryage>();
}

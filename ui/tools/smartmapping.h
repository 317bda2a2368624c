#pragma once
// The smart screen-setup wizard (page 24), opened from the settings menu.
#include "ui/frame/servicepage.h"

class SmartMapping : public ServicePage {
    Q_OBJECT
public:
    static constexpr PAGE_ID ID = PAGE_SMARTMAPPING;
    explicit SmartMapping(QWidget* parent = nullptr);
    ~SmartMapping() override;

    // Starts a receiving-card job with the round progress bar over the
    // page; false when none can run.
    bool start_job();

signals:
    // A running card job's progress in percent (0..100), emitted by the
    // FPGA thread; queued to the round progress bar.
    void sig_qround_bar_update(int percent);

public slots:
    // Refused while a card job shows the round progress bar.
    void Button_back_clicked();

protected:
    void entry_ok(int) override { start_job(); }
    void back_pressed() override { Button_back_clicked(); }
    // While the bar shows, the page stays: the bar is its child.
    bool page_key(PanelKey k, int) override;
};

inline SmartMapping* g_smartmapping() {
    return pages::get<SmartMapping>();
}

#pragma once
// The receiving-card self-recovery page (page 25), opened from the advanced
// submenu while recovery packages are stored.
#include "ui/frame/servicepage.h"

class rcv_recovery : public ServicePage {
    Q_OBJECT
public:
    static constexpr PAGE_ID ID = PAGE_RCV_RECOVERY;
    explicit rcv_recovery(QWidget* parent = nullptr);
    ~rcv_recovery() override;

    // Starts a receiving-card job with the round progress bar over the
    // page; false when none can run.
    bool start_job();

signals:
    // A running card job's progress in percent (0..100), emitted by the
    // FPGA thread; queued to the round progress bar.
    void sig_qround_bar_update(int percent);

public slots:
    // Back; also called when the PC deletes the stored packages. Refused
    // while a card job shows the round progress bar.
    void menulist_back_page();

protected:
    void entry_ok(int) override { start_job(); }
    void back_pressed() override { menulist_back_page(); }
    // While the bar shows, the page stays: the bar is its child.
    bool page_key(PanelKey k, int) override;
};

inline rcv_recovery* g_rcv_recovery() {
    return pages::get<rcv_recovery>();
}

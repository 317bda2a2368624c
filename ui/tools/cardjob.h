#pragma once
// Starting a receiving-card job from a tools page: the shared round
// progress bar over the page, fed by the page's progress signal, which the
// FPGA thread emits until the job ends at 100.
#include "core/global.h"
#include "ui/frame/shared_widgets.h"
#include "fpga/fpga_manage.h"
#include "ui/frame/qroundprogressbar.h"

#include <QObject>

// false when no FPGA manager runs or a job already shows its bar; the bar
// then never appears, so the page is never left refusing its keys.
template <class Page> bool start_card_job(Page* page) {
    fpga_manage* fpga = fpga_manage::p_fpga_manage;
    if (!fpga || g_qround_bar || fpga->card_job_running())
        return false;
    QRoundProgressBar::create_qround_bar(page);
    QObject::connect(page, &Page::sig_qround_bar_update, g_qround_bar, &QRoundProgressBar::para_sync);
    return fpga->start_card_job(page);
}

// From the page's destructor: no report may reach a page being deleted.
inline void end_card_job(QObject* page) {
    if (fpga_manage* fpga = fpga_manage::p_fpga_manage)
        fpga->cancel_card_job(page);
}

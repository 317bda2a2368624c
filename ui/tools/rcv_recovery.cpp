#include "ui/tools/rcv_recovery.h"

#include "core/global.h"
#include "ui/frame/shared_widgets.h"
#include "ui/tools/cardjob.h"

#include <QPushButton>

namespace {
const Text5 kTitle = {"接收卡自恢复", "Card self-recovery", "Самовосстановление карт", "Tự phục hồi thẻ nhận",
                      "接收卡自恢復"};
}

rcv_recovery::rcv_recovery(QWidget* parent) : ServicePage(kTitle, parent) {
    // OK starts the card job, so the back button (for touch) must not look
    // like the entry OK acts on.
    set_focus_list({});
    set_style(back_button, focus.styles->normal);
}

rcv_recovery::~rcv_recovery() {
    end_card_job(this);
}

bool rcv_recovery::start_job() {
    return start_card_job(this);
}

void rcv_recovery::menulist_back_page() {
    if (g_qround_bar)
        return;
    close_page();
}

// MODE too: closing the page would delete the bar under g_qround_bar.
bool rcv_recovery::page_key(PanelKey k, int) {
    return g_qround_bar && k != PanelKey::Other;
}

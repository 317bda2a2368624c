#include "ui/tools/smartmapping.h"

#include "core/global.h"
#include "ui/frame/shared_widgets.h"
#include "ui/tools/cardjob.h"

#include <QPushButton>

namespace {
const Text5 kTitle = {"智能映射", "Smart mapping", "Умная настройка", "Ánh xạ thông minh", "智能映射"};
}

SmartMapping::SmartMapping(QWidget* parent) : ServicePage(kTitle, parent) {
    // OK starts the card job, so the back button (for touch) must not look
    // like the entry OK acts on.
    set_focus_list({});
    set_style(back_button, focus.styles->normal);
}

SmartMapping::~SmartMapping() {
    end_card_job(this);
}

bool SmartMapping::start_job() {
    return start_card_job(this);
}

void SmartMapping::Button_back_clicked() {
    if (g_qround_bar)
        return;
    close_page();
}

// MODE too: closing the page would delete the bar under g_qround_bar.
bool SmartMapping::page_key(PanelKey k, int) {
    return g_qround_bar && k != PanelKey::Other;
}

#include "ui/pages/advancedoption.h"

#include "ui_advancedoption.h"

#include "fpga/fpga_manage.h"
#include "fpga/rcv_recovery_file.h"
#include "ui/pages/factory.h"
#include "ui/pages/factoryage.h"
#include "ui/pages/lcdshow.h"
#include "ui/pages/othersetup.h"
#include "ui/tools/rcv_recovery.h"

#include <QPointer>
#include <algorithm>
#include <mutex>

namespace {
const Text5 kTitle = {"高级设置", "Advanced Settings", "Доп.опции", "Cài đặt nâng cao", "高級設置"};
const Text5 kCodeTitle = {"key", "key", "Пароль", "key", "key"};
const char kAgeCode[] = "6157";
const char kCodeShown[] = "**********";
const char kRecoveryDir[] = "/data/rcvrecovery";

constexpr int kRecoveryEntry = 2;

void open_age() {
    if (AdvancedOption* page = g_advancedoption())
        page->on_Button_age_clicked();
}

const std::array<MenuEntry, 5> kEntries = {{
    {"Button_LCDshow", pages::opener<lcdshow>, {"液晶显示", "LCD display", "ЖК\nдисплей", "Màn hình\nLCD", "液晶顯示"}},
    {"Button_other",
     pages::opener<othersetup>,
     {"其他设置", "Others", "Другие\nнастройки", "Cài đặt\nkhác", "其他設置"}},
    {"Button_rcv_recovery",
     pages::opener<rcv_recovery>,
     {"接收卡自恢复", "Rcv\nself-recovery", "Самовосста-\nновление", "Thẻ nhận tự\nphục hồi", "接收卡自恢復"}},
    {"Button_factory",
     pages::opener<factory>,
     {"工厂设置", "Factory", "Системные\nнастройки", "Khôi phục\ncài đặt gốc", "工廠設置"}},
    {"Button_age", open_age, {"工厂老化", "Aging", "Заводской\nпрогон", "Lão hóa\nnhà máy", "工廠老化"}},
}};

// The page as other threads may reach it, for the queued re-text. The
// destructor clears it under the lock, so a call is never queued on a page
// being deleted (Qt drops the calls still queued on a deleted object).
std::mutex g_live_mutex;
AdvancedOption* g_live = nullptr;
}  // namespace

AdvancedOption::AdvancedOption(QWidget* parent)
    : MenuPage(Ui::AdvancedOption(), kTitle, kEntries, MenuTouch::Opens, parent) {
    std::lock_guard<std::mutex> lock(g_live_mutex);
    g_live = this;
}

AdvancedOption::~AdvancedOption() {
    std::lock_guard<std::mutex> lock(g_live_mutex);
    if (g_live == this)
        g_live = nullptr;
}

void AdvancedOption::recovery_files_changed() {
    std::lock_guard<std::mutex> lock(g_live_mutex);
    if (!g_live)
        return;
    AdvancedOption* page = g_live;
    QMetaObject::invokeMethod(
        page,
        [page] {
            // The page may have gone to the back (a child opened) meanwhile.
            if (g_page_focus == PAGE_ADVANCEDOPTION && g_advancedoption() == page)
                page->language_changed();
        },
        Qt::QueuedConnection);
}

bool AdvancedOption::entry_available(int index) const {
    return index != kRecoveryEntry || rcv_file_count != 0;
}

void AdvancedOption::language_changed() {
    // Without the FPGA manager, its parser or the folder, the availability
    // found before stands. 256 packages must not read as none.
    fpga_manage* fpga = fpga_manage::p_fpga_manage;
    if (fpga && fpga->recovery_parser) {
        const int n = fpga->recovery_parser->count_dir_files(QLatin1String(kRecoveryDir));
        if (n >= 0)
            rcv_file_count = uint8_t(std::min(n, 255));
    }
    MenuPage::language_changed();
}

void AdvancedOption::on_Button_age_clicked() {
    if (age_unlocked) {
        pages::open<factoryage>();
        return;
    }
    NumberKeyboard* keypad = shared_keypad();
    keypad->label_show(tr5(kCodeTitle), QLatin1String(kCodeShown));
    // Connected for this run only, like every number field of the frame.
    const QMetaObject::Connection result = connect(keypad, &NumberKeyboard::sendKeyBoardUIDataToLineEdit, this,
                                                   [this](const QString& text) { confirmString(text); });
    keypad->exec();
    disconnect(result);
}

void AdvancedOption::confirmString(const QString& text) {
    if (text != QLatin1String(kAgeCode))
        return;  // a wrong code is ignored without a message
    QPointer<AdvancedOption> self(this);
    age_unlocked = 1;
    on_Button_age_clicked();
    if (self)
        age_unlocked = 0;
}

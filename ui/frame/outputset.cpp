#include "ui/frame/outputset.h"

#include "ui_outputset.h"

#include "core/rynrampara.h"
#include "ui/pages/ledset.h"
#include "ui/pages/netset.h"

#include <QPixmap>
#include <array>

namespace {
const Text5 kTitle = {"输出设置", "Output Seeting", "Выход", "Thông số đầu ra", "輸出設置"};
const Text5 kLedSize = {"当前设置LED屏宽高为: %dx%d", "LED Screen can be set:%dx%d",
                        "Текущий размер LED (px): %dx%d",
                        "Gợi ý: Kích thước màn hình LED hiện tại::%dx%d", "當前設置LED屏寬高爲: %dx%d"};

struct Entry {
    QPushButton* Ui::OutputSet::*button;
    void (OutputSet::*open)();
    Text5 text;
};
const std::array<Entry, 2> kEntries = {{
    {&Ui::OutputSet::Button_ledset,
     &OutputSet::on_Button_ledset_clicked,
     {"LED设置", "LED Setting", "Настройки\nLED", "Cài đặt\nLED", "LED設置"}},
    {&Ui::OutputSet::Button_lanset,
     &OutputSet::on_Button_lanset_clicked,
     {"网口输出", "Port output", "Настройка\nLAN", "Cài đặt\ncổng MẠNG", "網口輸出"}},
}};

const FocusStyles kStyles{
    "color:rgb(255,255,255);background-color: rgb(33, 36, 53) ; border:2px "
    ";border-radius:10px;padding:2px 4px",
    "color:rgb(255,255,255);background-color: rgb(33, 36, 53); border:2px solid "
    "rgb(255,171,84);border-radius:10px;padding:2px 4px",
    "color:rgb(255,255,255);background-color: rgb(33, 36, 53); border:2px solid "
    "rgb(255,171,84);border-radius:10px;padding:2px 4px"};
} // namespace

OutputSet::OutputSet(QWidget* parent)
    : FramePage<QDialog>(PAGE_OUTPUTSET, parent), ui(std::make_unique<Ui::OutputSet>()) {
    ui->setupUi(this);
    ui->label_note_OK->setPixmap(QPixmap(png("OK_Enter.png")));
    ui->label_note_back->setPixmap(QPixmap(png("back_return.png")));
    styles = &kStyles;
    menulist_init();
    language_changed();
}

OutputSet::~OutputSet() = default;

void OutputSet::menulist_init() {
    std::vector<QWidget*> list;
    for (const Entry& e : kEntries)
        list.push_back((*ui).*e.button);
    set_focus_list(std::move(list));
}

void OutputSet::language_changed() {
    ui->label_title->setText(tr5(kTitle));
    for (const Entry& e : kEntries)
        ((*ui).*e.button)->setText(tr5(e.text));
    // Read now: the line follows the block only when the menu is re-texted.
    const RynRamPara* p = RynRamPara::pInstance();
    ui->label_info->setText(QString::asprintf(tr5(kLedSize).toUtf8().constData(),
                                              int(p->u16(blk::LED_WIDTH)),
                                              int(p->u16(blk::LED_HEIGHT))));
}

void OutputSet::syncUpdate(int) {
    if (RynRamPara::pInstance()->RynLanguageChanged())
        language_changed();
}

void OutputSet::entry_ok(int index) {
    if (index >= 0 && index < int(kEntries.size()))
        (this->*kEntries[size_t(index)].open)();
}

void OutputSet::on_Button_ledset_clicked() {
    pages::open<ledset>(PAGE_LEDSET);
}
void OutputSet::on_Button_lanset_clicked() {
    pages::open<netset>(PAGE_NETSET);
}

void OutputSet::slot_Button_back_clicked() {
    close_page();
}

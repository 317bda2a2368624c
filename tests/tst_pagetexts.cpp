// Every page's texts fit their boxes in all five languages, and a page in
// front follows a language changed by the PC at its next refresh.
#include "page_driver.h"

#include "fpga/fpga_manage.h"
#include "ui/frame/custommode.h"
#include "ui/frame/fonts.h"
#include "ui/frame/lockwindow.h"
#include "ui/frame/machinestate.h"
#include "ui/frame/mainwindow.h"
#include "ui/frame/option.h"
#include "ui/frame/outputset.h"
#include "ui/frame/syncupdate.h"
#include "ui/frame/tip.h"
#include "ui/pages/advancedoption.h"
#include "ui/pages/edidset.h"
#include "ui/pages/factory.h"
#include "ui/pages/factoryage.h"
#include "ui/pages/imagelayout.h"
#include "ui/pages/imagequality.h"
#include "ui/pages/inputchoose.h"
#include "ui/pages/inputcut.h"
#include "ui/pages/lcdshow.h"
#include "ui/pages/ledset.h"
#include "ui/pages/linkcom.h"
#include "ui/pages/linkoption.h"
#include "ui/pages/linkwlan.h"
#include "ui/pages/netset.h"
#include "ui/pages/othersetup.h"
#include "ui/pages/quality.h"
#include "ui/pages/temperature.h"
#include "ui/pages/test_chart.h"
#include "ui/tools/firmware_usbgrade.h"
#include "ui/tools/rcv_recovery.h"
#include "ui/tools/smartmapping.h"

namespace {
template <class... T> QWidget* make_page(int id) {
    QWidget* page = nullptr;
    return ((page = T::ID == id ? pages::create<T>()->page_widget() : page), ..., page);
}
const auto make = make_page<LockWindow, MainWindow, MachineState, InputChoose, CustomMode, Option, OutputSet, InputCut,
                            EDIDset, ImageLayout, LinkOption, ImageQuality, AdvancedOption, ledset, netset, lcdshow,
                            test_chart, othersetup, factory, quality, temperature, linkcom, linkwlan, factoryage,
                            SmartMapping, rcv_recovery, firmware_usbgrade>;

// Words of the device that said something else, or nothing: a page opened in
// the language shows the line (the main menu: the popups; a picture: "picture").
constexpr int en = LANG_ENGLISH, ru = LANG_RUSSIAN, vi = LANG_VIETNAMESE, tw = LANG_COUNT - 1;
const std::tuple<const char*, int, int, const char*> mended[] = {
    {"en keypad Cancel", en, PAGE_MAINWINDOW, "Button_close: Cancel"},
    {"en output menu title", en, PAGE_OUTPUTSET, "label_title: Output Setting"},
    {"ru crop button", ru, PAGE_INPUTCHOOSE, "button_inputcut: Обрезка"},
    {"ru crop page title", ru, PAGE_INPUTCUT, "label_title: Обрезка входа"},
    {"ru ageing tile", ru, PAGE_ADVANCEDOPTION, "Button_age: Заводской\nпрогон"},
    {"ru recovery hyphen", ru, PAGE_ADVANCEDOPTION, "Button_rcv_recovery: Самовосста-\nновление"},
    {"ru mode name prefix", ru, PAGE_CUSTOMMODE, "label_name: Название:Wall"},
    {"ru mode LED line", ru, PAGE_CUSTOMMODE, "label_LED: Размер LED:1920x1080"},
    {"vi blacked-out window", vi, PAGE_LOCKWINDOW, "tile_info_2: Màn đen"},
    {"vi others tile", vi, PAGE_ADVANCEDOPTION, "Button_other: Cài đặt\nkhác"},
    {"vi factory tile", vi, PAGE_ADVANCEDOPTION, "Button_factory: Khôi phục\ncài đặt gốc"},
    {"vi mode name prefix", vi, PAGE_CUSTOMMODE, "label_name: Tên:Wall"},
    {"vi mode LED line", vi, PAGE_CUSTOMMODE, "label_LED: Kích thước LED:1920x1080"},
    {"zh-Hant layout title", tw, PAGE_IMAGELAYOUT, "label_title: 畫面佈局"},
    {"zh-Hant recovery tile", tw, PAGE_ADVANCEDOPTION, "Button_rcv_recovery: 接收卡自恢復"},
    {"zh-Hant USB tile", tw, PAGE_LINKOPTION, "Button_usb: USB升級"},
    {"zh-Hant mode delete", tw, PAGE_CUSTOMMODE, "Button_delete: 刪除"},
    {"advanced menu OK hint", en, PAGE_ADVANCEDOPTION, "label_note_OK: picture"},
    {"advanced menu Back hint", en, PAGE_ADVANCEDOPTION, "label_note_back: picture"},
};

// The longest texts: 1920x1080@60 everywhere, a crop of HDMI1 in window 1.
void busy_device() {
    RynRamPara* p = RynRamPara::pInstance();
    for (int s = 0; s < SOURCE_COUNT; ++s)
        p->publish_input_info(s, 1920, 1080, 60);
    set_crops("2.1");
    blk::wr16(p->RamParaBlock.data(), blk::crop(0) + blk::CROP_W, 1920);
    blk::wr16(p->RamParaBlock.data(), blk::crop(0) + blk::CROP_H, 1080);
    for (int w = 0; w < WINDOW_COUNT; ++w) {
        p->set_u16(blk::window(w, blk::WIN_ENABLE), 1);
        p->set_u16(blk::window(w, blk::WIN_SOURCE), w == 1 ? blk::SOURCE_CROP_BIT : 2 + w % 4);
    }
    p->set_u16(blk::window(2, blk::WIN_OUTPUT), blk::OUTPUT_BLACK);
    // Mode 1 saved, in use, named, with an OSD: the user-mode page shows all.
    p->set_u16(blk::OSD_ENABLE, 1);
    p->set_u16(blk::CURRENT_MODE, 1);
    UserModeSlot& slot = p->UserModes[0];
    slot.bytes[0] = slot.bytes[1] = 0xAA;
    std::copy_n(p->RamParaBlock.data() + blk::MODE_BEGIN, blk::MODE_SIZE, slot.data());
    testsupport::write_file("/data/configs/alias.json",
                            R"({"usermode":{"namelist":[{"id":0,"valid":"on","name":"Wall"}]}})");
    p->RynCropSourceInit();
    p->RamParaShadow = p->RamParaBlock;
    g_str_ip = "192.168.100.200";
    g_str_barcode = "ZT2024A17";
    auto& regs = (fpga_manage::p_fpga_manage = fpga_manage::pInstance())->MCU_REG_func[0];
    regs[fpga_reg::VERSION_FUNC] = regs[fpga_reg::VERSION_DAY] = 0x88;
    regs[fpga_reg::VERSION_YEAR] = 0x88;
    regs[fpga_reg::VERSION_MONTH] = 0x08;
}

// "name: text" of each visible label and button of `root` (a picture:
// "picture"), sorted; a text that does not fit its box, and texts side by
// side in more than one size, go to `bad`.
QStringList scan(QWidget* root, QStringList& bad) {
    root->show();
    QStringList out;
    QMap<QString, QMap<int, QString>> sizes;  // pixel size -> a text in it, per row and column
    for (QWidget* w : root->findChildren<QWidget*>()) {
        auto* l = qobject_cast<QLabel*>(w);
        auto* b = qobject_cast<QAbstractButton*>(w);
        const bool picture = l && !l->pixmap(Qt::ReturnByValue).isNull();
        if (!(l || b) || !w->isVisibleTo(root))
            continue;
        const QString text = picture ? QString() : l ? l->text() : b->text();
        const QFontMetrics fm(w->font());
        QRect box = w->contentsRect();
        QSize need;
        if (b) {  // inside the style sheet's border and padding, beside the icon
            QStyleOptionButton opt;
            opt.initFrom(b);
            box = b->style()->subElementRect(QStyle::SE_PushButtonContents, &opt, b);
            need = fm.size(0, text) + QSize(b->icon().isNull() ? 0 : b->iconSize().width() + 4, 0);
        } else if (Qt::mightBeRichText(text)) {
            QTextDocument doc;
            doc.setDefaultFont(l->font());
            doc.setDocumentMargin(0);
            doc.setHtml(text);
            need = QSize(int(doc.idealWidth()), 0);
        } else if (l->wordWrap() || text.contains('\n')) {
            need = fm.boundingRect(box, int(l->alignment()) | Qt::TextWordWrap, text).size();
        } else {  // the ink, marks above and below included ("độ" keeps its dot)
            const int adv = fm.horizontalAdvance(text);
            const QRect at = QStyle::alignedRect(Qt::LeftToRight, l->alignment(), QSize(adv, fm.height()), box);
            const QRect ink = fm.tightBoundingRect(text).translated(at.x(), at.y() + fm.ascent());
            need = QSize(adv, qMax(ink.bottom(), box.bottom()) - qMin(ink.top(), box.top()) + 1);
        }
        out << w->objectName() + ": " + (picture ? QString("picture") : text);
        if (!text.isEmpty() && box.size().expandedTo(need) != box.size())
            bad << w->objectName() + " \"" + text + "\" does not fit its box";
        // Texts side by side (one row or one column of one parent, of one
        // kind, height and look) read in one size.
        QString kind;
        QDebug(&kind) << w->parentWidget() << w->height() << w->metaObject()->className() << w->styleSheet();
        for (const QString& at : {"x" + QString::number(w->x()), "y" + QString::number(w->y())})
            if (!text.isEmpty() && !Qt::mightBeRichText(text))
                sizes[kind + at][QFontInfo(w->font()).pixelSize()] = w->objectName();
    }
    for (const QMap<int, QString>& set : sizes)
        if (set.size() > 1)
            bad << "one text size for " + QStringList(set.values()).join(", ");
    out.sort();
    return out;
}
}  // namespace

class TstPageTexts : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        panel_fonts_init();
        testsupport::fresh_device();
        busy_device();
        pages::set(PAGE_MAINWINDOW, pages::create<MainWindow>(), PAGE_MAINWINDOW);
    }

    // A page opened in English, then the PC changes the language: after the
    // refresh it shows what a page opened in that language shows, and fits.
    void every_page_data() {
        QTest::addColumn<int>("row");
        for (int row = 0; row < LANG_COUNT * PAGE_COUNT; ++row)
            QTest::addRow("page %d language %d", row % PAGE_COUNT, row / PAGE_COUNT) << row;
    }
    void every_page() {
        QFETCH(int, row);
        const int id = row % PAGE_COUNT, language = row / PAGE_COUNT;
        RynRamPara* p = RynRamPara::pInstance();
        p->set_u16(blk::LCD_LANGUAGE, g_language = LANG_ENGLISH);
        p->RamParaShadow = p->RamParaBlock;
        g_page_focus = uint8_t(id);
        QStringList bad, shown;
        QWidget* page = id == PAGE_MAINWINDOW ? pages::at(id)->page_widget() : make(id);
        pages::set(id, dynamic_cast<RynPage*>(page), PAGE_MAINWINDOW);
        page->show();
        p->set_u16(blk::LCD_LANGUAGE, uint16_t(language));
        g_tip_flag = 1;  // as if one showed: a notice is built, not run
        SyncUpdate::pInstance()->para_sync(SYNC_PARA);
        const QStringList refreshed = scan(page, bad);
        if (id == PAGE_MAINWINDOW) {  // the shared popups: each notice, the keypad's longest title
            for (int kind : {TIP_USB_IN, TIP_USB_OUT, TIP_USB_READING}) {
                g_tip->tip_create(kind);
                shown += scan(g_tip, bad);
            }
            g_tip->hide();
            g_numberkeyboard->label_show(language == ru ? "Пароль" : "key", "**********");
            shown += scan(g_numberkeyboard, bad);
            g_numberkeyboard->hide();
        } else {  // and the page opened anew
            pages::clear(id);
            delete page;
            shown = scan(std::unique_ptr<QWidget>(make(id)).get(), bad);
        }
        g_tip_flag = 0;
        g_page_focus = PAGE_MAINWINDOW;
        QCOMPARE(int(g_language), language);
        for (const auto& [rule, lang, at, line] : mended)
            if (at == id && lang == language && !shown.contains(line))
                bad << QString(rule) + ": no " + line;
        QVERIFY2(bad.isEmpty(), qPrintable(bad.join("\n")));
        // The user-mode summary is re-written at its next redraw, not at a
        // language change.
        const QRegularExpression now(
            id != PAGE_CUSTOMMODE ? "" : "^(?!(label_ID|label_name|label_LED|label_brightness|window_source_.):)");
        if (id != PAGE_MAINWINDOW)
            QCOMPARE(refreshed.filter(now), shown.filter(now));
    }
};

QTEST_MAIN(TstPageTexts)
#include "tst_pagetexts.moc"

// Every page's texts fit their boxes in all five languages, and a page in
// front follows a language changed by the PC at its next refresh.
#include "testsupport.h"

#include "core/ramblock.h"
#include "core/rynrampara.h"
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

#include <QAbstractButton>
#include <QLabel>
#include <QRegularExpression>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTextDocument>
#include <QtTest>
#include <cstring>

namespace {
template <class... T> struct PageList {};
using AllPages =
    PageList<LockWindow, MainWindow, MachineState, InputChoose, CustomMode, Option, OutputSet,
             InputCut, EDIDset, ImageLayout, LinkOption, ImageQuality, AdvancedOption, ledset,
             netset, lcdshow, test_chart, othersetup, factory, quality, temperature, linkcom,
             linkwlan, factoryage, SmartMapping, rcv_recovery, firmware_usbgrade>;

template <class... T> constexpr uint32_t id_bits(PageList<T...>) { return (0u | ... | (1u << T::ID)); }
static_assert(id_bits(AllPages{}) == (1u << PAGE_COUNT) - 1, "one page class per page id");

template <class... T> QWidget* make_page(int id, PageList<T...>) {
    QWidget* page = nullptr;
    ((page = T::ID == id ? pages::create<T>()->page_widget() : page), ...);
    return page;
}

// The longest texts: 1920x1080@60 everywhere, a crop of HDMI1 in window 1.
void busy_device() {
    RynRamPara* p = RynRamPara::pInstance();
    for (int s = 0; s < SOURCE_COUNT; ++s)
        p->publish_input_info(s, 1920, 1080, 60);
    uint8_t* rec = p->RamParaBlock.data() + blk::crop(0);
    rec[blk::CROP_SOURCE] = 2;
    rec[blk::CROP_ID] = blk::CROP_USED;
    blk::wr16(rec, blk::CROP_W, 1920);
    blk::wr16(rec, blk::CROP_H, 1080);
    for (int w = 0; w < WINDOW_COUNT; ++w) {
        p->set_u16(blk::window(w, blk::WIN_ENABLE), 1);
        p->set_u16(blk::window(w, blk::WIN_SOURCE), uint16_t(w == 1 ? blk::SOURCE_CROP_BIT : 2 + w % 4));
    }
    p->set_u16(blk::window(2, blk::WIN_OUTPUT), blk::OUTPUT_BLACK);
    // Mode 1 saved, in use, named, with an OSD: the user-mode page shows all.
    p->set_u16(blk::OSD_ENABLE, 1);
    p->set_u16(blk::CURRENT_MODE, 1);
    UserModeSlot& slot = p->UserModes[0];
    slot.bytes[0] = slot.bytes[1] = 0xAA;
    std::memcpy(slot.data(), p->RamParaBlock.data() + blk::MODE_BEGIN, blk::MODE_SIZE);
    testsupport::write_file("/data/configs/alias.json", R"({"usermode":{"namelist":[{"id":0,"valid":"on","name":"Wall"}]}})");
    p->RynCropSourceInit();
    p->RamParaShadow = p->RamParaBlock;
    g_str_ip = "192.168.100.200";
    g_str_barcode = "ZT2024A17";
    auto& regs = fpga_manage::pInstance()->MCU_REG_func[0];
    regs[fpga_reg::VERSION_FUNC] = regs[fpga_reg::VERSION_DAY] = regs[fpga_reg::VERSION_YEAR] = 0x88;
    regs[fpga_reg::VERSION_MONTH] = 0x08;
}

// "name: text" of each visible label and button of `root`, sorted (the
// user-mode summary is re-written at its next redraw, not at a language
// change); those whose text does not fit the box go to `bad`.
QStringList scan(QWidget* root, int id, QStringList* bad = nullptr) {
    const QRegularExpression later("^(label_ID|label_name|label_LED|label_brightness|window_source_.)$");
    QStringList out;
    QMap<QString, QMap<int, QString>> sizes; // pixel size -> a text in it, per row and column
    for (QWidget* w : root->findChildren<QWidget*>()) {
        QRect box = w->contentsRect();
        const QFontMetrics fm(w->font());
        QString text;
        QSize need;
        if (auto* l = qobject_cast<QLabel*>(w); l && l->pixmap(Qt::ReturnByValue).isNull()) {
            text = l->text();
            if (Qt::mightBeRichText(text)) {
                QTextDocument doc;
                doc.setDefaultFont(l->font());
                doc.setDocumentMargin(0);
                doc.setHtml(text);
                need = QSize(int(doc.idealWidth()), 0);
            } else if (l->wordWrap() || text.contains('\n')) {
                need = fm.boundingRect(box, int(l->alignment()) | Qt::TextWordWrap, text).size();
            } else {
                // The ink, marks above and below included ("độ" keeps its dot).
                const int advance = fm.horizontalAdvance(text);
                const QRect line = QStyle::alignedRect(Qt::LeftToRight, l->alignment(), QSize(advance, fm.height()), box);
                const QRect ink = fm.tightBoundingRect(text).translated(line.left(), line.top() + fm.ascent());
                need = QSize(advance, qMax(ink.bottom(), box.bottom()) - qMin(ink.top(), box.top()) + 1);
            }
        } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
            // Inside the style sheet's border and padding, beside the icon.
            QStyleOptionButton opt;
            opt.initFrom(b);
            box = b->style()->subElementRect(QStyle::SE_PushButtonContents, &opt, b);
            text = b->text();
            need = fm.size(0, text) + QSize(b->icon().isNull() ? 0 : b->iconSize().width() + 4, 0);
        } else if (!qobject_cast<QLabel*>(w)) {
            continue;
        }
        if (!w->isVisibleTo(root))
            continue;
        if (!(id == PAGE_CUSTOMMODE && later.match(w->objectName()).hasMatch()))
            out << w->objectName() + ": " + text;
        // Texts side by side (one row or one column of one parent, of one
        // kind, height and look) read in one size.
        if (!text.isEmpty() && !Qt::mightBeRichText(text)) {
            const QString kind = QString("%1 %2 %3 ").arg(quintptr(w->parentWidget())).arg(w->height()).arg(w->metaObject()->className()) + w->styleSheet();
            for (const QString& line : {QString("x%1").arg(w->x()), QString("y%1").arg(w->y())})
                sizes[kind + line][QFontInfo(w->font()).pixelSize()] = w->objectName();
        }
        if (bad && !text.isEmpty() && (need.width() > box.width() || need.height() > box.height()))
            *bad << QString("%1 \"%2\": needs %3x%4 in %5x%6").arg(w->objectName(), text).arg(need.width())
                        .arg(need.height()).arg(box.width()).arg(box.height());
    }
    if (bad)
        for (const QMap<int, QString>& set : sizes)
            if (set.size() > 1)
                *bad << "one text size for " + QStringList(set.values()).join(", ");
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
        fpga_manage::p_fpga_manage = fpga_manage::pInstance();
        busy_device();
        main_window = pages::create<MainWindow>();
        pages::set(PAGE_MAINWINDOW, main_window, PAGE_MAINWINDOW);
        main_window->show();
    }

    // A page opened in English, then the PC changes the language: after the
    // refresh it shows what a page opened in that language shows, and fits.
    void every_page_data() {
        QTest::addColumn<int>("id");
        QTest::addColumn<int>("language");
        for (int lang = 0; lang < LANG_COUNT; ++lang)
            for (int id = 0; id <= PAGE_COUNT; ++id)
                QTest::addRow("page %d language %d", id, lang) << id << lang;
    }
    void every_page() {
        QFETCH(int, id);
        QFETCH(int, language);
        RynRamPara* p = RynRamPara::pInstance();
        g_language = LANG_ENGLISH;
        p->set_u16(blk::LCD_LANGUAGE, LANG_ENGLISH);
        p->RamParaShadow = p->RamParaBlock;
        g_page_focus = uint8_t(id == PAGE_COUNT ? int(PAGE_MAINWINDOW) : id);
        QStringList bad, refreshed, opened;
        if (id == PAGE_COUNT) { // the shared popups: each notice, the keypad with its longest title
            g_language = uint8_t(language);
            g_tip_flag = 1; // as if one showed: the notice is rebuilt, not run
            for (int kind : {TIP_USB_IN, TIP_USB_OUT, TIP_USB_READING}) {
                g_tip->tip_create(kind);
                g_tip->show();
                scan(g_tip, id, &bad);
            }
            g_tip->hide();
            g_tip_flag = 0;
            g_numberkeyboard->label_show(language == LANG_RUSSIAN ? "Пароль" : "key", "**********");
            g_numberkeyboard->show();
            scan(g_numberkeyboard, id, &bad);
            g_numberkeyboard->hide();
        } else if (id == PAGE_MAINWINDOW) {
            g_language = uint8_t(language);
            main_window->language_changed();
            scan(main_window, id, &bad);
        } else {
            QWidget* page = make_page(id, AllPages{});
            pages::set(id, dynamic_cast<RynPage*>(page), PAGE_MAINWINDOW);
            page->show();
            p->set_u16(blk::LCD_LANGUAGE, uint16_t(language));
            g_tip_flag = 1; // a notice after the refresh is built, not run
            SyncUpdate::pInstance()->para_sync(SYNC_PARA);
            g_tip_flag = 0;
            refreshed = scan(page, id);
            pages::clear(id);
            delete page;
            std::unique_ptr<QWidget> fresh(make_page(id, AllPages{}));
            fresh->show();
            opened = scan(fresh.get(), id, &bad);
        }
        g_page_focus = PAGE_MAINWINDOW;
        QCOMPARE(int(g_language), language);
        QVERIFY2(bad.isEmpty(), qPrintable(bad.join("\n")));
        QCOMPARE(refreshed, opened);
    }

    // Words of the device that said something else, or nothing: each row
    // is a page opened in the language, the text shown (or a picture).
    void mended_texts_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<int>("id"); // PAGE_COUNT: the keypad
        QTest::addColumn<QString>("object");
        QTest::addColumn<QString>("text");
        const int en = LANG_ENGLISH, ru = LANG_RUSSIAN, vi = LANG_VIETNAMESE, tw = LANG_COUNT - 1;
        QTest::newRow("en keypad Cancel") << en << int(PAGE_COUNT) << "Button_close" << "Cancel";
        QTest::newRow("en output menu title") << en << int(PAGE_OUTPUTSET) << "label_title" << "Output Setting";
        QTest::newRow("ru crop button") << ru << int(PAGE_INPUTCHOOSE) << "button_inputcut" << "Обрезка";
        QTest::newRow("ru crop page title") << ru << int(PAGE_INPUTCUT) << "label_title" << "Обрезка входа";
        QTest::newRow("ru ageing tile") << ru << int(PAGE_ADVANCEDOPTION) << "Button_age" << "Заводской\nпрогон";
        QTest::newRow("ru recovery tile hyphen") << ru << int(PAGE_ADVANCEDOPTION) << "Button_rcv_recovery" << "Самовосста-\nновление";
        QTest::newRow("ru mode name prefix") << ru << int(PAGE_CUSTOMMODE) << "label_name" << "Название:Wall";
        QTest::newRow("ru mode LED line") << ru << int(PAGE_CUSTOMMODE) << "label_LED" << "Размер LED:1920x1080";
        QTest::newRow("vi blacked-out window") << vi << int(PAGE_LOCKWINDOW) << "tile_info_2" << "Màn đen";
        QTest::newRow("vi others tile") << vi << int(PAGE_ADVANCEDOPTION) << "Button_other" << "Cài đặt\nkhác";
        QTest::newRow("vi factory tile") << vi << int(PAGE_ADVANCEDOPTION) << "Button_factory" << "Khôi phục\ncài đặt gốc";
        QTest::newRow("vi mode name prefix") << vi << int(PAGE_CUSTOMMODE) << "label_name" << "Tên:Wall";
        QTest::newRow("vi mode LED line") << vi << int(PAGE_CUSTOMMODE) << "label_LED" << "Kích thước LED:1920x1080";
        QTest::newRow("zh-Hant layout title") << tw << int(PAGE_IMAGELAYOUT) << "label_title" << "畫面佈局";
        QTest::newRow("zh-Hant recovery tile") << tw << int(PAGE_ADVANCEDOPTION) << "Button_rcv_recovery" << "接收卡自恢復";
        QTest::newRow("zh-Hant USB tile") << tw << int(PAGE_LINKOPTION) << "Button_usb" << "USB升級";
        QTest::newRow("zh-Hant mode delete") << tw << int(PAGE_CUSTOMMODE) << "Button_delete" << "刪除";
        QTest::newRow("advanced menu OK hint") << en << int(PAGE_ADVANCEDOPTION) << "label_note_OK" << "picture";
        QTest::newRow("advanced menu Back hint") << en << int(PAGE_ADVANCEDOPTION) << "label_note_back" << "picture";
    }
    void mended_texts() {
        QFETCH(int, language);
        QFETCH(int, id);
        QFETCH(QString, object);
        QFETCH(QString, text);
        g_language = uint8_t(language);
        std::unique_ptr<QWidget> page(id == PAGE_COUNT ? nullptr : make_page(id, AllPages{}));
        if (!page)
            g_numberkeyboard->label_show("key", "1");
        QWidget* w = (page ? page.get() : g_numberkeyboard)->findChild<QWidget*>(object);
        QVERIFY(w);
        auto* l = qobject_cast<QLabel*>(w);
        const bool picture = l && !l->pixmap(Qt::ReturnByValue).isNull();
        QCOMPARE(picture ? "picture" : l ? l->text() : qobject_cast<QAbstractButton*>(w)->text(), text);
    }

private:
    MainWindow* main_window = nullptr;
};

QTEST_MAIN(TstPageTexts)
#include "tst_pagetexts.moc"

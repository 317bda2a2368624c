#include "ui/frame/lockwindow.h"

#include "core/jsonfiles.h"
#include "core/ramblock.h"
#include "core/rynrampara.h"
#include "ui/frame/fonts.h"
#include "ui/frame/mainwindow.h"
#include "ui/frame/imagecache.h"
#include "ui/frame/sourceinfo.h"

#include "ui_lockwindow.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QPalette>
#include <QPixmap>
#include <QTimer>
#include <array>
#include <initializer_list>

namespace {
const Text5 kLedSize = {"LED屏:%d x %d", "LED size:%d x %d", "Размер LED:%d x %d", "Led:%d x %d", "LED屏:%d x %d"};
const Text5 kBlack = {"黑屏", "Black", "Черный", "Màn đen", "黑屏"};
const Text5 kNoSignal = {"无信号", "No signal", "Нет сигнала", "Không có tín hiệu", "無信號"};
const Text5 kWindowOff = {"未开启", "Close", "Откл", "Đóng", "未開啟"};

const std::array<const char*, WINDOW_COUNT> kNumberStyles = {
    "background-color: #867AE9;font: 20px", "background-color: #EBA83A;font: 20px",
    "background-color: #005A8D;font: 20px", "background-color: #FF96AD;font: 20px",
    "background-color: #39A9CB;font: 20px", "background-color: #FC5404;font: 20px"};

void set_scaled_pixmap(QLabel* label, const QString& resource) {
    set_label_pixmap(label, resource);
    label->setScaledContents(true);
}

// What a tile shows of its window's source: the name and the timing
// (all zero = no signal).
struct TileSource {
    QString name;
    bool alias = false;
    int width = 0;
    int height = 0;
    int rate = 0;
};

TileSource input_timing(const uint8_t* block, int s) {
    TileSource t;
    const int off = blk::input_info(s);
    t.width = blk::rd16(block, off);
    t.height = blk::rd16(block, off + 2);
    t.rate = block[off + 4];
    return t;
}

// The window's source word is decoded here rather than through the crop
// lookups: a crop tile must show the record the window names, and that
// record may have been deleted, may lie outside the table or may name a
// source we do not have.
TileSource tile_source(const RynRamPara& p, int w) {
    const uint8_t* block = p.RamParaBlock.data();
    const uint16_t word = p.window_u16(w, blk::WIN_SOURCE);
    if (!(word & blk::SOURCE_CROP_BIT)) {
        const int s = word & 0xFF;
        if (s >= SOURCE_COUNT)
            return TileSource{};
        TileSource t = input_timing(block, s);
        ALIAS_PARA alias;
        if (get_json_alias_para(&alias, "source", s)) {
            t.name = QString::fromStdString(alias.name);
            t.alias = true;
        } else {
            t.name = sourceinfo::get_source_name_by_sourceid(s);
        }
        return t;
    }
    const int k = word & 0xFF;
    if (k >= CROP_COUNT)
        return TileSource{};
    const uint8_t* rec = block + blk::crop(k);
    const int src = rec[blk::CROP_SOURCE];
    const uint8_t id = rec[blk::CROP_ID];
    TileSource t;
    // A deleted crop names nothing: an empty name, as the source page
    // shows it, rather than the EXT of the cleared record.
    if (!(id & blk::CROP_USED) || src >= SOURCE_COUNT)
        return t;
    t.name = sourceinfo::get_source_name_by_sourceid(src) + QStringLiteral("_Crop%1").arg((id & 0x7F) + 1);
    t.width = blk::rd16(rec, blk::CROP_W);
    t.height = blk::rd16(rec, blk::CROP_H);
    t.rate = input_timing(block, src).rate;
    return t;
}
}  // namespace

LockWindow::LockWindow(QWidget* parent) : FramePage<QDialog>(parent), ui(new Ui::LockWindow) {
    ui->setupUi(this);
    ui->widget->installEventFilter(this);
    ui->main_Button->setIcon(cached_icon(png(QStringLiteral("menu_status.png"))));
    ui->main_Button->setIconSize(QSize(20, 20));
    ui->main_Button->hide();
    set_scaled_pixmap(ui->label_ip, png(QStringLiteral("ip.png")));
    set_scaled_pixmap(ui->label_LED_icon, png(QStringLiteral("LED.png")));
    set_scaled_pixmap(ui->label_bright_icon, png(QStringLiteral("bright.png")));
    set_scaled_pixmap(ui->label_contrast_icon, png(QStringLiteral("contrast.png")));
    ui->label_volume->hide();
    // On the page's fill: all but the line and the hidden button, which
    // draw their own.
    for (QWidget* w : std::initializer_list<QWidget*>{
             ui->label_bright, ui->label_contrast, ui->label_LED_icon, ui->label_bright_icon, ui->label_contrast_icon,
             ui->label_volume_icon, ui->label_ip, ui->widget, ui->label_input, ui->label_IPaddr})
        frame::on_same_fill(w);
    // The tiles get their texts and marks from language_changed().
    create_tiles();
}

LockWindow::~LockWindow() {
    delete ui;
    // The next home screen is likely soon (Back on the main menu): one is
    // built in idle time now rather than on that key.
    if (!QCoreApplication::closingDown())
        QTimer::singleShot(0, &LockWindow::make_spare);
}

// Built by the same constructor and refreshed when taken (para_init() and
// language_changed() in pages::create), so it is a new page in all but its
// cost. Its tiles are made and filled here; the form is polished when the
// page shows, which leaves that key its share of the work.
void LockWindow::make_spare() {
    if (pages::is_kept(ID))
        return;
    auto* spare = new LockWindow(nullptr);
    spare->image_init();
    frame::hold_polish(spare);
    pages::keep_spare(ID, spare);
}

void LockWindow::set_led_size_text() {
    const RynRamPara* p = RynRamPara::pInstance();
    ui->label_input->setText(fill_numbers(tr5(kLedSize), {p->u16(blk::LED_WIDTH), p->u16(blk::LED_HEIGHT)}));
}

void LockWindow::set_volume_icon() {
    set_scaled_pixmap(ui->label_volume_icon,
                      png(volume_check() ? QStringLiteral("volume_open.png") : QStringLiteral("volume_close.png")));
}

void LockWindow::para_init() {
    const RynRamPara* p = RynRamPara::pInstance();
    set_led_size_text();
    ui->label_bright->setText(QString::number(p->u16(blk::BRIGHTNESS)));
    ui->label_contrast->setText(QString::number(p->u16(blk::CONTRAST)));
    set_volume_icon();
    ip_changed();
}

bool LockWindow::volume_check() const {
    const RynRamPara* p = RynRamPara::pInstance();
    int w = p->u16(blk::AUDIO_WINDOW);
    if (w >= WINDOW_COUNT)
        w = 0;
    return (p->window_u16(w, blk::WIN_AUDIO) & blk::AUDIO_ON) != 0;
}

void LockWindow::ip_changed() {
    ui->label_IPaddr->setText(g_str_ip);
}

void LockWindow::language_changed() {
    set_led_size_text();
    image_init();
}

void LockWindow::image_init() {
    if (!tiles)
        create_tiles();
    const uint16_t black = RynRamPara::pInstance()->u16(blk::SCREEN_BLACK);
    for (int w = 0; w < WINDOW_COUNT; ++w)
        update_tile(w, black);
}

// The six tiles are made once; a refresh only changes what differs (a
// label given the text it shows already does nothing). A window's name
// label is made by the refresh while the window is on.
void LockWindow::create_tiles() {
    tiles = frame::on_same_fill(new QFrame(this));
    tiles->setObjectName(QStringLiteral("frame_tiles"));
    tiles->setGeometry(0, 74, 320, 160);
    tiles->setFrameShape(QFrame::NoFrame);
    tiles->installEventFilter(this);
    for (int w = 0; w < WINDOW_COUNT; ++w) {
        const int x = 155 * (w % 2);
        const int y = 50 * (w / 2);
        Tile& t = tile_[size_t(w)];

        t.number = new QLabel(QString::number(w + 1), tiles);
        t.number->setObjectName(QStringLiteral("tile_number_") + QString::number(w));
        t.number->setGeometry(10 + x, 10 + y, 40, 40);
        t.number->setAlignment(Qt::AlignCenter);
        t.number->setStyleSheet(QString::fromLatin1(kNumberStyles[size_t(w)]));

        t.info = new_text_label(QStringLiteral("tile_info_") + QString::number(w));
    }
    tiles->show();
}

// A name or info label: white by its palette, which draws the same as a
// style sheet of its own at a fraction of its cost, in the tile font. (The
// numbers keep their style sheets: their background is also that of the
// marks over them.) Shown with the tiles; made while they show, at once.
QLabel* LockWindow::new_text_label(const QString& name) {
    auto* label = frame::on_same_fill(new QLabel(tiles));
    label->setObjectName(name);
    // An alias comes from a file: shown as written, never as markup.
    label->setTextFormat(Qt::PlainText);
    QPalette white = label->palette();
    white.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(white);
    QFont font;
    font.setPixelSize(10);
    label->setFont(font);
    if (tiles->isVisible())
        label->show();
    return label;
}

// A small image over a tile's number: made when it is to show, removed
// when not. It keeps its own fill, the number's colour: the digit under
// it must not show through.
void LockWindow::set_badge(QPointer<QLabel>* badge, QLabel* number, bool shown, const QString& name, const QRect& rect,
                           const QString& image) {
    if (!shown) {
        delete badge->data();
        return;
    }
    if (*badge)
        return;
    auto* label = new QLabel(number);
    label->setObjectName(name);
    label->setGeometry(rect);
    set_scaled_pixmap(label, png(image));
    if (number->isVisible())  // else it shows with the page
        label->show();
    *badge = label;
}

void LockWindow::update_tile(int w, uint16_t screen_black) {
    const RynRamPara* p = RynRamPara::pInstance();
    const int x = 155 * (w % 2);
    const int y = 50 * (w / 2);
    Tile& t = tile_[size_t(w)];

    set_badge(&t.mark, t.number, w == g_image_current, QStringLiteral("tile_current"), QRect(28, 0, 12, 12),
              QStringLiteral("osd_yes.png"));

    const bool on = w == 0 || p->window_shown(w);
    if (!on) {
        delete t.name.data();
        t.info->setGeometry(55 + x, 20 + y, 40, 15);
        t.info->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        t.info->setText(tr5(kWindowOff));
        set_badge(&t.freeze, t.number, false, QString(), QRect(), QString());
        return;
    }

    const TileSource src = tile_source(*p, w);
    if (!t.name) {
        t.name = new_text_label(QStringLiteral("tile_name_") + QString::number(w));
        t.name->setGeometry(55 + x, 13 + y, 100, 15);
    }
    // An alias may be any length: it ends in "…" at the label's own width.
    t.name->setText(src.alias ? fitted_text(t.name, src.name) : src.name);

    const uint16_t output = p->window_u16(w, blk::WIN_OUTPUT);
    QString text;
    if (screen_black == 1) {
        text = tr5(kBlack);
    } else {
        if (src.rate == 0 || src.width == 0 || src.height == 0)
            text = tr5(kNoSignal);
        else
            text = QStringLiteral("%1x%2@%3Hz").arg(src.width).arg(src.height).arg(src.rate);
        if (output & blk::OUTPUT_BLACK)
            text = tr5(kBlack);
    }
    t.info->setGeometry(55 + x, 28 + y, 100, 12);
    align_short_row(t.info);
    t.info->setText(text);

    set_badge(&t.freeze, t.number, (output & blk::OUTPUT_FREEZE) || screen_black == 2,
              QStringLiteral("tile_freeze_") + QString::number(w), QRect(0, 0, 16, 16), QStringLiteral("freeze.png"));
}

void LockWindow::syncUpdate(int) {
    const RynRamPara* p = RynRamPara::pInstance();
    if (RynRamPara::pInstance()->RynLanguageChanged())
        language_changed();
    if (p->u16(blk::LED_WIDTH) != p->shadow_u16(blk::LED_WIDTH) ||
        p->u16(blk::LED_HEIGHT) != p->shadow_u16(blk::LED_HEIGHT))
        set_led_size_text();
    if (p->u16(blk::BRIGHTNESS) != p->shadow_u16(blk::BRIGHTNESS))
        ui->label_bright->setText(QString::number(p->u16(blk::BRIGHTNESS)));
    if (p->u16(blk::CONTRAST) != p->shadow_u16(blk::CONTRAST))
        ui->label_contrast->setText(QString::number(p->u16(blk::CONTRAST)));
    // Every time: a change of audio_window alone leaves the audio word of
    // the (new) audio window unchanged.
    set_volume_icon();
    image_init();
    ip_changed();
}

// Touch anywhere but on the page's own labels and icons (children of the
// page itself, not watched) leaves the home screen.
bool LockWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched != ui->widget && (tiles.isNull() || watched != tiles))
        return FramePage<QDialog>::eventFilter(watched, event);
    if (event->type() == QEvent::MouseButtonRelease)
        leave_to_mainwindow();
    return true;
}

void LockWindow::on_main_Button_clicked() {
    leave_to_mainwindow();
}

void LockWindow::entry_ok(int) {
    leave_to_mainwindow();
}

void LockWindow::leave_to_mainwindow() {
    if (pages::at(PAGE_LOCKWINDOW) != this) {
        // A home screen that a newer one has replaced closes only itself.
        setAttribute(Qt::WA_DeleteOnClose);
        close();
        return;
    }
    close_page();  // g_page_focus = MainWindow, which re-reads its texts
    if (MainWindow* main = g_mainwindow())
        main->show();
}

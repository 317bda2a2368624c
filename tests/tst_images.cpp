// The panel's pictures are compiled into the application: a missing one shows
// as an empty label, and a language variant that repeats the English one
// leaves a page half translated.
#include "ui/frame/imagecache.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QtTest>

static void init_png_resources() { Q_INIT_RESOURCE(png); }

namespace {
QImage load(const QString& name) { return QImage(QStringLiteral(":/png/") + name); }

// The height of the first letter of a tile's word, which is drawn in the
// lowest 28 % of the tile: the tallest run of rows with ink in the letter's
// columns, so that an accent above a capital does not count.
int first_letter_height(const QImage& tile) {
    const int top = tile.height() - qRound(tile.height() * 0.28);
    auto ink = [&](int x, int y) { return qAlpha(tile.pixel(x, y)) > 40; };
    auto column_has_ink = [&](int x) {
        for (int y = top; y < tile.height(); ++y)
            if (ink(x, y))
                return true;
        return false;
    };
    int x0 = 0;
    while (x0 < tile.width() && !column_has_ink(x0))
        ++x0;
    int x1 = x0;
    while (x1 < tile.width() && column_has_ink(x1))
        ++x1;
    int best = 0, run = 0;
    for (int y = top; y < tile.height(); ++y) {
        bool row = false;
        for (int x = x0; x < x1 && !row; ++x)
            row = ink(x, y);
        run = row ? run + 1 : 0;
        best = std::max(best, run);
    }
    return best;
}
}  // namespace

class tst_images : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { init_png_resources(); }

    // Every picture loads; one with words (an English one) has its own
    // picture in every language: none missing, none falling back on the
    // English one.
    void every_picture_loads_in_every_language() {
        int worded = 0;
        for (QDirIterator it(":/png"); it.hasNext();) {
            const QString name = QFileInfo(it.next()).fileName();
            QVERIFY2(!load(name).isNull() || name.endsWith(".qrc"), qPrintable(name + " is unreadable"));
            // The panel reads a picture by the format its name ends in.
            QVERIFY2(!cached_pixmap(":/png/" + name).isNull() || name.endsWith(".qrc"),
                     qPrintable(name + " is not the format its name says"));
            if (!name.startsWith("en_") || name == "en_advance_option.png") // English only
                continue;
            ++worded;
            const QString base = name.mid(3);
            for (const char* prefix : {"", "ru_", "vn_", "tn_"}) {
                QVERIFY2(!load(prefix + base).isNull(), qPrintable(prefix + base + " is missing"));
                QVERIFY2(load(prefix + base) != load(name), qPrintable(prefix + base + " is the English one"));
            }
        }
        QVERIFY(worded >= 22);
    }

    // The keypad's X key is white: its picture must show on it.
    void delete_key_visible_on_white() {
        QImage key(20, 20, QImage::Format_ARGB32_Premultiplied);
        key.fill(Qt::white);
        QPainter(&key).drawImage(0, 0, load("delete.png"));
        int dark = 0;
        for (int y = 0; y < key.height(); ++y)
            for (int x = 0; x < key.width(); ++x)
                dark += qGray(key.pixel(x, y)) < 128;
        QVERIFY2(dark >= 20, qPrintable(QString("%1 dark pixels").arg(dark)));
    }

    // The main menu's tiles write their words in one size: a word shrunk on
    // its own stands out ("Устройство" at half the height of "Источник").
    void one_caption_size_per_set() {
        QList<int> h;
        for (const char* tile : {"machinestate", "inputchoose", "custommode", "option"})
            h << first_letter_height(load(QString("ru_%1.png").arg(tile)));
        const int low = *std::min_element(h.begin(), h.end()), high = *std::max_element(h.begin(), h.end());
        // Small glyphs measure a pixel or two apart; a word shrunk on its own
        // is a third smaller or more.
        QVERIFY2(low > 0 && low * 4 >= high * 3, qPrintable(QString("%1 to %2").arg(low).arg(high)));
    }
};

QTEST_MAIN(tst_images)
#include "tst_images.moc"

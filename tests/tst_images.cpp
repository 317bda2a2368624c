// The compiled-in pictures: readable, drawn per language, and legible.
#include "core/global.h"
#include "ui/frame/imagecache.h"
#include "ui/frame/language.h"

#include <QtTest>
#include <QtWidgets>

namespace {
QImage load(const QString& name) {
    return QImage(QStringLiteral(":/png/") + name);
}

// The height of the first letter of a tile's word (in its lowest 28 %).
int first_letter_height(const QImage& t) {
    const int top = t.height() - qRound(t.height() * 0.28);
    int y0 = t.height(), y1 = -1;
    for (int x = 0; x < t.width(); ++x) {
        bool inked = false;
        for (int y = top; y < t.height(); ++y)
            if (qAlpha(t.pixel(x, y)) > 40)
                inked = true, y0 = std::min(y0, y), y1 = std::max(y1, y);
        if (!inked && y1 >= 0)
            break;
    }
    return y1 - y0 + 1;
}

// The language chosen, the languages offered (bit n = language n), the text
// of {"zh", "en", "ru", "vn", "tw"} shown and the settings tile's picture.
struct Language {
    uint8_t chosen;
    uint32_t offered;
    const char *text, *picture;
};
}  // namespace
Q_DECLARE_METATYPE(Language)

class tst_images : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { Q_INIT_RESOURCE(png); }

    // A worded (English) picture has its own picture in every language.
    void every_picture_loads_in_every_language() {
        int worded = 0;
        for (QDirIterator it(":/png"); it.hasNext();) {
            const QString name = QFileInfo(it.next()).fileName();
            QVERIFY2(!cached_pixmap(":/png/" + name).isNull() || name.endsWith(".qrc"), qPrintable(name));
            if (!name.startsWith("en_") || name == "en_advance_option.png")  // English only
                continue;
            ++worded;
            for (const char* prefix : {"", "ru_", "vn_", "tn_"}) {
                const QImage other = load(prefix + name.mid(3));
                QVERIFY2(!other.isNull() && other != load(name), qPrintable(prefix + name.mid(3)));
            }
        }
        QVERIFY(worded >= 22);
    }

    // Texts and pictures in the chosen language when it is offered, in
    // English when not.
    void language_rule_data() {
        QTest::addColumn<Language>("l");
        QTest::newRow("simplified Chinese") << Language{0, 0x1F, "zh", "option.png"};
        QTest::newRow("English") << Language{1, 0x1F, "en", "en_option.png"};
        QTest::newRow("Russian") << Language{2, 0x1F, "ru", "ru_option.png"};
        QTest::newRow("Vietnamese") << Language{3, 0x1F, "vn", "vn_option.png"};
        QTest::newRow("traditional Chinese") << Language{4, 0x1F, "tw", "tn_option.png"};
        QTest::newRow("Vietnamese not offered") << Language{3, 0x17, "en", "en_option.png"};
    }
    void language_rule() {
        QFETCH(Language, l);
        g_language = l.chosen, g_lcd_lang_valid = l.offered;
        QCOMPARE(tr5({"zh", "en", "ru", "vn", "tw"}), QString(l.text));
        QCOMPARE(png_lang("option.png"), ":/png/" + QString(l.picture));
    }

    // The keypad's X key is white: its picture must show on it.
    void delete_key_visible_on_white() {
        QImage key(20, 20, QImage::Format_ARGB32_Premultiplied);
        key.fill(Qt::white);
        QPainter(&key).drawImage(0, 0, load("delete.png"));
        int dark = 0;
        for (int i = 0; i < 400; ++i)
            dark += qGray(key.pixel(i % 20, i / 20)) < 128;
        QVERIFY2(dark >= 20, qPrintable(QString("%1 dark pixels").arg(dark)));
    }

    // One caption size per set of tiles ("Устройство" was half the height of
    // "Источник"); small glyphs measure a pixel or two apart.
    void one_caption_size_per_set() {
        QList<int> h;
        for (const char* tile : {"machinestate", "inputchoose", "custommode", "option"})
            h << first_letter_height(load(QString("ru_%1.png").arg(tile)));
        std::sort(h.begin(), h.end());
        QVERIFY2(h.first() > 0 && h.first() * 4 >= h.last() * 3,
                 qPrintable(QString("%1 to %2").arg(h.first()).arg(h.last())));
    }
};

QTEST_MAIN(tst_images)
#include "tst_images.moc"

// The panel's pictures are compiled into the application: a missing one shows
// as an empty label, one of the wrong size is stretched, and a language
// variant that repeats the English one leaves a page half translated.
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QtTest>

static void init_png_resources() { Q_INIT_RESOURCE(png); }

namespace {
const char* const kPlain[] = {
    "ip.png", "unlock.png", "lock.png", "tools.png", "pointer.png", "mode_blank.png",
    "mode_exist.png", "check_180.png", "LED.png", "bright.png", "contrast.png", "volume_open.png",
    "volume_close.png", "menu_status.png", "osd_yes.png", "freeze.png", "back.png", "online.png",
    "offline.png", "state_on.png", "state_off.png", "add.png", "delete.png", "warning.png",
    "OK_Enter.png", "back_return.png", "mirror1_on.png", "mirror1_off.png", "mirror2_on.png",
    "mirror2_off.png", "mirror3_on.png", "mirror3_off.png", "mirror4_on.png", "mirror4_off.png",
    "AdvanceButton.png", "ru_AdvanceButton.png", "vn_AdvanceButton.png", "tn_AdvanceButton.png",
    "en_advance_option.png"};

// Pictures with words, present under every language prefix.
const char* const kWorded[] = {
    "machinestate.png", "inputchoose.png", "custommode.png", "option.png", "uncloseled.png",
    "closeled.png", "unslience.png", "slience.png", "uncall.png", "call.png", "unsave.png",
    "save.png", "output_set.png", "input_cut.png", "image_layout.png", "link_set.png",
    "image_quality.png", "test_chart.png", "smart_mapping.png", "output_state.png",
    "input_state.png", "version_state.png"};

const char* const kPrefixes[] = {"", "en_", "ru_", "vn_", "tn_"};

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

    void present_and_sized() {
        QStringList names;
        for (const char* n : kPlain)
            names << n;
        for (const char* n : kWorded)
            for (const char* prefix : kPrefixes)
                names << QString(prefix) + n;
        for (const QString& n : names)
            QVERIFY2(!load(n).isNull(), qPrintable(n + " is missing or unreadable"));
        const QList<QPair<const char*, QSize>> sizes = {{"check_180.png", {180, 180}}, {"inputchoose.png", {64, 64}},
                                                        {"en_inputchoose.png", {90, 64}}, {"ru_inputchoose.png", {96, 76}}};
        for (const auto& s : sizes)
            QVERIFY2(load(s.first).size() == s.second, s.first);
    }

    // Every language carries its own words: no variant may fall back on the
    // English picture, nor traditional Chinese on the simplified one.
    void languages_differ() {
        for (const QString name : {"option.png", "machinestate.png"}) {
            for (const char* prefix : {"", "ru_", "vn_", "tn_"})
                QVERIFY2(load(prefix + name) != load("en_" + name), qPrintable(prefix + name));
            QVERIFY2(load("tn_" + name) != load(name), qPrintable(name));
        }
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

    // Tiles shown side by side write their words in one size: a word shrunk
    // on its own stands out ("Устройство" at half the height of "Источник").
    void one_caption_size_per_set_data() {
        QTest::addColumn<QStringList>("tiles");
        const QStringList sets[] = {
            {"machinestate", "inputchoose", "custommode", "option"},
            {"uncloseled", "unslience", "uncall", "unsave"},
            {"output_set", "input_cut", "image_layout", "link_set", "image_quality", "test_chart", "smart_mapping"}};
        for (const char* prefix : kPrefixes)
            for (int i = 0; i < 3; ++i)
                QTest::addRow("%s %s", QStringList{"main menu", "tool strip", "settings menu"}[i].toLatin1().data(), prefix)
                    << QStringList(sets[i]).replaceInStrings(QRegularExpression("(.+)"), QString(prefix) + "\\1.png");
    }
    void one_caption_size_per_set() {
        QFETCH(QStringList, tiles);
        QString heights;
        int low = 1000, high = 0;
        for (const QString& name : tiles) {
            const int h = first_letter_height(load(name));
            QVERIFY2(h > 0, qPrintable(name));
            heights += QString(" %1:%2").arg(name).arg(h);
            low = std::min(low, h);
            high = std::max(high, h);
        }
        // Small glyphs measure a pixel or two apart; a word shrunk on its own
        // is a third smaller or more.
        QVERIFY2(low * 4 >= high * 3, qPrintable(heights));
    }
};

QTEST_MAIN(tst_images)
#include "tst_images.moc"

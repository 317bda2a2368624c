// The panel's pictures are compiled into the application. A picture that is
// missing shows as an empty label on the device, one of the wrong size is
// stretched, and a language variant that repeats the English one leaves a
// page half translated.
#include <QFile>
#include <QImage>
#include <QtTest>

static void init_png_resources() { Q_INIT_RESOURCE(png); }

namespace {

// Pictures that have no language.
const char* const kPlain[] = {
    "ip.png",           "unlock.png",        "lock.png",          "tools.png",        "pointer.png",
    "mode_blank.png",   "mode_exist.png",    "check_180.png",     "LED.png",          "bright.png",
    "contrast.png",     "volume_open.png",   "volume_close.png",  "menu_status.png",  "osd_yes.png",
    "freeze.png",       "back.png",          "online.png",        "offline.png",      "state_on.png",
    "state_off.png",    "add.png",           "delete.png",        "warning.png",      "OK_Enter.png",
    "back_return.png",  "mirror1_on.png",    "mirror1_off.png",   "mirror2_on.png",   "mirror2_off.png",
    "mirror3_on.png",   "mirror3_off.png",   "mirror4_on.png",    "mirror4_off.png",  "HDMI.png",
    "extlv.png",        "DVI.png",           "dvilv.png",         "HDMI13.png",       "HDMI13_1.png",
    "HDMI13_lv.png",    "HDMI20.png",        "HDMI20_lv.png",
};

// Pictures with words, present under every language prefix.
const char* const kWorded[] = {
    "machinestate.png", "inputchoose.png", "custommode.png",   "option.png",       "uncloseled.png",
    "closeled.png",     "unslience.png",   "slience.png",      "uncall.png",       "call.png",
    "unsave.png",       "save.png",        "output_set.png",   "input_cut.png",    "image_layout.png",
    "link_set.png",     "image_quality.png", "test_chart.png", "smart_mapping.png", "output_state.png",
    "input_state.png",  "version_state.png",
};

const char* const kPrefixes[] = {"", "en_", "ru_", "vn_", "tn_"};

QImage load(const QString& name) { return QImage(QStringLiteral(":/png/") + name); }

bool has_ink(const QImage& img) {
    const QImage argb = img.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y)
        for (int x = 0; x < argb.width(); ++x)
            if (qAlpha(argb.pixel(x, y)) > 0)
                return true;
    return false;
}

}  // namespace

class tst_images : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { init_png_resources(); }

    void present_data();
    void present();
    void sizes_data();
    void sizes();
    void languages_differ_data();
    void languages_differ();
    void states_differ_data();
    void states_differ();
    void traditional_chinese_own_words();
    void connector_badges();
    void dot_colours();
};

void tst_images::present_data() {
    QTest::addColumn<QString>("name");
    for (const char* name : kPlain)
        QTest::newRow(name) << QString::fromLatin1(name);
    for (const char* name : kWorded)
        for (const char* prefix : kPrefixes) {
            const QString full = QString::fromLatin1(prefix) + QString::fromLatin1(name);
            QTest::newRow(qPrintable(full)) << full;
        }
    // The advanced entry has its own name in English and none under "en_AdvanceButton".
    for (const char* name : {"AdvanceButton.png", "ru_AdvanceButton.png", "vn_AdvanceButton.png",
                             "tn_AdvanceButton.png", "en_advance_option.png"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void tst_images::present() {
    QFETCH(QString, name);
    const QImage img = load(name);
    QVERIFY2(!img.isNull(), qPrintable(name + " is missing or unreadable"));
    QVERIFY2(has_ink(img), qPrintable(name + " is blank"));
}

void tst_images::sizes_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");
    // Labels that scale their picture would hide a wrong size; these are set
    // at a fixed icon size, or are the sizes the pages are laid out for.
    QTest::newRow("notice check") << "check_180.png" << QSize(180, 180);
    QTest::newRow("source dot") << "state_on.png" << QSize(14, 14);
    QTest::newRow("badge") << "HDMI13.png" << QSize(50, 16);
    QTest::newRow("badge with signal") << "HDMI20_lv.png" << QSize(100, 32);
    QTest::newRow("external with signal is small") << "extlv.png" << QSize(50, 16);
    QTest::newRow("lock icon") << "lock.png" << QSize(16, 16);
    QTest::newRow("tool strip") << "vn_uncall.png" << QSize(24, 36);
    QTest::newRow("grid pointer") << "pointer.png" << QSize(9, 12);
    QTest::newRow("port") << "online.png" << QSize(16, 14);
    QTest::newRow("mirror") << "mirror3_on.png" << QSize(32, 32);
    QTest::newRow("key hint OK") << "OK_Enter.png" << QSize(51, 17);
    QTest::newRow("key hint back") << "back_return.png" << QSize(56, 17);
    // The sizes that differ by language.
    QTest::newRow("source tile zh") << "inputchoose.png" << QSize(64, 64);
    QTest::newRow("source tile en") << "en_inputchoose.png" << QSize(90, 64);
    QTest::newRow("source tile ru") << "ru_inputchoose.png" << QSize(96, 76);
    QTest::newRow("source tile vn") << "vn_inputchoose.png" << QSize(96, 76);
    QTest::newRow("source tile tn") << "tn_inputchoose.png" << QSize(64, 64);
    QTest::newRow("output entry en") << "en_output_set.png" << QSize(75, 60);
    QTest::newRow("crop entry ru") << "ru_input_cut.png" << QSize(70, 60);
    QTest::newRow("advanced entry en") << "en_advance_option.png" << QSize(54, 60);
    QTest::newRow("advanced entry ru") << "ru_AdvanceButton.png" << QSize(70, 60);
    QTest::newRow("advanced entry tn") << "tn_AdvanceButton.png" << QSize(55, 60);
}

void tst_images::sizes() {
    QFETCH(QString, name);
    QFETCH(QSize, size);
    QCOMPARE(load(name).size(), size);
}

void tst_images::languages_differ_data() {
    QTest::addColumn<QString>("name");
    for (const char* name : {"option.png", "machinestate.png", "uncall.png", "version_state.png"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

// Every language carries its own words: no variant may fall back on the
// English picture (the simplified and traditional Chinese words for
// "version" are the same, so those two may match).
void tst_images::languages_differ() {
    QFETCH(QString, name);
    const QImage english = load("en_" + name);
    for (const char* prefix : kPrefixes) {
        if (QByteArray(prefix) == "en_")
            continue;
        QVERIFY2(load(QString::fromLatin1(prefix) + name) != english,
                 qPrintable(QStringLiteral("%1%2 equals the English one").arg(prefix, name)));
    }
}

// Traditional Chinese writes "settings" and "device" with other characters
// than simplified Chinese; a copied picture would show the wrong script.
void tst_images::traditional_chinese_own_words() {
    for (const QString name : {"option.png", "machinestate.png", "input_state.png"})
        QVERIFY2(load("tn_" + name) != load(name), qPrintable(name));
}

void tst_images::states_differ_data() {
    QTest::addColumn<QString>("idle");
    QTest::addColumn<QString>("active");
    QTest::newRow("lock") << "unlock.png" << "lock.png";
    QTest::newRow("black screen") << "en_uncloseled.png" << "en_closeled.png";
    QTest::newRow("mute") << "en_unslience.png" << "en_slience.png";
    QTest::newRow("load") << "ru_uncall.png" << "ru_call.png";
    QTest::newRow("save") << "save.png" << "unsave.png";
    QTest::newRow("audio") << "volume_open.png" << "volume_close.png";
    QTest::newRow("port") << "offline.png" << "online.png";
    QTest::newRow("user-mode slot") << "mode_blank.png" << "mode_exist.png";
    QTest::newRow("mirror 1") << "mirror1_off.png" << "mirror1_on.png";
    QTest::newRow("mirror 4") << "mirror4_off.png" << "mirror4_on.png";
    QTest::newRow("mirror 2 vs 3") << "mirror2_on.png" << "mirror3_on.png";
}

// A state shown by swapping pictures is invisible if both look the same.
void tst_images::states_differ() {
    QFETCH(QString, idle);
    QFETCH(QString, active);
    QVERIFY(load(idle) != load(active));
}

void tst_images::connector_badges() {
    // The two HDMI 1.4 names are one picture; the 2.0 badge reads otherwise.
    QCOMPARE(load("HDMI13_1.png"), load("HDMI13.png"));
    QVERIFY(load("HDMI13.png") != load("HDMI20.png"));
    QVERIFY(load("HDMI13_lv.png") != load("HDMI20_lv.png"));
    QVERIFY(load("HDMI.png") != load("DVI.png"));
}

// A source's dot is green when in use and red when not; swapped colours
// would tell the user the opposite.
void tst_images::dot_colours() {
    const QColor on = load("state_on.png").pixelColor(7, 7);
    const QColor off = load("state_off.png").pixelColor(7, 7);
    QVERIFY2(on.green() > 2 * on.red(), qPrintable(on.name()));
    QVERIFY2(off.red() > 2 * off.green(), qPrintable(off.name()));
    QCOMPARE(on.alpha(), 255);
    // The corners stay transparent so the dot sits on any background.
    QCOMPARE(load("state_on.png").pixelColor(0, 0).alpha(), 0);
}

QTEST_MAIN(tst_images)
#include "tst_images.moc"

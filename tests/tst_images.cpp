// The panel's pictures are compiled into the application: a missing one shows
// as an empty label, one of the wrong size is stretched, and a language
// variant that repeats the English one leaves a page half translated.
#include <QImage>
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
}  // namespace

class tst_images : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { init_png_resources(); }
    void present_and_sized();
    void languages_differ();
};

void tst_images::present_and_sized() {
    QStringList names;
    for (const char* n : kPlain)
        names << n;
    for (const char* n : kWorded)
        for (const char* prefix : kPrefixes)
            names << QString(prefix) + n;
    for (const QString& n : names)
        QVERIFY2(!load(n).isNull(), qPrintable(n + " is missing or unreadable"));

    const QList<QPair<const char*, QSize>> sizes = {
        {"check_180.png", {180, 180}},    {"state_on.png", {14, 14}},
        {"vn_uncall.png", {24, 36}},      {"online.png", {16, 14}},
        {"OK_Enter.png", {51, 17}},       {"inputchoose.png", {64, 64}},
        {"en_inputchoose.png", {90, 64}}, {"ru_inputchoose.png", {96, 76}},
        {"en_advance_option.png", {54, 60}}};
    for (const auto& s : sizes)
        QVERIFY2(load(s.first).size() == s.second, s.first);
}

// Every language carries its own words: no variant may fall back on the
// English picture, nor traditional Chinese on the simplified one.
void tst_images::languages_differ() {
    for (const QString name : {"option.png", "machinestate.png"}) {
        const QImage english = load("en_" + name);
        for (const char* prefix : {"", "ru_", "vn_", "tn_"})
            QVERIFY2(load(prefix + name) != english, qPrintable(prefix + name));
        QVERIFY2(load("tn_" + name) != load(name), qPrintable(name));
    }
}

QTEST_MAIN(tst_images)
#include "tst_images.moc"

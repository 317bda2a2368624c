// Source names, the two numberings and their icons, with the out-of-range
// ids and positions that blocks and files can hold.
#include "ui/frame/sourceinfo.h"

#include <QLabel>
#include <QPixmap>
#include <QtTest>

namespace {
QImage image_of(const QLabel& label) { return label.pixmap(Qt::ReturnByValue).toImage(); }
// Loaded the way the labels load it, so that formats match.
QImage resource(const QString& name) { return QPixmap(name).toImage(); }
}  // namespace

class TstSourceInfo : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { Q_INIT_RESOURCE(png); }

    void listseq_to_source_data();
    void listseq_to_source();
    void source_to_listseq_data();
    void source_to_listseq();
    void maps_are_inverse_on_valid_range();
    void style0_templates_data();
    void style0_templates();
    void style1_joins_name_and_blue_count();
    void style1_keeps_text_literal();
    void icons_data();
    void icons();
    void icons_out_of_range_leave_label();
    void icon_sizes_data();
    void icon_sizes();
};

void TstSourceInfo::listseq_to_source_data() {
    QTest::addColumn<int>("listseq");
    QTest::addColumn<int>("source");
    QTest::addColumn<QString>("name");
    QTest::newRow("0 HDMI1") << 0 << 2 << "HDMI1";
    QTest::newRow("1 HDMI2") << 1 << 3 << "HDMI2";
    QTest::newRow("2 HDMI3") << 2 << 4 << "HDMI3";
    QTest::newRow("3 HDMI4") << 3 << 5 << "HDMI4";
    QTest::newRow("4 DVI") << 4 << 1 << "DVI";
    QTest::newRow("5 EXT") << 5 << 0 << "EXT";
    // Past the list: EXT's id, but no name.
    QTest::newRow("6 past the list") << 6 << 0 << "";
    QTest::newRow("255") << 255 << 0 << "";
    QTest::newRow("negative") << -1 << 0 << "";
}

void TstSourceInfo::listseq_to_source() {
    QFETCH(int, listseq);
    QFETCH(int, source);
    QFETCH(QString, name);
    QCOMPARE(int(sourceinfo::get_source_id_by_listseq(listseq)), source);
    QCOMPARE(sourceinfo::get_source_name_by_listseq(listseq), name);
}

void TstSourceInfo::source_to_listseq_data() {
    QTest::addColumn<int>("source");
    QTest::addColumn<int>("listseq");
    QTest::addColumn<QString>("name");
    QTest::newRow("0 EXT") << 0 << 5 << "EXT";
    QTest::newRow("1 DVI") << 1 << 4 << "DVI";
    QTest::newRow("2 HDMI1") << 2 << 0 << "HDMI1";
    QTest::newRow("3 HDMI2") << 3 << 1 << "HDMI2";
    QTest::newRow("4 HDMI3") << 4 << 2 << "HDMI3";
    QTest::newRow("5 HDMI4") << 5 << 3 << "HDMI4";
    QTest::newRow("6 unknown id") << 6 << 0 << "";
    QTest::newRow("255 unknown id") << 255 << 0 << "";
}

void TstSourceInfo::source_to_listseq() {
    QFETCH(int, source);
    QFETCH(int, listseq);
    QFETCH(QString, name);
    QCOMPARE(int(sourceinfo::get_listseq_by_source_id(source)), listseq);
    QCOMPARE(sourceinfo::get_source_name_by_sourceid(source), name);
}

void TstSourceInfo::maps_are_inverse_on_valid_range() {
    for (int s = 0; s < 6; ++s) {
        const int pos = sourceinfo::get_listseq_by_source_id(s);
        QCOMPARE(int(sourceinfo::get_source_id_by_listseq(pos)), s);
        QCOMPARE(sourceinfo::get_source_name_by_listseq(pos),
                 sourceinfo::get_source_name_by_sourceid(s));
    }
}

void TstSourceInfo::style0_templates_data() {
    QTest::addColumn<int>("source");
    QTest::addColumn<QString>("colour");
    for (int s : {0, 1, 2, 3, 6, 200})
        QTest::addRow("id %d white", s) << s << "#ffffff";
    QTest::newRow("id 4 green") << 4 << "#51BB28";
    QTest::newRow("id 5 green") << 5 << "#51BB28";
}

void TstSourceInfo::style0_templates() {
    QFETCH(int, source);
    QFETCH(QString, colour);
    QCOMPARE(sourceinfo::get_source_specialstyle0_by_sourceid(source),
             "<font style = 'font-size:9px' color = " + colour + " >%1</font>");
    // The caller fills the one place-holder.
    QCOMPARE(sourceinfo::get_source_specialstyle0_by_sourceid(source).arg("X"),
             QString("<font style = 'font-size:9px' color = %1 >X</font>").arg(colour));
}

void TstSourceInfo::style1_joins_name_and_blue_count() {
    const QString blue = "<font style = 'font-size:9px' color = #4777ff >%1</font>";
    // Style 1 has its own green for the HDMI 2.0 inputs.
    QCOMPARE(sourceinfo::get_source_specialstyle1_by_sourceid(4, "HDMI3", 2),
             "<font style = 'font-size:9px' color = #12BB32 >HDMI3</font>" + blue.arg("(") +
                 blue.arg("2") + blue.arg(")"));
    // A count of 0 still shows "(0)"; white for the other inputs.
    QCOMPARE(sourceinfo::get_source_specialstyle1_by_sourceid(1, "DVI", 0),
             "<font style = 'font-size:9px' color = #ffffff >DVI</font>" + blue.arg("(") +
                 blue.arg("0") + blue.arg(")"));
    QVERIFY(sourceinfo::get_source_specialstyle1_by_sourceid(0, "EXT", 255)
                .contains(blue.arg("255")));
    QCOMPARE(sourceinfo::get_source_specialstyle1_by_sourceid(6, "X", 1), QString());
}

// A user alias may hold "%" signs; they must come out as typed and not be
// taken for further place-holders.
void TstSourceInfo::style1_keeps_text_literal() {
    const QString s = sourceinfo::get_source_specialstyle1_by_sourceid(2, "50%1 %2", 3);
    QVERIFY2(s.startsWith("<font style = 'font-size:9px' color = #ffffff >50%1 %2</font>"),
             qPrintable(s));
    QVERIFY(s.endsWith("<font style = 'font-size:9px' color = #4777ff >)</font>"));
}

void TstSourceInfo::icons_data() {
    QTest::addColumn<int>("source");
    QTest::addColumn<QString>("plain");
    QTest::addColumn<QString>("online");
    QTest::addColumn<QString>("offline");
    QTest::newRow("EXT") << 0 << ":/png/HDMI.png" << ":/png/extlv.png" << ":/png/HDMI.png";
    QTest::newRow("DVI") << 1 << ":/png/DVI.png" << ":/png/dvilv.png" << ":/png/DVI.png";
    QTest::newRow("HDMI1") << 2 << ":/png/HDMI13.png" << ":/png/HDMI13_lv.png"
                           << ":/png/HDMI13_1.png";
    QTest::newRow("HDMI2") << 3 << ":/png/HDMI13.png" << ":/png/HDMI13_lv.png"
                           << ":/png/HDMI13_1.png";
    QTest::newRow("HDMI3") << 4 << ":/png/HDMI20.png" << ":/png/HDMI20_lv.png"
                           << ":/png/HDMI20.png";
    QTest::newRow("HDMI4") << 5 << ":/png/HDMI20.png" << ":/png/HDMI20_lv.png"
                           << ":/png/HDMI20.png";
}

void TstSourceInfo::icons() {
    QFETCH(int, source);
    QFETCH(QString, plain);
    QFETCH(QString, online);
    QFETCH(QString, offline);
    QVERIFY2(!resource(online).isNull() && !resource(offline).isNull(), "icons missing");
    // Online and offline must be told apart, or the status page lies.
    QVERIFY(resource(online) != resource(offline));
    QLabel label;
    sourceinfo::set_source_pixmap(&label, source);
    QCOMPARE(image_of(label), resource(plain));
    sourceinfo::set_sourceonline_pixmap(&label, source, 1);
    QCOMPARE(image_of(label), resource(online));
    sourceinfo::set_sourceonline_pixmap(&label, source, 0);
    QCOMPARE(image_of(label), resource(offline));
    // Any non-zero byte means online.
    sourceinfo::set_sourceonline_pixmap(&label, source, 0x80);
    QCOMPARE(image_of(label), resource(online));
}

void TstSourceInfo::icons_out_of_range_leave_label() {
    QLabel label;
    sourceinfo::set_sourceonline_pixmap(&label, 2, 1);
    const QImage before = image_of(label);
    QVERIFY(!before.isNull());
    for (int s : {6, 7, 255, -1}) {
        sourceinfo::set_source_pixmap(&label, s);
        sourceinfo::set_sourceonline_pixmap(&label, s, 1);
        sourceinfo::set_sourceonline_pixmap(&label, s, 0);
        QCOMPARE(image_of(label), before);
    }
    // A null label is ignored rather than dereferenced.
    sourceinfo::set_source_pixmap(nullptr, 2);
    sourceinfo::set_sourceonline_pixmap(nullptr, 2, 1);
}

void TstSourceInfo::icon_sizes_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");
    for (const char* n : {"HDMI.png", "DVI.png", "HDMI13.png", "HDMI13_1.png", "HDMI20.png",
                          "extlv.png"})
        QTest::newRow(n) << QString(":/png/") + n << QSize(50, 16);
    for (const char* n : {"dvilv.png", "HDMI13_lv.png", "HDMI20_lv.png"})
        QTest::newRow(n) << QString(":/png/") + n << QSize(100, 32);
}

void TstSourceInfo::icon_sizes() {
    QFETCH(QString, name);
    QFETCH(QSize, size);
    QCOMPARE(resource(name).size(), size);
}

QTEST_MAIN(TstSourceInfo)
#include "tst_sourceinfo.moc"

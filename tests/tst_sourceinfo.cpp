// Source names, the two numberings and their icons, with the out-of-range
// ids and positions that blocks and files can hold.
#include "ui/frame/sourceinfo.h"

#include <QLabel>
#include <QPixmap>
#include <QtTest>

namespace {
using si = sourceinfo;
QImage image_of(const QLabel& label) { return label.pixmap(Qt::ReturnByValue).toImage(); }
// Loaded the way the labels load it, so that formats match.
QImage resource(const QString& name) { return QPixmap(":/png/" + name).toImage(); }
const QString kFont = "<font style = 'font-size:9px' color = %1 >%2</font>";
}  // namespace

class TstSourceInfo : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { Q_INIT_RESOURCE(png); }
    void maps_data();
    void maps();
    void styles();
    void icons_data();
    void icons();
    void icons_out_of_range_leave_label();
};

void TstSourceInfo::maps_data() {
    QTest::addColumn<int>("listseq");
    QTest::addColumn<int>("source");
    QTest::addColumn<QString>("name");
    const char* names[] = {"HDMI1", "HDMI2", "HDMI3", "HDMI4", "DVI", "EXT"};
    const int ids[] = {2, 3, 4, 5, 1, 0};
    for (int k = 0; k < 6; ++k)
        QTest::newRow(names[k]) << k << ids[k] << names[k];
}

void TstSourceInfo::maps() {
    QFETCH(int, listseq);
    QFETCH(int, source);
    QFETCH(QString, name);
    QCOMPARE(int(si::get_source_id_by_listseq(listseq)), source);
    QCOMPARE(int(si::get_listseq_by_source_id(source)), listseq);
    QCOMPARE(si::get_source_name_by_listseq(listseq), name);
    QCOMPARE(si::get_source_name_by_sourceid(source), name);
    // Past either table: EXT's id or position 0, and no name.
    for (int bad : {6, 255, -1}) {
        QCOMPARE(int(si::get_source_id_by_listseq(bad)), 0);
        QCOMPARE(int(si::get_listseq_by_source_id(bad)), 0);
        QCOMPARE(si::get_source_name_by_listseq(bad), QString());
        QCOMPARE(si::get_source_name_by_sourceid(bad), QString());
    }
}

void TstSourceInfo::styles() {
    for (int s : {3, 4, 200})
        QCOMPARE(si::get_source_specialstyle0_by_sourceid(s).arg("X"), kFont.arg(s == 4 ? "#51BB28" : "#ffffff", "X"));
    const auto blue = [](const char* t) { return kFont.arg("#4777ff", t); };
    QCOMPARE(si::get_source_specialstyle1_by_sourceid(4, "HDMI3", 2),
             kFont.arg("#12BB32", "HDMI3") + blue("(") + blue("2") + blue(")"));
    QVERIFY(si::get_source_specialstyle1_by_sourceid(1, "DVI", 0).endsWith(blue("(") + blue("0") + blue(")")));
    QCOMPARE(si::get_source_specialstyle1_by_sourceid(6, "X", 1), QString());
    // A "%" in an alias comes out as typed, not as a place-holder.
    QVERIFY(si::get_source_specialstyle1_by_sourceid(2, "50%1 %2", 3)
                .startsWith(kFont.arg("#ffffff", "50%1 %2")));
}

void TstSourceInfo::icons_data() {
    QTest::addColumn<int>("source");
    QTest::addColumn<QString>("plain");
    QTest::addColumn<QString>("online");
    QTest::addColumn<QString>("offline");
    QTest::newRow("EXT") << 0 << "HDMI.png" << "extlv.png" << "HDMI.png";
    QTest::newRow("DVI") << 1 << "DVI.png" << "dvilv.png" << "DVI.png";
    QTest::newRow("HDMI2") << 3 << "HDMI13.png" << "HDMI13_lv.png" << "HDMI13_1.png";
    QTest::newRow("HDMI3") << 4 << "HDMI20.png" << "HDMI20_lv.png" << "HDMI20.png";
}

void TstSourceInfo::icons() {
    QFETCH(int, source);
    QFETCH(QString, plain);
    QFETCH(QString, online);
    QFETCH(QString, offline);
    // Online must be told apart from offline, at the sizes the pages lay out.
    QVERIFY(resource(online) != resource(offline));
    QCOMPARE(resource(plain).size(), QSize(50, 16));
    QCOMPARE(resource(offline).size(), QSize(50, 16));
    QCOMPARE(resource(online).size(), source == 0 ? QSize(50, 16) : QSize(100, 32));
    QLabel label;
    si::set_source_pixmap(&label, source);
    QCOMPARE(image_of(label), resource(plain));
    si::set_sourceonline_pixmap(&label, source, 0x80);  // any non-zero byte
    QCOMPARE(image_of(label), resource(online));
    si::set_sourceonline_pixmap(&label, source, 0);
    QCOMPARE(image_of(label), resource(offline));
}

void TstSourceInfo::icons_out_of_range_leave_label() {
    QLabel label;
    si::set_sourceonline_pixmap(&label, 2, 1);
    const QImage before = image_of(label);
    for (int s : {6, 255, -1}) {
        si::set_source_pixmap(&label, s);
        si::set_sourceonline_pixmap(&label, s, 1);
        QCOMPARE(image_of(label), before);
    }
    si::set_source_pixmap(nullptr, 2);
    si::set_sourceonline_pixmap(nullptr, 2, 1);
}

QTEST_MAIN(TstSourceInfo)
#include "tst_sourceinfo.moc"

// Source names, the two numberings and their icons, with the out-of-range
// ids and positions that blocks and files can hold.
#include "ui/frame/sourceinfo.h"

#include <QLabel>
#include <QPixmap>
#include <QtTest>

namespace {
using si = sourceinfo;
// Loaded the way the labels load it, so that formats match.
QImage resource(const QString& name) { return QPixmap(":/png/" + name).toImage(); }
}  // namespace

class TstSourceInfo : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { Q_INIT_RESOURCE(png); }

    // Both numberings agree both ways; past either table: EXT's id or
    // position 0, no name, and no styled text.
    void maps_data() {
        QTest::addColumn<int>("listseq");
        QTest::addColumn<int>("source");
        QTest::addColumn<QString>("name");
        QTest::newRow("EXT last") << 5 << 0 << "EXT";
        QTest::newRow("out of range 6") << 6 << 6 << QString();
        QTest::newRow("out of range -1") << -1 << -1 << QString();
    }
    void maps() {
        QFETCH(int, listseq);
        QFETCH(int, source);
        QFETCH(QString, name);
        const bool bad = name.isEmpty();
        QCOMPARE(int(si::get_source_id_by_listseq(listseq)), bad ? 0 : source);
        QCOMPARE(int(si::get_listseq_by_source_id(source)), bad ? 0 : listseq);
        QCOMPARE(si::get_source_name_by_listseq(listseq), name);
        QCOMPARE(si::get_source_name_by_sourceid(source), name);
        QCOMPARE(si::get_source_specialstyle1_by_sourceid(source, "X", 1).isEmpty(), bad);
    }

    // A "%" in an alias comes out as typed, not as a place-holder.
    void alias_with_percent_kept() {
        const QString text = si::get_source_specialstyle1_by_sourceid(2, "50%1 %2", 3);
        QVERIFY2(text.contains(">50%1 %2<") && text.contains(">3<"), qPrintable(text));
    }

    // HDMI3's signal pictures; an id past the table, or no label, leaves the
    // label as it was.
    void icons() {
        QLabel label;
        si::set_sourceonline_pixmap(&label, 4, 0);
        QCOMPARE(label.pixmap(Qt::ReturnByValue).toImage(), resource("HDMI20.png"));
        si::set_sourceonline_pixmap(&label, 4, 0x80); // any non-zero byte
        si::set_source_pixmap(&label, 6);
        si::set_sourceonline_pixmap(&label, -1, 0);
        si::set_sourceonline_pixmap(nullptr, 2, 1);
        QCOMPARE(label.pixmap(Qt::ReturnByValue).toImage(), resource("HDMI20_lv.png"));
    }
};

QTEST_MAIN(TstSourceInfo)
#include "tst_sourceinfo.moc"

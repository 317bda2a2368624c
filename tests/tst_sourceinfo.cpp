// Source names, numberings and icons for the ids a block or file can hold,
// and aliases that look like place-holders.
#include "testsupport.h"

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

    // Past either table (blocks and files hold any number): EXT's id or
    // position 0, no name and no styled text.
    void out_of_range_data() { testsupport::int_rows({{"past the tables", {6}}, {"negative", {-1}}}); }
    void out_of_range() {
        QFETCH(QVector<int>, r);
        QCOMPARE(int(si::get_source_id_by_listseq(r[0])) + int(si::get_listseq_by_source_id(r[0])), 0);
        QVERIFY(si::get_source_name_by_listseq(r[0]).isEmpty() && si::get_source_name_by_sourceid(r[0]).isEmpty());
        QVERIFY(si::get_source_specialstyle1_by_sourceid(r[0], "X", 1).isEmpty());
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

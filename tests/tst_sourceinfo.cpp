// Source names, numberings and icons for the ids a block or file can hold,
// and aliases that look like place-holders.
#include "testsupport.h"

#include "ui/frame/sourceinfo.h"

namespace {
using si = sourceinfo;
// A source's signal picture (under :/png/) with or without signal.
struct Icon {
    int id;
    uint8_t online;
    const char* picture;
};
}  // namespace
Q_DECLARE_METATYPE(Icon)

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

    // Lists show HDMI1, HDMI2, HDMI3, HDMI4, DVI, EXT; each position maps
    // back to its id.
    void list_order() {
        QStringList names;
        for (int p = 0; p < 6; ++p) {
            names << si::get_source_name_by_sourceid(si::get_source_id_by_listseq(p));
            QCOMPARE(int(si::get_listseq_by_source_id(si::get_source_id_by_listseq(p))), p);
            QCOMPARE(si::get_source_name_by_listseq(p), names.last());
        }
        QCOMPARE(names.join(' '), QString("HDMI1 HDMI2 HDMI3 HDMI4 DVI EXT"));
    }

    // EXT has no grey badge of its own; any non-zero byte is a signal. An id
    // past the table, or no label, leaves the label as it was.
    void icons_data() {
        testsupport::rows<Icon>({{"HDMI3 without signal", {4, 0, "HDMI20.png"}},
                                 {"HDMI3, any non-zero byte", {4, 0x80, "HDMI20_lv.png"}},
                                 {"EXT with signal", {0, 1, "extlv.png"}},
                                 {"EXT without", {0, 0, "HDMI.png"}},
                                 {"HDMI1 without", {2, 0, "HDMI13_1.png"}}});
    }
    void icons() {
        QFETCH(Icon, row);
        QLabel label;
        si::set_sourceonline_pixmap(&label, row.id, row.online);
        si::set_source_pixmap(&label, 6);
        si::set_sourceonline_pixmap(&label, -1, 0);
        si::set_sourceonline_pixmap(nullptr, 2, 1);
        QCOMPARE(label.pixmap(Qt::ReturnByValue).toImage(), QPixmap(QString(":/png/") + row.picture).toImage());
    }
};

QTEST_MAIN(TstSourceInfo)
#include "tst_sourceinfo.moc"

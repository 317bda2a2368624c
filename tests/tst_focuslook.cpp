// One focus mark at a time: after every key of a walk from the main menu
// through each page's focus levels, the page in front shows exactly one
// entry drawn with the focused (orange) or editing (red) border, so that OK
// acts on the entry the operator sees marked; pages without entries none.
#include "page_driver.h"

#include "ui/frame/mainwindow.h"

namespace {
// Groups of touching pixels in the focus orange (#FFAB54 or #FFA854, also
// anti-aliased at a rounded corner) or the editing red that outline a box (a
// tab open onto its panel joins the panel). Pictures are blanked first: some
// are orange; a button's border stays.
int marks_on(QWidget* page) {
    QImage img = page->grab().toImage();
    for (QWidget* c : page->findChildren<QWidget*>()) {
        const int in = c->property("pixmap").value<QPixmap>().isNull() ? 4 : 0;
        const QRect r = QRect(c->mapTo(page, QPoint()), c->size()).adjusted(in, in, -in, -in);
        if (c->isVisibleTo(page) && (!in || !c->property("icon").value<QIcon>().isNull()))
            QPainter(&img).fillRect(r, Qt::black);
    }
    // A mark pixel not taken before; blanked once taken.
    const auto take = [&img](QPoint q) {
        const QRgb c = img.valid(q) ? img.pixel(q) : 0;
        const int r = qRed(c), g = qGreen(c), b = qBlue(c);
        return ((r > 140 && r - b > 70 && g * 100 > r * 55 && g * 100 < r * 75) || (r > 245 && g < 10 && b < 10)) &&
               (img.setPixel(q, 0), true);
    };
    int marks = 0;
    for (int p = 0; p < img.width() * img.height(); ++p)
        if (QPolygon group({QPoint(p % img.width(), p / img.width())}); take(group[0])) {
            for (int i = 0; i < group.size(); ++i)
                for (int n = 0; n < 25; ++n)  // across a pixel or two of a rounded corner
                    if (const QPoint q = group[i] + QPoint(n % 5 - 2, n / 5 - 2); take(q))
                        group << q;
            // An outline, not a filled shape (a window's orange tile).
            const QSize s = group.boundingRect().size();
            marks += s.width() > 11 && s.height() > 9 && group.size() * 2 < s.width() * s.height();
        }
    return marks;
}
}  // namespace

class TstFocusLook : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { new MainWindow(nullptr); }
    void init() {
        testsupport::fresh_device();
        set_crops("2.1 2.2");
        RynRamPara::pInstance()->UserModes[0].bytes.fill(0xAA);  // saved
        g_page_focus = PAGE_MAINWINDOW;
        g_mainwindow()->menulist_init();
        g_mainwindow()->show();
    }
    void cleanup() { testsupport::close_all_pages(); }

    // Keys from the main menu (focus on its first tile), as press() takes them.
    void one_mark_data() {
        QTest::addColumn<QString>("keys");
        QTest::newRow("main menu, tool strip, both grids, MODE") << "rrrrrrlkrrrrllkrrlbrkrrlbbm";
        QTest::newRow("device status, home screen") << "kbbrlk";
        QTest::newRow("source page: all levels") << "rkrrrlllkrrrrrrrkrrrbllkrrbbb";
        QTest::newRow("EDID page: tabs, fields, rate") << "rklkrrrrrrllllllkrrkrlkrrrlkbb";
        QTest::newRow("crop page") << "lllkrkrrrrrrlrkrrrrlrkrrrrrrlkrrkrrrrbklllbbbb";
        QTest::newRow("user-mode page: slots and action row") << "rrkrlkrrlbkrrrllbb";
        QTest::newRow("LED, layout, tools") << "lllkrrrrrrrrlrkrrkrrrrlbbrrkrrrrrrlbrrrrkrlbb";
        QTest::newRow("link, image quality, advanced") << "lllkrrrkrrrlbrkrrlkrlbbrrrkrrrrrlbb";
    }
    void one_mark() {
        QFETCH(QString, keys);
        QStringList faults;
        int next = 0;
        std::function<void()> step = [&] {
            const QVector<int> none{PAGE_LOCKWINDOW, PAGE_MACHINESTATE, PAGE_SMARTMAPPING};
            const int marks = marks_on(testsupport::front_page());
            if (marks != (none.contains(g_page_focus) ? 0 : 1))
                faults << QString::asprintf("%d marks on page %d after %s", marks, g_page_focus,
                                            qPrintable(keys.left(next)));
            if (next++ == keys.size())
                return void(testsupport::close_all_pages());  // the loops unwind
            testsupport::post(step);
            press(keys.mid(next - 1, 1));
        };
        testsupport::post(step);
        QTRY_VERIFY_WITH_TIMEOUT(next > keys.size(), 20000);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
    }
};

QTEST_MAIN(TstFocusLook)
#include "tst_focuslook.moc"

// One focus mark at a time: on every page, after every key of a walk
// through its focus levels, the screen shows exactly one entry drawn with
// the focused (orange) or the editing (red) border, so that OK acts on the
// entry the operator sees marked. Counted on the drawn page, as seen.
#include "page_driver.h"

#include "ui/frame/custommode.h"
#include "ui/frame/lockwindow.h"
#include "ui/frame/machinestate.h"
#include "ui/frame/mainwindow.h"
#include "ui/frame/option.h"
#include "ui/frame/outputset.h"
#include "ui/pages/advancedoption.h"
#include "ui/pages/edidset.h"
#include "ui/pages/imagelayout.h"
#include "ui/pages/imagequality.h"
#include "ui/pages/inputchoose.h"
#include "ui/pages/inputcut.h"
#include "ui/pages/ledset.h"
#include "ui/pages/linkoption.h"
#include "ui/pages/quality.h"
#include "ui/tools/smartmapping.h"

#include <QElapsedTimer>
#include <QAbstractButton>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QSet>

namespace {
// A mark's colour: the focus orange (#FFAB54, or #FFA854) or the editing red;
// `blend` also takes the anti-aliased orange of a rounded corner.
bool mark_colour(QRgb c, bool blend) {
    const int r = qRed(c), g = qGreen(c), b = qBlue(c);
    if (blend)
        return r > 140 && r - b > 70 && g * 100 > r * 55 && g * 100 < r * 75;
    return r > 245 && ((qAbs(g - 170) < 6 && qAbs(b - 84) < 6) || (g < 10 && b < 10));
}
// The marks drawn on `page`: groups of touching mark pixels that outline a
// box: thin, with at least three of its four sides drawn (a tab open onto
// the panel under it joins the panel). Pictures are left out.
int marks_on(QWidget* page) {
    QImage img = page->grab().toImage();
    const int w = img.width(), h = img.height();
    QPainter blank(&img);
    for (QWidget* c : page->findChildren<QWidget*>()) {
        const auto* label = qobject_cast<QLabel*>(c);
        const auto* button = qobject_cast<QAbstractButton*>(c);
        const QRect r(c->mapTo(page, QPoint()), c->size());
        if (c->isVisibleTo(page) && label && !label->pixmap(Qt::ReturnByValue).isNull())
            blank.fillRect(r, Qt::black);
        else if (c->isVisibleTo(page) && button && !button->icon().isNull()) {  // its border stays
            QRect icon(QPoint(), button->iconSize());
            icon.moveCenter(r.center());
            blank.fillRect(icon & r.adjusted(2, 2, -2, -2), Qt::black);
        }
    }
    blank.end();
    std::vector<char> seen(size_t(w * h), 0);
    int marks = 0;
    for (int start = 0; start < w * h; ++start) {
        if (seen[size_t(start)] || !mark_colour(img.pixel(start % w, start / w), false))
            continue;
        std::vector<int> group{start};
        seen[size_t(start)] = 1;
        QRect box(start % w, start / w, 1, 1);
        for (size_t i = 0; i < group.size(); ++i)
            for (int dy = -2; dy <= 2; ++dy)
                for (int dx = -2; dx <= 2; ++dx) {
                    const int x = group[i] % w + dx, y = group[i] / w + dy, n = y * w + x;
                    if (x >= 0 && y >= 0 && x < w && y < h && !seen[size_t(n)] &&
                        (mark_colour(img.pixel(x, y), false) || mark_colour(img.pixel(x, y), true))) {
                        seen[size_t(n)] = 1;
                        group.push_back(n);
                        box |= QRect(x, y, 1, 1);
                    }
                }
        // Pixels of the group in the 2-pixel band along each side.
        int left = 0, right = 0, top = 0, bottom = 0;
        for (int n : group) {
            const int x = n % w, y = n / w;
            left += x <= box.left() + 1;
            right += x >= box.right() - 1;
            top += y <= box.top() + 1;
            bottom += y >= box.bottom() - 1;
        }
        const int sides = (left * 2 > box.height()) + (right * 2 > box.height()) +
                          (top * 2 > box.width()) + (bottom * 2 > box.width());
        marks += box.width() >= 12 && box.height() >= 10 && sides >= 3 &&
                 int(group.size()) * 2 < box.width() * box.height();
    }
    return marks;
}

struct Walk {
    std::function<void()> open;  // the page, over the main menu
    QString keys;                // as press() takes them
    int marks = 1;               // a page without entries shows none
};
}  // namespace
Q_DECLARE_METATYPE(Walk)

class TstFocusLook : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { (new MainWindow(nullptr))->show(); }
    void init() {
        testsupport::fresh_device();
        set_crops("2.1 2.2");
        RynRamPara* p = RynRamPara::pInstance();
        p->UserModes[0].bytes[0] = p->UserModes[0].bytes[1] = 0xAA;
        p->set_u16(blk::window(1, blk::WIN_ENABLE), 1);
    }
    void cleanup() { testsupport::close_all_pages(); }

    void one_mark_data() {
        QTest::addColumn<Walk>("walk");
        const auto row = [](const char* tag, std::function<void()> open, const char* keys, int marks = 1) {
            QTest::newRow(tag) << Walk{std::move(open), keys, marks};
        };
        row("main menu, tool strip, load and save grids", [] {}, "rrrrrrlllllllkrrrrllkrrlbrkrrlbbrr");
        row("source page: tabs, buttons, sources, entries", &pages::opener<InputChoose>,
            "rrrrlllkrrrrrrrkrrrbllkrrbb");
        row("crop page: list, new-crop editor, then crop editor", &pages::opener<InputCut>,
            "rrrrrrllllllkrrrlllkrrrrrrlllllllkrrkrrrrbklllbbb");
        row("user-mode page: slots and action row", &pages::opener<CustomMode>, "rlkrrlbkrrrllb");
        row("EDID page", &pages::opener<EDIDset>, "rrrrrrllllllkrrkrlkrrrlkb");
        row("LED page", &pages::opener<ledset>, "rrrrrllll");
        row("settings menu", &pages::opener<Option>, "rrrrrrrrrrllllllllll");
        row("output menu", &pages::opener<OutputSet>, "rrrlll");
        row("advanced menu", &pages::opener<AdvancedOption>, "rrrrrrrllllllll");
        row("image-quality menu", &pages::opener<ImageQuality>, "rrll");
        row("link menu", &pages::opener<LinkOption>, "rrrrllll");
        row("quality page", &pages::opener<quality>, "rl");
        row("device status", &pages::opener<MachineState>, "rrrrllll", 0);
        row("layout view", &pages::opener<ImageLayout>, "rrrrrrrllllllllk");
        row("smart mapping", &pages::opener<SmartMapping>, "rlrl", 0);
        row("home screen", [] { pages::open<LockWindow>(false); }, "rlb", 0);
    }
    void one_mark() {
        QFETCH(Walk, walk);
        QStringList faults;
        int next = 0;
        bool done = false;
        std::function<void()> step = [&] {
            QWidget* page = testsupport::front_page();
            const int marks = page ? marks_on(page) : -1;
            if (marks != walk.marks)
                faults << QString("%1 marks on page %2 after \"%3\"").arg(marks).arg(g_page_focus).arg(walk.keys.left(next));
            if (next == walk.keys.size()) {
                testsupport::close_all_pages();
                done = true;
                return;
            }
            testsupport::post(step);
            press(walk.keys.mid(next++, 1));
        };
        g_page_focus = PAGE_MAINWINDOW;
        testsupport::post(step);
        walk.open();
        QElapsedTimer waited;
        waited.start();
        while (!done && waited.elapsed() < 20000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QVERIFY(done);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
    }
};

QTEST_MAIN(TstFocusLook)
#include "tst_focuslook.moc"

// The main menu drawn from its entries' pictures: the frame on the screen
// must stay what the style draws, pixel for pixel.
#include "testsupport.h"

#include "core/global.h"
#include "ui/frame/keys.h"
#include "ui/frame/lookcache.h"
#include "ui/frame/mainwindow.h"

#include <QBackingStore>
#include <QPushButton>
#include <QtTest>

namespace {
MainWindow* mw = nullptr;
LookCache* cache() { return mw->findChild<LookCache*>(); }

// The window's frame as the screen gets it, every widget painted anew.
QImage screen(bool pictures) {
    LookCache::enabled = pictures;
    mw->repaint();
    const QImage shown = static_cast<const QImage*>(mw->backingStore()->paintDevice())->copy();
    LookCache::enabled = true;
    return shown;
}
// Both looks of the six entries drawn (in idle time, after a paint).
bool pictures_ready() {
    mw->repaint();
    return QTest::qWaitFor([] { return cache()->ready() == 12; }, 5000);
}
} // namespace

class TstLookCache : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { mw = new MainWindow(nullptr); }
    void init() {
        testsupport::fresh_device();
        g_lcd_lang_valid = 0x1F;
        g_page_focus = PAGE_MAINWINDOW;
        mw->menulist_init();
        mw->language_changed();
        mw->show();
    }
    void cleanup() { testsupport::close_all_pages(); }
    void cleanupTestCase() { delete mw; }

    // Every focus position: a picture shows the same pixels as the style,
    // rounded corners and their blended edges included.
    void menu_frames_equal_the_style() {
        for (int entry = 0; entry < 6; ++entry) {
            QVERIFY(pictures_ready());
            QCOMPARE(screen(true), screen(false));
            testsupport::key(PANEL_KEY_RIGHT);
        }
    }

    // Pictures drawn before a change of icon (a new language) or of style
    // must not show: the first frame after it is the style's.
    void stale_pictures_are_not_shown() {
        QVERIFY(pictures_ready());
        g_language = 2;
        mw->language_changed();
        QCOMPARE(screen(true), screen(false));
        QVERIFY(pictures_ready());
        auto* tile = mw->findChild<QPushButton*>("inputchoose");
        const QString sheet = tile->styleSheet();
        tile->setStyleSheet(sheet + QStringLiteral("*:flat{background-color: rgb(90, 0, 0);}"));
        QVERIFY(cache()->ready() < 12);
        testsupport::key(PANEL_KEY_RIGHT);
        QCOMPARE(screen(true), screen(false));
        tile->setStyleSheet(sheet);
    }
};

QTEST_MAIN(TstLookCache)
#include "tst_lookcache.moc"

// The source selection page, driven by keys from the home screen.
#include "page_driver.h"

#include "ui/frame/lockwindow.h"
#include "ui/frame/mainwindow.h"
#include "ui/frame/ryn_keyboard.h"
#include "ui/frame/tip.h"
#include "ui/pages/inputchoose.h"

#include <QFrame>
#include <QGuiApplication>
#include <QScreen>
#include <QPointer>
#include <functional>

using IntList = QVector<int>;

namespace {
RynRamPara* para() { return RynRamPara::pInstance(); }
InputChoose* page() { return g_inputchoose(); }
std::vector<int> notices;         // kinds of the notices shown, in order
std::array<uint8_t, 5> lights{};  // the keypad's last light report
int warnings = 0;                 // console warnings of the page

void setup(const IntList& enables, const IntList& sources, const QString& crops = QString()) {
    for (int w = 0; w < WINDOW_COUNT; ++w) {
        para()->set_u16(blk::window(w, blk::WIN_ENABLE), uint16_t(enables.value(w, 0)));
        para()->set_u16(blk::window(w, blk::WIN_SOURCE), uint16_t(sources.value(w, 2)));
    }
    set_crops(crops);
}

// The entry boxes of the page shown, left to right.
QList<QFrame*> entries() {
    QList<QFrame*> list =
        page()->findChild<QFrame*>("frame")->findChildren<QFrame*>("source_frame");
    list.erase(std::remove_if(list.begin(), list.end(), [](QFrame* f) { return f->isHidden(); }),
               list.end());
    std::sort(list.begin(), list.end(), [](QFrame* a, QFrame* b) { return a->x() < b->x(); });
    return list;
}
// The entries that carry the in-use badge.
IntList badges() {
    IntList out;
    for (int i = 0; i < entries().size(); ++i)
        if (auto* b = entries().at(i)->findChild<QLabel*>("badge"); b && !b->isHidden())
            out << i;
    return out;
}
} // namespace

class TstInputChoose : public QObject {
    Q_OBJECT
    // Opens the page from the home screen (OK, Right, OK) and runs `body`
    // inside its modal loop; whatever is left open is closed afterwards.
    void run_page(const std::function<void()>& body) {
        g_page_focus = PAGE_MAINWINDOW;
        g_mainwindow()->menulist_init();
        const auto open = [] { pages::open<LockWindow>(false), press("krk"); };
        QVERIFY2(testsupport::run_nested({open}, PAGE_INPUTCHOOSE, body),
                 "OK on the main menu's second entry did not open the page");
    }

private slots:
    void initTestCase() {
        new MainWindow(nullptr);
        testsupport::run_fast_ticks(this, [](int kind) { notices.push_back(kind); });
        ryn_keys_light_writer = [](const std::array<uint8_t, 5>& report) { lights = report; };
    }
    void init() {
        testsupport::fresh_device();
        notices.clear();
        g_ryn_keys = 1;
    }
    void cleanup() {
        g_ryn_keys = 0;
        qInstallMessageHandler(nullptr);
        QVERIFY(testsupport::close_all_pages());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // Tabs 1, 3 and 6: Left from the crop button wraps onto the last tab,
    // whose window becomes current and is lit on the keypad.
    void tab_moved_to_lights_its_window() {
        setup({1, 0, 1, 0, 0, 1}, {2, 2, 2, 2, 2, 4});
        run_page([] {
            press("lll");
            QCOMPARE(int(page()->select_window), 5);
            QCOMPARE(int(g_image_current), 5);
            QCOMPARE(int(lights[2]), 1 << 5);
        });
    }

    // Window 4's enable word 3 shows it (bit 0, as the keypad reads it): E
    // moves to its tab, and OK on an entry applies it to window 4 only.
    void ok_applies_to_the_window_of_the_tab() {
        setup({1, 1, 0, 0, 3}, {2, 2, 2, 2, 2});
        run_page([] {
            press("Ekrrrkk");
            for (int w = 0; w < WINDOW_COUNT; ++w)
                QCOMPARE(int(para()->window_u16(w, blk::WIN_SOURCE)), w == 4 ? 5 : 2);
            QCOMPARE(int(c331_manage::pInstance()->para_update_flag), 1);
            QCOMPARE(notices, std::vector<int>{TIP_DONE});
        });
    }

    // The inputs' timings are not in the saved copy: a signal lost or found
    // while the page is open redraws the entry and the list's icon.
    void lost_signal_redraws_entry_and_icon() {
        setup({1}, {3});
        para()->publish_input_info(3, 1920, 1080, 60);
        run_page([] {
            press("kk");
            const auto icon = [] {
                return page()->findChild<QLabel*>("sourcelistseq1pixmap")->pixmap(Qt::ReturnByValue).toImage();
            };
            const QImage online = icon();
            para()->publish_input_info(3, 0, 0, 0);
            QCOMPARE(entries().at(0)->findChild<QLabel*>("info")->text(), QString("No signal"));
            QVERIFY(icon() != online);
            para()->publish_input_info(3, 1280, 720, 50);
            QCOMPARE(icon(), online);
        });
    }

    // A page closed by MODE on the source list is kept; opened again after
    // window 2 was enabled and made current it must be a new page, on the
    // screen too after a few keys (a stale level, page or tab would send
    // the next OK to the wrong window).
    void reopened_page_is_as_new() {
        setup({1, 1}, {4, 0x8001}, "4.1 4.2 4.3 4.4 2.1");
        para()->publish_input_info(4, 1920, 1080, 60);
        QPointer<InputChoose> closed;
        run_page([&] {
            closed = page();
            press("rkrm");
        });
        QVERIFY(closed && !closed->isVisible());
        para()->set_u16(blk::window(2, blk::WIN_ENABLE), 1);
        g_image_current = 2;
        para()->RamParaShadow = para()->RamParaBlock;
        run_page([&] {
            QCOMPARE(page(), closed.data());
            InputChoose fresh;
            fresh.para_init();
            fresh.language_changed();
            QCOMPARE(page()->grab().toImage(), fresh.grab().toImage());
            const auto rgb = [](const QImage& i) { return i.convertToFormat(QImage::Format_RGB32); };
            for (const QChar c : QString("lkrrrlkrbbl")) {
                press(QString(c));
                const QImage drawn = rgb(page()->grab().toImage());
                QTRY_VERIFY2(rgb(QGuiApplication::primaryScreen()->grabWindow(page()->winId()).toImage()) == drawn,
                             qPrintable(QString("after key %1").arg(c)));
            }
        });
    }

    // A crop removed under the focus before the refresh: OK is refused,
    // neither written as EXT nor moved onto another entry.
    void ok_on_a_vanished_crop_is_refused() {
        setup({1}, {3}, "4.1 4.2 4.3 4.4 4.5");
        run_page([] {
            press("krkl"); // the last crop
            para()->RamParaBlock[size_t(blk::crop(4) + blk::CROP_ID)] = 0;
            press("k");
            QCOMPARE(int(para()->window_u16(0, blk::WIN_SOURCE)), 3);
            QCOMPARE(int(c331_manage::pInstance()->para_update_flag), 0);
            QCOMPARE(notices, std::vector<int>{});
        });
    }

    // The in-use badge goes by the crop number (40 is the highest). A word
    // naming nothing marks nothing; the console says so once, not per redraw.
    void source_word_marks_its_entry_data() {
        QTest::addColumn<int>("word");
        QTest::addColumn<QString>("crops");
        QTest::addColumn<IntList>("badge"); // in HDMI3's list
        QTest::newRow("crop number 40") << 0x8001 << "x 4.40" << IntList{1};
        QTest::newRow("crop index 40") << 0x8028 << "4.1" << IntList{};
    }
    void source_word_marks_its_entry() {
        QFETCH(int, word);
        QFETCH(QString, crops);
        QFETCH(IntList, badge);
        setup({1}, {word}, crops);
        warnings = 0;
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
            warnings += type == QtWarningMsg && text.startsWith("InputChoose:");
        });
        run_page([&] {
            press("kk");
            QCOMPARE(badges(), badge);
            press("bbrlkk"); // and redraw
        });
        QCOMPARE(warnings, badge.isEmpty() ? 1 : 0);
    }
};

QTEST_MAIN(TstInputChoose)
#include "tst_inputchoose.moc"

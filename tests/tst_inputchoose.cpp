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
// Enable and source words, crops as set_crops takes them, current window,
// keys; then what is expected.
struct Case {
    IntList enables, sources;
    QString crops;
    int current;
    QString keys;
    IntList expect; // level, window, source, page, focus
    int word = -1;      // OK applied: window 0's new word, then the badges
    IntList badge = {};
};

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
IntList state() {
    InputChoose* p = page();
    return {p->ui_seltype, p->select_window, p->select_source, p->current_page, p->focus()};
}
uint16_t source_of(int w) { return para()->window_u16(w, blk::WIN_SOURCE); }
} // namespace
Q_DECLARE_METATYPE(Case)

class TstInputChoose : public QObject {
    Q_OBJECT
    // Opens the page from the home screen (OK, Right, OK) and runs `body`
    // inside its modal loop; whatever is left open is closed afterwards.
    void run_page(const std::function<void()>& body) {
        g_page_focus = PAGE_MAINWINDOW;
        g_mainwindow()->menulist_init();
        const auto open = [] {
            pages::open<LockWindow>(false);
            press("krk");
        };
        QVERIFY2(testsupport::run_nested({open}, PAGE_INPUTCHOOSE, body),
                 "OK on the main menu's second entry did not open the page");
    }

private slots:
    void initTestCase() {
        if (!g_mainwindow())
            new MainWindow(nullptr);
        testsupport::run_fast_ticks(this, [](int kind) { notices.push_back(kind); });
        // A keypad that records its lights instead of reaching the host.
        ryn_keys_light_writer = [](const std::array<uint8_t, 5>& report) { lights = report; };
    }
    void init() {
        testsupport::fresh_device();
        notices.clear();
        g_ryn_keys = 1;
        warnings = 0;
    }
    void cleanup() {
        g_ryn_keys = 0;
        qInstallMessageHandler(nullptr);
        QVERIFY(testsupport::close_all_pages());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // Keys move over tabs, sources and entries (wrapping, paging by three);
    // a tab moved to makes its window current and lights it on the keypad.
    // OK on an entry applies it to the highlighted tab's window only; after
    // the scaler took it up the page stays where it was and marks it.
    void keys_data() {
        QTest::addColumn<Case>("c");
        const IntList one{1}, three{1, 0, 1, 0, 0, 1}, s2{2}, s3{3}, s4{4};
        const IntList at6{2, 2, 2, 2, 2, 4}, on{1, 1, 0, 0, 3}; // window 4: no tab
        const QString five = "4.1 4.2 4.3 4.4 4.5";
        const auto row = [](const char* tag, const Case& c) { QTest::newRow(tag) << c; };
        row("tabs 1,3,6: crop button Left to last tab", {three, at6, "", 0, "lll", {0, 5, 4, 0, 2}});
        row("Left wraps HDMI1 to EXT", {one, s2, "", 0, "kl", {1, 0, 0, 0, 5}});
        row("Back restores the window's source", {one, s3, "", 0, "krrb", {0, 0, 3, 0, 0}});
        row("Left from the first wraps to the last", {one, s4, five, 0, "kkl", {2, 0, 4, 1, 2}});
        row("apply a crop after paging",
            {on, {2, 2}, five, 0, "krrklk", {2, 0, 4, 1, 2}, 0x8004, {2}});
        // Window 4 is current (keypad E) but has no tab: never edited.
        row("apply with the current window without tab",
            {on, {2, 2, 2, 2, 2}, "", 0, "Ekrrrkk", {2, 0, 5, 0, 0}, 5, {0}});
    }
    void keys() {
        QFETCH(Case, c);
        setup(c.enables, c.sources, c.crops);
        g_image_current = uint8_t(c.current);
        lights = ryn_keys_light_report();
        run_page([&] {
            press(c.keys);
            InputChoose* p = page();
            if (c.word < 0) {
                QCOMPARE(state(), c.expect);
                if (QString("lrb").contains(c.keys.back()) && p->ui_seltype == 0 &&
                    p->focus() < p->window_count) {
                    QCOMPARE(int(g_image_current), int(p->select_window));
                    QCOMPARE(int(lights[2]), 1 << p->select_window);
                }
                return;
            }
            for (int w = 0; w < WINDOW_COUNT; ++w)
                QCOMPARE(int(source_of(w)), w == 0 ? c.word : c.sources.value(w, 2));
            QCOMPARE(int(c331_manage::pInstance()->para_update_flag), 1);
            QCOMPARE(notices, std::vector<int>{TIP_DONE});
            c331_manage::pInstance()->apply_pass();
            QCOMPARE(state(), c.expect);
            QCOMPARE(badges(), c.badge);
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
                auto* label = page()->findChild<QLabel*>("sourcelistseq1pixmap");
                return label->pixmap(Qt::ReturnByValue).toImage();
            };
            const QImage online = icon();
            para()->publish_input_info(3, 0, 0, 0);
            QCOMPARE(entries().at(0)->findChild<QLabel*>("info")->text(), QString("No signal"));
            QVERIFY(icon() != online);
            para()->publish_input_info(3, 1280, 720, 50);
            QCOMPARE(icon(), online);
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
            QCOMPARE(source_of(0), uint16_t(3));
            QCOMPARE(int(c331_manage::pInstance()->para_update_flag), 0);
            QCOMPARE(notices, std::vector<int>{});
        });
    }

    // A closed page is kept and opened again: it must come back as a new
    // page would, whatever level, window and page it closed on and whatever
    // changed while it was closed (a stale level, page or tab would send the
    // next OK to the wrong window).
    void reopened_page_is_as_new_data() {
        QTest::addColumn<QString>("keys"); // to the state it closes in
        QTest::addColumn<int>("change");   // while closed: 0 none, 1 windows, 2 language and crops
        QTest::newRow("Back from page 1 of the crops") << "krrrkrrrbbb" << 0;
        QTest::newRow("MODE on the source list, then window 2 enabled and current") << "rkr" << 1;
        QTest::newRow("Back on the EDID button, then Russian and no crops") << "rrrb" << 2;
    }
    void reopened_page_is_as_new() {
        QFETCH(QString, keys);
        QFETCH(int, change);
        setup({1, 1}, {4, 0x8001}, "4.1 4.2 4.3 4.4");
        QPointer<InputChoose> closed;
        run_page([&] {
            closed = page();
            press(keys + (keys.endsWith('b') ? "" : "m"));
        });
        QVERIFY(closed && !closed->isVisible());
        if (change == 1) {
            para()->set_u16(blk::window(2, blk::WIN_ENABLE), 1);
            g_image_current = 2;
        } else if (change == 2) {
            para()->set_u16(blk::LCD_LANGUAGE, LANG_RUSSIAN);
            g_language = LANG_RUSSIAN;
            set_crops("");
        }
        para()->RamParaShadow = para()->RamParaBlock;
        run_page([&] {
            QCOMPARE(page(), closed.data());
            InputChoose fresh;
            fresh.para_init();
            fresh.language_changed();
            const IntList opened = state();
            QCOMPARE(opened, (IntList{fresh.ui_seltype, fresh.select_window, fresh.select_source,
                                      fresh.current_page, fresh.focus()}));
            QCOMPARE(page()->grab().toImage(), fresh.grab().toImage());
            press("k"); // both on the source list of the same window
            QCOMPARE(int(page()->select_listseq), int(fresh.select_listseq));
        });
    }

    // The screen after each key is what the page draws afresh: the frames
    // the page draws itself (tab frame, source marker, entry list) and the
    // labels and boxes repainted alone leave nothing stale behind a move.
    void screen_shows_the_page_after_each_key() {
        setup({1, 1, 0, 1}, {4, 0x8001, 2, 0}, "4.1 4.2 4.3 4.4 2.1");
        para()->publish_input_info(4, 1920, 1080, 60);
        run_page([] {
            const auto rgb = [](const QImage& i) { return i.convertToFormat(QImage::Format_RGB32); };
            for (const QChar c : QString("rrrrrkrrrrrrkrrrrrlbbrkkbb")) {
                press(QString(c));
                const QImage drawn = rgb(page()->grab().toImage());
                QTRY_VERIFY2(rgb(QGuiApplication::primaryScreen()->grabWindow(page()->winId()).toImage()) ==
                                 drawn,
                             qPrintable(QString("after key %1 at level %2").arg(c).arg(page()->ui_seltype)));
            }
        });
    }

    // The in-use badge goes by the crop number (40 is the highest). A word
    // naming nothing marks nothing; the console says so once per opening,
    // not per redraw.
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
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
            warnings += type == QtWarningMsg && text.startsWith("InputChoose:");
        });
        // Each opening is a new page, which says it once more.
        for (int opening = 0; opening < 2; ++opening) {
            run_page([&] {
                press("kk");
                QCOMPARE(badges(), badge);
                press("bbrl"); // and redraw
                press("lb");   // closed, kept
            });
        }
        qInstallMessageHandler(nullptr);
        QCOMPARE(warnings, badge.isEmpty() ? 2 : 0);
    }
};

QTEST_MAIN(TstInputChoose)
#include "tst_inputchoose.moc"

// The source selection page, driven by keys from the home screen.
#include "page_driver.h"

#include "ui/frame/lockwindow.h"
#include "ui/frame/mainwindow.h"
#include "ui/frame/ryn_keyboard.h"
#include "ui/frame/tip.h"
#include "ui/pages/inputchoose.h"

using IntList = QVector<int>;

namespace {
RynRamPara* para() {
    return RynRamPara::pInstance();
}
InputChoose* page() {
    return g_inputchoose();
}
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

// The entry boxes shown, left to right, and those with the in-use badge.
QList<QFrame*> entries() {
    QList<QFrame*> list;
    for (QFrame* f : page()->findChild<QFrame*>("frame")->findChildren<QFrame*>("source_frame"))
        if (!f->isHidden())
            list << f;
    std::sort(list.begin(), list.end(), [](QFrame* a, QFrame* b) { return a->x() < b->x(); });
    return list;
}
IntList badges() {
    IntList out;
    for (int i = 0; i < entries().size(); ++i)
        if (auto* b = entries().at(i)->findChild<QLabel*>("badge"); b && !b->isHidden())
            out << i;
    return out;
}

// A key walk from the home screen ("!" a change from outside), and the source
// words of windows 0.. and the done notices after.
enum Change { NONE, ENABLE_WINDOW_2, CROPS_DELETED, RECORD_4_FREED_UNSEEN };
struct Walk {
    IntList enables, sources;
    QString crops;
    int current;
    QString keys;
    Change change;
    IntList words;
    int notices;
};
void make_change(Change c) {
    if (c == ENABLE_WINDOW_2)
        outside_change([](RynRamPara& p) { p.set_u16(blk::window(2, blk::WIN_ENABLE), 1); });
    for (int k = 1; k < 5 && c == CROPS_DELETED; ++k)  // all of HDMI3's but the first
        outside_change([k](RynRamPara& p) { p.RamParaBlock[size_t(blk::crop(k) + blk::CROP_ID)] = 0; });
    if (c == RECORD_4_FREED_UNSEEN)  // before the refresh
        para()->RamParaBlock[size_t(blk::crop(4) + blk::CROP_ID)] = 0;
}
// A window's source word (crops as for set_crops) and the entries of HDMI3
// marked in use.
struct Mark {
    int word;
    QString crops;
    IntList badge;
};
}  // namespace
Q_DECLARE_METATYPE(Walk)
Q_DECLARE_METATYPE(Mark)
// A change from outside: window 0's source word, and the input's signal.
struct Outside {
    int word;
    bool signal_lost;
};
Q_DECLARE_METATYPE(Outside)

class TstInputChoose : public QObject {
    Q_OBJECT
    // Opens the page from the home screen (OK, Right, OK) and runs `body`
    // inside its modal loop; whatever is left open is closed afterwards.
    static void open_page(const std::function<void()>& body) {
        g_mainwindow()->menulist_init();
        run_page({[] { pages::open<LockWindow>(false), press("krk"); }}, PAGE_INPUTCHOOSE, body);
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
    // whose window becomes current and is lit on the keypad; a window picked
    // on the keypad takes the focus, the button's look too.
    void tab_moved_to_lights_its_window() {
        setup({1, 0, 1, 0, 0, 1}, {2, 2, 2, 2, 2, 4});
        open_page([] {
            press("lll");
            QCOMPARE(int(page()->select_window), 5);
            QCOMPARE(int(g_image_current), 5);
            QCOMPARE(int(lights[2]), 1 << 5);
            press("rA");  // the keypad's window 0 takes the focus from the crop button
            QVERIFY(g_image_current == 0 &&
                    !testsupport::looks_focused(page()->findChild<QWidget*>("button_inputcut")));
        });
    }

    void walk_data() {
        const QString five = "4.1 4.2 4.3 4.4 4.5";
        testsupport::rows<Walk>(
            {{"entry 0 puts the input itself", {{1}, {2}, "", 0, "krkk", NONE, {3}, 1}},
             {"enable word 3 shows the window (bit 0): the keypad's window has its tab",
              {{1, 1, 0, 0, 3}, {2, 2, 2, 2, 2}, "", 0, "Ekrrrkk", NONE, {2, 2, 2, 2, 5}, 1}},
             {"enable word 2 has no tab", {{1, 2, 1}, {2, 2, 2}, "", 0, "rkrkk", NONE, {2, 2, 3}, 1}},
             {"Back from the list returns to the current window's tab",
              {{1, 0, 1}, {2, 2, 2}, "", 2, "kbkrkk", NONE, {2, 2, 3}, 1}},
             {"Back from the list forgets the source browsed", {{1}, {2}, "", 0, "krbkkk", NONE, {2}, 1}},
             {"a crop on the second page, by crop number",
              {{1}, {3}, "4.2 4.1 4.3 4.5 4.4", 0, "krkrrrk", NONE, {0x8002}, 1}},
             {"Left from the first entry wraps to the last", {{1}, {3}, five, 0, "krklk", NONE, {0x8004}, 1}},
             {"level 2 starts on the crop in use, by crop number",
              {{1}, {0x8000}, "4.2 4.1", 0, "kkk", NONE, {0x8000}, 1}},
             {"a window enabled under the entries: back to window 0",
              {{1, 1}, {2, 4}, "", 1, "kk!krkk", ENABLE_WINDOW_2, {3, 4, 2}, 1}},
             {"crops deleted under the focus: on entry 0", {{1}, {3}, five, 0, "krkl!k", CROPS_DELETED, {4}, 1}},
             {"a crop gone before the refresh: refused",
              {{1}, {3}, five, 0, "krkl!k", RECORD_4_FREED_UNSEEN, {3}, 0}}});
    }
    void walk() {
        QFETCH(Walk, row);
        const Walk& w = row;
        setup(w.enables, w.sources, w.crops);
        g_image_current = uint8_t(w.current);
        open_page([&] { play(w.keys, [&] { make_change(w.change); }); });
        for (int i = 0; i < w.words.size(); ++i)
            QCOMPARE(int(para()->window_u16(i, blk::WIN_SOURCE)), w.words[i]);
        QCOMPARE(int(notices.size()), w.notices);
        QVERIFY(std::all_of(notices.begin(), notices.end(), [](int k) { return k == TIP_DONE; }));
    }

    // The end of a PC file transfer (a new alias file) redraws the names.
    void pc_file_end_redraws_names() {
        open_page([] {
            write_device_file("/data/configs/alias.json",
                              R"({"source":{"namelist":[{"id":3,"valid":"on","name":"Cam"}]}})");
            RynRamPara::pInstance()->test_signal(SYNC_PC_FILE_END);
            QVERIFY(page()->findChild<QLabel*>("sourcelistseq1name")->text().contains(">Cam<"));
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
        open_page([&] {
            closed = page();
            press("rkrm");
        });
        QVERIFY(closed && !closed->isVisible());
        para()->set_u16(blk::window(2, blk::WIN_ENABLE), 1);
        g_image_current = 2;
        para()->RamParaShadow = para()->RamParaBlock;
        open_page([&] {
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

    // The in-use badge goes by the crop number (40 is the highest). A word
    // naming nothing marks nothing; the console says so once, not per redraw.
    void source_word_marks_its_entry_data() {
        testsupport::rows<Mark>({{"crop number 40", {0x8001, "x 4.40", {1}}}, {"crop index 40", {0x8028, "4.1", {}}}});
    }
    void source_word_marks_its_entry() {
        QFETCH(Mark, row);
        setup({1}, {row.word}, row.crops);
        warnings = 0;
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
            warnings += type == QtWarningMsg && text.startsWith("InputChoose:");
        });
        open_page([&] {
            press("kk");
            QCOMPARE(badges(), row.badge);
            press("bbrlkk");  // and redraw
        });
        QCOMPARE(warnings, row.badge.isEmpty() ? 1 : 0);
    }

    // The list draws the boxes' looks under them and only what changed is
    // repainted: after a change from outside, the screen shows what a full
    // paint of the page shows, and that is what a new page shows (HDMI2
    // with crop record 2 listed).
    void outside_change_redraws_entries_data() {
        testsupport::rows<Outside>({{"a lost signal redraws the entry's timing", {3, true}},
                                    {"the window's crop redraws both boxes' looks and dots", {0x8002, false}}});
    }
    void outside_change_redraws_entries() {
        QFETCH(Outside, row);
        setup({1}, {3}, "4.1 4.2 3.1");
        para()->publish_input_info(3, 1920, 1080, 60);
        open_page([&] {
            const auto screen_is_full_paint = [] {
                const auto rgb = [](const QImage& i) { return i.convertToFormat(QImage::Format_RGB32); };
                return rgb(QGuiApplication::primaryScreen()->grabWindow(page()->winId()).toImage()) ==
                       rgb(page()->grab().toImage());
            };
            QTRY_VERIFY(screen_is_full_paint());
            if (row.signal_lost)
                para()->publish_input_info(3, 0, 0, 0);
            outside_change([&](RynRamPara& p) { p.set_u16(blk::window(0, blk::WIN_SOURCE), uint16_t(row.word)); });
            QTRY_VERIFY(screen_is_full_paint());
            InputChoose fresh;
            fresh.para_init();
            fresh.language_changed();
            QCOMPARE(page()->grab().toImage(), fresh.grab().toImage());
        });
    }
};

QTEST_MAIN(TstInputChoose)
#include "tst_inputchoose.moc"

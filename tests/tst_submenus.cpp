// The settings submenus: focus, children, touch and the done notice; the
// recovery tile and the protocol side's re-text; the ageing page's access
// code and the log it shows.
#include "page_driver.h"

#include "fpga/fpga_manage.h"
#include "fpga/rcv_recovery_file.h"
#include "ui/frame/mainwindow.h"
#include "ui/frame/syncupdate.h"
#include "ui/frame/tip.h"
#include "ui/pages/advancedoption.h"
#include "ui/pages/factoryage.h"
#include "ui/pages/linkoption.h"

#include <thread>

namespace {
// A menu and the page its second entry opens.
struct Menu {
    void (*open)();
    int id, entries, second;
};
}  // namespace
Q_DECLARE_METATYPE(Menu)

class TstSubmenus : public QObject {
    Q_OBJECT
    std::vector<int> notices;  // the kinds of notice shown, in turn

    static void store_packages(int count) {
        for (int i = 0; i < count; ++i)
            write_device_file(QString("/data/rcvrecovery/card%1.rcv").arg(i), {});
    }

private slots:
    void initTestCase() {
        new MainWindow(nullptr);  // registers itself
        fpga_manage::pInstance();
        testsupport::run_fast_ticks(this, [this](int kind) { notices.push_back(kind); });
    }
    void init() { testsupport::fresh_device(); }
    void cleanup() { QVERIFY(testsupport::close_all_pages()); }

    // The focus wraps both ways; a child returns to the entry that opened
    // it; a touch on a tile acts as OK on it. The link menu alone ignores
    // touch and ends each refresh with the done notice.
    void menus_data() {
        QTest::addColumn<Menu>("m");
        QTest::newRow("link") << Menu{pages::opener<LinkOption>, PAGE_LINKOPTION, 3, PAGE_LINKWLAN};
        QTest::newRow("advanced") << Menu{pages::opener<AdvancedOption>, PAGE_ADVANCEDOPTION, 5, PAGE_OTHERSETUP};
    }
    void menus() {
        QFETCH(Menu, m);
        const bool link = m.id == PAGE_LINKOPTION;
        run_page({m.open}, m.id, [&] {
            auto* menu = dynamic_cast<MenuPage*>(testsupport::front_page());
            press("l");
            QCOMPARE(menu->focused_entry(), m.entries - 1);
            press("rr");
            QCOMPARE(front_after([] { press("k"); }), m.second);
            QVERIFY(menu->focused_entry() == 1 && g_page_focus == m.id);
            QCOMPARE(front_after([&] { QTest::mouseClick(menu->tile(1), Qt::LeftButton); }), link ? m.id : m.second);
            notices.clear();
            SyncUpdate::pInstance()->para_sync(SYNC_OUTPUT_LINK);
            QCOMPARE(notices, std::vector<int>(link ? 1 : 0, TIP_DONE));
        });
    }

    // Without packages the tile is grey and opens nothing. One the PC
    // stores while the menu is open shows through the protocol thread's
    // re-text, queued into the GUI thread (and dropped once the page closed).
    void recovery_tile_data() {
        QTest::addColumn<int>("packages");  // stored before (-1: no folder)
        QTest::addColumn<bool>("by_pc");    // one more stored by the PC while open
        QTest::addColumn<int>("count");
        QTest::newRow("no folder") << -1 << false << 0;
        QTest::newRow("256 packages are not none") << 256 << false << 255;
        QTest::newRow("one stored by the PC meanwhile") << -1 << true << 1;
    }
    void recovery_tile() {
        QFETCH(int, packages);
        QFETCH(bool, by_pc);
        QFETCH(int, count);
        if (packages >= 0)
            store_packages(packages);
        run_page({pages::opener<AdvancedOption>}, PAGE_ADVANCEDOPTION, [&] {
            if (by_pc) {
                store_packages(1);
                std::thread(AdvancedOption::recovery_files_changed).join();
                QCOMPARE(int(g_advancedoption()->rcv_file_count), 0);
            }
            QTRY_COMPARE(int(g_advancedoption()->rcv_file_count), count);
            press("rr");
            QCOMPARE(testsupport::fill_colour(g_advancedoption()->tile(2)) == QColor(128, 128, 128), count == 0);
            QCOMPARE(front_after([] { press("k"); }), count ? PAGE_RCV_RECOVERY : PAGE_ADVANCEDOPTION);
            std::thread(AdvancedOption::recovery_files_changed).join();
        });
    }

    // The protocol thread changes the parser's list while the GUI reads it.
    void recovery_list_shared_between_threads() {
        rcvRecovery* parser = fpga_manage::pInstance()->recovery_parser;
        std::thread other([parser] {
            for (int i = 0; i < 300; ++i)
                parser->set_files(i % 2 ? QStringList{"a", "b", "c", "d", "e"} : QStringList{"a"});
        });
        for (int i = 0; i < 300; ++i)
            QVERIFY(QList<int>({0, 1, 5}).contains(parser->file_count()));
        other.join();
    }

    // Only the whole code opens the ageing page (on the keypad's OK), and
    // it is asked again once that page closed. The page lists the log, each
    // step counter after its own range.
    void ageing_page_behind_its_code() {
        factoryage_log = QStringList{"12-01 10:00 250 1 2", "12-01 10:03 3 1 2"};
        std::tie(factoryage_log_diff3, factoryage_log_diff5, factoryage_log_diff10, factoryage_log_diff20,
                 factoryage_log_diffmore) = std::make_tuple(1, 2, 3, 4, 5);
        QStringList seen;
        const auto log_shown = [&seen] {
            QWidget* log = g_factoryage()->findChild<QWidget*>("listWidget_log");
            seen << log->property("count").toString() + ' ' + texts(g_factoryage(), {"label_steps"});
        };
        run_page({pages::opener<AdvancedOption>}, PAGE_ADVANCEDOPTION, [&] {
            press("l");
            for (const char* code : {"61571K", "615K", "6157K", "K"})
                seen << QString::number(front_after([&] { play(QString("[%1]").arg(code)); }, log_shown));
        });
        factoryage_log.clear();
        QCOMPARE(seen.join(" / "), "12 / 12 / 2 1-2:1  3-4:2  5-9:3  10-19:4  20+:5 / 23 / 12");
    }
};

QTEST_MAIN(TstSubmenus)
#include "tst_submenus.moc"

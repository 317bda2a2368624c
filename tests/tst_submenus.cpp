// The settings submenus: wrap-around, touch, the done notice, the recovery
// tile and its re-text from the protocol side, the ageing log's access code.
#include "page_driver.h"

#include "fpga/fpga_manage.h"
#include "fpga/rcv_recovery_file.h"
#include "ui/frame/mainwindow.h"
#include "ui/frame/syncupdate.h"
#include "ui/frame/tip.h"
#include "ui/pages/advancedoption.h"
#include "ui/pages/factoryage.h"
#include "ui/pages/linkoption.h"

#include <QListWidget>
#include <QPushButton>
#include <thread>

namespace {
bool greyed(QWidget* tile) { return testsupport::fill_colour(tile) == QColor(128, 128, 128); }

void store_packages(int count) {
    QVERIFY(QDir().mkpath(device_path(QStringLiteral("/data/rcvrecovery"))));
    for (int i = 0; i < count; ++i)
        QVERIFY(testsupport::write_file(QStringLiteral("/data/rcvrecovery/card%1.rcv").arg(i), {}));
}
QPushButton* rcv_tile() { return g_advancedoption()->findChild<QPushButton*>("Button_rcv_recovery"); }
// The page in front after `act` on menu `page`; a child that opened is
// closed again with Back.
int front_after(int page, const std::function<void()>& act) {
    int seen = -1;
    testsupport::post([&] {
        if ((seen = g_page_focus) != page)
            press("b");
    });
    act();
    QCoreApplication::processEvents();
    return seen;
}
} // namespace

class TstSubmenus : public QObject {
    Q_OBJECT
    std::vector<int> notices;  // the kinds of notice shown, in turn

    void run_menu(int id, const std::function<void()>& body) {
        g_page_focus = PAGE_MAINWINDOW;
        const auto open = [id] {
            if (id == PAGE_LINKOPTION)
                pages::open<LinkOption>();
            else
                pages::open<AdvancedOption>();
        };
        QVERIFY2(testsupport::run_nested({open}, id, body), "the submenu did not open");
    }

private slots:
    void initTestCase() {
        testsupport::fresh_device();
        new MainWindow(nullptr);  // registers itself
        fpga_manage::pInstance();
        testsupport::run_fast_ticks(this, [this](int kind) { notices.push_back(kind); });
    }
    void init() { testsupport::fresh_device(); }
    void cleanup() {
        QVERIFY(testsupport::close_all_pages());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // A touch opens the advanced menu's second tile without moving the focus,
    // and nothing on the link menu. The focus wraps over the menu's entries;
    // only the link menu ends every refresh with the done notice.
    void focus_wraps_touch_and_refresh_data() {  // page, entries, front after the touch, done notices
        testsupport::int_rows({{"link", {PAGE_LINKOPTION, 3, PAGE_LINKOPTION, 2}},
                               {"advanced", {PAGE_ADVANCEDOPTION, 5, PAGE_OTHERSETUP, 0}}});
    }
    void focus_wraps_touch_and_refresh() {
        QFETCH(QVector<int>, r);
        const int page = r[0];
        run_menu(page, [&] {
            auto* m = dynamic_cast<MenuPage*>(pages::at(page));
            QCOMPARE(front_after(page, [&] { QTest::mouseClick(m->tile(1), Qt::LeftButton); }), r[2]);
            QCOMPARE(m->focused_entry(), 0);
            press("l");
            QCOMPARE(m->focused_entry(), r[1] - 1);
            notices.clear();
            SyncUpdate::pInstance()->para_sync(SYNC_PARA);
            SyncUpdate::pInstance()->para_sync(SYNC_OUTPUT_LINK);
            QCOMPARE(notices, std::vector<int>(size_t(r[3]), TIP_DONE));
        });
    }

    // No folder: greyed and shut; 256 packages are not 0 in 8 bits.
    void recovery_tile_data() {  // packages stored (-1: no folder), count shown
        testsupport::int_rows({{"no folder", {-1, 0}}, {"256", {256, 255}}});
    }
    void recovery_tile() {
        QFETCH(QVector<int>, r);
        const int packages = r[0], count = r[1];
        if (packages >= 0)
            store_packages(packages);
        run_menu(PAGE_ADVANCEDOPTION, [&] {
            QCOMPARE(int(g_advancedoption()->rcv_file_count), count);
            press("rr");
            QCOMPARE(greyed(rcv_tile()), count == 0);
            const int opens = count ? int(PAGE_RCV_RECOVERY) : int(PAGE_ADVANCEDOPTION);
            QCOMPARE(front_after(PAGE_ADVANCEDOPTION, [] { press("k"); }), opens);
        });
    }

    // The protocol thread's re-text after the PC stored a package reaches
    // the page in the GUI thread; after the page closed it is dropped.
    void recovery_retext_from_protocol_side() {
        run_menu(PAGE_ADVANCEDOPTION, [] {
            store_packages(1);
            std::thread([] { AdvancedOption::recovery_files_changed(); }).join();
            QCOMPARE(int(g_advancedoption()->rcv_file_count), 0);  // queued
            QTRY_COMPARE(int(g_advancedoption()->rcv_file_count), 1);
            QVERIFY(!greyed(rcv_tile()));
            std::thread([] { AdvancedOption::recovery_files_changed(); }).join();
            press("b");
        });
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
        QVERIFY(!g_advancedoption());
    }

    // The parser's list changed by another thread while the GUI counts it.
    void recovery_list_shared_between_threads() {
        rcvRecovery* parser = fpga_manage::pInstance()->recovery_parser;
        store_packages(3);
        std::thread other([parser] {
            for (int i = 0; i < 300; ++i)
                parser->set_files(i % 2 ? QStringList{"a", "b", "c", "d", "e"} : QStringList{"a"});
        });
        for (int i = 0; i < 300; ++i) {
            QCOMPARE(parser->count_dir_files(QStringLiteral("/data/rcvrecovery")), 3);
            const int now = parser->file_count();
            QVERIFY(now == 1 || now == 3 || now == 5);
        }
        other.join();
    }

    // A prefix of the access code keeps the ageing page shut.
    void wrong_access_code() {
        run_menu(PAGE_ADVANCEDOPTION, [] {
            press("l");
            int seen = -1;
            testsupport::post([&] {
                testsupport::post([&] {
                    if ((seen = g_page_focus) == PAGE_FACTORYAGE)
                        press("b");
                });
                keypad::type("615K");
            });
            press("k");
            QCoreApplication::processEvents();
            QCOMPARE(seen, int(PAGE_ADVANCEDOPTION));
            QCOMPARE(int(g_advancedoption()->age_unlocked), 0);
        });
    }

    // The ageing page lists the log, each step counter after its own range.
    void ageing_page_shows_the_log() {
        factoryage_log = QStringList{"12-01 10:00 250 1 2", "12-01 10:03 3 1 2"};
        std::tie(factoryage_log_diff3, factoryage_log_diff5, factoryage_log_diff10, factoryage_log_diff20,
                 factoryage_log_diffmore) = std::make_tuple(1, 2, 3, 4, 5);
        g_page_focus = PAGE_MAINWINDOW;
        QVERIFY(testsupport::run_nested({[] { pages::open<factoryage>(); }}, PAGE_FACTORYAGE, [] {
            QCOMPARE(g_factoryage()->findChild<QListWidget*>("listWidget_log")->count(), 2);
            QCOMPARE(g_factoryage()->findChild<QLabel*>("label_steps")->text(),
                     QStringLiteral("1-2:1  3-4:2  5-9:3  10-19:4  20+:5"));
        }));
        factoryage_log.clear();
    }
};

QTEST_MAIN(TstSubmenus)
#include "tst_submenus.moc"

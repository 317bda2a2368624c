// Every page opened from its parent by keys and closed again, the firmware
// banner.
#include "page_driver.h"

#include "fpga/fpga_manage.h"
#include "ui/frame/mainwindow.h"
#include "ui/tools/firmwareupdate.h"

#include <set>

namespace {
using testsupport::looks_focused;

std::set<int> visited;
QStringList errors;

// Focuses entry `name` with `dir`, opens page `id` with OK, runs `inside`
// on it and closes it with Back. A fault goes to `errors` and closes every
// page, so the nested loops unwind.
void enter(const QString& name, int id, const std::function<void()>& inside = {}, int dir = PANEL_KEY_RIGHT) {
    const int parent = g_page_focus;
    QWidget* page = testsupport::front_page();
    for (int i = 0; i < 16 && !looks_focused(page->findChild<QWidget*>(name)); ++i)
        testsupport::key(dir);
    bool done = false;
    QElapsedTimer waited;
    waited.start();
    std::function<void()> look = [&] {
        if (g_page_focus != id && waited.elapsed() < 2000)
            return testsupport::post(look);  // behind the access code
        done = true;
        const bool opened = g_page_focus == id && pages::parent_of(id) == parent;
        if (opened) {
            visited.insert(id);
            if (inside)
                inside();
            testsupport::key(PANEL_KEY_BACK);
        }
        if (!opened || pages::is_open(id) || g_page_focus != parent) {
            errors << QString("%1: page %2 over %3 did not open or close").arg(name).arg(id).arg(parent);
            testsupport::close_all_pages();
        }
    };
    testsupport::post(look);
    testsupport::key(PANEL_KEY_OK);  // returns when the page has closed
    while (!done && waited.elapsed() < 3000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}
}  // namespace

class TstPageTree : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        testsupport::fresh_device();
        (new MainWindow)->show();
        fpga_manage::pInstance();
        g_page_focus = PAGE_MAINWINDOW;
        visited = {PAGE_MAINWINDOW, PAGE_LOCKWINDOW};
    }
    void cleanup() { QVERIFY2(testsupport::close_all_pages() || QTest::currentTestFailed(), "a page was left open"); }

    void every_page_opens_and_closes_from_its_parent() {
        write_device_file("/data/rcvrecovery/card.rcv", "package");
        enter("machinestate", PAGE_MACHINESTATE);
        enter("inputchoose", PAGE_INPUTCHOOSE, [] {
            enter("button_EDID", PAGE_EDIDSET, {}, PANEL_KEY_LEFT);
            enter("button_inputcut", PAGE_INPUTCUT, {}, PANEL_KEY_LEFT);
        });
        enter("custommode", PAGE_CUSTOMMODE);
        enter("option", PAGE_OPTION, [] {
            enter("output_set", PAGE_OUTPUTSET, [] {
                enter("Button_ledset", PAGE_LEDSET);
                enter("Button_lanset", PAGE_NETSET);
            });
            enter("input_cut", PAGE_INPUTCUT);
            enter("image_layout", PAGE_IMAGELAYOUT);
            enter("link_set", PAGE_LINKOPTION, [] {
                enter("Button_com", PAGE_LINKCOM);
                enter("Button_wlan", PAGE_LINKWLAN);
                enter("Button_usb", PAGE_FIRMWARE_USBGRADE);
            });
            enter("image_quality", PAGE_IMAGEQUALITY, [] {
                enter("Button_quality", PAGE_QUALITY);
                enter("Button_temperature", PAGE_TEMPERATURE);
            });
            enter("test_chart", PAGE_TEST_CHART);
            enter("smart_mapping", PAGE_SMARTMAPPING);
            enter("AdvanceButton", PAGE_ADVANCEDOPTION, [] {
                enter("Button_LCDshow", PAGE_LCDSHOW);
                enter("Button_other", PAGE_OTHERSETUP);
                enter("Button_rcv_recovery", PAGE_RCV_RECOVERY);
                enter("Button_factory", PAGE_FACTORY);
                testsupport::post([] { keypad::type("6157K"); });
                enter("Button_age", PAGE_FACTORYAGE);
            });
        });
        QVERIFY2(errors.isEmpty(), qPrintable(errors.join("; ")));
        QCOMPARE(int(visited.size()), int(PAGE_COUNT));
    }

    // The banner a worker asks for: shown again rather than made twice.
    void firmware_banner_start_over() {
        g_move_update = nullptr;
        firmware_update_start();
        QPointer<FirmwareUpdate> banner = g_move_update;
        banner->hide();
        firmware_update_start();
        QVERIFY(g_move_update == banner.data() && banner->isVisible());
        firmware_update_over();
        QTRY_VERIFY(!g_move_update && banner.isNull());
    }
};

QTEST_MAIN(TstPageTree)
#include "tst_page_tree.moc"

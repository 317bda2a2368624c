#pragma once
// Shared set-up for the tests: a fresh device per test, and keys sent as a
// user presses them.
#include "core/global.h"
#include "core/ramblock.h"
#include "core/rynrampara.h"
#include "scaler/c331_manage.h"
#include "ui/frame/pageframe.h"
#include "ui/frame/shared_widgets.h"

#include <QtTest>
#include <QtWidgets>
#include <functional>
#include <vector>

namespace testsupport {
// Stands in for the main menu under a page: counts the calls of the close
// protocol.
class MainStub : public FramePage<QMainWindow> {
public:
    void language_changed() override { ++language_calls; }
    int language_calls = 0;
};
// Sets input s's live timing in the block (all 0: no signal).
void set_input(int s, int width, int height, int rate);
// The temporary folder of this test program, made before main(): the only
// place it may touch (see device_paths_confine).
QString test_root();
// A fresh FRONTPANEL_ROOT, globals back to their start values, the block
// rebuilt from the (absent) files with the factory defaults, the apply flag
// clear. Keeps the folder alive until the next call.
void fresh_device();
QString data_root();

// The widget of the page named by g_page_focus (null when none).
QWidget* front_page();
// Sends a key press and release with `key` to `to` (by default the page in
// front), now.
void key(int key, QWidget* to = nullptr);
// Runs `fn` from a queued call (inside whatever loop runs next).
void post(std::function<void()> fn);
// The 10 ms tick as fast as the event loop turns, owned by `owner`: it
// advances G_timeTicks and ends every notice. `shown` runs on a notice's
// first tick with its kind (the notice's loop is running then).
void run_fast_ticks(QObject* owner, std::function<void(int kind)> shown = {});
// Runs `steps` in turn, each opening one modal page (the next step runs
// inside that page's loop), then `body` inside the last page's loop when
// the page in front is `front`, and finally closes every open page so the
// loops unwind. False when `front` was not reached.
bool run_nested(const std::vector<std::function<void()>>& steps, int front, const std::function<void()>& body);
// The fill `w` is drawn with (just inside the top border, half-way across).
QColor fill_colour(QWidget* w);
// Drawn with the orange border (left, half-way down) of the focused entry.
bool looks_focused(QWidget* w);
// Closes every open page (a test's clean-up); true when none was left.
bool close_all_pages();
// Runs `fn` in a forked copy of the test, whose stdout (and stderr, with
// `with_stderr`) go into one pipe; when `fn` returns the copy ends with
// _exit(3), flushing nothing. Returns what it wrote; *status gets its
// wait status.
QByteArray run_forked(const std::function<void()>& fn, bool with_stderr, int* status);
// Ends every notice at once (a 0 ms timer standing in for the 10 ms clock)
// and records the kind of each one shown.
struct NoticeDriver {
    NoticeDriver();
    QTimer timer;
    std::vector<int> kinds;
};
// A device file (a path under FRONTPANEL_ROOT) read whole (empty when
// absent) and written whole (false when it cannot be).
QByteArray read_file(const QString& device);
bool write_file(const QString& device, const QByteArray& bytes);
// `_data()` rows of whole numbers in one column "r", each row under its tag.
void int_rows(std::initializer_list<std::pair<const char*, QVector<int>>> rows);
// `_data()` rows of one named struct (Q_DECLARE_METATYPE) in column "row",
// each under the tag of the rule it checks.
template <class T> void rows(std::initializer_list<std::pair<const char*, T>> list) {
    QTest::addColumn<T>("row");
    for (const auto& r : list)
        QTest::newRow(r.first) << r.second;
}
// What `fn` printed on stdout (the console lines of the core).
QByteArray capture_stdout(const std::function<void()>& fn);
}  // namespace testsupport

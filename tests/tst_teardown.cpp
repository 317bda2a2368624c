// After the application object is gone (the end of main) the device's
// threads may still report changes: only the main thread may dispatch
// then, never a worker, which would reach pages being torn down.
#include "testsupport.h"

#include "core/rynrampara.h"

#include <QCoreApplication>
#include <cstdio>
#include <thread>
#include <vector>

int main(int argc, char** argv) {
    testsupport::fresh_device();
    static std::vector<std::thread::id> dispatched;
    RynRamPara::gui_dispatcher = [](int) { dispatched.push_back(std::this_thread::get_id()); };
    { QCoreApplication app(argc, argv); }
    std::thread([] { RynRamPara::pInstance()->test_signal(1); }).join();
    const bool worker_dropped = dispatched.empty();
    RynRamPara::pInstance()->test_signal(1);
    const bool main_dispatched = dispatched.size() == 1 && dispatched[0] == std::this_thread::get_id();
    RynRamPara::gui_dispatcher = nullptr;
    if (!worker_dropped)
        std::printf("FAIL: a worker thread dispatched without an application\n");
    if (!main_dispatched)
        std::printf("FAIL: the main thread did not dispatch without an application\n");
    return worker_dropped && main_dispatched ? 0 : 1;
}

// After the application object is gone (the end of main) the device's
// threads may still report changes: only the main thread may dispatch then,
// never a worker, which would reach pages being torn down.
#include "testsupport.h"

#include <cstdio>
#include <thread>

int main(int argc, char** argv) {
    testsupport::fresh_device();
    static std::vector<std::thread::id> dispatched;
    RynRamPara::gui_dispatcher = [](int) { dispatched.push_back(std::this_thread::get_id()); };
    { QCoreApplication app(argc, argv); }
    std::thread([] { RynRamPara::pInstance()->test_signal(1); }).join();
    RynRamPara::pInstance()->test_signal(1);
    RynRamPara::gui_dispatcher = nullptr;
    const bool ok = dispatched.size() == 1 && dispatched[0] == std::this_thread::get_id();
    if (!ok)
        std::printf("FAIL: %zu dispatches, not one from the main thread alone\n", dispatched.size());
    return ok ? 0 : 1;
}

// Built, never run: a program of the core and the simulated device alone.
// Every object of their library is linked in, so code there that calls into
// the UI fails this link. Run by mistake it does nothing: a device build's
// core would write the host's /data.
#include "core/rynrampara.h"

int main() {
    // Keeps a reference into the library, so the linker cannot drop it.
    RynRamPara* (*volatile keep)() = &RynRamPara::pInstance;
    (void)keep;
    return 0;
}

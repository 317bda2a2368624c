// Built, never run: a program of the core and the simulated device alone.
// Every object of their library is linked in, so code there that calls into
// the UI fails this link.
#include "core/rynrampara.h"

int main() { return RynRamPara::pInstance() ? 0 : 1; }

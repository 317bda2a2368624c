#pragma once
// The one way a front-panel writer changes the parameter block.
#include "core/rynrampara.h"
#include "scaler/c331_manage.h"
#include "core/utils.h"

// Under the scaler manager's para_mutex: lets `write` change the block,
// then raises the apply flag (1) for the scaler thread.
template <class F> void para_write(F&& write) {
    c331_manage* m = c331_manage::pInstance();
    MutexLocker lock(&m->para_mutex);
    write(*RynRamPara::pInstance());
    m->para_update_flag = 1;
}

// True while the previous change waits for the scaler thread; value steps
// are refused meanwhile.
inline bool para_update_pending() { return c331_manage::pInstance()->para_update_flag != 0; }

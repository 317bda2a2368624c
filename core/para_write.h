#pragma once
// The one way a front-panel writer changes the parameter block.
#include "core/ids.h"
#include "core/rynrampara.h"
#include "core/utils.h"
#include "scaler/c331_manage.h"

#include <type_traits>

// Under the scaler manager's para_mutex: lets `write` change the block,
// then raises the apply flag (C331_APPLY_EDIT) for the scaler thread. A
// `write` that returns bool says whether it changed anything the scaler
// applies: false leaves the flag as it was (a refused request, or a value
// the scaler ignores).
template <class F> void para_write(F&& write) {
    c331_manage* m = c331_manage::pInstance();
    MutexLocker lock(&m->para_mutex);
    RynRamPara& p = *RynRamPara::pInstance();
    if constexpr (std::is_same_v<decltype(write(p)), bool>) {
        if (!write(p))
            return;
    } else {
        write(p);
    }
    m->para_update_flag = C331_APPLY_EDIT;
}

// As para_write, but when `write` returns true `notice` runs next with the
// lock still held and the flag still down, so the scaler takes the change
// up only once the user has seen it confirmed. The flag is raised either way.
// `notice` may run a nested event loop: the page showing it must refuse
// keys that would write again meanwhile (they would wait on this lock in
// the GUI thread).
template <class F, class N> void para_write_noticed(F&& write, N&& notice) {
    c331_manage* m = c331_manage::pInstance();
    MutexLocker lock(&m->para_mutex);
    if (write(*RynRamPara::pInstance()))
        notice();
    m->para_update_flag = C331_APPLY_EDIT;
}

// As para_write for the GUI thread's own bookkeeping, which must never wait
// for the lock (a page may hold it through a notice): when the lock is
// taken nothing runs and false is returned.
template <class F> bool para_try_write(F&& write) {
    c331_manage* m = c331_manage::pInstance();
    if (pthread_mutex_trylock(&m->para_mutex) != 0)
        return false;
    struct Unlock {
        pthread_mutex_t* mutex;
        ~Unlock() { pthread_mutex_unlock(mutex); }
    } unlock{&m->para_mutex};
    if (write(*RynRamPara::pInstance()))
        m->para_update_flag = C331_APPLY_EDIT;
    return true;
}

// True while the previous change waits for the scaler thread; value steps
// are refused meanwhile.
inline bool para_update_pending() {
    return c331_manage::pInstance()->para_update_flag != 0;
}

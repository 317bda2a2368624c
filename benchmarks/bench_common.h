#pragma once
// What the benchmarks share: a device in a state like one in use (four
// windows, signals, crops, user names) and the settling of a key's
// consequences.
#include <QString>

namespace bench {
// Windows 0..3 on, inputs with and without signal, four crops and an alias
// file naming two inputs and a crop; saved, so the shadow matches.
void device_in_use();
// Runs what a key or a refresh left queued: the dispatcher's queued calls,
// deleted pages, layout and painting into the backing store.
void settle();
// Drops Qt Test's own message logging: debug lines go to stderr as the
// device's console would get them.
void plain_messages();
}  // namespace bench

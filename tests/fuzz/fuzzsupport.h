#pragma once
// Shared set-up of the fuzz targets: one temporary device folder for the
// whole run, quiet console, and a check that stops the run on a broken
// invariant (the fuzzer then keeps the input that broke it).
#include <cstddef>
#include <cstdint>

namespace fuzz {
// Makes the device folder once (FRONTPANEL_ROOT) with a well-formed
// parameter file and user-mode files; later calls do nothing.
void setup();
// Writes `size` bytes to a device file ("/data/...") under the folder.
void write_device_file(const char* device_file, const uint8_t* data, size_t size);
// Aborts with `what` when `ok` is false.
void check(bool ok, const char* what);
}  // namespace fuzz

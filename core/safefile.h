#pragma once
// Reading and writing the files under the data root, which may not be what
// they seem: a FIFO, a device, a folder, an endless file, a file the flash
// cannot read, or a link out of the root. Every reader and writer of the
// core goes through here. Paths are as used on this machine
// (device_path()).
#include <QByteArray>
#include <QString>

namespace safefile {

// Well above the largest real file (the parameter block, a mode, the JSON
// and INI files): anything longer is not one of ours.
constexpr qint64 MAX_FILE_BYTES = 1 << 20;

enum class Read { Ok, Missing, Bad };

// Reads `path` whole: opened without blocking, a regular file only, at most
// MAX_FILE_BYTES. Missing only when there is no such file; any other failure
// is Bad, said on the console, and the file is remembered: it stays where it
// is until a write over it moves it aside first.
Read read(const QString& path, QByteArray* out);

// Moves `path` aside to the first free "<path>.bad-N", saying so on the
// console with `why`; true when nothing is left in its place.
bool move_aside(const QString& path, const char* why);

// True when no folder between the data root and `path` is a link (a linked
// "data", "modes" or "configs" would send writes out of the root); said on
// the console otherwise.
bool folders_inside_root(const QString& path);

// Makes the folder `path` and those above it up to the data root, never
// through a link; false (with a console line) when it cannot.
bool make_folder(const QString& path);

// Removes the temporary files of our own writers that a kill left in
// `folder`: regular files whose names match `filter` (e.g. "name.tmp-*").
void remove_stale_temps(const QString& folder, const QString& filter);

// A new empty temporary file "<path>.tmp-XXXXXX" beside `path` (never
// through a linked folder); its descriptor, -1 on failure. `*temp` gets its
// name.
int make_temp(const QString& path, QString* temp);

// Writes `len` bytes of `data` to `path` atomically and durably: temporary
// file, fsync, rename over the old one (a link is replaced itself, never
// followed), fsync of the folder. A bad file or a folder in its place is
// moved aside first. 1 success, 0 failure.
int write_atomic(const QString& path, const void* data, size_t len);

// Removes the file `path`; a folder, or a file that could not be read, is
// moved aside instead. 1 when nothing is left in its place.
int remove(const QString& path);

}  // namespace safefile

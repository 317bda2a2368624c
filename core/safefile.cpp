#include "core/safefile.h"

#include "core/devicepath.h"
#include "core/global.h"
#include "core/utils.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace safefile {
namespace {

// Files found bad by a read: kept where they are until a write over them
// (or a removal) moves them aside, so that what could not be read is never
// lost.
std::mutex bad_mutex;
std::set<QString> bad_files;

void remember_bad(const QString& path, bool bad) {
    std::lock_guard<std::mutex> lock(bad_mutex);
    if (bad)
        bad_files.insert(QDir::cleanPath(path));
    else
        bad_files.erase(QDir::cleanPath(path));
}

bool known_bad(const QString& path) {
    std::lock_guard<std::mutex> lock(bad_mutex);
    return bad_files.count(QDir::cleanPath(path)) != 0;
}

QByteArray native(const QString& path) {
    return QFile::encodeName(path);
}

const char* kind_of(mode_t mode) {
    if (S_ISDIR(mode))
        return "a folder";
    if (S_ISFIFO(mode))
        return "a FIFO";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "a device";
    if (S_ISSOCK(mode))
        return "a socket";
    return "not a regular file";
}

Read bad(const QString& path, const char* why) {
    debug_printf("%s: %s: cannot be read: kept as it is and not used\n", qPrintable(path), why);
    remember_bad(path, true);
    return Read::Bad;
}

// The parts of `path` below the data root, each as a whole path; empty when
// `path` lies outside the root.
QStringList parts_below_root(const QString& path) {
    const QString root = QDir::cleanPath(device_root());
    const QString p = QDir::cleanPath(path);
    QString base;
    QString rest;
    if (root.isEmpty() || root == QLatin1String("/")) {
        rest = p.mid(1);
    } else if (p.startsWith(root + QLatin1Char('/'))) {
        base = root;
        rest = p.mid(root.size() + 1);
    } else {
        return {};
    }
    QStringList parts;
    for (const QString& name : rest.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        base += QLatin1Char('/') + name;
        parts << base;
    }
    return parts;
}

void sync_folder_of(const QString& path) {
    const QByteArray folder = native(QFileInfo(path).absolutePath());
    const int dfd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
}

// Makes way for a new file at `path`: a folder, a FIFO or device, or what
// could not be read is moved aside. A link is left: the rename replaces the
// link itself.
bool clear_way(const QString& path) {
    struct stat st {};
    if (::lstat(native(path).constData(), &st) != 0)
        return errno == ENOENT;
    const bool bad = known_bad(path);
    if (!bad && (S_ISLNK(st.st_mode) || S_ISREG(st.st_mode)))
        return true;
    return move_aside(path, bad ? "could not be read" : kind_of(st.st_mode));
}
}  // namespace

Read read(const QString& path, QByteArray* out) {
    out->clear();
    // Without O_NONBLOCK the open of a FIFO waits for a writer for ever.
    const int fd = ::open(native(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        const int err = errno;
        if (err != ENOENT)
            return bad(path, std::strerror(err));
        remember_bad(path, false);
        return Read::Missing;
    }
    QByteArray why;
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        why = std::strerror(errno);
    else if (!S_ISREG(st.st_mode))
        why = kind_of(st.st_mode);
    while (why.isEmpty()) {
        char chunk[16384];
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            why = std::strerror(errno);
        else if (n == 0)
            break;
        else if (out->size() + n > MAX_FILE_BYTES)
            why = "longer than " + QByteArray::number(MAX_FILE_BYTES) + " bytes";
        else
            out->append(chunk, int(n));
    }
    ::close(fd);
    if (!why.isEmpty()) {
        out->clear();
        return bad(path, why.constData());
    }
    remember_bad(path, false);
    return Read::Ok;
}

bool move_aside(const QString& path, const char* why) {
    for (int n = 1; n < 1000; ++n) {
        const QString aside = path + QStringLiteral(".bad-%1").arg(n);
        struct stat st {};
        if (::lstat(native(aside).constData(), &st) == 0)
            continue;
        if (::rename(native(path).constData(), native(aside).constData()) != 0)
            break;
        sync_folder_of(path);
        remember_bad(path, false);
        debug_printf("%s: %s: moved aside to %s\n", qPrintable(path), why, qPrintable(QFileInfo(aside).fileName()));
        return true;
    }
    debug_printf("%s: %s: cannot be moved aside: %s\n", qPrintable(path), why, std::strerror(errno));
    return false;
}

bool folders_inside_root(const QString& path) {
    QStringList parts = parts_below_root(path);
    if (!parts.isEmpty())
        parts.removeLast();  // the file itself: a link there is replaced, not followed
    for (const QString& folder : parts) {
        struct stat st {};
        if (::lstat(native(folder).constData(), &st) == 0 && S_ISLNK(st.st_mode)) {
            debug_printf("%s: the folder %s is a link: refused\n", qPrintable(path), qPrintable(folder));
            return false;
        }
    }
    return true;
}

bool make_folder(const QString& path) {
    device_path_check(path);
    const QStringList parts = parts_below_root(path);
    if (parts.isEmpty())
        return QDir().mkpath(path);
    QDir().mkpath(device_root());
    for (const QString& folder : parts) {
        struct stat st {};
        if (::lstat(native(folder).constData(), &st) != 0 && ::mkdir(native(folder).constData(), 0755) != 0 &&
            errno != EEXIST) {
            debug_printf("%s: cannot make the folder: %s\n", qPrintable(folder), std::strerror(errno));
            return false;
        }
        if (::lstat(native(folder).constData(), &st) == 0 && !S_ISDIR(st.st_mode)) {
            debug_printf("%s: %s where a folder should be: refused\n", qPrintable(folder),
                         S_ISLNK(st.st_mode) ? "a link" : kind_of(st.st_mode));
            return false;
        }
    }
    return true;
}

void remove_stale_temps(const QString& folder, const QString& filter) {
    if (!folders_inside_root(folder + QStringLiteral("/x")))
        return;
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QStringList{filter}, QDir::Files | QDir::Hidden | QDir::System)) {
        const QString path = dir.filePath(name);
        struct stat st {};
        if (::lstat(native(path).constData(), &st) == 0 && S_ISREG(st.st_mode))
            ::unlink(native(path).constData());
    }
}

int make_temp(const QString& path, QString* temp) {
    device_path_check(path);
    if (!folders_inside_root(path))
        return -1;
    QByteArray name = native(path) + ".tmp-XXXXXX";
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) {
        debug_printf("write %s: cannot create a temporary file: %s\n", qPrintable(path), std::strerror(errno));
        return -1;
    }
    ::fchmod(fd, 0644);
    *temp = QFile::decodeName(name);
    return fd;
}

int write_atomic(const QString& path, const void* data, size_t len) {
    device_path_check(path);
    QString temp;
    if (!folders_inside_root(path) || !clear_way(path))
        return 0;
    const int fd = make_temp(path, &temp);
    if (fd < 0)
        return 0;
    const auto* p = static_cast<const char*>(data);
    size_t done = 0;
    bool ok = true;
    while (done < len) {
        const ssize_t n = ::write(fd, p + done, len - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            ok = false;
            break;
        }
        done += size_t(n);
    }
    if (ok && ::fsync(fd) != 0)
        ok = false;
    if (::close(fd) != 0)
        ok = false;
    if (!ok) {
        debug_printf("write %s: %s\n", qPrintable(path), std::strerror(errno));
        ::unlink(native(temp).constData());
        return 0;
    }
    // Lets a test stop here as a power cut would: the temporary file is
    // complete, the old file is still the one in place.
    if (Utils::test_interrupt_before_rename.load())
        return 0;
    if (::rename(native(temp).constData(), native(path).constData()) != 0) {
        debug_printf("write %s: rename failed: %s\n", qPrintable(path), std::strerror(errno));
        ::unlink(native(temp).constData());
        return 0;
    }
    // The rename itself must reach the disk too.
    sync_folder_of(path);
    return 1;
}

int remove(const QString& path) {
    device_path_check(path);
    if (!folders_inside_root(path))
        return 0;
    struct stat st {};
    if (::lstat(native(path).constData(), &st) != 0)
        return errno == ENOENT ? 1 : 0;
    // Removing a file never removes a folder with what it holds, nor a file
    // that could not be read.
    if (S_ISDIR(st.st_mode) || known_bad(path))
        return move_aside(path, S_ISDIR(st.st_mode) ? "a folder" : "could not be read") ? 1 : 0;
    return (::unlink(native(path).constData()) == 0 || errno == ENOENT) ? 1 : 0;
}

}  // namespace safefile

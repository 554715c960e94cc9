#include "platform/replace_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <random>

namespace {

// The old content is kept for putting back after a failed write in place up to this size.
const off_t restore_limit = 1 << 20;

bool write_all(int fd, const char *p, size_t n, off_t at)
{
    while (n > 0) {
        ssize_t w = pwrite(fd, p, n, at);
        if (w < 0 && errno == EINTR)
            continue;
        if (w <= 0)
            return false;
        p += w;
        n -= static_cast<size_t>(w);
        at += w;
    }
    return true;
}

bool read_all(int fd, std::string &out, off_t size)
{
    out.assign(static_cast<size_t>(size), '\0');
    size_t got = 0;
    while (got < out.size()) {
        ssize_t r = pread(fd, &out[got], out.size() - got, static_cast<off_t>(got));
        if (r < 0 && errno == EINTR)
            continue;
        if (r <= 0)
            return false;
        got += static_cast<size_t>(r);
    }
    return true;
}

std::string folder_of(const std::string &path)
{
    size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

// A new file in `folder` under a name nobody else has: created with O_EXCL, so an existing file
// is never opened, and tried again under another name. -1 when the folder takes no new file.
int create_temporary(const std::string &folder, mode_t mode, std::string &name)
{
    static std::mt19937_64 random(std::random_device{}() ^
                                  static_cast<unsigned long long>(getpid()) ^
                                  static_cast<unsigned long long>(
                                      std::chrono::steady_clock::now().time_since_epoch().count()));
    static const char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    for (int attempt = 0; attempt < 100; attempt++) {
        name = folder + "/.vinkla-";
        for (int i = 0; i < 8; i++)
            name += letters[random() % (sizeof letters - 1)];
        int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode);
        if (fd >= 0)
            return fd;
        if (errno != EEXIST)
            return -1;
    }
    return -1;
}

// Writing over the old content without cutting it first: should the write fail (a full disk,
// a size limit), what was overwritten is put back, which needs no new room on the disk.
bool write_in_place(const std::string &target, const std::string &bytes)
{
    int fd = open(target.c_str(), O_RDWR | O_CLOEXEC);
    bool can_restore = fd >= 0;
    if (fd < 0)
        fd = open(target.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st;
    std::string old;
    if (can_restore)
        can_restore = fstat(fd, &st) == 0 && st.st_size <= restore_limit &&
                      read_all(fd, old, st.st_size);
    bool ok = write_all(fd, bytes.data(), bytes.size(), 0) &&
              ftruncate(fd, static_cast<off_t>(bytes.size())) == 0 && fsync(fd) == 0;
    if (!ok && can_restore) {
        write_all(fd, old.data(), old.size(), 0);
        if (ftruncate(fd, static_cast<off_t>(old.size())) == 0)
            fsync(fd);
    }
    return close(fd) == 0 && ok;
}

}  // namespace

bool replace_file(const std::string &path, const std::string &bytes)
{
    if (path.empty())
        return false;
    std::string target = path;
    struct stat st;
    if (lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        // A link to nothing (or round in a loop) is never followed to make a file wherever
        // it points.
        char *real = realpath(path.c_str(), nullptr);
        if (!real)
            return false;
        target = real;
        std::free(real);
    }

    const bool exists = stat(target.c_str(), &st) == 0;
    if (!exists && errno != ENOENT)
        return false;
    if (exists) {
        // Opening a pipe would wait for a reader for ever, and renaming over a device (a link
        // to /dev/full, say) would put a plain file in its place.
        if (!S_ISREG(st.st_mode))
            return false;
        // A file that may not be written stays as it is: renaming over it would bypass that.
        int probe = open(target.c_str(), O_WRONLY | O_CLOEXEC);
        if (probe < 0)
            return false;
        close(probe);
    }

    std::string temporary;
    int fd = create_temporary(folder_of(target), exists ? 0600 : 0666, temporary);
    if (fd < 0)
        return exists && write_in_place(target, bytes);

    bool ok = write_all(fd, bytes.data(), bytes.size(), 0);
    if (ok && exists) {
        // The new file takes the old one's owner (where allowed) and mode.
        if (fchown(fd, st.st_uid, st.st_gid) != 0) {
            // Only the owner's group or root may hand a file over; the mode still follows.
        }
        ok = fchmod(fd, st.st_mode & 07777) == 0;
    }
    ok = ok && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    if (!ok) {
        unlink(temporary.c_str());
        return false;
    }
    if (rename(temporary.c_str(), target.c_str()) != 0) {
        unlink(temporary.c_str());
        // Some files cannot be renamed over though they may be written: another user's file in
        // a folder with the sticky bit (/tmp), a file mounted into a container.
        return exists && write_in_place(target, bytes);
    }
    // The rename itself lasts through a crash once the folder is on the disk.
    int dir = open(folder_of(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
    return true;
}

own_write replace_own_file(const std::string &path, const std::string &bytes)
{
    struct stat st;
    if (lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode))
        return own_write::link;
    return replace_file(path, bytes) ? own_write::written : own_write::failed;
}

new_file create_new_file(const std::string &path, const std::string &bytes, unsigned mode)
{
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                  static_cast<mode_t>(mode));
    if (fd < 0)
        return errno == EEXIST ? new_file::taken : new_file::failed;
    bool ok = write_all(fd, bytes.data(), bytes.size(), 0) && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    if (!ok) {
        unlink(path.c_str());
        return new_file::failed;
    }
    return new_file::made;
}

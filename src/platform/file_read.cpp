#include "platform/file_read.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

int open_regular(const std::string &path, file_read &why, file_links links)
{
    // O_NONBLOCK: a pipe's open returns at once instead of waiting for a writer.
    const int flags = O_RDONLY | O_NONBLOCK | O_CLOEXEC | (links == file_links::refuse ? O_NOFOLLOW : 0);
    int fd = path.empty() ? -1 : open(path.c_str(), flags);
    if (fd < 0) {
        why = path.empty() || errno == ENOENT ? file_read::missing
              : errno == ELOOP                 ? file_read::not_regular
                                               : file_read::failed;
        return -1;
    }
    struct stat st;
    const bool looked = fstat(fd, &st) == 0;
    if (!looked || !S_ISREG(st.st_mode)) {
        why = looked ? file_read::not_regular : file_read::failed;
        close(fd);
        return -1;
    }
    // On a regular file the flag changes nothing today, but reads must never stop short on it.
    const int status = fcntl(fd, F_GETFL);
    if (status < 0 || fcntl(fd, F_SETFL, status & ~O_NONBLOCK) != 0) {
        why = file_read::failed;
        close(fd);
        return -1;
    }
    why = file_read::read;
    return fd;
}

file_read read_open(int fd, std::size_t limit, std::string &bytes)
{
    bytes.clear();
    struct stat st;
    if (fstat(fd, &st) == 0 && st.st_size > 0)
        bytes.reserve(std::min(static_cast<std::size_t>(st.st_size), limit) + 1);
    char buffer[1 << 16];
    // One byte past the limit tells a file that is longer from one that ends there.
    while (bytes.size() <= limit) {
        const std::size_t want = std::min(sizeof buffer, limit + 1 - bytes.size());
        const ssize_t n = read(fd, buffer, want);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return file_read::failed;
        if (n == 0)
            return file_read::read;
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    bytes.resize(limit);
    return file_read::too_long;
}

const char *file_read_failure(file_read why)
{
    switch (why) {
    case file_read::read:
        return "";
    case file_read::missing:
        return "cannot be read: there is no such file";
    case file_read::not_regular:
        return "cannot be read: not a regular file";
    case file_read::too_long:
        return "cannot be read: too long";
    case file_read::failed:
        break;
    }
    return "cannot be read";
}

file_read read_regular(const std::string &path, std::size_t limit, std::string &bytes, file_links links)
{
    bytes.clear();
    file_read why;
    const int fd = open_regular(path, why, links);
    if (fd < 0)
        return why;
    why = read_open(fd, limit, bytes);
    close(fd);
    return why;
}

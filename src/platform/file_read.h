#pragma once
#include <cstddef>
#include <string>

// The one way the game opens a file it did not just write itself (levels, set files, records,
// runs, shared runs, the settings, the data file): every such file comes from anywhere. Only a
// regular file is read. A pipe in a file's place would keep open() waiting for a writer, and an
// end signal (whose handler restarts the call) could not end it; a device or a folder gives
// garbage or no end. So the name is opened without waiting and looked at before anything is
// read from it.
enum class file_read {
    read,         // the whole file, or its first `limit` bytes (too_long)
    missing,      // no such file
    not_regular,  // a pipe, a device, a folder, or a link where links are refused
    too_long,     // longer than the reader reads: `bytes` hold the first `limit`
    failed,       // any other failure of the system (no permission, a read error)
};

enum class file_links { follow, refuse };

// The file at `path` opened for reading when it is a regular file (close-on-exec, reads
// blocking again), or -1 with the reason in `why`.
int open_regular(const std::string &path, file_read &why, file_links links = file_links::follow);

// At most `limit` bytes of the regular file at `path` into `bytes`; too_long when it holds more.
file_read read_regular(const std::string &path, std::size_t limit, std::string &bytes,
                       file_links links = file_links::follow);

// Why a file was not read, in plain words for a command's message: "cannot be read: ...".
const char *file_read_failure(file_read why);

// The same from a descriptor open_regular gave, from where it stands.
file_read read_open(int fd, std::size_t limit, std::string &bytes);

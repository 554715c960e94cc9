#include "menu/editor_recovery.h"

#include <sys/stat.h>

#include <cstring>

#include "field/level_file.h"
#include "platform/file_read.h"
#include "platform/replace_file.h"

const char *const recovery_file = "vinkla.palautus";

namespace {

const char *const path_mark = "# tiedosto: ";
const int names = 10;
const size_t read_limit = 64 * 1024;

std::string name_of(int n)
{
    return n == 0 ? recovery_file : std::string(recovery_file) + "." + std::to_string(n);
}

// A link or anything else in a name's place keeps that name taken.
bool taken(const std::string &name)
{
    struct stat st;
    return lstat(name.c_str(), &st) == 0;
}

// The level the board kept in `path` was edited from; empty for a board never saved.
std::string kept_board_level(const std::string &path)
{
    std::string bytes;
    read_regular(path, read_limit, bytes, file_links::refuse);
    const size_t at = bytes.find(std::string("\n") + path_mark);
    if (at == std::string::npos)
        return "";
    const size_t begin = at + 1 + std::strlen(path_mark);
    const size_t end = bytes.find('\n', begin);
    if (end == std::string::npos)  // cut short: the path may be too
        return "";
    return bytes.substr(begin, end - begin);
}

}  // namespace

std::string recovery_bytes(const char *board, const std::string &level)
{
    std::string bytes = level_file_bytes(board);
    // A name over two lines (the file system allows it) would read back as another.
    if (!level.empty() && level.find_first_of("\r\n") == std::string::npos &&
        level.find('\0') == std::string::npos)
        bytes += path_mark + level + "\n";
    return bytes;
}

bool keep_unsaved_board(const char *board, const std::string &level)
{
    for (int n = 0; n < names; n++)
        if (!taken(name_of(n)))
            return replace_own_file(name_of(n), recovery_bytes(board, level)) == own_write::written;
    return false;
}

std::string waiting_recovery()
{
    for (int n = 0; n < names; n++) {
        struct stat st;
        if (lstat(name_of(n).c_str(), &st) == 0 && S_ISREG(st.st_mode))
            return name_of(n);
    }
    return "";
}

bool read_kept_board(const std::string &path, std::string &board, std::string &level)
{
    if (!read_level_text(path, board))
        return false;
    level = kept_board_level(path);
    return true;
}

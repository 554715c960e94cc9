#include "menu/editor_recovery.h"

#include <sys/stat.h>

#include <cstring>
#include <fstream>

#include "field/grid.h"
#include "field/level_file.h"
#include "menu/editor.h"
#include "shell/replace_file.h"

const char *const recovery_file = "vinkla.palautus";

namespace {

const char *const path_mark = "# tiedosto: ";
const int names = 10;
const std::streamsize read_limit = 64 * 1024;

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

}  // namespace

std::string kept_board_level(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::string bytes(static_cast<size_t>(read_limit), '\0');
    in.read(&bytes[0], read_limit);
    bytes.resize(static_cast<size_t>(in.gcount()));
    const size_t at = bytes.find(std::string("\n") + path_mark);
    if (at == std::string::npos)
        return "";
    const size_t begin = at + 1 + std::strlen(path_mark);
    const size_t end = bytes.find('\n', begin);
    if (end == std::string::npos)  // cut short: the path may be too
        return "";
    return bytes.substr(begin, end - begin);
}

std::string recovery_bytes(const editor_board &b)
{
    std::string bytes = level_file_bytes(b.text);
    // A name over two lines (the file system allows it) would read back as another.
    if (!b.file_name.empty() && b.file_name.find_first_of("\r\n") == std::string::npos &&
        b.file_name.find('\0') == std::string::npos)
        bytes += path_mark + b.file_name + "\n";
    return bytes;
}

bool keep_unsaved_board(const editor_board &b)
{
    for (int n = 0; n < names; n++)
        if (!taken(name_of(n)))
            return replace_own_file(name_of(n), recovery_bytes(b)) == own_write::written;
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

bool take_kept_board(editor_board &b, const std::string &path)
{
    std::string kept;
    if (!read_level_text(path, kept))
        return false;
    const std::string level = kept_board_level(path);
    char on_disk[editor_board::text_size] = {};
    if (level.empty() || load_thedata(level, on_disk) != 0)
        std::strncpy(on_disk, blank_level, sizeof on_disk - 1);
    b.take(on_disk, level);
    b.strokes.push_back(std::string(b.text, grid::level_chars));
    std::memcpy(b.text, kept.data(), grid::level_chars);
    if (b.picture)
        draw_myfield(b.picture, b.text);
    return true;
}

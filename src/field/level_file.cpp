#include "field/level_file.h"

#include <cstdio>
#include <cstring>

#include "field/field.h"
#include "platform/file_read.h"
#include "platform/grid.h"
#include "platform/replace_file.h"

const char blank_level[197] =
    "**************"
    "*AF..........*"
    "*............*"
    "*............*"
    "*............*"
    "*............*"
    "*............*"
    "*............*"
    "*............*"
    "*............*"
    "*............*"
    "*............*"
    "*............*"
    "**************";

namespace {

const int side = grid::cells;
const size_t word_max = 38;
// Thirteen words never need more; this also bounds the work a huge or endless file can cause.
const size_t scan_limit = 64 * 1024;

// A NUL counts as a separator, so a level text never ends early inside a row.
bool separator(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == '\0';
}

// Whitespace-separated words of a byte string. A word longer than word_max keeps its first
// word_max characters; the rest of it is skipped, so it still counts as one row.
class word_reader {
public:
    explicit word_reader(const std::string &bytes) : s(bytes) {}

    // False at the end of the bytes; `word` is then left as it was.
    bool next(std::string &word)
    {
        while (pos < s.size() && separator(s[pos]))
            pos++;
        if (pos == s.size())
            return false;
        size_t begin = pos;
        while (pos < s.size() && !separator(s[pos]))
            pos++;
        size_t len = pos - begin;
        word.assign(s, begin, len < word_max ? len : word_max);
        return true;
    }

private:
    const std::string &s;
    size_t pos = 0;
};

// One board row from a word: a short word is filled up with walls, so the row never carries
// anything from an earlier read; the first and the fourteenth cell are walls either way. A long
// word stays long and shifts the rows after it, as the format always read; whatever that brings
// onto the ring, the board makes walls (grid::board_code).
std::string ring_row(const std::string &word)
{
    std::string row = word;
    if (row.size() < static_cast<size_t>(side))
        row.append(side - row.size(), '*');
    row[0] = '*';
    row[side - 1] = '*';
    return row;
}

}  // namespace

bool read_level_text(const std::string &path, std::string &text)
{
    // A folder, a device or a pipe fails like a missing file; what lies past the words a board
    // takes is never read.
    std::string bytes;
    const file_read r = read_regular(path, scan_limit, bytes);
    if (r != file_read::read && r != file_read::too_long)
        return false;
    text = level_text_of(bytes);
    return true;
}

std::string level_text_of(const std::string &file_bytes)
{
    const std::string bytes = file_bytes.substr(0, static_cast<size_t>(scan_limit));
    word_reader words(bytes);
    std::string word(word_max, '-');
    std::string text(side, '*');
    words.next(word);  // the file's row 0, rebuilt as walls
    for (int row = 1; row < side - 1; row++) {
        words.next(word);  // no further word repeats the previous row
        word = ring_row(word);
        text += word;
    }
    text.append(side, '*');
    return text;
}

int load_thedata(std::string path, char *text)
{
    std::string level;
    if (!read_level_text(path, level))
        return -1;
    std::memcpy(text, level.c_str(), level.size() + 1);
    return 0;
}

field *field::load_field_file(std::string path)
{
    std::string text;
    if (!read_level_text(path, text))
        return nullptr;
    return from_text(text);
}

field *field::from_text(const std::string &text)
{
    field *f = new field(text.c_str(), side, side);
    if (f->status != field::built || !f->start_point) {
        delete f;
        return nullptr;
    }
    return f;
}

std::string level_file_bytes(const char *text)
{
    std::string body;
    size_t len = 0;
    while (text && len < static_cast<size_t>(side * side) && text[len])
        len++;
    // The text as the editor holds it, cells past its end walls: the ring is the reader's rule.
    for (int i = 0; i < side; i++) {
        for (int j = 0; j < side; j++) {
            size_t k = static_cast<size_t>(i * side + j);
            body += k < len ? text[k] : '*';
        }
        body += '\n';
    }
    body += "noname\n9999\n";
    return body;
}

int save_file(std::string path, const char *text)
{
    return replace_file(path, level_file_bytes(text)) ? 0 : -1;
}

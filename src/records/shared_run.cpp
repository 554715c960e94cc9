#include "records/shared_run.h"

#include "field/field.h"
#include "field/level_check.h"
#include "field/level_file.h"
#include "platform/file_read.h"
#include "platform/fnv1a.h"
#include "platform/grid.h"
#include "records/record_table.h"

const char *const shared_run_extension = "vkr";

namespace {

const std::string magic = "vinkla-suoritus 1\n";
const size_t sum_line = 4 + 16 + 1;
const size_t run_longest = run_file_max;
const size_t level_longest = static_cast<size_t>(level_text_max);

size_t digits(size_t n)
{
    return std::to_string(n).size();
}

// Every line at its longest.
size_t longest_file()
{
    return magic.size() + 6 + shared_title_max + 1 + 6 + digits(level_longest) + 1 + level_longest + 4 +
           digits(run_longest) + 1 + run_longest + sum_line;
}

bool printable(unsigned char c)
{
    return (c >= 0x20 && c <= 0x7e) || c >= 0xa0;
}

// A line "NAME VALUE\n" at `at` with a value of at most `longest` bytes: the value, with `at`
// moved past the line. The newline is looked for no further than the value can reach.
bool header_line(const std::string &in, size_t &at, const std::string &name, size_t longest, std::string &value)
{
    const std::string prefix = name + " ";
    if (in.compare(at, prefix.size(), prefix) != 0)
        return false;
    const size_t from = at + prefix.size();
    const size_t end = in.find('\n', from);
    if (end == std::string::npos || end - from > longest)
        return false;
    value = in.substr(from, end - from);
    at = end + 1;
    return true;
}

// A length in plain decimal, no sign and no leading zero, from `least` to `most`.
bool length(const std::string &text, size_t least, size_t most, size_t &value)
{
    if (text.empty() || text.size() > 9 || text[0] == '0' || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    value = std::stoul(text);
    return value >= least && value <= most;
}

bool refuse(std::string &why, const char *reason)
{
    why = reason;
    return false;
}

// What the level readers never give: a separator between words or a NUL, which would end the
// text early for the field but not for its key.
bool level_bytes(const std::string &level)
{
    return level.find_first_of(std::string(" \t\n\v\f\r\0", 7)) == std::string::npos;
}

}  // namespace

std::string write_shared_run(const shared_run &s)
{
    std::string title;
    for (char c : s.title)
        if (printable(static_cast<unsigned char>(c)) && title.size() < shared_title_max)
            title += c;
    const std::string run = write_run(s.run);
    std::string out = magic;
    out += "title " + title + "\n";
    out += "level " + std::to_string(s.level.size()) + "\n" + s.level;
    out += "run " + std::to_string(run.size()) + "\n" + run;
    out += "sum " + fnv1a_hex(out.data(), out.size()) + "\n";
    return out;
}

bool read_shared_run(const std::string &in, shared_run &out, std::string &why)
{
    out = shared_run();
    if (in.compare(0, magic.size(), magic) != 0)
        return refuse(why, "not a shared run");
    size_t at = magic.size();
    std::string title, number;
    size_t level_size = 0, run_size = 0;
    if (!header_line(in, at, "title", shared_title_max, title) || !header_line(in, at, "level", 9, number) ||
        !length(number, grid::level_chars, level_longest, level_size))
        return refuse(why, "damaged header");
    // From here a length that lies leaves the lines after it out of place.
    const size_t level_at = at;
    if (in.size() - at < level_size)
        return refuse(why, "damaged or cut short");
    at += level_size;
    if (!header_line(in, at, "run", 9, number) || !length(number, 1, run_longest, run_size))
        return refuse(why, "damaged or cut short");
    const size_t run_at = at;
    const size_t sum_at = run_at + run_size;
    if (in.size() != sum_at + sum_line || in.compare(sum_at, 4, "sum ") != 0 || in.back() != '\n')
        return refuse(why, "damaged or cut short");
    if (in.compare(sum_at + 4, 16, fnv1a_hex(in.data(), sum_at)) != 0)
        return refuse(why, "damaged (its sum does not match)");

    for (char c : title)
        if (!printable(static_cast<unsigned char>(c)))
            return refuse(why, "the title holds bytes that are not printable");
    const std::string level = in.substr(level_at, level_size);
    if (!level_bytes(level))
        return refuse(why, "the level text holds whitespace or a NUL");
    // Checked before the field is built, which would alert the player to a missing start.
    switch (check_level(level.c_str()).problem) {
    case level_problem::none:
        break;
    case level_problem::no_start:
        return refuse(why, "the level has no start");
    case level_problem::many_starts:
        return refuse(why, "the level has more than one start");
    default:
        return refuse(why, "the level cannot be played to the end");
    }
    {
        const field board(level.c_str(), grid::cells, grid::cells);
        if (board.status != field::built || !board.start_point)
            return refuse(why, "the level has no single start");
    }
    run_record run;
    if (!read_run(in.substr(run_at, run_size), run, why))
        return false;
    if (run.board != level_key(level))
        return refuse(why, "the run was made on another board");
    out.title = title;
    out.level = level;
    out.run = run;
    return true;
}

bool load_shared_run(const std::string &path, shared_run &out, std::string &why)
{
    out = shared_run();
    std::string bytes;
    const file_read r = read_regular(path, longest_file(), bytes);
    if (r == file_read::too_long)
        return refuse(why, "too long to be a shared run");
    if (r != file_read::read)
        return refuse(why, file_read_failure(r));
    return read_shared_run(bytes, out, why);
}

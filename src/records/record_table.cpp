#include "records/record_table.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "field/field.h"
#include "field/grid.h"
#include "shell/replace_file.h"

namespace fs = std::filesystem;

namespace {

const size_t line_max = 256;
const std::vector<record_entry> no_runs;

bool printable(unsigned char c)
{
    return (c >= 0x20 && c < 0x7f) || c >= 0xa0;
}

bool hex_key(const std::string &s)
{
    if (s.size() != 16)
        return false;
    for (char c : s)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return false;
    return true;
}

// Digits only, no sign, no leading zero, within 1..time_max.
bool read_time(const std::string &s, int &time)
{
    if (s.empty() || s.size() > 9 || s[0] == '0')
        return false;
    long v = 0;
    for (char c : s) {
        if (c < '0' || c > '9')
            return false;
        v = v * 10 + (c - '0');
    }
    if (v > record_table::time_max)
        return false;
    time = static_cast<int>(v);
    return true;
}

bool real_date(const std::string &s)
{
    if (s.size() != 10 || s[4] != '-' || s[7] != '-')
        return false;
    for (size_t i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (s[i] < '0' || s[i] > '9')
            return false;
    const int y = std::atoi(s.substr(0, 4).c_str());
    const int m = std::atoi(s.substr(5, 2).c_str());
    const int d = std::atoi(s.substr(8, 2).c_str());
    static const int days[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return y >= 1 && m >= 1 && m <= 12 && d >= 1 && d <= days[m - 1] && (m != 2 || d <= 28 || leap);
}

std::vector<std::string> split_tabs(const std::string &line)
{
    std::vector<std::string> parts;
    size_t begin = 0;
    for (;;) {
        size_t tab = line.find('\t', begin);
        parts.push_back(line.substr(begin, tab == std::string::npos ? std::string::npos : tab - begin));
        if (tab == std::string::npos)
            return parts;
        begin = tab + 1;
    }
}

bool faster(const record_entry &a, const record_entry &b)
{
    return a.time < b.time;
}

}  // namespace

std::string clean_name(const std::string &name)
{
    std::string kept;
    for (char c : name)
        if (printable(static_cast<unsigned char>(c)))
            kept += c;
    size_t first = kept.find_first_not_of(' ');
    if (first == std::string::npos)
        return "";
    kept = kept.substr(first, record_table::name_max);
    while (!kept.empty() && kept.back() == ' ')
        kept.pop_back();
    return kept;
}

std::string level_key(const std::string &level_text)
{
    // The board as the field builds it: the first 14 x 14 codes, the outer ring walls.
    const size_t n = grid::cells;
    std::string board(grid::level_chars, '*');
    for (size_t k = 0; k < board.size() && k < level_text.size(); k++) {
        size_t i = k / n, j = k % n;
        if (i != 0 && i != n - 1 && j != 0 && j != n - 1)
            board[k] = level_text[k];
    }
    // FNV-1a, 64 bits: a changed cell gives another key; nothing about it needs to be secret.
    unsigned long long h = 14695981039346656037ull;
    for (char c : board) {
        h ^= static_cast<unsigned char>(c);
        h *= 1099511628211ull;
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", h);
    return text;
}

std::string level_key(const field &board)
{
    std::string codes;
    for (int i = 0; i < board.rows && i < grid::cells; i++)
        codes.append(board.codes[i], static_cast<size_t>(std::min<int>(board.columns, grid::cells)));
    return level_key(codes);
}

int record_table::read(const std::string &bytes)
{
    levels.clear();
    last_name.clear();
    int skipped = 0;
    size_t begin = 0;
    while (begin < bytes.size()) {
        size_t end = bytes.find('\n', begin);
        if (end == std::string::npos)
            end = bytes.size();
        std::string line = bytes.substr(begin, std::min(end - begin, line_max + 1));
        const bool too_long = end - begin > line_max;
        begin = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (too_long) {
            skipped++;
            continue;
        }
        if (line.empty() || line[0] == '#')
            continue;
        std::vector<std::string> parts = split_tabs(line);
        if (parts.size() == 2 && parts[0] == "nimi" && !parts[1].empty() &&
            clean_name(parts[1]) == parts[1]) {
            last_name = parts[1];
            continue;
        }
        record_entry run;
        if (parts.size() == 4 && hex_key(parts[0]) && read_time(parts[1], run.time) &&
            real_date(parts[2]) && !parts[3].empty() && clean_name(parts[3]) == parts[3]) {
            run.date = parts[2];
            run.name = parts[3];
            std::vector<record_entry> &runs = levels[parts[0]];
            // A file may hold a level's runs in any order, and more than five of them.
            runs.insert(std::upper_bound(runs.begin(), runs.end(), run, faster), run);
            if (runs.size() > static_cast<size_t>(kept))
                runs.pop_back();
            continue;
        }
        skipped++;
    }
    return skipped;
}

std::string record_table::text() const
{
    std::string body = "# vinkla: viisi nopeinta suoritusta kentittäin (sadasosasekunteina)\n";
    if (!last_name.empty())
        body += "nimi\t" + last_name + "\n";
    for (const auto &level : levels)
        for (const record_entry &run : level.second)
            body += level.first + "\t" + std::to_string(run.time) + "\t" + run.date + "\t" +
                    run.name + "\n";
    return body;
}

int record_table::load(const std::string &path)
{
    levels.clear();
    last_name.clear();
    std::error_code ec;
    fs::file_status st = fs::status(path, ec);
    if (ec || !fs::exists(st))
        return 0;
    // A folder, a pipe or a device is no records file: reading it could hang or never end.
    if (!fs::is_regular_file(st))
        return 1;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return 1;
    std::string bytes(file_max + 1, '\0');
    in.read(&bytes[0], static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<size_t>(in.gcount()));
    const bool cut = bytes.size() > file_max;
    if (cut) {
        // Only whole lines count; the rest of the file is one fault.
        bytes.resize(file_max);
        size_t last = bytes.rfind('\n');
        bytes.resize(last == std::string::npos ? 0 : last + 1);
    }
    return read(bytes) + (cut ? 1 : 0);
}

int record_table::save(const std::string &path) const
{
    return !path.empty() && replace_file(path, text()) ? 0 : -1;
}

const std::vector<record_entry> &record_table::table(const std::string &key) const
{
    auto found = levels.find(key);
    return found == levels.end() ? no_runs : found->second;
}

int record_table::best(const std::string &key) const
{
    const std::vector<record_entry> &runs = table(key);
    return runs.empty() ? 0 : runs.front().time;
}

int record_table::rank(const std::string &key, int time) const
{
    const std::vector<record_entry> &runs = table(key);
    record_entry probe{time, "", ""};
    size_t at = static_cast<size_t>(std::upper_bound(runs.begin(), runs.end(), probe, faster) - runs.begin());
    return at < static_cast<size_t>(kept) ? static_cast<int>(at) : -1;
}

int record_table::enter(const std::string &key, const record_entry &run)
{
    int at = rank(key, run.time);
    if (at < 0)
        return -1;
    std::vector<record_entry> &runs = levels[key];
    runs.insert(runs.begin() + at, run);
    if (runs.size() > static_cast<size_t>(kept))
        runs.pop_back();
    return at;
}

#include "records/record_table.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <set>
#include <system_error>

#include "field/field.h"
#include "platform/file_read.h"
#include "platform/fnv1a.h"
#include "platform/grid.h"
#include "platform/replace_file.h"
#include "platform/text_encoding.h"
#include "records/kept_runs.h"

namespace fs = std::filesystem;

namespace {

const size_t line_max = 256;
const std::vector<record_entry> no_runs;
// A damaged file larger than this is not copied aside, and so not replaced either.
const size_t aside_max = 16 << 20;
// How long a save waits for another copy of the game to finish its own: 50 x 20 ms.
const int lock_tries = 50;

bool printable(unsigned char c)
{
    return (c >= 0x20 && c < 0x7f) || c >= 0xa0;
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

bool same_run(const record_entry &a, const record_entry &b)
{
    return a.time == b.time && a.date == b.date && a.name == b.name;
}

// A name as the file holds it, in the Latin-1 the game keeps: UTF-8 decoded, and any other
// bytes (files of older versions) taken as Latin-1. False for a letter Latin-1 has not.
bool name_from_file(const std::string &bytes, std::string &name)
{
    if (!valid_utf8(bytes)) {
        name = bytes;
        return true;
    }
    if (!utf8_within_latin1(bytes))
        return false;
    name = latin1_from_utf8(bytes, "");
    return true;
}

// A regular file at `path` itself (no link) holding exactly `bytes`.
bool holds(const std::string &path, const std::string &bytes)
{
    std::string there;
    return read_regular(path, bytes.size(), there, file_links::refuse) == file_read::read && there == bytes;
}

// Copies the file at `path` whole to PATH.bak, or to the first of .bak1 ... .bak99 whose name
// is free (a link there counts as taken); a copy already there with the same bytes serves, so
// a file that stays damaged is not copied again at every start. The copy's name, or "".
std::string keep_aside(const std::string &path)
{
    file_read why;
    const int fd = open_regular(path, why);
    if (fd < 0)
        return "";
    struct stat st;
    std::string bytes;
    const bool whole = fstat(fd, &st) == 0 && read_open(fd, aside_max, bytes) == file_read::read;
    close(fd);
    if (!whole)
        return "";
    for (int n = 0; n < 100; n++) {
        const std::string name = path + ".bak" + (n ? std::to_string(n) : "");
        switch (create_new_file(name, bytes, (st.st_mode & 0666) | 0600)) {
        case new_file::made:
            return name;
        case new_file::failed:
            return "";
        case new_file::taken:
            if (holds(name, bytes))
                return name;
            break;
        }
    }
    return "";
}

// The lock two copies of the game take before they read and write the records file: flock on
// a file of its own, opened without following a link, and never removed (a copy waiting on the
// old one would otherwise write beside a third that locked a new one). The descriptor, or -1:
// with `busy` when another copy held it for too long, else when no lock file can be had here
// (a folder that takes no new file), and the records are written without it.
int take_lock(const std::string &path, bool &busy)
{
    busy = false;
    int fd = open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0 && errno == EACCES)
        fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return -1;
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        return -1;
    }
    for (int tries = 0; flock(fd, LOCK_EX | LOCK_NB) != 0; tries++) {
        if (errno != EWOULDBLOCK && errno != EINTR) {
            close(fd);
            return -1;
        }
        if (tries == lock_tries) {
            busy = true;
            close(fd);
            return -1;
        }
        const timespec step{0, 20 * 1000 * 1000};
        nanosleep(&step, nullptr);
    }
    return fd;
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

std::string level_board(const std::string &level_text)
{
    std::string board(grid::level_chars, '*');
    for (int k = 0; k < grid::level_chars; k++)
        board[k] = grid::board_code(level_text.data(), level_text.size(), k / grid::cells, k % grid::cells);
    return board;
}

std::string level_key(const std::string &level_text)
{
    const std::string board = level_board(level_text);
    return fnv1a_hex(board.data(), board.size());
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
    *this = record_table();
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
        std::string name;
        if (parts.size() == 2 && parts[0] == "nimi" && name_from_file(parts[1], name) &&
            !name.empty() && clean_name(name) == name) {
            last_name = name;
            name_read = name;
            continue;
        }
        record_entry run;
        if ((parts.size() == 4 || (parts.size() == 5 && run_name_ok(parts[4]))) && fnv1a_hex_text(parts[0]) &&
            read_time(parts[1], run.time) && real_date(parts[2]) && name_from_file(parts[3], name) &&
            !name.empty() && clean_name(name) == name) {
            run.date = parts[2];
            run.name = name;
            if (parts.size() == 5)
                run.run = parts[4];
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
    std::string body;
    if (!last_name.empty())
        body += "nimi\t" + last_name + "\n";
    for (const auto &level : levels)
        for (const record_entry &run : level.second)
            body += level.first + "\t" + std::to_string(run.time) + "\t" + run.date + "\t" + run.name +
                    (run.run.empty() ? "" : "\t" + run.run) + "\n";
    // Kept in Latin-1 like every text of the game; the file is UTF-8 like vinkla.cfg.
    return FILE_UTF8("# vinkla: viisi nopeinta suoritusta kentittäin (sadasosasekunteina)\n") +
           utf8_from_latin1(body);
}

int record_table::load(const std::string &path)
{
    *this = record_table();
    std::string bytes;
    const file_read r = read_regular(path, file_max, bytes);
    if (r == file_read::missing)
        return 0;
    // A folder, a pipe or a device is no records file.
    if (r != file_read::read && r != file_read::too_long)
        return 1;
    const bool cut = r == file_read::too_long;
    if (cut) {
        // Only whole lines count; the rest of the file is one fault.
        size_t last = bytes.rfind('\n');
        bytes.resize(last == std::string::npos ? 0 : last + 1);
    }
    return read(bytes) + (cut ? 1 : 0);
}

records_save record_table::save(const std::string &path)
{
    records_save done;
    struct stat st;
    if (path.empty())
        return done;
    if (lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        done.result = own_write::link;
        return done;
    }
    const int lock = take_lock(path + ".lock", done.busy);
    if (done.busy)
        return done;
    record_table disk;
    done.damaged = disk.load(path);
    // A name taken from the file is the file's, not one this copy still has to write.
    const bool named = named_here();
    std::set<std::string> fell = disk.run_files();
    for (const std::string &run : run_files())
        fell.insert(run);
    merge(disk);
    for (const std::string &run : run_files())
        fell.erase(run);
    if (!named)
        name_read = last_name;
    // The lines that cannot be read are not lost to the rewrite: the file goes aside first.
    if (done.damaged > 0)
        done.aside = keep_aside(path);
    const std::string runs = (fs::path(path).parent_path() / runs_folder).string();
    std::vector<record_entry *> kept_now;
    if ((done.damaged == 0 || !done.aside.empty()) && keep_waiting_runs(runs, kept_now))
        done.result = replace_own_file(path, text());
    if (done.ok()) {
        entered = false;
        name_read = last_name;
        waiting.clear();
        // Still under the lock, so no other copy writes a table that names them meanwhile.
        std::error_code ec;
        for (const std::string &run : fell)
            fs::remove(fs::path(runs) / run, ec);
    } else {
        forget_runs(runs, kept_now);
    }
    if (lock >= 0)
        close(lock);
    return done;
}

bool record_table::keep_waiting_runs(const std::string &folder, std::vector<record_entry *> &named)
{
    for (const waiting_run &w : waiting) {
        // Its row, unless it fell out of the table meanwhile (another copy's faster runs).
        auto found = levels.find(w.key);
        if (found == levels.end())
            continue;
        auto row = std::find_if(found->second.begin(), found->second.end(), [&](const record_entry &r) {
            return r.run.empty() && same_run(r, w.row);
        });
        if (row == found->second.end())
            continue;
        row->run = keep_new_run(folder, w.level_title, row->date, row->time, w.tilts);
        if (row->run.empty()) {
            forget_runs(folder, named);
            return false;
        }
        named.push_back(&*row);
    }
    return true;
}

void record_table::forget_runs(const std::string &folder, std::vector<record_entry *> &named)
{
    std::error_code ec;
    for (record_entry *row : named) {
        fs::remove(fs::path(folder) / row->run, ec);
        row->run.clear();
    }
    named.clear();
}

std::set<std::string> record_table::run_files() const
{
    std::set<std::string> out;
    for (const auto &level : levels)
        for (const record_entry &run : level.second)
            if (!run.run.empty())
                out.insert(run.run);
    return out;
}

bool record_table::pending() const
{
    return entered || last_name != name_read;
}

bool record_table::named_here() const
{
    // The win panel gives the name with each run it enters.
    return !last_name.empty() && (entered || last_name != name_read);
}

void record_table::merge(const record_table &other)
{
    if (!named_here() && !other.last_name.empty())
        last_name = other.last_name;
    std::map<std::string, std::vector<record_entry>> all = other.levels;
    for (const auto &level : levels) {
        std::vector<record_entry> &runs = all[level.first];
        // A run in both tables is one run; two alike in this table stay two.
        std::vector<record_entry> unmatched = runs;
        for (const record_entry &run : level.second) {
            auto same = std::find_if(unmatched.begin(), unmatched.end(),
                                     [&](const record_entry &r) { return same_run(r, run); });
            if (same != unmatched.end())
                unmatched.erase(same);
            else
                runs.push_back(run);
        }
        std::stable_sort(runs.begin(), runs.end(), faster);
        if (runs.size() > static_cast<size_t>(kept))
            runs.resize(kept);
    }
    levels.swap(all);
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
    entered = true;
    std::vector<record_entry> &runs = levels[key];
    runs.insert(runs.begin() + at, run);
    if (runs.size() > static_cast<size_t>(kept))
        runs.pop_back();
    return at;
}

int record_table::enter(const std::string &key, const record_entry &run, const std::string &level_title,
                        const run_record &tilts)
{
    record_entry row = run;
    row.run.clear();
    const int at = enter(key, row);
    if (at >= 0)
        waiting.push_back({key, row, level_title, tilts});
    return at;
}

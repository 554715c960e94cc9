#pragma once
#include <map>
#include <string>
#include <vector>

class field;

// One run in a table of the fastest: its time in hundredths, the day ("YYYY-MM-DD") and the
// player's name (Latin-1).
struct record_entry {
    int time;
    std::string date;
    std::string name;
};

// The player's tables of the fastest runs, five per level, in a text file beside vinkla.cfg.
// A level is known by its board, not by its file name: a level changed in the editor starts a
// new table, and a copy under another name shares its table.
//
// The file is hand-editable and so untrusted: a line that is not exactly one of the forms below
// is skipped and counted, every other line still counts.
//   # a comment
//   nimi<TAB>NAME                         the name the player gave last
//   KEY<TAB>TIME<TAB>YYYY-MM-DD<TAB>NAME  a run: the level's key, hundredths, day, name
class record_table {
public:
    static constexpr int kept = 5;
    static constexpr int time_max = 360000000;  // a thousand hours
    static constexpr size_t name_max = 20;
    static constexpr size_t file_max = 1 << 20;  // bytes read; what lies past it is not read

    std::map<std::string, std::vector<record_entry>> levels;  // each sorted, fastest first
    std::string last_name;

    // Reads the file at `path` in place of what the table held. Returns the number of lines
    // that could not be read; a missing file is an empty table and no fault.
    int load(const std::string &path);
    // Writes the file through replace_file, so a failed write leaves the old one: 0, or -1.
    int save(const std::string &path) const;

    // The file's text, and the table read from a text; read returns the lines skipped.
    std::string text() const;
    int read(const std::string &bytes);

    // The level's table, fastest first (empty when it has none), and its best time or 0.
    const std::vector<record_entry> &table(const std::string &key) const;
    int best(const std::string &key) const;
    // Where a run of `time` would stand in the level's table (0 first), or -1 when it would
    // not enter it: a run as fast as one in the table stands behind it.
    int rank(const std::string &key, int time) const;
    // Puts the run in the table; its place, or -1 when it did not enter.
    int enter(const std::string &key, const record_entry &run);
};

// The key of a level: 16 hexadecimal digits of a hash of its board, the first 14 x 14 codes of
// a level text with the outer ring made walls, exactly what the field builds from that text.
std::string level_key(const std::string &level_text);
std::string level_key(const field &board);  // a 14 x 14 field

// A name as the table keeps it: printable Latin-1 only, no tabs, spaces at the ends trimmed,
// at most name_max characters. Can be empty.
std::string clean_name(const std::string &name);

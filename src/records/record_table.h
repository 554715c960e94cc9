#pragma once
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/replace_file.h"
#include "rules/run_file.h"

class field;

// One run in a table of the fastest: its time in hundredths, the day ("YYYY-MM-DD") and the
// player's name (Latin-1).
struct record_entry {
    int time;
    std::string date;
    std::string name;
    std::string run = "";  // the run's file in runs_folder (kept_runs.h), or "" for none
};

// How a save of the records file ended.
struct records_save {
    own_write result = own_write::failed;  // failed: the file holds what it held before
    bool busy = false;   // another copy of the game held the lock too long: nothing was written
    int damaged = 0;     // lines of the file as it stood that could not be read
    std::string aside;   // where that file was copied before it was replaced, else ""

    bool ok() const { return result == own_write::written; }
};

// The player's tables of the fastest runs, five per level, in a text file beside vinkla.cfg.
// A level is known by its board, not by its file name: a level changed in the editor starts a
// new table, and a copy under another name shares its table.
//
// The file is hand-editable and so untrusted: a line that is not exactly one of the forms below
// is skipped and counted, every other line still counts. It is UTF-8; a name that is no UTF-8
// (as files of older versions wrote) is read as Latin-1.
//   # a comment
//   nimi<TAB>NAME                         the name the player gave last
//   KEY<TAB>TIME<TAB>YYYY-MM-DD<TAB>NAME  a run: the level's key, hundredths, day, name
//   KEY<TAB>TIME<TAB>YYYY-MM-DD<TAB>NAME<TAB>RUN   the same with the file its run is kept in
//
// Two copies of the game may play in one folder: each save merges the table into the file as
// it stands then, under a lock on the file NAME.lock beside it.
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
    // Merges the file at `path` as it stands into the table, then writes the table there
    // through replace_own_file: never through a link, and a failed write leaves the old file.
    // A file with lines that cannot be read is first copied aside whole as PATH.bak (or .bak1,
    // .bak2, ...); when that copy cannot be made it is not written either. The table holds the
    // merged runs however the write ends. Once written, the run files of records that fell out
    // of the tables (in runs_folder beside the file) are removed. The runs waiting for their
    // files (enter with a run) are written there first: should one fail, or the table after
    // them, neither is stored (the files made are removed again), and they wait on.
    records_save save(const std::string &path);
    // Runs or a name of this table's that the file did not hold when it was last read or
    // written.
    bool pending() const;
    // Takes in every run of `other` (one the same as a run of the table counts once) and keeps
    // the five fastest of each level, the earlier of a tie first (`other`'s). The name given
    // last stays the table's when it was given since the table was read, else it is other's.
    void merge(const record_table &other);

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
    // The same for a record whose run (the tilts) has no file yet: the file is made in the
    // same save that stores the record, so no record is stored without its run, and no run
    // file without a record that names it. `level_title` gives the file its name.
    int enter(const std::string &key, const record_entry &run, const std::string &level_title,
              const run_record &tilts);

private:
    std::set<std::string> run_files() const;  // every run file its lines name
    bool named_here() const;  // the name given last was given to this table since it was read

    // Writes each waiting run whose record is still in the tables into `folder`, naming it in
    // its row; false when one could not be written, every file made then removed again.
    bool keep_waiting_runs(const std::string &folder, std::vector<record_entry *> &named);
    void forget_runs(const std::string &folder, std::vector<record_entry *> &named);

    struct waiting_run {
        std::string key;
        record_entry row;
        std::string level_title;
        run_record tilts;
    };
    bool entered = false;   // a run entered since the file was last read or written
    std::string name_read;  // last_name as the file held it then
    std::vector<waiting_run> waiting;  // runs of records entered since, not yet in their files
};

// The key of a level: 16 hexadecimal digits of a hash of its board, the first 14 x 14 codes of
// a level text with the outer ring made walls, exactly what the field builds from that text.
std::string level_key(const std::string &level_text);
// The 196 codes of that board, as the field builds it from `level_text`.
std::string level_board(const std::string &level_text);
std::string level_key(const field &board);  // a 14 x 14 field

// A name as the table keeps it: printable Latin-1 only, no tabs, spaces at the ends trimmed,
// at most name_max characters. Can be empty.
std::string clean_name(const std::string &name);

#pragma once
#include <string>
#include <vector>

// The levels in sets played in order. Each folder in sets_folder is a set: the shipped ones,
// and any folder of levels a player drops beside them. A folder's set file names the set and
// its levels' order, their shown names, and medal times a level maker gives by hand; levels the
// file does not name follow in name order, and a folder without one is a set named after it.
// The player's own levels, the ".vkl" files of the working folder but the default level, are
// the last set, "Omat kentät", always open.
//
// The set file, UTF-8 text, lines of:
//   vinkla-sarja 1                  the first line
//   nimi NAME                       the set's name
//   kenttä FILE SHOWN NAME          a level of the folder, in play order, and its shown name
//   mitalit FILE GOLD SILVER BRONZE medal times in hundredths, each faster than the next
//   # a comment
// It is untrusted like every file: a line that is not one of these is skipped, a FILE is a
// plain name of the folder ending ".vkl", and no more than set_file_max bytes are read.
extern const char *const sets_folder;  // "sarjat"
extern const char *const set_file;     // "sarja.txt"

struct set_level {
    std::string path;   // the level file
    std::string title;  // its shown name, Latin-1
    int medals[3] = {0, 0, 0};  // gold, silver, bronze in hundredths from the set file; 0: none
};

struct level_set {
    std::string name;  // Latin-1
    std::string folder;
    std::vector<set_level> levels;
    bool own = false;  // the player's own levels: always open
};

constexpr size_t set_file_max = 64 * 1024;
constexpr size_t set_levels_max = 200;
constexpr size_t sets_max = 50;

// What a set file's bytes say of the folder `folder` (whose level files are `files`, names in
// name order); lines that cannot be read are counted in `skipped`.
level_set read_set(const std::string &bytes, const std::string &folder, const std::vector<std::string> &files,
                   int &skipped);

// The set of one folder as its set file says.
level_set folder_set(const std::string &folder);

// Every set, in order: the folders of sets_folder by name, then the player's own levels.
std::vector<level_set> find_level_sets();

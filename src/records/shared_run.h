#pragma once
#include <cstddef>
#include <string>

#include "rules/run_file.h"

// A run and the board it was made on, in one file a player can pass on (".vkr"): whoever gets
// it needs neither the level file nor the run file. The file:
//
//   vinkla-suoritus 1\n
//   title TITLE\n        the level's name, 0 to 40 bytes of printable Latin-1
//   level N\n            the level text's length, 196 to level_text_max, in plain decimal
//   (N bytes)            the level text as the level readers give it (read_level_text): no
//                        whitespace, no NUL; the board is its first 196 codes
//   run N\n              the run file's length, at most what load_run reads, in plain decimal
//   (N bytes)            the run file, exactly as write_run writes it
//   sum HASH\n           FNV-1a (64 bits, 16 hex digits) of every byte before this line
//
// The numbers carry no sign and no leading zero. A shared run comes from anywhere, so the
// reader trusts nothing: every length is bounded before anything is read by it, one byte
// changed anywhere fails the sum, the run is read as a run file is, and the level must be one
// the game can play to the end (a tile for every code, one start, a flag, every flag within
// reach) and be the very board the run was made on.
extern const char *const shared_run_extension;  // "vkr", without the dot

struct shared_run {
    std::string title;  // the level's name, printable Latin-1, at most 40 bytes
    std::string level;  // the level's text as the level readers give it
    run_record run;
};

constexpr size_t shared_title_max = 40;

// The file's bytes. The title is written with its unprintable bytes left out and cut to
// shared_title_max; the level and the run as they are, so only a playable level and the run
// made on it read back.
std::string write_shared_run(const shared_run &s);

// The shared run in `bytes`, or false with the reason in plain words in `why` (a command that
// reads it says it on standard error); `out` is then empty.
bool read_shared_run(const std::string &bytes, shared_run &out, std::string &why);
// The same for the file at `path`, read no further than the longest shared run can reach.
bool load_shared_run(const std::string &path, shared_run &out, std::string &why);

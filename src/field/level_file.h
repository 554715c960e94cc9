#pragma once
#include <string>

// The level file format: reading into a level text, writing one, and the built-in blank level.
extern const char blank_level[197];

// The longest level text the readers can build: 14 + 12 x 38 + 14 characters.
const int level_text_max = 484;

// The reading steps both readers share. False when the path is not a readable file;
// otherwise `text` is the level text, between 196 and level_text_max characters, no NULs.
bool read_level_text(const std::string &path, std::string &text);
// The level text of a level file's bytes, read as read_level_text reads a file (no further than
// its first 64 KB); any bytes give one.
std::string level_text_of(const std::string &file_bytes);

// The file's bytes for a level text: its first 196 characters (walls where it is shorter) as
// 14 rows, then "noname" and "9999".
std::string level_file_bytes(const char *text);

// Writes the first 196 characters of `text` (walls where it is shorter) in the file layout,
// through replace_file. 0 on success, -1 and the old file untouched on failure.
int save_file(std::string path, const char *text);
// Fills `text` (at least level_text_max + 1 characters) from the file; -1 and `text`
// unchanged when the file cannot be read.
int load_thedata(std::string path, char *text);

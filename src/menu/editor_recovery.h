#pragma once
#include <string>

// An editor's board that the game had to leave unsaved (a logout, a kill, the X server gone)
// is kept in a recovery file beside vinkla.cfg, and the editor offers it back when it next
// starts. The file is a level file with one more line naming the level it was edited from:
//   14 rows, "noname", "9999", then "# tiedosto: PATH" (no line for a board never saved).
// A recovery file already waiting is never written over: the next free name is taken.
extern const char *const recovery_file;  // "vinkla.palautus"; then "vinkla.palautus.1" .. ".9"

// The recovery file's bytes for a board (a level text) edited from `level` (empty: new).
std::string recovery_bytes(const char *board, const std::string &level);

// Writes the board to the first free recovery name. False when none could be written.
bool keep_unsaved_board(const char *board, const std::string &level);

// The first recovery file waiting, or an empty string.
std::string waiting_recovery();

// The board kept in `path` as a level text, and the level it was edited from (empty for a
// board never saved). False when the file is no level.
bool read_kept_board(const std::string &path, std::string &board, std::string &level);

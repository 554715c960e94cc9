#pragma once
#include <string>

struct editor_board;

// An editor's board that the game had to leave unsaved (a logout, a kill, the X server gone)
// is kept in a recovery file beside vinkla.cfg, and the editor offers it back when it next
// starts. The file is a level file with one more line naming the level it was edited from:
//   14 rows, "noname", "9999", then "# tiedosto: PATH" (no line for a board never saved).
// A recovery file already waiting is never written over: the next free name is taken.
extern const char *const recovery_file;  // "vinkla.palautus"; then "vinkla.palautus.1" .. ".9"

// The recovery file's bytes for the board.
std::string recovery_bytes(const editor_board &b);

// Writes the board to the first free recovery name. False when none could be written.
bool keep_unsaved_board(const editor_board &b);

// The first recovery file waiting, or an empty string.
std::string waiting_recovery();

// The level the board kept in `path` was edited from; empty for a board never saved.
std::string kept_board_level(const std::string &path);

// Puts the board kept in `path` into `b`, as changes not yet saved to the level it was edited
// from (a Ctrl+Z goes back to that level as it is on disk). False when the file is no level.
bool take_kept_board(editor_board &b, const std::string &path);

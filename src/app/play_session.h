#pragma once
#include <string>

class bead;

// "Pelaa": runs of `level` and, after a win, of what the player chooses next: the same level
// again or the next level of its set. Returns the level "Pelaa" plays from now on: after a win,
// the next level of the set not yet won.
std::string play_session(bead &marble, std::string level);

// A file chosen with "Avaa" that holds a run shared with its board.
bool shared_run_file(const std::string &path);
// Plays such a run back on its own board, saying whether it proves itself.
void watch_shared_run(bead &marble, const std::string &path);

// "Ennätykset": the level's table, its runs to watch and to share.
void level_records(bead &marble, const std::string &level);

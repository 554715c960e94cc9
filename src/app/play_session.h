#pragma once
#include <string>

class bead;

// "Pelaa": runs of `level` and, after a win, of what the player chooses next: the same level
// again or the next level of its folder. Returns the level "Pelaa" plays from now on.
std::string play_session(bead &marble, std::string level);

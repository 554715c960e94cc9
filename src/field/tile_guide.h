#pragma once
#include <string>
#include <vector>

class field;

// What a player is told about the tiles, in the player's words: one entry per kind the player
// meets, the tubes and the slopes each as one. The Info screen shows them all; a run names
// the ones on its board that this player has not met before.
struct tile_guide_entry {
    const char *codes;  // the level codes it stands for; the first one's picture shows it
    const char *name;
    const char *line;
};

constexpr int tile_guide_count = 11;
extern const tile_guide_entry tile_guide[tile_guide_count];

// The entries for kinds on the board whose first codes are not in `met`, in the guide's order.
// The start is left out: every board has one, and the marble sits on it.
std::vector<const tile_guide_entry *> tiles_to_meet(const field &board, const std::string &met);

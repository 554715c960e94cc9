#pragma once
#include <string>
#include <vector>

#include "marble/run_tilt.h"

// What the player chose after a won run.
enum win_choice { win_next = 1, win_again, win_menu };

// The won run's panel over the board: its time, the level's table of the five fastest runs and,
// for a run that enters the table, "Uusi ennätys!" (a new best) or its place ("2. sija
// taulukossa"), and the player's name asked for in its row. The run is stored in the player's
// records before the dialog ends, whichever way it ends; with the name field left empty, as
// "Pelaaja".
// A trial (a board tried in the editor) shows what such a run would have shown, the place it
// would take included, and stores nothing; it offers "Uudestaan" and "Editoriin" (win_menu).
// A run that enters the table keeps its tilts (`played`) in a run file named after
// `level_title` (kept_runs.h), which its line in the records names.
win_choice win_dialog(const std::string &level_id, int time, bool trial = false,
                      const std::vector<run_tilt> &played = {}, const std::string &level_title = "");

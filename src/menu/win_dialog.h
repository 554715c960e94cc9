#pragma once
#include <functional>
#include <string>
#include <vector>

#include "marble/run_tilt.h"
#include "records/campaign.h"

// What the player chose after a won run.
enum win_choice { win_next = 1, win_again, win_menu };

// What the table's panel needs of its level to prove, watch and share the runs in it.
struct table_level {
    std::string title;  // the level's name, Latin-1
    std::string text;   // its level text: the board its runs are proven, watched and shared on
    // Plays a run back in the run's view, with a line that says whether it proves itself; the
    // panel is drawn again over what it leaves. Null: no "Katso".
    std::function<void(const std::vector<run_tilt> &tilts, const std::string &verdict)> watch;
    medal_times medals;  // the level's, or none
};

// The won run's panel over the board: its time, the level's table of the five fastest runs and,
// for a run that enters the table, "Uusi ennätys!" (faster than every proven record) or its
// place ("2. sija taulukossa"), and the player's name asked for in its row. The run is stored in
// the player's records before the dialog ends, whichever way it ends; with the name field left
// empty, as "Pelaaja".
// A trial (a board tried in the editor) shows what such a run would have shown, the place it
// would take included, and stores nothing; it offers "Uudestaan" and "Editoriin" (win_menu).
// A run that enters the table keeps its tilts (`played`) in a run file named after the level
// (kept_runs.h), which its line in the records names.
// Each row is marked as proven, unproven or without a run (record_proof.h). A click selects a
// row; "Katso" plays the selected run back (at first the run just won) and "Tallenna suoritus"
// writes it with the board into a file of its own (shared_run.h).
win_choice win_dialog(const std::string &level_id, int time, bool trial = false,
                      const std::vector<run_tilt> &played = {}, const table_level &level = {});

// The same panel for a level's table alone, from the main menu: "Katso", "Tallenna suoritus"
// and "Takaisin".
void records_dialog(const table_level &level);

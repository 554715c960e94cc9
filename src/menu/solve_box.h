#pragma once
#include <string>

#include "rules/run_file.h"

// The solver for the level maker: it tries to win the board while a box over the screen shows
// how far it has come; Esc, the box's "Keskeytä" or the close button stop it. With `hand` it
// plays as a hand can: its time is the level's hand time.
struct board_verdict {
    enum kind { won, not_solved, stopped } what = stopped;
    int time = 0;    // the run's time in hundredths (falls counted), when won
    run_record run;  // the winning run, when won
};
board_verdict solve_for_maker(const std::string &level_text, bool hand = false);

// The verdict in a few words for the editor's status line: "ratkaistu 0:05,23" or "ei ratkennut".
std::string verdict_text(const board_verdict &v);

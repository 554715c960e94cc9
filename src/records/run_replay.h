#pragma once
#include <string>

#include "rules/run_file.h"

class field;

// A run stepped again on a board, as the rules alone step it: no input, no sound, no drawing.
struct replay_result {
    bool won = false;     // every flag taken on the run's very last frame
    long frames = 0;      // frames stepped
    int falls = 0;
    int flags_taken = 0;
    std::string why;      // what stopped it, when it was no win

    // The run's time on the clock, in hundredths: every frame, and a fall's fixed cost for each.
    long time() const;
};

// Steps `run` on `board` (taken over, deleted at the end): a run made on another board or with
// other rules is not stepped at all, and one that wins before its last frame or has frames
// left without the last flag is no proof.
replay_result replay_run(field *board, const run_record &run);

// For the player, a run made under other rules by both versions, short enough for the run's
// panel ("Eri säännöt: 2, pelissä 1"); empty for a run of these rules.
std::string other_rules_verdict(const run_record &run);

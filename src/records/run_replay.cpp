#include "records/run_replay.h"

#include "field/field.h"
#include "marble/bead.h"
#include "platform/text_encoding.h"
#include "records/record_table.h"

long replay_result::time() const
{
    return frames + static_cast<long>(falls) * bead::fall_time;
}

replay_result replay_run(field *board, const run_record &run)
{
    replay_result r;
    bead b;
    b.current_field = board;
    if (!board || !board->start_point) {
        r.why = "the board cannot be played";
        return r;
    }
    if (run.board != level_key(*board)) {
        r.why = "the run was made on another board";
        return r;
    }
    if (run.rules != rules_version) {
        r.why = "made under rules " + std::to_string(run.rules) + ", this game has rules " +
                std::to_string(rules_version);
        return r;
    }
    b.place_on_start();
    for (const run_tilt &t : run.tilts) {
        b.step(t.x, t.y);
        r.frames++;
        if (b.events.fell) {
            r.falls++;
            b.come_back();
        }
        if (b.events.won)
            break;
    }
    r.flags_taken = board->flag_count - b.flags_left;
    const long length = static_cast<long>(run.tilts.size());
    if (b.flags_left > 0)
        r.why = "the run ends before the last flag: " + std::to_string(r.flags_taken) + " of " +
                std::to_string(board->flag_count) + " taken in " + std::to_string(length) + " frames";
    else if (r.frames < length)
        r.why = "the last flag was taken in frame " + std::to_string(r.frames) + ", but the run goes on to frame " +
                std::to_string(length);
    else
        r.won = true;
    return r;
}

std::string other_rules_verdict(const run_record &run)
{
    if (run.rules == rules_version)
        return "";
    return L1("Eri säännöt: ") + std::to_string(run.rules) + L1(", pelissä ") + std::to_string(rules_version);
}

// vinkla-replay LEVEL.vkl RUN: steps a run file on a level and says whether it wins.
// It needs no display and no data file: the rules are stepped alone.
#include <cstdio>
#include <string>

#include "field/field.h"
#include "rules/run_file.h"
#include "records/run_replay.h"

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: vinkla-replay LEVEL.vkl RUN\n");
        return 2;
    }
    field *board = field::load_field_file(argv[1]);
    if (!board) {
        std::fprintf(stderr, "vinkla-replay: %s: not a level that can be played\n", argv[1]);
        return 1;
    }
    std::string why;
    run_record run;
    if (!load_run(argv[2], run, why)) {
        std::fprintf(stderr, "vinkla-replay: %s: %s\n", argv[2], why.c_str());
        delete board;
        return 1;
    }
    const replay_result r = replay_run(board, run);
    if (!r.won) {
        std::fprintf(stderr, "vinkla-replay: %s: %s\n", argv[2], r.why.c_str());
        return 1;
    }
    std::printf("won in %ld frames, %d %s\n", r.frames, r.falls, r.falls == 1 ? "fall" : "falls");
    return 0;
}

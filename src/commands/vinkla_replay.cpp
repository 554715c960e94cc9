// vinkla-replay LEVEL.vkl RUN: steps a run file on a level and says whether it wins.
// It needs no display and no data file: the rules are stepped alone.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "field/field.h"
#include "rules/run_file.h"
#include "run/run_replay.h"

namespace {

bool read_whole(const char *path, std::string &bytes)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream all;
    all << in.rdbuf();
    bytes = all.str();
    return !in.bad();
}

}  // namespace

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
    std::string bytes, why;
    run_record run;
    if (!read_whole(argv[2], bytes)) {
        std::fprintf(stderr, "vinkla-replay: %s: cannot be read\n", argv[2]);
        delete board;
        return 1;
    }
    if (!read_run(bytes, run, why)) {
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

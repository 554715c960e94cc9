// vinkla-solve: finds a winning run of each level given and keeps it beside the level as
// LEVEL.vkl.mouse.run (or LEVEL.vkl.keys.run with --keys), or steps the kept runs again.
//
//   vinkla-solve [options] LEVEL.vkl...   solve each level and write its run file
//   vinkla-solve --check LEVEL.vkl...     step each level's kept runs on the rules
//   vinkla-solve --medals LEVEL.vkl...    the gold, silver and bronze times the game shows
//
// --hand plays as a hand can (hand_model) and keeps the run as LEVEL.vkl.hand.run: its time is
// the level's hand time, which the medal times come from.
//
// Options: --keys (steer with the arrow keys), --width N, --epoch N, --tries N, --stall N,
// --lookahead F, --max-frames N, --budget N (frames stepped in all before it gives up),
// --order R,C;R,C... (the flags in this order), --out FILE, -v.
// Like vinkla-replay it needs no display and no data file.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

#include "field/field.h"
#include "rules/run_file.h"
#include "records/campaign.h"
#include "records/run_replay.h"
#include "records/run_time.h"
#include "field/level_file.h"
#include "solver/level_solver.h"

namespace {

std::string base_name(const std::string &path)
{
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

void usage()
{
    std::fprintf(stderr,
                 "usage: vinkla-solve [--keys | --hand] [--width N] [--epoch N] [--tries N] [--stall N] [--lookahead F]\n"
                 "                    [--max-frames N] [--budget N] [--order R,C;R,C...] [--out FILE] [-v]\n"
                 "                    LEVEL.vkl...\n"
                 "       vinkla-solve --check LEVEL.vkl...\n"
                 "       vinkla-solve --medals LEVEL.vkl...\n");
}

// Each kept run of the level stepped again: a line for each, 0 when every one wins.
int check(const std::string &path)
{
    int failures = 0, runs = 0;
    for (const char *kind : {".mouse.run", ".keys.run", ".hand.run"}) {
        const std::string file = path + kind;
        // Only looked at here: load_run reads it, and refuses a pipe instead of waiting on it.
        std::error_code ec;
        if (!std::filesystem::exists(file, ec))
            continue;
        runs++;
        run_record run;
        std::string why;
        field *board = field::load_field_file(path);
        if (!board) {
            std::printf("%s: cannot build the level\n", base_name(path).c_str());
            return 1;
        }
        const std::string kinds = tile_kinds_on(*board);
        const int flags = board->flag_count;
        if (!load_run(file, run, why)) {
            delete board;
            std::printf("%-22s %s\n", base_name(file).c_str(), why.c_str());
            failures++;
            continue;
        }
        const replay_result r = replay_run(board, run);
        std::string text;
        read_level_text(path, text);
        std::printf("%-28s %2d flags  %-22s %6ld frames (%.1f s)%s  %s, %d of %d under a hand's errors\n",
                    base_name(file).c_str(), flags, kinds.c_str(), r.frames, r.frames / 100.0,
                    r.falls ? " with falls" : "", r.won ? "wins" : r.why.c_str(), noisy_wins(text, run, 1),
                    hand_model::trials);
        failures += !r.won;
    }
    if (runs == 0) {
        std::printf("%s: no kept run\n", base_name(path).c_str());
        return 1;
    }
    return failures ? 1 : 0;
}

// The level's gold, silver and bronze times as the game shows them, on one line.
int print_medals(const std::string &path)
{
    std::string text;
    if (!read_level_text(path, text)) {
        std::fprintf(stderr, "%s: cannot read the level\n", path.c_str());
        return 1;
    }
    const medal_times m = file_medals(path);
    if (m.limit[0] <= 0) {
        std::fprintf(stderr, "%s: no medal times: no kept run wins it and its set file gives none\n", path.c_str());
        return 1;
    }
    std::printf("%s %s %s\n", time_text(m.limit[0]).c_str(), time_text(m.limit[1]).c_str(),
                time_text(m.limit[2]).c_str());
    return 0;
}

}  // namespace

int main(int argc, char **argv)
{
    solve_settings opt;
    bool checking = false, medals = false;
    std::string out, order_text;
    std::vector<std::string> levels;
    for (int i = 1; i < argc; i++) {
        const std::string a = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) {
                usage();
                std::exit(2);
            }
            return argv[++i];
        };
        if (a == "--check")
            checking = true;
        else if (a == "--medals")
            medals = true;
        else if (a == "--width")
            opt.width = std::atoi(value().c_str());
        else if (a == "--epoch")
            opt.epoch = std::atoi(value().c_str());
        else if (a == "--tries")
            opt.tries = std::atoi(value().c_str());
        else if (a == "--lookahead")
            opt.lookahead = (float)std::atof(value().c_str());
        else if (a == "--stall")
            opt.stall = std::atol(value().c_str());
        else if (a == "--max-frames")
            opt.max_frames = std::atol(value().c_str());
        else if (a == "--budget")
            opt.budget = std::atol(value().c_str());
        else if (a == "--order")
            order_text = value();
        else if (a == "--out")
            out = value();
        else if (a == "-v")
            opt.verbose = true;
        else if (a == "--keys")
            opt.keys = true;
        else if (a == "--hand")
            opt.hand = true;
        else if (!a.empty() && a[0] == '-') {
            usage();
            return 2;
        } else
            levels.push_back(a);
    }
    if (levels.empty() || opt.width < 1 || opt.epoch < 0 || opt.tries < 1 || opt.max_frames < 1 || opt.budget < 1 ||
        opt.max_frames > run_max_frames || (!out.empty() && levels.size() > 1) || (opt.keys && opt.hand)) {
        usage();
        return 2;
    }
    std::vector<std::pair<int, int>> order;
    std::stringstream cells(order_text);
    std::string cell;
    while (std::getline(cells, cell, ';')) {
        int r = -1, c = -1;
        if (std::sscanf(cell.c_str(), "%d,%d", &r, &c) != 2) {
            usage();
            return 2;
        }
        order.push_back({r, c});
    }

    int failures = 0;
    for (const std::string &path : levels) {
        if (checking) {
            failures += check(path);
            continue;
        }
        if (medals) {
            failures += print_medals(path);
            continue;
        }
        run_record found;
        std::string why;
        if (!solve_level(path, opt, order, found, why)) {
            std::fprintf(stderr, "%s: %s\n", path.c_str(), why.c_str());
            failures++;
            continue;
        }
        const std::string target =
            !out.empty() ? out : path + (opt.keys ? ".keys.run" : opt.hand ? ".hand.run" : ".mouse.run");
        std::ofstream file(target, std::ios::binary | std::ios::trunc);
        file << write_run(found);
        file.close();
        if (!file) {
            std::fprintf(stderr, "%s: cannot write\n", target.c_str());
            failures++;
            continue;
        }
        std::printf("%s: won in %zu frames -> %s\n", base_name(path).c_str(), found.tilts.size(), target.c_str());
    }
    return failures ? 1 : 0;
}

// Solving the shipped levels, with the mouse, with the arrow keys and as a hand can (the hand
// model, whose run's length is the level's hand time): each level three times (the hand model
// once: its search is deterministic and dearer), its time the median in processor time of the
// one thread (so other work on the machine counts little). BM_SolveShipped/MODE/LEVEL shows a
// level's time and the length of the run found, and for the hand its ratio to the solver's
// kept run; BM_SolveShippedLevels/MODE the median and the longest of the shipped levels' times,
// the aim a median under a second. BM_SolveWalledIn/MODE is a board it cannot win: how long
// "not solved" takes, and with /whole_budget how long at most.
#include <benchmark/benchmark.h>

#include <time.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "field/level_file.h"
#include "rules/run_file.h"
#include "solver/level_solver.h"

namespace {

// The shipped levels, "sarjat/SET/LEVEL" and the default level, without ".vkl".
std::vector<std::string> shipped()
{
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto &set : std::filesystem::directory_iterator(VINKLA_DATA_DIR "/sarjat", ec))
        if (set.is_directory())
            for (const auto &f : std::filesystem::directory_iterator(set.path()))
                if (f.path().extension() == ".vkl")
                    names.push_back("sarjat/" + set.path().filename().string() + "/" + f.path().stem().string());
    std::sort(names.begin(), names.end());
    names.push_back("standardfile");
    return names;
}
const int rounds = 3;

double thread_seconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return (double)t.tv_sec + (double)t.tv_nsec * 1e-9;
}

struct solved {
    double seconds = 0;  // the median of the rounds
    long frames = 0;     // 0 when not solved
};

// Each level's measure, by mode and name, once taken.
std::map<std::string, solved> measured;

enum mode { mouse, keys, hand };
const char *const mode_names[] = {"mouse", "keys", "hand"};

solved solve_timed(const std::string &text, mode m)
{
    solve_settings opt;
    opt.keys = m == keys;
    opt.hand = m == hand;
    std::vector<double> times;
    solved out;
    for (int i = 0; i < (m == hand ? 1 : rounds); i++) {
        run_record found;
        std::string why;
        const double start = thread_seconds();
        const bool won = solve_text(text, opt, {}, found, why);
        times.push_back(thread_seconds() - start);
        out.frames = won ? (long)found.tilts.size() : 0;
    }
    std::sort(times.begin(), times.end());
    out.seconds = times[times.size() / 2];
    return out;
}

const solved &level_measure(const std::string &name, mode m)
{
    const std::string key = std::string(mode_names[m]) + "/" + name;
    auto it = measured.find(key);
    if (it == measured.end()) {
        std::string text;
        read_level_text(VINKLA_DATA_DIR "/" + name + ".vkl", text);
        it = measured.emplace(key, solve_timed(text, m)).first;
    }
    return it->second;
}

void BM_SolveShipped(benchmark::State &state, const std::string &name, mode m)
{
    solved s;
    for (auto _ : state) {
        s = level_measure(name, m);
        state.SetIterationTime(s.seconds);
    }
    state.counters["frames"] = (double)s.frames;
    if (m == hand) {
        run_record kept;
        std::string why;
        if (load_run(VINKLA_DATA_DIR "/" + name + ".vkl.mouse.run", kept, why) && !kept.tilts.empty())
            state.counters["per_solver"] = (double)s.frames / (double)kept.tilts.size();
    }
    if (s.frames == 0)
        state.SkipWithError("not solved");
}

void BM_SolveShippedLevels(benchmark::State &state, mode m)
{
    std::vector<double> times;
    int won = 0;
    for (auto _ : state) {
        times.clear();
        won = 0;
        for (const std::string &name : shipped()) {
            const solved &s = level_measure(name, m);
            times.push_back(s.seconds);
            won += s.frames > 0;
        }
        std::sort(times.begin(), times.end());
        state.SetIterationTime(times[times.size() / 2]);
    }
    state.counters["median_s"] = times[times.size() / 2];
    state.counters["max_s"] = times.back();
    state.counters["solved"] = won;
}

// A flag walled in: the search gives each order up once it is stuck twice. With `whole` it
// is never stuck, and only the budget ends it: the longest a board can take.
void BM_SolveWalledIn(benchmark::State &state, bool keys, bool whole)
{
    std::string text(14, '*');
    for (int row = 1; row < 13; row++) {
        std::string cells(12, '.');
        if (row == 1)
            cells[0] = 'A';
        if (row >= 3 && row <= 5)
            cells.replace(6, 3, row == 4 ? "*F*" : "***");
        text += "*" + cells + "*";
    }
    text += std::string(14, '*');
    solve_settings opt;
    opt.keys = keys;
    if (whole)
        opt.stall = opt.max_frames;
    bool won = false;
    for (auto _ : state) {
        run_record found;
        std::string why;
        const double start = thread_seconds();
        won = solve_text(text, opt, {}, found, why);
        state.SetIterationTime(thread_seconds() - start);
    }
    state.counters["solved"] = won;
}

[[maybe_unused]] const bool registered = [] {
    for (mode m : {mouse, keys, hand}) {
        const std::string tag = mode_names[m];
        for (const std::string &name : shipped())
            benchmark::RegisterBenchmark(("BM_SolveShipped/" + tag + "/" + name).c_str(), BM_SolveShipped,
                                         name, m)
                ->UseManualTime()
                ->Iterations(1)
                ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("BM_SolveShippedLevels/" + tag).c_str(), BM_SolveShippedLevels, m)
            ->UseManualTime()
            ->Iterations(1)
            ->Unit(benchmark::kMillisecond);
        for (bool whole : {false, true}) {
            if (m == hand)
                break;
            benchmark::RegisterBenchmark(("BM_SolveWalledIn/" + tag + (whole ? "/whole_budget" : "")).c_str(),
                                         BM_SolveWalledIn, m == keys, whole)
                ->UseManualTime()
                ->Iterations(1)
                ->Unit(benchmark::kMillisecond);
        }
    }
    return true;
}();

}  // namespace

// Opening the level select at the sets' limits: 50 sets of 200 levels, each level a shipped one
// without a run beside it (runs:0), with its own mouse run (1), or with another level's (2: a
// run that wins nothing there), no records. What the select works out before it draws a page,
// from a fresh program run (the first open) and again (every later open).
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "field/level_set.h"
#include "records/campaign.h"
#include "records/player_records.h"
#include "shipped_levels.h"

namespace fs = std::filesystem;

namespace {

// sets_max sets of set_levels_max levels in `folder`/sarjat, each a link of a shipped level's
// file (and of its run): the same bytes as copies, made in a moment.
void make_sets(const fs::path &folder, int runs)
{
    fs::remove_all(folder);
    const std::vector<std::string> levels = shipped_levels();
    size_t n = 0;
    for (size_t s = 0; s < sets_max; s++) {
        const fs::path set = folder / sets_folder / ("sarja_" + std::to_string(100 + s));
        fs::create_directories(set);
        for (size_t l = 0; l < set_levels_max; l++, n++) {
            const std::string &from = levels[n % levels.size()];
            const fs::path to = set / ("taso_" + std::to_string(1000 + l) + ".vkl");
            fs::create_hard_link(from, to);
            if (runs > 0)
                fs::create_hard_link((runs == 1 ? from : levels[(n + 1) % levels.size()]) + ".mouse.run",
                                     to.string() + ".mouse.run");
        }
    }
}

// What the select does before it draws its first page.
size_t open_select()
{
    std::vector<campaign_set> sets = campaign();
    for (size_t i = 0; i < 12 && i < sets.front().levels.size(); i++)
        find_medals(sets.front().levels[i]);
    return sets.size();
}

void BM_OpenSelect(benchmark::State &state)
{
    const int runs = static_cast<int>(state.range(0));
    const fs::path back = fs::current_path();
    const fs::path folder = fs::temp_directory_path() / ("vinkla-select-bench-" + std::to_string(runs));
    make_sets(folder, runs);
    fs::current_path(folder);
    player_records = record_table();
    const auto start = std::chrono::steady_clock::now();
    size_t sets = open_select();
    const std::chrono::duration<double, std::milli> first = std::chrono::steady_clock::now() - start;
    for (auto _ : state)
        sets = open_select();
    fs::current_path(back);
    fs::remove_all(folder);
    state.counters["first_open_ms"] = first.count();
    if (sets != sets_max + 1)  // and the player's own levels
        state.SkipWithError("the sets were not all found");
}
BENCHMARK(BM_OpenSelect)->ArgName("runs")->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

// Proving records: each record's run read from its file and stepped again on its board. The
// game proves a level's table when it is shown (at start-up only the level "Pelaa" plays, five
// records at most); here 1,000 records of the 36 shipped levels, each its own file, as if every
// table of 200 levels were full.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "field/field.h"
#include "field/level_file.h"
#include "records/kept_runs.h"
#include "records/record_proof.h"
#include "records/record_table.h"
#include "rules/run_file.h"
#include "shipped_levels.h"

namespace fs = std::filesystem;

namespace {

const int records = 1000;

struct kept_record {
    std::string level;  // its board's text
    std::string key;
    record_entry row;
};

// A folder of 1,000 kept runs and the records that name them, their times those the runs win in.
std::vector<kept_record> keep_records(const fs::path &folder)
{
    fs::create_directories(folder / runs_folder);
    std::vector<kept_record> out;
    const std::vector<std::string> levels = shipped_levels();
    for (int i = 0; i < records; i++) {
        const std::string &path = levels[static_cast<size_t>(i) % levels.size()];
        kept_record k;
        read_level_text(path, k.level);
        k.key = level_key(k.level);
        run_record run;
        std::string why;
        load_run(path + ".mouse.run", run, why);
        k.row = {static_cast<int>(run.tilts.size()), "2026-12-08", "Pelaaja", "taso_" + std::to_string(i) + ".run"};
        fs::copy_file(path + ".mouse.run", folder / runs_folder / k.row.run, fs::copy_options::overwrite_existing);
        out.push_back(k);
    }
    return out;
}

void BM_Prove1000Records(benchmark::State &state)
{
    const fs::path back = fs::current_path();
    const fs::path folder = fs::temp_directory_path() / "vinkla-proof-bench";
    const std::vector<kept_record> kept = keep_records(folder);
    fs::current_path(folder);
    int proven = 0;
    for (auto _ : state) {
        proven = 0;
        for (const kept_record &k : kept) {
            run_record run;
            const std::string text = k.level;
            proven += row_run(k.row, run) && run.board == k.key &&
                      run_proves(run, k.row.time, [&text] { return field::from_text(text); });
        }
    }
    fs::current_path(back);
    fs::remove_all(folder);
    state.counters["proven"] = proven;
    state.counters["per_record_us"] =
        benchmark::Counter(static_cast<double>(records) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    if (proven != records)
        state.SkipWithError("a shipped run did not prove itself");
}
BENCHMARK(BM_Prove1000Records)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

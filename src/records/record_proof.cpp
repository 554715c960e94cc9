#include "records/record_proof.h"

#include <map>

#include "field/field.h"
#include "records/kept_runs.h"
#include "records/run_replay.h"

namespace {

// Verdicts of this program run. A line names its run file, and the board is the key: a
// level edited meanwhile asks again.
std::map<std::string, proof> verdicts;

proof prove_row(const record_entry &row, const std::string &key, const board_maker &make)
{
    if (row.run.empty())
        return proof::no_run;
    const std::string memo = row.run + '\t' + key + '\t' + std::to_string(row.time);
    const auto known = verdicts.find(memo);
    if (known != verdicts.end())
        return known->second;
    run_record run;
    const proof p = row_run(row, run) && run.board == key && run_proves(run, row.time, make) ? proof::proven
                                                                                             : proof::unproven;
    verdicts[memo] = p;
    return p;
}

}  // namespace

bool run_proves(const run_record &run, int time, const board_maker &make)
{
    const replay_result r = replay_run(make(), run);  // a board that cannot be built proves nothing
    return r.won && r.time() == time;
}

bool row_run(const record_entry &row, run_record &out)
{
    std::string why;
    return run_name_ok(row.run) && load_run(std::string(runs_folder) + "/" + row.run, out, why);
}

std::vector<proof> prove_table(const record_table &records, const std::string &key, const board_maker &make)
{
    std::vector<proof> out;
    for (const record_entry &row : records.table(key))
        out.push_back(prove_row(row, key, make));
    return out;
}

int best_proven(const record_table &records, const std::string &key, const board_maker &make)
{
    const std::vector<record_entry> &rows = records.table(key);
    for (size_t i = 0; i < rows.size(); i++)
        if (prove_row(rows[i], key, make) == proof::proven)
            return static_cast<int>(i);
    return -1;
}

int proven_best_time(const record_table &records, const std::string &key, const board_maker &make)
{
    const int row = best_proven(records, key, make);
    return row < 0 ? 0 : records.table(key)[static_cast<size_t>(row)].time;
}

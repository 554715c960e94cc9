#pragma once
#include <functional>
#include <string>
#include <vector>

#include "records/record_table.h"
#include "rules/run_file.h"

class field;

// Whether a record is backed by its run: stepped again on the board as it is now, the run
// must win on its last frame, in the record's time (frames plus the falls' fixed cost).
enum class proof : char {
    no_run,    // a line of older files, or a run that could not be kept
    proven,
    unproven,  // the run is missing, damaged, of another board or rules, or ends otherwise
};

// Builds the board the table belongs to, fresh for every run stepped (the caller's level).
using board_maker = std::function<field *()>;

// The proof of each row of the level's table, fastest first. A run is stepped once per
// program run; the verdict is kept by the run's name, board and time.
std::vector<proof> prove_table(const record_table &records, const std::string &key, const board_maker &make);

// The row of the fastest proven record of the level, or -1: nothing else counts as its best.
int best_proven(const record_table &records, const std::string &key, const board_maker &make);
// Its time, or 0.
int proven_best_time(const record_table &records, const std::string &key, const board_maker &make);

// The run of a row, read from the runs folder; false when it has none that can be read.
bool row_run(const record_entry &row, run_record &out);

// Steps `run` on a board from `make` and says whether it wins in exactly `time` hundredths.
bool run_proves(const run_record &run, int time, const board_maker &make);

#pragma once
#include <string>

#include "rules/run_file.h"

// The run of every record, each in a file of its own in runs_folder beside the records file,
// named after the level, the day and the time ("01_alku_2026-12-08_7,15.run"), so that a
// player finds them; a second run of the same name gets "_2", "_3", ...
extern const char *const runs_folder;  // "suoritukset"

// A name for a new run of the level `level_title` (Latin-1), made on `date` in `time`
// hundredths, that no file in the folder bears yet; "" when none is free.
std::string new_run_name(const std::string &level_title, const std::string &date, int time);

// Writes the run into the folder under `name` (never through a link, never over a file half
// written); false when it could not be written.
bool keep_run(const std::string &name, const run_record &run);

// A name the records file may give a run: a plain file of the folder, in the characters
// new_run_name uses, ending ".run".
bool run_name_ok(const std::string &name);

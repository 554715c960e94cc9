#pragma once
#include <string>

#include "rules/run_file.h"

// The run of every record, each in a file of its own in runs_folder beside the records file,
// named after the level, the day and the time ("01_alku_2026-12-08_7,15.run"), so that a
// player finds them; a second run of the same name gets "_2", "_3", ...
extern const char *const runs_folder;  // "suoritukset"

// A name for a new run of the level `level_title` (Latin-1), made on `date` in `time`
// hundredths, that no file in `folder` bears yet; "" when none is free.
std::string new_run_name(const std::string &level_title, const std::string &date, int time,
                         const std::string &folder = runs_folder);

// Writes the run of a new record into `folder` (made when it is not there) as a new file, under
// the name new_run_name gives: never over another file, so two copies of the game winning at
// once never share one (the later takes the next name), and never through a link. The name, or
// "" when the run could not be written.
std::string keep_new_run(const std::string &folder, const std::string &level_title, const std::string &date,
                         int time, const run_record &run);

// A name the records file may give a run: a plain file of the folder, in the characters
// new_run_name uses, ending ".run".
bool run_name_ok(const std::string &name);

#pragma once
#include <string>

#include "records/record_table.h"

// The player's records for the whole program run, read at start-up from records_file in the
// working folder, beside vinkla.cfg.
extern record_table player_records;
extern const char *const records_file;  // "vinkla.rec"

// Reads records_file. When lines of it cannot be read, the file as it was is copied aside
// (see record_table::save), the readable records are written back, and an alert tells the
// player what became of the file.
void open_player_records();

// Writes the records, merged with what another copy of the game wrote meanwhile; an alert tells
// the player when that fails (the old file stays, and the records not written stay pending for
// the next save). 0 or -1.
int save_player_records();

// At quit, while the window can still show an alert: writes records that earlier saves could
// not. True when nothing is left unsaved; false after an alert that says they are lost.
bool save_pending_records();

// The name of a run whose player gave none.
extern const char *const nameless_player;  // "Pelaaja"

// The name offered for a new record: the one given last, else the login name, else
// nameless_player.
std::string offered_name();

// The line under the main menu's buttons: the level "Pelaa" plays and its best proven time.
std::string level_line(const std::string &path);

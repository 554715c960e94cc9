#pragma once
#include <cstddef>
#include <string>

// What the board of records server and its clients share: the board's key, the names, what a
// player signs, and the JSON of a submission (the API is described in the README).

// The key of a board on the server: SHA-256 of the 196 codes the field builds from the level
// text, 64 hex digits. The records' 16-digit key (level_key) only notices damage; two levels
// made to share it must never share a table, so the server keys by this one.
std::string board_key(const std::string &level_text);

// SHA-256 of `bytes`, 64 hex digits.
std::string sha256_hex(const std::string &bytes);

// A level file of at most this many bytes (a full one with comments is well under 1 KB).
constexpr size_t level_bytes_max = 4096;
// A run of at most ten minutes of play.
constexpr long run_frames_limit = 100L * 600;
// The longest run file of that: its header, a span for every frame, its sum line.
constexpr size_t run_bytes_max = 256 + 10 * static_cast<size_t>(run_frames_limit);
// A request body: the level, the run in base64 (4/3 of it) and the rest, with room to spare.
constexpr size_t body_max = 1024 * 1024;
constexpr size_t name_chars_max = 24;

// Whether `name` can be a player's name on the board: UTF-8, 1 to 24 letters of those the
// game shows (printable Latin-1: no control character, no letter beyond U+00FF), no space at
// either end. False with the reason in `why`.
bool name_allowed(const std::string &name, std::string &why);
// The form a name is bound by: lower case, so "Matti" and "matti" are one player.
std::string name_fold(const std::string &name);

// What a player signs to put `run_bytes` on the board `board` under `name`.
std::string submit_message(const std::string &board, const std::string &name, const std::string &run_bytes);

struct submission {
    std::string level;      // the level file's bytes
    std::string run;        // the run file's bytes
    std::string title;      // the level's name for the page (may be empty)
    std::string name;
    std::string key;        // the player's public key, 64 hex digits
    std::string signature;  // of submit_message, 128 hex digits
};

std::string submission_json(const submission &s);
// The submission in a request body; false with the reason in `why`.
bool read_submission(const std::string &body, submission &out, std::string &why);

// A board's title as the server keeps it: printable Latin-1 as UTF-8, at most 40 letters.
std::string clean_title(const std::string &title);

std::string base64_of(const std::string &bytes);
bool bytes_of_base64(const std::string &text, std::string &out);

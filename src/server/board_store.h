#pragma once
#include <memory>
#include <string>
#include <vector>

// Where the server keeps its boards, players and proven runs: one interface, kept in SQLite
// (a file) or PostgreSQL (several servers on one database). Every call is safe from many
// threads at once, and a run is stored for good (committed) before add_run returns.

// A run proven on its board, as the server stores it.
struct proven_run {
    std::string board;        // board_key, 64 hex digits
    std::string short_key;    // level_key, what the records and run files call the board
    std::string level;        // the board's 196 codes
    std::string title;        // the board's name when it is new (may be empty)
    std::string name;         // as the player wrote it
    std::string fold;         // name_fold(name)
    std::string key;          // the player's public key
    std::string run;          // the run file's bytes
    std::string run_hash;     // sha256_hex(run)
    long time = 0;            // hundredths: frames plus the falls' cost
    long frames = 0;
    int falls = 0;
    std::string date;         // YYYY-MM-DD, UTC
};

enum class store_outcome { stored, name_taken, duplicate, failed };

struct store_result {
    store_outcome outcome = store_outcome::failed;
    long id = 0;     // the run's number, when stored
    int place = 0;   // its place by time among the players' best runs, when stored
};

struct board_row {
    int place = 0;
    long id = 0;
    std::string name;
    long time = 0;
    int falls = 0;
    std::string date;
};

struct board_info {
    std::string board, short_key, level, title;
    long players = 0;  // with a run on it
};

struct stored_run {
    std::string board;
    std::string run;
};

class board_store {
public:
    virtual ~board_store() = default;
    virtual store_result add_run(const proven_run &run) = 0;
    // The board with `key` (or its short key, when only one board has it); false when there is
    // none. `several` is set when a short key names more than one.
    virtual bool find_board(const std::string &key, board_info &out, bool &several) = 0;
    // Each player's best run on the board, fastest first (a tie goes to the earlier run).
    virtual std::vector<board_row> table(const std::string &board, int limit) = 0;
    virtual bool find_run(long id, stored_run &out) = 0;
    // The boards with the most recent runs first.
    virtual std::vector<board_info> boards(int limit) = 0;
};

// A store for `where`: a postgresql:// or postgres:// URI, else a SQLite file's path. Throws
// std::runtime_error saying why when it cannot be opened.
std::unique_ptr<board_store> open_store(const std::string &where);
std::unique_ptr<board_store> open_sqlite_store(const std::string &path);
std::unique_ptr<board_store> open_postgres_store(const std::string &uri);

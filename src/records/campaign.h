#pragma once
#include <string>
#include <vector>

#include "field/level_set.h"

// The sets of levels as this player stands in them: each level's best time, its medal times
// and the medal won, and which levels are open. In a set the first three levels are open, and
// every level won opens one more; the player's own levels are all open.
enum medal { no_medal, gold, silver, bronze };

struct medal_times {
    int limit[3] = {0, 0, 0};  // gold, silver, bronze: a run this fast or faster wins it; 0: none
};

struct campaign_level {
    set_level level;
    std::string key;  // level_key of its board; "" when it cannot be read
    int best = 0;     // the best proven time, 0 for none
    bool won = false; // a run of it is in the player's table
    bool open = false;
    medal_times medals;
    bool medals_known = false;  // false: the times a run beside it gives are still to be found
    medal best_medal = no_medal;
};

struct campaign_set {
    std::string name;
    bool own = false;
    std::vector<campaign_level> levels;
};

// Medal times from a level's hand time (the hand model's run): gold within 10 % of it, silver
// within 50 %, bronze within 150 %, each rounded up to a whole tenth of a second.
medal_times medals_from_basis(int hand_time);
// The medal a time wins.
medal medal_for(const medal_times &m, int time);

// The solver's best run kept beside a level file (LEVEL.vkl.mouse.run or .keys.run) that wins
// on it: its time, or 0.
int solver_basis(const std::string &level_path);
// The hand model's run kept beside a level file (LEVEL.vkl.hand.run) that wins on it: its time,
// or 0.
int hand_basis(const std::string &level_path);
// Without a hand's run, a level's hand time is guessed from the solver's: the hand model's
// times on the shipped levels are at most about this share of the solver's.
constexpr int hand_per_solver_percent = 200;
int estimated_hand_time(int solver_time);
// A level's hand time: its hand run's, else guessed from its solver run's; 0 with neither.
int hand_time(const std::string &level_path);

// Every set with this player's progress (player_records). Medal times come only from the set
// files: a run beside each level stepped on every call would keep the select waiting at the
// sets' limits (50 sets of 200 levels).
std::vector<campaign_set> campaign();
// The medal times of a level that campaign() left to its runs, and the medal its best holds:
// for the levels the select shows.
void find_medals(campaign_level &l);

// Where `path` stands in the sets: false when it is in none.
bool find_in_campaign(const std::vector<campaign_set> &sets, const std::string &path, size_t &set, size_t &level);

// The level a new player starts on: the first of the first set (or default_level).
std::string first_level();
// After a win: `path` itself while it is not won, else the next level of its set not yet won
// (then of the sets after it), or `path` when every one is won or it is in no set.
std::string next_unwon(const std::string &path);
// "Seuraava": the next open level of the set in its order; after a set's last, the first open
// level of the next set (past the last set, of the first), as Pelaa goes on; the player's own
// levels go round in their own set. A level in no set has the next level file of its folder.
std::string next_in_set(const std::string &path);
// The same, in the sets as given.
std::string next_in_sets(const std::vector<campaign_set> &sets, const std::string &path);
// A level file as the sets name it: a level of a set chosen under another path (absolute,
// through a link, with "./" or "..") is still that set's level; any other path is kept.
std::string as_set_level(const std::string &path);
// The name a player knows a level by: its shown name in its set, else its file's (level_title).
std::string shown_title(const std::string &path);
// The medal times of a level and the medal its best proven time holds.
medal_times level_medals(const std::string &path);
// The same for a level file wherever it lies, by the set file of its own folder.
medal_times file_medals(const std::string &path);

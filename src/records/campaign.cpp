#include "records/campaign.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <system_error>

#include "field/field.h"
#include "field/level_file.h"
#include "field/level_order.h"
#include "platform/config.h"
#include "platform/file_read.h"
#include "platform/fnv1a.h"
#include "records/player_records.h"
#include "records/record_proof.h"
#include "records/run_replay.h"

namespace fs = std::filesystem;

namespace {

// A tenth of a second up from `hundredths` times `percent` / 100.
int tenth_up(long long hundredths, int percent)
{
    const long long t = (hundredths * percent + 99) / 100;
    return static_cast<int>((t + 9) / 10 * 10);
}

// What a run kept beside a level proved in this program run, known by the file as it stands (its
// size, its time and a sum of its bytes) and by the board it was stepped on: a run replaced, or
// a level saved anew, is stepped again, and nothing else is, a run that wins nothing included.
struct run_verdict {
    long long size = -1;
    long long changed = 0;  // the file's time, in nanoseconds
    std::string sum;
    std::string board;
    int time = 0;  // the time it wins in, 0 for none
};
std::map<std::string, run_verdict> verdicts;  // by the run file's path

int kept_run_time(const std::string &run_path, const std::string &text, const std::string &board)
{
    file_read why;
    const int fd = open_regular(run_path, why);
    if (fd < 0)
        return 0;
    struct stat st;
    std::string bytes;
    const bool whole = fstat(fd, &st) == 0 && read_open(fd, run_file_max, bytes) == file_read::read;
    close(fd);
    if (!whole)
        return 0;
    run_verdict now;
    now.size = st.st_size;
    now.changed = st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec;
    now.sum = fnv1a_hex(bytes.data(), bytes.size());
    now.board = board;
    run_verdict &known = verdicts[run_path];
    if (known.size == now.size && known.changed == now.changed && known.sum == now.sum && known.board == board)
        return known.time;
    run_record run;
    std::string why_not;
    if (read_run(bytes, run, why_not)) {
        const replay_result r = replay_run(field::from_text(text), run);
        if (r.won)
            now.time = static_cast<int>(r.time());
    }
    known = now;
    return now.time;
}

// The medal times a level's set file gives it: false when it gives none.
bool set_medals(const set_level &l, medal_times &m)
{
    if (l.medals[0] == 0)
        return false;
    for (int i = 0; i < 3; i++)
        m.limit[i] = l.medals[i];
    return true;
}

}  // namespace

medal_times medals_from_basis(int hand_time)
{
    medal_times m;
    if (hand_time <= 0)
        return m;
    m.limit[0] = tenth_up(hand_time, 110);
    m.limit[1] = tenth_up(hand_time, 150);
    m.limit[2] = tenth_up(hand_time, 300);
    return m;
}

int estimated_hand_time(int solver_time)
{
    return static_cast<int>((static_cast<long long>(solver_time) * hand_per_solver_percent + 99) / 100);
}

medal medal_for(const medal_times &m, int time)
{
    if (time <= 0)
        return no_medal;
    for (int i = 0; i < 3; i++)
        if (m.limit[i] > 0 && time <= m.limit[i])
            return static_cast<medal>(i + 1);
    return no_medal;
}

int solver_basis(const std::string &level_path)
{
    std::string text;
    if (!read_level_text(level_path, text))
        return 0;
    const std::string board = level_key(text);
    int best = 0;
    for (const char *kind : {".mouse.run", ".keys.run"}) {
        const int time = kept_run_time(level_path + kind, text, board);
        if (time > 0 && (best == 0 || time < best))
            best = time;
    }
    return best;
}

int hand_basis(const std::string &level_path)
{
    std::string text;
    if (!read_level_text(level_path, text))
        return 0;
    return kept_run_time(level_path + ".hand.run", text, level_key(text));
}

int hand_time(const std::string &level_path)
{
    const int hand = hand_basis(level_path);
    return hand > 0 ? hand : estimated_hand_time(solver_basis(level_path));
}

namespace {

// A level's medal times: the set file's, else from its hand time.
medal_times medals_of(const set_level &l)
{
    medal_times m;
    return set_medals(l, m) ? m : medals_from_basis(hand_time(l.path));
}

}  // namespace

medal_times level_medals(const std::string &path)
{
    for (const level_set &s : find_level_sets())
        for (const set_level &l : s.levels)
            if (l.path == path)
                return medals_of(l);
    return medals_of(set_level{path, ""});
}

medal_times file_medals(const std::string &path)
{
    const fs::path file(path);
    const std::string folder = file.has_parent_path() ? file.parent_path().string() : ".";
    for (const set_level &l : folder_set(folder).levels)
        if (fs::path(l.path).filename() == file.filename())
            return medals_of(set_level{path, "", {l.medals[0], l.medals[1], l.medals[2]}});
    return medals_of(set_level{path, ""});
}

std::vector<campaign_set> campaign()
{
    std::vector<campaign_set> out;
    for (const level_set &s : find_level_sets()) {
        campaign_set cs;
        cs.name = s.name;
        cs.own = s.own;
        int won = 0;
        for (const set_level &l : s.levels) {
            campaign_level c;
            c.level = l;
            std::string text;
            if (read_level_text(l.path, text)) {
                c.key = level_key(text);
                c.won = !player_records.table(c.key).empty();
                c.best = proven_best_time(player_records, c.key, [text] { return field::from_text(text); });
            }
            c.medals_known = set_medals(l, c.medals);
            c.best_medal = medal_for(c.medals, c.best);
            won += c.won;
            cs.levels.push_back(c);
        }
        for (size_t i = 0; i < cs.levels.size(); i++)
            cs.levels[i].open = s.own || cs.levels[i].won || static_cast<int>(i) < 3 + won;
        out.push_back(cs);
    }
    return out;
}

void find_medals(campaign_level &l)
{
    if (l.medals_known)
        return;
    l.medals = medals_from_basis(hand_time(l.level.path));
    l.medals_known = true;
    l.best_medal = medal_for(l.medals, l.best);
}

bool find_in_campaign(const std::vector<campaign_set> &sets, const std::string &path, size_t &set, size_t &level)
{
    for (set = 0; set < sets.size(); set++)
        for (level = 0; level < sets[set].levels.size(); level++)
            if (sets[set].levels[level].level.path == path)
                return true;
    return false;
}

std::string first_level()
{
    const std::vector<level_set> sets = find_level_sets();
    return !sets.empty() && !sets.front().own && !sets.front().levels.empty() ? sets.front().levels.front().path
                                                                              : default_level;
}

std::string next_unwon(const std::string &path)
{
    const std::vector<campaign_set> sets = campaign();
    size_t s, l;
    if (!find_in_campaign(sets, path, s, l) || sets[s].own || !sets[s].levels[l].won)
        return path;
    for (size_t i = s; i < sets.size() && !sets[i].own; i++)
        for (size_t j = i == s ? l + 1 : 0; j < sets[i].levels.size(); j++)
            if (!sets[i].levels[j].won && sets[i].levels[j].open)
                return sets[i].levels[j].level.path;
    return path;
}

std::string next_in_set(const std::string &path)
{
    return next_in_sets(campaign(), path);
}

std::string next_in_sets(const std::vector<campaign_set> &sets, const std::string &path)
{
    size_t s, l;
    if (!find_in_campaign(sets, path, s, l))
        return next_level_file(path);
    auto first_open = [&sets](size_t set, size_t from) -> const campaign_level * {
        for (size_t i = from; i < sets[set].levels.size(); i++)
            if (sets[set].levels[i].open)
                return &sets[set].levels[i];
        return nullptr;
    };
    if (const campaign_level *next = first_open(s, l + 1))
        return next->level.path;
    if (sets[s].own) {
        const campaign_level *first = first_open(s, 0);
        return first ? first->level.path : path;
    }
    // The sets after this one, then from the first round to this one again.
    for (size_t k = 1; k <= sets.size(); k++) {
        const size_t at = (s + k) % sets.size();
        if (sets[at].own)
            continue;
        if (const campaign_level *next = first_open(at, 0))
            return next->level.path;
    }
    return path;
}

std::string as_set_level(const std::string &path)
{
    std::error_code ec;
    const std::filesystem::path file(path);
    for (const level_set &s : find_level_sets())
        for (const set_level &l : s.levels)
            if (l.path == path || std::filesystem::equivalent(file, l.path, ec))
                return l.path;
    return path;
}

std::string shown_title(const std::string &path)
{
    for (const level_set &s : find_level_sets())
        if (!s.own)
            for (const set_level &l : s.levels)
                if (l.path == path)
                    return l.title;
    return level_title(path);
}

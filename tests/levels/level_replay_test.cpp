// The shipped levels: three sets of twelve in data/sarjat and the default level, every file in
// the exact level layout, the sets covering every tile kind, and every level proven winnable by
// its kept runs (by mouse and by keys), stepped on the rules. A change to the rules that breaks
// a run fails here; vinkla-solve (`vinkla-solve [--keys] data/sarjat/*/*.vkl`) then finds and
// keeps new winning runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "field/field.h"
#include "platform/globals.h"
#include "rules/run_file.h"
#include "records/run_replay.h"
#include "field/level_file.h"
#include "solver/level_solver.h"
#include "support/fakes.h"
#include "support/levels.h"

namespace {

namespace fs = std::filesystem;

const std::string data_dir = VINKLA_DATA_DIR;
const std::string all_codes = levels::all_codes();

// The shipped level files, relative to the data folder: each set's in its set file's order,
// then the default level.
std::vector<std::string> shipped_levels()
{
    std::vector<std::string> names;
    std::vector<fs::path> folders;
    std::error_code ec;
    for (const auto &e : fs::directory_iterator(data_dir + "/sarjat", ec))
        if (e.is_directory())
            folders.push_back(e.path());
    std::sort(folders.begin(), folders.end());
    for (const fs::path &folder : folders) {
        const std::string listing = read_file((folder / "sarja.txt").string());
        size_t at = 0;
        while ((at = listing.find("kentt\xc3\xa4 ", at)) != std::string::npos) {
            at += 8;
            const std::string file = listing.substr(at, listing.find(' ', at) - at);
            names.push_back("sarjat/" + folder.filename().string() + "/" + file);
        }
    }
    names.push_back("standardfile.vkl");
    return names;
}

// "10_mutkat" for "sarjat/1_alkeet/10_mutkat.vkl".
std::string stem(const std::string &file)
{
    const size_t slash = file.rfind('/');
    const std::string name = slash == std::string::npos ? file : file.substr(slash + 1);
    return name.substr(0, name.size() - 4);
}

// The 14 board rows of a level file, or empty when the bytes are not exactly the written
// layout: 14 rows of 14 codes, "noname", "9999", each line ended by "\n".
std::vector<std::string> exact_rows(const std::string &bytes)
{
    std::vector<std::string> lines;
    size_t at = 0;
    while (at < bytes.size()) {
        size_t end = bytes.find('\n', at);
        if (end == std::string::npos)
            return {};
        lines.push_back(bytes.substr(at, end - at));
        at = end + 1;
    }
    if (lines.size() != 16 || lines[14] != "noname" || lines[15] != "9999")
        return {};
    lines.resize(14);
    for (const std::string &l : lines)
        if (l.size() != 14 || l.find_first_not_of(all_codes) != std::string::npos)
            return {};
    return lines;
}

TEST(ShippedLevels, ThreeSetsOfTwelveNumberedInPlayingOrderCoveringEveryTileKind)
{
    const std::vector<std::string> names = shipped_levels();
    std::map<std::string, int> in_set;
    std::set<char> used;
    for (const std::string &n : names) {
        for (const std::string &row : exact_rows(read_file(data_dir + "/" + n)))
            used.insert(row.begin(), row.end());
        if (n == "standardfile.vkl")
            continue;
        const std::string set = n.substr(0, n.rfind('/'));
        // "01_alku.vkl", "02_...": listed in playing order, numbered so; lower-case ASCII.
        char expected[16];
        std::snprintf(expected, sizeof expected, "%02d_", ++in_set[set]);
        EXPECT_EQ(stem(n).substr(0, 3), expected) << n;
        for (char c : stem(n).substr(3))
            EXPECT_TRUE(std::islower((unsigned char)c) || c == '_') << n;
    }
    ASSERT_EQ(3u, in_set.size());
    for (const auto &set : in_set)
        EXPECT_EQ(12, set.second) << set.first;
    for (char code : all_codes)
        EXPECT_TRUE(used.count(code)) << "no shipped level uses the tile '" << code << "'";
}

class ShippedLevel : public ::testing::TestWithParam<std::string> {
protected:
    std::string path() const { return data_dir + "/" + GetParam(); }
};

TEST_P(ShippedLevel, HasTheExactLayoutAWallRingOneStartAndAFlag)
{
    std::vector<std::string> rows = exact_rows(read_file(path()));
    ASSERT_EQ(rows.size(), 14u) << "not in the written level layout";
    int starts = 0, flags = 0;
    for (int i = 0; i < 14; i++)
        for (int j = 0; j < 14; j++) {
            char c = rows[i][j];
            if (i == 0 || i == 13 || j == 0 || j == 13) {
                EXPECT_EQ(c, '*') << "row " << i << " column " << j;
            }
            starts += c == 'A';
            flags += c == 'F';
        }
    EXPECT_EQ(starts, 1);
    EXPECT_GE(flags, 1);

    field *f = field::load_field_file(path());
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->flag_count, flags);
    EXPECT_TRUE(fake::alerts.empty());
    delete f;
}

// A force the hand cannot beat never waits beside a hole: no bowl, dome or bumper has a hole
// among its eight neighbours, and no slope runs straight into one. A flag side by side with a
// hole is the last set's test of nerve, in three of its levels only: Ansat, Liukumäki, Kampa.
TEST_P(ShippedLevel, NoForceStandsBesideAHole)
{
    const std::vector<std::string> rows = exact_rows(read_file(path()));
    ASSERT_EQ(rows.size(), 14u);
    auto hole = [&](int r, int c) { return r >= 0 && r < 14 && c >= 0 && c < 14 && rows[r][c] == 'O'; };
    const std::string name = stem(GetParam());
    const bool nerve = GetParam().rfind("sarjat/3_mestarit/", 0) == 0 && name.size() > 3 &&
                       (name.substr(3) == "ansat" || name.substr(3) == "liukumaki" || name.substr(3) == "kampa");
    for (int r = 0; r < 14; r++)
        for (int c = 0; c < 14; c++) {
            const char code = rows[r][c];
            int holes = 0, side_holes = 0;
            for (int dr = -1; dr <= 1; dr++)
                for (int dc = -1; dc <= 1; dc++) {
                    holes += hole(r + dr, c + dc);
                    side_holes += (dr == 0) != (dc == 0) && hole(r + dr, c + dc);
                }
            if (code == 'C' || code == 'V' || code == 'B') {
                EXPECT_EQ(0, holes) << "'" << code << "' at row " << r << " column " << c;
            }
            if (code == 'F' && !nerve) {
                EXPECT_EQ(0, side_holes) << "a flag at row " << r << " column " << c;
            }
            const int down_r = r + (code == 's') - (code == 'n'), down_c = c + (code == 'e') - (code == 'w');
            if (std::string("ensw").find(code) != std::string::npos) {
                EXPECT_FALSE(hole(down_r, down_c)) << "'" << code << "' at row " << r << " column " << c;
            }
        }
}

// Every set level is won by a run steered with the mouse (NAME.vkl.mouse.run) and by one
// steered with the arrow keys alone (NAME.vkl.keys.run): stepped on the rules, each takes the
// last flag on its very last frame. vinkla-replay steps the same files in its own tests, and
// the faster of the two sets the level's medal times.
TEST_P(ShippedLevel, ItsRunsWinOnTheirLastFrame)
{
    for (const char *kind : {".mouse.run", ".keys.run"}) {
        const std::string file = path() + kind;
        if (GetParam() == "standardfile.vkl" && !fs::exists(file))
            continue;
        run_record run;
        std::string why;
        ASSERT_TRUE(load_run(file, run, why)) << file << ": " << why;
        const replay_result r = replay_run(field::load_field_file(path()), run);
        EXPECT_TRUE(r.won) << file << ": " << r.why;
    }
}

// Every set level is won by the hand model too (NAME.vkl.hand.run), in at most three times the
// solver's frames, and its run holds for a hand: most replays under a hand's errors keep out of
// the holes.
TEST_P(ShippedLevel, AHandWinsIt)
{
    if (GetParam() == "standardfile.vkl")
        return;
    run_record hand, solver;
    std::string why, text;
    ASSERT_TRUE(load_run(path() + ".hand.run", hand, why)) << why;
    ASSERT_TRUE(load_run(path() + ".mouse.run", solver, why)) << why;
    const replay_result r = replay_run(field::load_field_file(path()), hand);
    EXPECT_TRUE(r.won) << r.why;
    EXPECT_EQ(0, r.falls);
    EXPECT_LE(hand.tilts.size(), 3 * solver.tilts.size());
    ASSERT_TRUE(read_level_text(path(), text));
    EXPECT_TRUE(holds_for_a_hand(text, hand));
}

// A test's name from a level file's name: letters and digits kept, the rest '_'.
std::string level_test_name(const ::testing::TestParamInfo<std::string> &info)
{
    std::string name = info.param.substr(0, info.param.size() - 4);
    for (char &c : name)
        if (!std::isalnum((unsigned char)c))
            c = '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Data, ShippedLevel, ::testing::ValuesIn(shipped_levels()), level_test_name);

}  // namespace

// The shipped levels: every file in the data folder has the exact level layout, the set covers
// every tile kind, and every level is proven winnable by its kept runs, stepped on the rules.
// A change to the rules that breaks a run fails here; vinkla-solve
// (`vinkla-solve data/*.vkl`) then finds and keeps new winning runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "field/field.h"
#include "platform/globals.h"
#include "rules/run_file.h"
#include "records/run_replay.h"
#include "support/fakes.h"
#include "support/levels.h"

namespace {

namespace fs = std::filesystem;

const std::string data_dir = VINKLA_DATA_DIR;
const std::string all_codes = levels::all_codes();

// The level files of the data folder, in the order the file chooser lists them.
std::vector<std::string> shipped_levels()
{
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto &e : fs::directory_iterator(data_dir, ec))
        if (e.is_regular_file() && e.path().extension() == ".vkl")
            names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// "02_mutkat" for "02_mutkat.vkl": a test name.
std::string stem(const std::string &file)
{
    return file.substr(0, file.size() - 4);
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

TEST(ShippedLevels, ANumberedSeriesBesideTheDefaultLevelCoveringEveryTileKind)
{
    std::vector<std::string> names = shipped_levels();
    ASSERT_NE(std::find(names.begin(), names.end(), "standardfile.vkl"), names.end());
    // "01_alku.vkl", "02_...": two digits, so the chooser lists them in playing order whether it
    // sorts by characters or by numbers; lower-case ASCII, since the name is shown in Latin-1.
    int number = 0;
    std::set<char> used;
    for (const std::string &n : names) {
        for (const std::string &row : exact_rows(read_file(data_dir + "/" + n)))
            used.insert(row.begin(), row.end());
        if (n == "standardfile.vkl")
            continue;
        number++;
        char expected[16];
        std::snprintf(expected, sizeof expected, "%02d_", number);
        EXPECT_EQ(n.substr(0, 3), expected) << n;
        for (char c : stem(n).substr(3))
            EXPECT_TRUE(std::islower((unsigned char)c) || c == '_') << n;
    }
    EXPECT_GE(number, 11);
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

// Every level is won by a run steered with the mouse (NAME.vkl.mouse.run), most also by one
// steered with the arrow keys alone (NAME.vkl.keys.run): stepped on the rules, each takes the
// last flag on its very last frame. vinkla-replay steps the same files in its own tests.
TEST_P(ShippedLevel, ItsRunsWinOnTheirLastFrame)
{
    for (const char *kind : {".mouse.run", ".keys.run"}) {
        const std::string file = path() + kind;
        if (std::string(kind) == ".keys.run" && !fs::exists(file))
            continue;
        run_record run;
        std::string why;
        ASSERT_TRUE(load_run(file, run, why)) << file << ": " << why;
        const replay_result r = replay_run(field::load_field_file(path()), run);
        EXPECT_TRUE(r.won) << file << ": " << r.why;
    }
}

TEST(ShippedLevels, AtLeastThreeAreWonWithTheArrowKeys)
{
    int keyed = 0;
    for (const std::string &n : shipped_levels())
        keyed += fs::exists(data_dir + "/" + n + ".keys.run");
    EXPECT_GE(keyed, 3);
}

// A test's name from a level file's name: letters and digits kept, the rest '_'.
std::string level_test_name(const ::testing::TestParamInfo<std::string> &info)
{
    std::string name = stem(info.param);
    for (char &c : name)
        if (!std::isalnum((unsigned char)c))
            c = '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Data, ShippedLevel, ::testing::ValuesIn(shipped_levels()), level_test_name);

}  // namespace

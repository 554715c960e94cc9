// The shipped levels: every file in the data folder has the exact level layout, the set covers
// every tile kind, and every level is proven winnable by its recorded run, which is played back
// through the real game run (start_bead with the fake mouse) and must take every flag.
// A change to the physics that breaks a recorded run fails here; tests/levels/solver
// (`levelsolver data/*.vkl`) then finds and records new winning runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "field/field.h"
#include "levels/replay.h"
#include "marble/bead.h"
#include "shell/globals.h"
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

// A replayed run that took every flag without an alert and ended by winning, not by Esc.
void expect_won(const bead &b, bool gave_up, const char *what)
{
    EXPECT_TRUE(fake::alerts.empty());
    EXPECT_FALSE(gave_up) << what << " ended without every flag";
    EXPECT_EQ(b.flags_left, 0);
    EXPECT_EQ(b.state, bead::rolling) << "the run did not end by winning";
}

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

TEST_P(ShippedLevel, RecordedRunTakesEveryFlag)
{
    levels::replay run;
    std::string error;
    ASSERT_TRUE(levels::parse_replay(read_file(path() + ".replay"), run, error))
        << GetParam() << ".replay: " << error;

    fake::mickeys.assign(run.reads.begin(), run.reads.end());
    bead b;
    long frames = 0;
    bool gave_up = false;
    // One rest per frame sees the tick counter reach 0 (the fall animation's rests take it
    // below). Once the recorded frames are over without the last flag, Esc ends the run.
    fake::on_rest = [&]() {
        if (teh_counter == 0)
            frames++;
        if (frames >= run.frames && b.flags_left > 0 && !gave_up) {
            gave_up = true;
            key[KEY_ESC] = 1;
        }
    };
    key[KEY_ESC] = 0;
    b.start_bead(path());
    key[KEY_ESC] = 0;
    fake::on_rest = nullptr;

    expect_won(b, gave_up, "the recorded run");
    EXPECT_LE(frames, run.frames);
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

// The shipped levels that have a recorded keyboard run beside them (NAME.vkl.keys).
std::vector<std::string> key_replayed_levels()
{
    std::vector<std::string> names;
    for (const std::string &n : shipped_levels())
        if (fs::exists(data_dir + "/" + n + ".keys"))
            names.push_back(n);
    return names;
}

TEST(KeyReplays, AtLeastThreeShippedLevelsAreWonWithTheArrowKeys)
{
    EXPECT_GE(key_replayed_levels().size(), 3u);
}

class KeyReplayedLevel : public ShippedLevel {};

// Played through the real game run with the mouse still: each frame's arrow keys are set
// before its motion step (the first frame's before the run starts, the next ones at the tick).
TEST_P(KeyReplayedLevel, RecordedKeyRunTakesEveryFlag)
{
    levels::key_replay run;
    std::string error;
    ASSERT_TRUE(levels::parse_key_replay(read_file(path() + ".keys"), run, error))
        << GetParam() << ".keys: " << error;
    const long total = (long)run.frames.size();
    auto hold = [&](long f) {
        uint8_t k = f < total ? run.frames[f] : 0;
        key[KEY_LEFT] = (k & levels::key_left) != 0;
        key[KEY_RIGHT] = (k & levels::key_right) != 0;
        key[KEY_UP] = (k & levels::key_up) != 0;
        key[KEY_DOWN] = (k & levels::key_down) != 0;
    };
    bead b;
    long frames = 0;
    bool gave_up = false;
    hold(0);
    fake::on_rest = [&]() {
        if (teh_counter == 0)
            hold(++frames);
        if (frames >= total && b.flags_left > 0 && !gave_up) {
            gave_up = true;
            key[KEY_ESC] = 1;
        }
    };
    key[KEY_ESC] = 0;
    b.start_bead(path());
    hold(total);
    key[KEY_ESC] = 0;
    fake::on_rest = nullptr;

    expect_won(b, gave_up, "the recorded key run");
}

INSTANTIATE_TEST_SUITE_P(Data, KeyReplayedLevel, ::testing::ValuesIn(key_replayed_levels()), level_test_name);

TEST(Replay, KeyRunsAreWrittenAndReadBackAndDamageIsRefused)
{
    levels::key_replay r;
    r.frames = {0, levels::key_right, levels::key_right, levels::key_right | levels::key_down, 0};
    std::string text = levels::format_key_replay(r);
    EXPECT_EQ(text, "vinkla-keys 1\nframes 5\n1 0\n2 2\n1 10\n1 0\n");
    levels::key_replay back;
    std::string error;
    ASSERT_TRUE(levels::parse_key_replay(text, back, error)) << error;
    EXPECT_EQ(back.frames, r.frames);
    const char *bad[] = {
        "",
        "vinkla-keys 2\nframes 1\n1 0\n",
        "vinkla-keys 1\nframes 0\n",
        "vinkla-keys 1\nframes 2\n1 0\n",       // frames do not add up
        "vinkla-keys 1\nframes 2\n3 0\n",       // more than announced
        "vinkla-keys 1\nframes 2\n2 16\n",      // no such key
        "vinkla-keys 1\nframes 2\n2 -1\n",
        "vinkla-keys 1\nframes 2\n2\n",
        "vinkla-keys 1\nframes 2\n0 0\n2 0\n",
        "vinkla-keys 1\nframes 9999999\n9999999 0\n",
    };
    for (const char *t : bad) {
        levels::key_replay k;
        EXPECT_FALSE(levels::parse_key_replay(t, k, error)) << t;
        EXPECT_TRUE(k.frames.empty());
    }
}

TEST(Replay, WritesRunsOfEqualReadsAndReadsThemBack)
{
    levels::replay r;
    r.frames = 5;
    r.reads = {{0, 0}, {200, -200}, {0, 0}, {0, 0}, {0, 0}, {-400, 7}};
    std::string text = levels::format_replay(r);
    EXPECT_EQ(text, "vinkla-replay 1\nframes 5\nreads 6\n1 0 0\n1 200 -200\n3 0 0\n1 -400 7\n");
    levels::replay back;
    std::string error;
    ASSERT_TRUE(levels::parse_replay(text, back, error)) << error;
    EXPECT_EQ(back.frames, 5);
    EXPECT_EQ(back.reads, r.reads);
}

TEST(Replay, RejectsDamagedFiles)
{
    const std::string head = "vinkla-replay 1\nframes 5\nreads 3\n";
    const char *bad[] = {
        "",
        "vinkla-replay 2\nframes 5\nreads 3\n3 0 0\n",
        "vinkla-replay 1\nframes 0\nreads 3\n3 0 0\n",
        "vinkla-replay 1\nframes 5\nreads 3\n2 0 0\n",      // reads do not add up
        "vinkla-replay 1\nframes 5\nreads 3\n4 0 0\n",      // more than announced
        "vinkla-replay 1\nframes 5\nreads 3\n3 0\n",
        "vinkla-replay 1\nframes 5\nreads 3\n3 0 0 0\n",
        "vinkla-replay 1\nframes 5\nreads 3\n3 0 x\n",
        "vinkla-replay 1\nframes 5\nreads 3\n0 0 0\n3 0 0\n",
        "vinkla-replay 1\nframes 5\nreads 3\n3 999999 0\n",
        "vinkla-replay 1\nframes 5\nreads 3\n\n3 0 0\n",
        "vinkla-replay 1\nframes 5\nreads 3000000000\n3 0 0\n",
        "vinkla-replay 1\nframes -5\nreads 3\n3 0 0\n",
    };
    for (const char *text : bad) {
        levels::replay r;
        r.frames = 77;
        std::string error;
        EXPECT_FALSE(levels::parse_replay(text, r, error)) << text;
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(r.frames, 77) << "a rejected file must leave the replay alone";
    }
    levels::replay r;
    std::string error;
    EXPECT_TRUE(levels::parse_replay(head + "3 -100000 100000\n", r, error)) << error;
}

}  // namespace

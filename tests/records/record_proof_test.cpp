// A record proves itself only by its run, stepped again on the board as it is now.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "field/field.h"
#include "field/level_file.h"
#include "records/kept_runs.h"
#include "records/record_proof.h"
#include "records/record_table.h"
#include "records/run_replay.h"
#include "support/fakes.h"

namespace fs = std::filesystem;

namespace {

class RecordProof : public ::testing::Test {
protected:
    fs::path back = fs::current_path();
    std::string dir = make_temp_dir();
    std::string level;
    int length = 0;
    void SetUp() override
    {
        ASSERT_TRUE(read_level_text(VINKLA_DATA_DIR "/sarjat/1_alkeet/01_alku.vkl", level));
        fs::current_path(dir);
        fs::create_directory(runs_folder);
        // The shipped run wins its level on its last frame, with no fall: its time is its length.
        fs::copy_file(VINKLA_DATA_DIR "/sarjat/1_alkeet/01_alku.vkl.mouse.run", std::string(runs_folder) + "/alku.run");
        run_record run;
        std::string why;
        ASSERT_TRUE(load_run(std::string(runs_folder) + "/alku.run", run, why)) << why;
        length = static_cast<int>(run.tilts.size());
    }
    void TearDown() override
    {
        fs::current_path(back);
        fs::remove_all(dir);
    }
    board_maker board(const std::string &text) const
    {
        return [text] { return field::from_text(text); };
    }
};

}  // namespace

TEST_F(RecordProof, OnlyARunThatWinsInItsTimeOnThisBoardProves)
{
    // One byte of the run changed, past its header: the sum no longer holds.
    {
        std::ifstream in(std::string(runs_folder) + "/alku.run", std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), {});
        bytes[bytes.size() / 2] ^= 1;
        std::ofstream(std::string(runs_folder) + "/muutettu.run", std::ios::binary) << bytes;
    }
    const std::string key = level_key(level);
    record_table t;
    t.enter(key, {length - 15, "2026-12-01", "Nopea", "muutettu.run"});  // the changed file
    t.enter(key, {length - 1, "2026-12-01", "Vajaa", "alku.run"});       // a frame short of its run
    t.enter(key, {length, "2026-12-02", "Oikea", "alku.run"});
    t.enter(key, {length + 1, "2026-12-03", "Vanha"});                   // from before runs were kept
    t.enter(key, {length + 2, "2026-12-04", "Kadonnut", "poissa.run"});  // its file is gone
    EXPECT_EQ((std::vector<proof>{proof::unproven, proof::unproven, proof::proven, proof::no_run, proof::unproven}),
              prove_table(t, key, board(level)));
    EXPECT_EQ(2, best_proven(t, key, board(level)));
    EXPECT_EQ(length, proven_best_time(t, key, board(level)));

    // The level edited afterwards: one floor cell of row 7 made a wall. Its table, with the
    // same line, proves nothing, and its best is none.
    std::string edited = level;
    const size_t cell = edited.find('.', 7 * 14);
    ASSERT_NE(std::string::npos, cell);
    edited[cell] = '*';
    const std::string edited_key = level_key(edited);
    ASSERT_NE(key, edited_key);
    record_table e;
    e.enter(edited_key, {length, "2026-12-02", "Oikea", "alku.run"});
    EXPECT_EQ(std::vector<proof>{proof::unproven}, prove_table(e, edited_key, board(edited)));
    EXPECT_EQ(0, proven_best_time(e, edited_key, board(edited)));
}

TEST_F(RecordProof, TwoRunsOfOneNameNeverShareAFile)
{
    // "Ämpäri" in Latin-1 becomes "Ampari"; 4,35 s on 8 December 2026.
    const std::string first = new_run_name("\xc4mp\xe4ri", "2026-12-08", 435);
    EXPECT_EQ("Ampari_2026-12-08_0-04,35.run", first);
    std::ofstream(std::string(runs_folder) + "/" + first) << "x";
    EXPECT_EQ("Ampari_2026-12-08_0-04,35_2.run", new_run_name("\xc4mp\xe4ri", "2026-12-08", 435));
    // A link that leads nowhere is a name taken too; the run is kept under the next one, and
    // the file of the first name still holds what it held.
    fs::create_symlink("/nowhere", std::string(runs_folder) + "/Ampari_2026-12-08_0-04,35_2.run");
    run_record run;
    run.board = "00000000000000aa";
    run.tilts = {{1, 2}};
    EXPECT_EQ("Ampari_2026-12-08_0-04,35_3.run", keep_new_run(runs_folder, "\xc4mp\xe4ri", "2026-12-08", 435, run));
    EXPECT_EQ("x", read_file(std::string(runs_folder) + "/" + first));
    EXPECT_FALSE(fs::exists("/nowhere"));
    EXPECT_TRUE(run_name_ok(first));
    EXPECT_FALSE(run_name_ok("../vinkla.cfg.run"));
}

// A run made under other rules is not stepped at all, and both versions are named: on the
// command line and to the player.
TEST_F(RecordProof, RunOfOtherRulesIsRefusedByName)
{
    run_record run;
    std::string why;
    ASSERT_TRUE(load_run(std::string(runs_folder) + "/alku.run", run, why)) << why;
    EXPECT_EQ("", other_rules_verdict(run));
    run.rules = rules_version + 1;
    const replay_result r = replay_run(field::from_text(level), run);
    EXPECT_FALSE(r.won);
    EXPECT_EQ(0, r.frames);
    EXPECT_EQ("made under rules 2, this game has rules 1", r.why);
    EXPECT_EQ("Eri s\xe4\xe4nn\xf6t: 2, peliss\xe4 1", other_rules_verdict(run));
    EXPECT_FALSE(run_proves(run, length, board(level)));
}

#include "menu/editor_recovery.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "field/level_file.h"
#include "platform/text_encoding.h"
#include "support/fakes.h"

namespace fs = std::filesystem;

namespace {

// The recovery files are named in the working folder: each test plays in a folder of its own.
class EditorRecovery : public ::testing::Test {
protected:
    void SetUp() override
    {
        home = fs::current_path();
        dir = make_temp_dir();
        fs::current_path(dir);
    }
    void TearDown() override
    {
        fs::current_path(home);
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    fs::path home;
    std::string dir;
};

const std::string wall_row = "**************\n";
const std::string floor_row = "*............*\n";

// A board of floor but for the start at (1, 1) and a flag at (3, 5).
std::string board()
{
    std::string b = blank_level;
    b[14 + 2] = '.';
    b[3 * 14 + 5] = 'F';
    return b;
}

TEST_F(EditorRecovery, TheBoardAndItsLevelAreKeptUnderTheFirstFreeNameAndReadBack)
{
    std::string expected = wall_row + "*A...........*\n" + floor_row + "*....F.......*\n";
    for (int row = 4; row < 13; row++)
        expected += floor_row;
    expected += wall_row + "noname\n9999\n";
    EXPECT_EQ(recovery_bytes(board().c_str(), ""), expected);
    EXPECT_EQ(recovery_bytes(board().c_str(), L1("omat/kenttä.vkl")), expected + L1("# tiedosto: omat/kenttä.vkl\n"));
    // A name over two lines would read back as another level: the board is kept as a new one.
    EXPECT_EQ(recovery_bytes(board().c_str(), "a.vkl\n# tiedosto: b.vkl"), expected);

    EXPECT_EQ(waiting_recovery(), "");
    ASSERT_TRUE(keep_unsaved_board(board().c_str(), L1("omat/kenttä.vkl")));
    ASSERT_TRUE(keep_unsaved_board(blank_level, ""));  // one already waits: never written over
    EXPECT_EQ(read_file("vinkla.palautus"), expected + L1("# tiedosto: omat/kenttä.vkl\n"));
    EXPECT_EQ(waiting_recovery(), "vinkla.palautus");

    std::string kept, level;
    ASSERT_TRUE(read_kept_board("vinkla.palautus", kept, level));
    EXPECT_EQ(kept, board());
    EXPECT_EQ(level, L1("omat/kenttä.vkl"));
    ASSERT_TRUE(read_kept_board("vinkla.palautus.1", kept, level));
    EXPECT_EQ(kept, std::string(blank_level));
    EXPECT_EQ(level, "");

    // Cut short inside its last line, the file names no level rather than half a path.
    write_file("vinkla.palautus", expected + "# tiedosto: omat/ken");
    ASSERT_TRUE(read_kept_board("vinkla.palautus", kept, level));
    EXPECT_EQ(level, "");
    fs::remove("vinkla.palautus");
    EXPECT_EQ(waiting_recovery(), "vinkla.palautus.1");
}

TEST_F(EditorRecovery, ALinkInARecoveryNameIsNeitherWrittenThroughNorOffered)
{
    const std::string elsewhere = dir + "/muu.txt";
    write_file(elsewhere, L1("tärkeä\n"));
    fs::create_symlink(elsewhere, "vinkla.palautus");
    fs::create_symlink(dir + "/ei_ole", "vinkla.palautus.1");
    EXPECT_EQ(waiting_recovery(), "");
    ASSERT_TRUE(keep_unsaved_board(board().c_str(), ""));
    EXPECT_EQ(read_file(elsewhere), L1("tärkeä\n"));
    EXPECT_FALSE(fs::exists(dir + "/ei_ole"));
    EXPECT_EQ(waiting_recovery(), "vinkla.palautus.2");

    // All ten names taken: nothing is written, and the player's files stay.
    for (int n = 3; n <= 9; n++)
        write_file("vinkla.palautus." + std::to_string(n), "");
    EXPECT_FALSE(keep_unsaved_board(board().c_str(), ""));
}

}  // namespace

// Links: where the game may write through one and where it must not.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/replace_file.h"
#include "platform/text_encoding.h"
#include "support/fakes.h"

namespace fs = std::filesystem;

TEST(ReplaceFile, ALinkIsFollowedOnlyToAFileThatIsThere)
{
    const std::string dir = make_temp_dir(), outside = make_temp_dir();
    const std::string kept = outside + "/oma.txt";
    write_file(kept, "pelaajan oma\n");

    // A level through a link replaces the file it points at (the editor asks first).
    fs::create_symlink(kept, dir + "/kentta.vkl");
    EXPECT_TRUE(replace_file(dir + "/kentta.vkl", "uusi\n"));
    EXPECT_EQ("uusi\n", read_file(kept));
    EXPECT_TRUE(fs::is_symlink(dir + "/kentta.vkl"));
    // The game's own files are not written through one at all.
    write_file(kept, "pelaajan oma\n");
    fs::create_symlink(kept, dir + "/vinkla.rec");
    EXPECT_EQ(own_write::link, replace_own_file(dir + "/vinkla.rec", L1("ennätykset\n")));
    EXPECT_EQ("pelaajan oma\n", read_file(kept));

    // A link to nothing, or round in a loop, makes no file anywhere.
    fs::create_symlink(outside + "/uusi.txt", dir + "/tyhja.vkl");
    EXPECT_FALSE(replace_file(dir + "/tyhja.vkl", "uusi\n"));
    fs::create_symlink("silmukka.vkl", dir + "/silmukka.vkl");
    EXPECT_FALSE(replace_file(dir + "/silmukka.vkl", "uusi\n"));
    EXPECT_EQ(1u, std::distance(fs::directory_iterator(outside), fs::directory_iterator()));
    EXPECT_TRUE(fs::is_symlink(dir + "/tyhja.vkl"));
    EXPECT_EQ(4u, std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
    fs::remove_all(dir);
    fs::remove_all(outside);
}

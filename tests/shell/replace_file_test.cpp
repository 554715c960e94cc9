// Links and new files: where the game may write and where it must not.
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <string>

#include "shell/replace_file.h"
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
    EXPECT_EQ(own_write::link, replace_own_file(dir + "/vinkla.rec", "ennätykset\n"));
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

TEST(ReplaceFile, ANewFileIsMadeOnlyWhereNothingIs)
{
    const std::string dir = make_temp_dir(), outside = make_temp_dir();
    EXPECT_EQ(new_file::made, create_new_file(dir + "/a.bak", "kopio\n", 0600));
    EXPECT_EQ("kopio\n", read_file(dir + "/a.bak"));
    EXPECT_EQ(new_file::taken, create_new_file(dir + "/a.bak", "toinen\n", 0600));
    EXPECT_EQ("kopio\n", read_file(dir + "/a.bak"));

    write_file(outside + "/oma.txt", "oma\n");
    fs::create_symlink(outside + "/oma.txt", dir + "/b.bak");
    fs::create_symlink(outside + "/puuttuu", dir + "/c.bak");
    EXPECT_EQ(new_file::taken, create_new_file(dir + "/b.bak", "kopio\n", 0600));
    EXPECT_EQ(new_file::taken, create_new_file(dir + "/c.bak", "kopio\n", 0600));
    EXPECT_EQ("oma\n", read_file(outside + "/oma.txt"));
    EXPECT_FALSE(fs::exists(outside + "/puuttuu"));
    EXPECT_EQ(new_file::failed, create_new_file(dir + "/ei/ole/d.bak", "kopio\n", 0600));

    // A full disk: no half copy is left behind.
    rlimit limit;
    getrlimit(RLIMIT_FSIZE, &limit);
    const rlimit saved = limit;
    void (*handler)(int) = std::signal(SIGXFSZ, SIG_IGN);
    limit.rlim_cur = 4;
    setrlimit(RLIMIT_FSIZE, &limit);
    const new_file full = create_new_file(dir + "/e.bak", "kopio\n", 0600);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, handler);
    EXPECT_EQ(new_file::failed, full);
    EXPECT_FALSE(fs::exists(dir + "/e.bak"));
    fs::remove_all(dir);
    fs::remove_all(outside);
}

// The one opener of files that come from anywhere: what is not a regular file is refused at
// once, a pipe included, and no more than the limit is read.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/file_read.h"
#include "support/fakes.h"
#include "support/unprivileged.h"

namespace fs = std::filesystem;

TEST(FileRead, OnlyARegularFileIsRead)
{
    const std::string dir = make_temp_dir();
    write_file(dir + "/taso.vkl", "abcdef");
    std::string bytes = "left over";
    EXPECT_EQ(file_read::read, read_regular(dir + "/taso.vkl", 6, bytes));
    EXPECT_EQ("abcdef", bytes);
    // One byte over the limit: the first five, and the file said to be longer.
    EXPECT_EQ(file_read::too_long, read_regular(dir + "/taso.vkl", 5, bytes));
    EXPECT_EQ("abcde", bytes);
    write_file(dir + "/tyhja.vkl", "");
    EXPECT_EQ(file_read::read, read_regular(dir + "/tyhja.vkl", 5, bytes));
    EXPECT_EQ("", bytes);

    // A pipe with no writer: its open would wait for one for ever without O_NONBLOCK.
    ASSERT_EQ(0, mkfifo((dir + "/putki.run").c_str(), 0600));
    EXPECT_EQ(file_read::not_regular, read_regular(dir + "/putki.run", 100, bytes));
    EXPECT_EQ("", bytes);
    fs::create_directory(dir + "/kansio.vkl");
    EXPECT_EQ(file_read::not_regular, read_regular(dir + "/kansio.vkl", 100, bytes));
    EXPECT_EQ(file_read::not_regular, read_regular("/dev/zero", 100, bytes));
    EXPECT_EQ(file_read::missing, read_regular(dir + "/poissa.vkl", 100, bytes));
    EXPECT_EQ(file_read::missing, read_regular("", 100, bytes));
    EXPECT_STREQ("cannot be read: not a regular file", file_read_failure(file_read::not_regular));

    // A link is followed where links are allowed, to a file and to a pipe alike (refused then),
    // and refused where they are not.
    fs::create_symlink(dir + "/taso.vkl", dir + "/linkki.vkl");
    fs::create_symlink(dir + "/putki.run", dir + "/linkki.run");
    EXPECT_EQ(file_read::read, read_regular(dir + "/linkki.vkl", 100, bytes));
    EXPECT_EQ("abcdef", bytes);
    EXPECT_EQ(file_read::not_regular, read_regular(dir + "/linkki.run", 100, bytes));
    EXPECT_EQ(file_read::not_regular, read_regular(dir + "/linkki.vkl", 100, bytes, file_links::refuse));
    EXPECT_EQ(file_read::read, read_regular(dir + "/taso.vkl", 100, bytes, file_links::refuse));

    // The descriptor given reads as a blocking one, and is not handed to programs started.
    file_read why;
    const int fd = open_regular(dir + "/taso.vkl", why);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(file_read::read, why);
    EXPECT_EQ(0, fcntl(fd, F_GETFL) & O_NONBLOCK);
    EXPECT_NE(0, fcntl(fd, F_GETFD) & FD_CLOEXEC);
    close(fd);
    EXPECT_EQ(-1, open_regular(dir + "/putki.run", why));
    EXPECT_EQ(file_read::not_regular, why);

    // A file the player may not read.
    write_file(dir + "/salainen.vkl", "x");
    fs::permissions(dir + "/salainen.vkl", fs::perms::owner_write);
    give_to_player(dir + "/salainen.vkl");
    EXPECT_TRUE(as_player([&] {
        std::string b;
        return read_regular(dir + "/salainen.vkl", 100, b) == file_read::failed;
    }));
    fs::remove_all(dir);
}

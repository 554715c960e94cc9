#include "field/file_select.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "support/fakes.h"

TEST(LoadFieldFile, OffersTheDefaultLevelAndReturnsTheChoice)
{
    bool rest_was_zero = false;
    fake::file_select_hook = [&](char *path, int size) {
        rest_was_zero = true;
        for (int i = 16; i < 600; i++)
            rest_was_zero = rest_was_zero && path[i] == 0;
        EXPECT_EQ(599, size);
        std::strcpy(path, "/levels/kuja.vkl");
        return -1;
    };
    EXPECT_EQ("/levels/kuja.vkl", load_field_file("current.vkl"));
    ASSERT_EQ(1u, fake::file_selects.size());
    const fake::FileSelectCall &call = fake::file_selects[0];
    EXPECT_EQ("Valitse labyrintti", call.message);
    EXPECT_EQ("standardfile.vkl", call.path);
    EXPECT_EQ("vkl", call.ext);
    EXPECT_EQ(599, call.size);
    EXPECT_EQ(500, call.w);
    EXPECT_EQ(400, call.h);
    EXPECT_TRUE(rest_was_zero) << "the buffer after the default name must be zeros";
}

TEST(LoadFieldFile, CancelKeepsTheCurrentName)
{
    fake::file_select_hook = [](char *path, int) {
        std::strcpy(path, "/levels/other.vkl");
        return 0;
    };
    EXPECT_EQ("current.vkl", load_field_file("current.vkl"));
    EXPECT_EQ("", load_field_file(""));
    // Even when the player did not change the offered name, the default is not returned on cancel.
    fake::file_select_hook = [](char *, int) { return 0; };
    EXPECT_EQ("mine.vkl", load_field_file("mine.vkl"));
}

TEST(LoadFieldFile, AcceptedEmptyNameKeepsTheCurrentName)
{
    fake::file_select_hook = [](char *path, int) {
        path[0] = 0;
        return -1;
    };
    EXPECT_EQ("current.vkl", load_field_file("current.vkl"));
}

TEST(SetSaveFileName, OffersThePresentNameAndLeavesTheChoice)
{
    char path[600];
    fake::file_select_hook = [](char *p, int) {
        std::strcpy(p, "/tmp/uusi.vkl");
        return -1;
    };
    set_save_file_name("levels/vanha.vkl", path);
    EXPECT_STREQ("/tmp/uusi.vkl", path);
    ASSERT_EQ(1u, fake::file_selects.size());
    const fake::FileSelectCall &call = fake::file_selects[0];
    EXPECT_EQ("Tallenna kenttä", call.message);
    EXPECT_EQ("levels/vanha.vkl", call.path);
    EXPECT_EQ("vkl", call.ext);
    EXPECT_EQ(599, call.size);
    EXPECT_EQ(400, call.w);
    EXPECT_EQ(300, call.h);

    // Accepting the offered name unchanged saves under it.
    fake::file_select_hook = [](char *, int) { return -1; };
    set_save_file_name("nimeton.vkl", path);
    EXPECT_STREQ("nimeton.vkl", path);
}

TEST(SetSaveFileName, CancelEmptiesThePath)
{
    char path[600];
    std::strcpy(path, "left over");
    fake::file_select_hook = [](char *, int) { return 0; };
    set_save_file_name("vanha.vkl", path);
    EXPECT_STREQ("", path);
}

TEST(SetSaveFileName, OverlongNameStaysInsideTheBuffer)
{
    // An exact 600-byte heap block: the sanitizer build catches any write past it.
    std::unique_ptr<char[]> path(new char[600]);
    std::string overlong(700, 'a');
    size_t offered = 0;
    fake::file_select_hook = [&](char *p, int size) {
        offered = std::strlen(p);
        EXPECT_LT(offered, static_cast<size_t>(size));
        return -1;
    };
    set_save_file_name(overlong, path.get());
    EXPECT_EQ(598u, offered);
    EXPECT_EQ(598u, std::strlen(path.get()));
    EXPECT_EQ(std::string(598, 'a'), path.get());

    // Exactly at the limit: 598 characters and the terminator fill the selector's 599.
    std::string at_limit(598, 'b');
    set_save_file_name(at_limit, path.get());
    EXPECT_EQ(at_limit, path.get());
}

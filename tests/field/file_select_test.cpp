#include "field/file_select.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "support/fakes.h"

TEST(LoadFieldFile, OffersTheCurrentLevelAndReturnsTheChoice)
{
    bool rest_was_zero = false;
    fake::file_select_hook = [&](char *path, int size) {
        rest_was_zero = true;
        for (int i = 11; i < path_buffer_size; i++)
            rest_was_zero = rest_was_zero && path[i] == 0;
        EXPECT_EQ(path_buffer_size - 1, size);
        std::strcpy(path, "/levels/kuja.vkl");
        return -1;
    };
    EXPECT_EQ("/levels/kuja.vkl", load_field_file("current.vkl"));
    ASSERT_EQ(1u, fake::file_selects.size());
    const fake::FileSelectCall &call = fake::file_selects[0];
    EXPECT_EQ("Valitse labyrintti", call.message);
    EXPECT_EQ("current.vkl", call.path);
    EXPECT_EQ("vkl;vkr", call.ext);  // levels, and runs shared with their boards
    EXPECT_EQ(path_buffer_size - 1, call.size);
    EXPECT_EQ(500, call.w);
    EXPECT_EQ(400, call.h);
    EXPECT_TRUE(rest_was_zero) << "the buffer after the offered name must be zeros";
    // With no level yet (the editor's own Avaa) the standard level is offered.
    load_field_file("");
    EXPECT_EQ("standardfile.vkl", fake::file_selects.back().path);
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
    // Told apart from choosing the offered file itself, which the select then plays.
    std::string chosen = "none";
    EXPECT_FALSE(choose_field_file("mine.vkl", chosen));
    EXPECT_EQ("none", chosen);
    fake::file_select_hook = [](char *, int) { return -1; };
    EXPECT_TRUE(choose_field_file("mine.vkl", chosen));
    EXPECT_EQ("mine.vkl", chosen);
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
    char path[path_buffer_size];
    fake::file_select_hook = [](char *p, int) {
        std::strcpy(p, "/tmp/uusi.vkl");
        return -1;
    };
    set_save_file_name("levels/vanha.vkl", path);
    EXPECT_STREQ("/tmp/uusi.vkl", path);
    ASSERT_EQ(1u, fake::file_selects.size());
    const fake::FileSelectCall &call = fake::file_selects[0];
    EXPECT_EQ("Tallenna kentt\xc3\xa4", call.message) << "the chooser runs in UTF-8";
    EXPECT_EQ("levels/vanha.vkl", call.path);
    EXPECT_EQ("vkl", call.ext);
    EXPECT_EQ(path_buffer_size - 1, call.size);
    EXPECT_EQ(400, call.w);
    EXPECT_EQ(300, call.h);

    // Accepting the offered name unchanged saves under it.
    fake::file_select_hook = [](char *, int) { return -1; };
    set_save_file_name("nimeton.vkl", path);
    EXPECT_STREQ("nimeton.vkl", path);
}

TEST(SetSaveFileName, CancelEmptiesThePath)
{
    char path[path_buffer_size];
    std::strcpy(path, "left over");
    fake::file_select_hook = [](char *, int) { return 0; };
    set_save_file_name("vanha.vkl", path);
    EXPECT_STREQ("", path);
}

TEST(SetSaveFileName, OverlongNameStaysInsideTheBuffer)
{
    // An exact heap block: the sanitizer build catches any write past it.
    std::unique_ptr<char[]> path(new char[path_buffer_size]);
    std::string overlong(path_buffer_size + 100, 'a');
    size_t offered = 0;
    fake::file_select_hook = [&](char *p, int size) {
        offered = std::strlen(p);
        EXPECT_LT(offered, static_cast<size_t>(size));
        return -1;
    };
    set_save_file_name(overlong, path.get());
    const size_t longest = path_buffer_size - 2;
    EXPECT_EQ(longest, offered);
    EXPECT_EQ(longest, std::strlen(path.get()));
    EXPECT_EQ(std::string(longest, 'a'), path.get());

    // Exactly at the limit: the name and the terminator fill what the selector may use.
    std::string at_limit(longest, 'b');
    set_save_file_name(at_limit, path.get());
    EXPECT_EQ(at_limit, path.get());
}

// The chooser works in the library's UTF-8 format: folder and file names with Finnish letters
// reach it and come back byte for byte; the game's Latin-1 format is back afterwards.
TEST(Choosers, PassUtf8NamesThroughUnchanged)
{
    const std::string finnish = "/home/p\xc3\xa4ivi/Ty\xc3\xb6p\xc3\xb6yt\xc3\xa4/kentt\xc3\xa4.vkl";
    int format_inside = 0, names_inside = 0;
    fake::file_select_hook = [&](char *path, int) {
        format_inside = get_uformat();
        names_inside = get_filename_encoding();
        std::strcpy(path, finnish.c_str());
        return -1;
    };
    EXPECT_EQ(finnish, load_field_file("x.vkl"));
    EXPECT_EQ(U_UTF8, format_inside);
    EXPECT_EQ(U_UTF8, names_inside);
    EXPECT_EQ(U_ASCII, get_uformat());

    char path[path_buffer_size];
    set_save_file_name(finnish, path);
    EXPECT_EQ(finnish, fake::file_selects.back().path) << "the present name is offered unchanged";
    EXPECT_EQ(finnish, path);
    EXPECT_EQ(U_ASCII, get_uformat());

    // A start path of Latin-1 bytes (a hand-edited configuration) reaches the chooser as the
    // same letters in UTF-8; one too long for the buffer is cut between two letters.
    set_save_file_name("/p\xe4ivi/k\xe4.vkl", path);
    EXPECT_EQ("/p\xc3\xa4ivi/k\xc3\xa4.vkl", fake::file_selects.back().path);
    // The chooser may hold 2,398 bytes: a slash and 1,198 letters of two bytes, not half a 1,199th.
    set_save_file_name("/" + std::string(path_buffer_size, '\xe4'), path);
    std::string ae = "/";
    for (int i = 0; i < 1198; i++)
        ae += "\xc3\xa4";
    EXPECT_EQ(ae, fake::file_selects.back().path);

    // In an alert the name shows in Latin-1; a letter outside it becomes a mark.
    EXPECT_EQ("kentt\xe4.vkl", shown_file_name(finnish));
    EXPECT_EQ("^.vkl", shown_file_name("/x/\xe2\x82\xac.vkl"));
}

namespace {
// Like the chooser's own field: no letter past ASCII.
int ascii_edit(int msg, DIALOG *d, int c)
{
    if (msg == MSG_UCHAR && c > 127)
        return D_O_K;
    return d_edit_proc(msg, d, c);
}

// Saving through a chooser whose field holds "oma_kentt" and at most `room` bytes (0: what the
// chooser allows) while ä (U+00E4) is typed; the path the save takes comes back.
std::string save_typing_a_with_room(int room)
{
    DIALOG chooser[2] = {};
    fake::file_select_hook = [&](char *path, int size) {
        std::strcpy(path, "oma_kentt");
        chooser[0] = {ascii_edit, 0, 0, 100, 10, 0, 0, 0, 0, room ? room : size, 9, path, nullptr, nullptr};
        active_dialog = chooser;
        gui_mouse_b();  // the dialog manager reads the buttons
        chooser[0].proc(MSG_UCHAR, &chooser[0], 0xE4);
        active_dialog = nullptr;
        return -1;
    };
    char path[path_buffer_size];
    set_save_file_name("x.vkl", path);
    return path;
}

}  // namespace

// The chooser's field takes every letter the keyboard gives: "oma_kentt" and then ä (C3 A4 in
// UTF-8) makes "oma_kenttä".
TEST(SaveFileName, TheChooserTakesFinnishLetters)
{
    EXPECT_EQ("oma_kentt\xc3\xa4", save_typing_a_with_room(0));
    EXPECT_TRUE(fake::alerts.empty());
}

// A letter that does not get in (here the field is full) is not dropped without a word: an
// alert says so and nothing is saved.
TEST(SaveFileName, ALetterLeftOutIsToldAndNothingSaved)
{
    EXPECT_EQ("", save_typing_a_with_room(9));
    ASSERT_EQ(1u, fake::alerts.size());
    EXPECT_EQ("Kaikki kirjoitetut kirjaimet eiv\xe4t mahtuneet nimeen", fake::alerts[0].s1);
    EXPECT_EQ("oma_kentt", fake::alerts[0].s2);
    EXPECT_EQ("Kentt\xe4\xe4 ei tallennettu.", fake::alerts[0].s3);
}

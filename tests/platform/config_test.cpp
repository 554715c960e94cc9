#include <allegro.h>
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <utility>

#include "platform/config.h"
#include "support/fakes.h"

namespace fs = std::filesystem;

namespace {

// Each case reads a vinkla.cfg of its own, written as a player might have left it.
void use_config(const std::string &text)
{
    const std::string path = make_temp_dir() + "/vinkla.cfg";
    write_file(path, text);
    config_open(path.c_str());
}

}  // namespace

TEST(Config, MissingFileGivesTheDefaults)
{
    const std::string path = make_temp_dir() + "/vinkla.cfg";
    config_open(path.c_str());
    EXPECT_EQ(config_volume("sound"), 136);
    EXPECT_EQ(config_volume("music"), 136);
    EXPECT_EQ(config_lastgame(), "standardfile.vkl");
}

TEST(Config, ReadsWhatTheGameWrote)
{
    use_config("[settings]\nsound = 51\nmusic = 0\nlastgame = omat/kierre.vkl\n");
    EXPECT_EQ(config_volume("sound"), 51);
    EXPECT_EQ(config_volume("music"), 0);
    EXPECT_EQ(config_lastgame(), "omat/kierre.vkl");
}

TEST(Config, KeysOutsideTheSectionDoNotCount)
{
    use_config("sound = 17\n[muut]\nmusic = 34\nlastgame = vaara.vkl\n[settings]\n");
    EXPECT_EQ(config_volume("sound"), 136);
    EXPECT_EQ(config_volume("music"), 136);
    EXPECT_EQ(config_lastgame(), "standardfile.vkl");
}

TEST(Config, VolumesOutOfRangeAreClamped)
{
    use_config("[settings]\nsound = 300\nmusic = -5\n");
    EXPECT_EQ(config_volume("sound"), 255);
    EXPECT_EQ(config_volume("music"), 0);

    use_config("[settings]\nsound = 99999999999999999999999\nmusic = -99999999999999999999999\n");
    EXPECT_EQ(config_volume("sound"), 255);
    EXPECT_EQ(config_volume("music"), 0);

    use_config("[settings]\nsound = 255\nmusic = 256\n");
    EXPECT_EQ(config_volume("sound"), 255);
    EXPECT_EQ(config_volume("music"), 255);
}

// As get_config_int reads them (strtol with base 0), but a value with no number at all keeps
// the default instead of becoming 0 (silence).
TEST(Config, VolumesAreReadAsTheLibraryReadsIntegers)
{
    const std::pair<const char *, int> cases[] = {
        {"0x80", 128}, {"0X1f", 31}, {"010", 8},    {"0377", 255}, {"12abc", 12},
        {"1e3", 1},    {"+17", 17},  {"  68  ", 68}, {"-0x10", 0},  {"0x", 0},
        {"08", 0},     {"0xfff", 255}, {"kova", 136}, {"", 136},    {"x12", 136},
        {"nan", 136},  {"-", 136},   {"0,5", 0}};
    for (const auto &c : cases) {
        use_config(std::string("[settings]\nsound = ") + c.first + "\n");
        EXPECT_EQ(config_volume("sound"), c.second) << c.first;
        EXPECT_EQ(config_volume("music"), 136);
    }
}

TEST(Config, EmptyLastgameFallsBackToTheStandardLevel)
{
    use_config("[settings]\nlastgame =\n");
    EXPECT_EQ(config_lastgame(), "standardfile.vkl");
}

TEST(Config, BinaryJunkIsReadWithoutHarm)
{
    std::string junk = "[settings]\nsound = ";
    for (int i = 1; i < 256; ++i)
        junk += static_cast<char>(i == '\n' ? 'x' : i);
    junk += "\nlastgame = x.vkl\n\x01\x02[settings\n";
    use_config(junk);
    EXPECT_EQ(config_volume("sound"), 136);
    EXPECT_EQ(config_volume("music"), 136);
    EXPECT_FALSE(config_lastgame().empty());
}

// The library's own parser loops forever on some bytes that are no UTF-8 (a lead byte 0xFE or
// 0xFF before six or seven continuation bytes) and writes past its line buffer when a letter
// of several bytes crosses a line's 256th byte. Such lines are read whole all the same, the
// game's keys with their bytes exactly as the file holds them.
TEST(Config, LinesTheLibraryCannotParseAreReadExactly)
{
    use_config("\xff\x91\x91\x91\x91\x91\x91\x91\n\xfe\x91\x91\x91\x91\x91\x91\n"
               "[settings]\nsound = 7\nlastgame = k\xe4ytt\xf6.vkl\n");
    EXPECT_EQ(config_volume("sound"), 7);
    EXPECT_EQ(config_lastgame(), "k\xe4ytt\xf6.vkl");

    std::string path = "Ty\xc3\xb6p\xc3\xb6yt\xc3\xa4/";
    for (int i = 0; i < 60; i++)
        path += "p\xc3\xa4iv\xc3\xa4/";
    path += "\xf0\x9f\x8e\xb2.vkl";
    for (size_t cut : {path.size(), size_t(248), size_t(249), size_t(250), size_t(251)}) {
        const std::string name = path.substr(0, cut);
        use_config("[muut]\nx = " + name + "\n[settings]\nlastgame = " + name + "\nmusic = 9\n");
        EXPECT_EQ(config_lastgame(), name) << cut;
        EXPECT_EQ(config_volume("music"), 9);
    }
    // The first of two equal keys counts, whichever holds letters beyond ASCII.
    use_config("[settings]\nLastGame = \xc3\xa4.vkl\nlastgame = a.vkl\n");
    EXPECT_EQ(config_lastgame(), "\xc3\xa4.vkl");
    use_config("[settings]\nlastgame = a.vkl\nlastgame = \xc3\xa4.vkl\n");
    EXPECT_EQ(config_lastgame(), "a.vkl");
}

TEST(Config, ALongLevelNameIsReadWhole)
{
    const std::string name = "tasot/" + std::string(3000, 'a') + ".vkl";
    use_config("[settings]\nlastgame = " + name + "\n");
    EXPECT_EQ(config_lastgame(), name);
}

// ---- Writing: only the game's keys change ----

TEST(ConfigMerge, OnlyTheGamesKeysChangeAndEveryOtherLineStays)
{
    const std::string file =
        "# vinkla\n"
        "top = 1\n"
        "\n"
        "[sound]\n"
        "patches = /x/patches.dat   \n"
        "# the music driver\n"
        "[Settings]\n"
        "friction = 0.98\n"
        "Sound=51\n"
        "  # old: music = 10\n"
        "\n"
        "[omat]\n"
        "muistiin = sound = 3\n"
        "[settings]\n"
        "lastgame = vanha.vkl\n";
    const setting_values values = {{"sound", "68"}, {"music", "34"}, {"lastgame", "uusi.vkl"}};
    // Sound keeps its own spelling; music, missing, joins the first [settings] section after its
    // last key; lastgame is changed where the library reads it, in the second one.
    EXPECT_EQ(merge_settings(file, values),
              "# vinkla\n"
              "top = 1\n"
              "\n"
              "[sound]\n"
              "patches = /x/patches.dat   \n"
              "# the music driver\n"
              "[Settings]\n"
              "friction = 0.98\n"
              "Sound=68\n"
              "music = 34\n"
              "  # old: music = 10\n"
              "\n"
              "[omat]\n"
              "muistiin = sound = 3\n"
              "[settings]\n"
              "lastgame = uusi.vkl\n");
    // Values that are already there change nothing.
    const std::string merged = merge_settings(file, values);
    EXPECT_EQ(merge_settings(merged, values), merged);
}

TEST(ConfigMerge, MissingSectionsAndOddLines)
{
    const setting_values music = {{"music", "34"}};
    EXPECT_EQ(merge_settings("", music), "[settings]\nmusic = 34\n");
    // A last line without its line end; a section that only looks like [settings].
    EXPECT_EQ(merge_settings("[ settings ]\nmusic = 1", music),
              "[ settings ]\nmusic = 1\n[settings]\nmusic = 34\n");
    // A header with text after it is still [settings]; an empty section takes the key first.
    EXPECT_EQ(merge_settings("[settings] # mine\n\n[x]\n", music),
              "[settings] # mine\nmusic = 34\n\n[x]\n");
    EXPECT_EQ(merge_settings("[settings]\nsound = 1", music), "[settings]\nsound = 1\nmusic = 34\n");
    // Empty and bare keys get a value; a comment is no key.
    EXPECT_EQ(merge_settings("[settings]\n#music = 1\nmusic =\n", music),
              "[settings]\n#music = 1\nmusic = 34\n");
    EXPECT_EQ(merge_settings("[settings]\n\tmusic\n", music), "[settings]\n\tmusic = 34\n");
    EXPECT_EQ(merge_settings("[settings]\nmusic==17  \n", music), "[settings]\nmusic==34\n");
    // Windows line ends stay Windows line ends.
    EXPECT_EQ(merge_settings("[omat]\r\nx = 1\r\n[settings]\r\nsound = 2\r\n", music),
              "[omat]\r\nx = 1\r\n[settings]\r\nsound = 2\r\nmusic = 34\r\n");
}

TEST(ConfigMerge, WhatIsSavedIsReadBack)
{
    const std::string dir = make_temp_dir();
    const std::string path = dir + "/vinkla.cfg";
    write_file(path, "[settings]\nsound = 0x80\n[sound]\npatches = p.dat\n");
    config_open(path.c_str());
    EXPECT_EQ(config_volume("sound"), 128);
    // The settings dialog and the level chosen mark what this copy of the game changed.
    config_set_changed("music", "51");
    config_set_changed("lastgame", "tasot/kierre.vkl");
    EXPECT_EQ(config_volume("music"), 51);
    ASSERT_TRUE(config_save(path.c_str()));
    // The untouched volume keeps the player's spelling.
    EXPECT_EQ(read_file(path),
              "[settings]\nsound = 0x80\nmusic = 51\nlastgame = tasot/kierre.vkl\n[sound]\npatches = p.dat\n");
    config_open(path.c_str());
    EXPECT_EQ(config_volume("sound"), 128);
    EXPECT_EQ(config_volume("music"), 51);
    EXPECT_EQ(config_lastgame(), "tasot/kierre.vkl");
    EXPECT_STREQ(get_config_string("sound", "patches", ""), "p.dat");

    // Nothing changed: nothing is written, so a folder that takes no file is no failure.
    const auto before = fs::last_write_time(path);
    chmod(dir.c_str(), 0500);
    EXPECT_TRUE(config_save(path.c_str()));
    chmod(dir.c_str(), 0700);
    EXPECT_EQ(fs::last_write_time(path), before);

    // A level name over two lines cannot be stored: the old one stays.
    config_set_changed("lastgame", "a\nlastgame = b");
    EXPECT_TRUE(config_save(path.c_str()));
    EXPECT_EQ(read_file(path),
              "[settings]\nsound = 0x80\nmusic = 51\nlastgame = tasot/kierre.vkl\n[sound]\npatches = p.dat\n");

    // A second copy of the game changed the sound and a level meanwhile: this copy writes
    // only what it changed itself, over the file as it is now.
    config_set_changed("lastgame", "oma.vkl");
    write_file(path, "[settings]\nsound = 200\nmusic = 51\nlastgame = muu.vkl\n");
    EXPECT_TRUE(config_save(path.c_str()));
    EXPECT_EQ(read_file(path), "[settings]\nsound = 200\nmusic = 51\nlastgame = oma.vkl\n");

    // Through a link the file is never written, wherever the link points.
    const std::string elsewhere = dir + "/passwd";
    write_file(elsewhere, "root:x:0:0\n");
    fs::remove(path);
    fs::create_symlink(elsewhere, path);
    config_set_changed("music", "52");
    EXPECT_FALSE(config_save(path.c_str()));
    EXPECT_EQ(read_file(elsewhere), "root:x:0:0\n");
    fs::remove(path);
    fs::create_symlink(dir + "/nowhere", path);
    EXPECT_FALSE(config_save(path.c_str()));
    EXPECT_FALSE(fs::exists(dir + "/nowhere"));
    set_config_file((dir + "/muu.cfg").c_str());
    fs::remove_all(dir);
}

// Where the library's reading has quirks, the merge follows it: a section is "[name]" up to a
// blank or '#', a key up to a blank, '=' or '#', a NUL ends what is read of a line, and a lone
// carriage return ends a line.
TEST(ConfigMerge, FollowsTheLibrarysReading)
{
    using namespace std::string_literals;
    const setting_values music = {{"music", "34"}};
    EXPECT_EQ(merge_settings("[settings]x\nmusic = 1\n", music),
              "[settings]x\nmusic = 1\n[settings]\nmusic = 34\n");
    EXPECT_EQ(merge_settings("[settings]\tx]\nmusic = 1\n", music), "[settings]\tx]\nmusic = 34\n");
    EXPECT_EQ(merge_settings("[settings]\0x\nmusic = 1\n"s, music),
              "[settings]\0x\nmusic = 34\n"s);
    EXPECT_EQ(merge_settings("[settings]#\nmusic#1\n", music), "[settings]#\nmusic = 34\n");
    EXPECT_EQ(merge_settings("[omat]\rmusic = 1\r[settings]\rsound = 2", music),
              "[omat]\rmusic = 1\r[settings]\rsound = 2\rmusic = 34\r");
    for (const std::string &text : {"[settings]\0x\nmusic = 1\n"s,
                                    std::string("[omat]\rmusic = 1\r[settings]\rsound = 2"),
                                    std::string("[settings]x\nmusic = 1\n"),
                                    std::string("[settings]#\nmusic#1\n")}) {
        const std::string merged = merge_settings(text, music);
        set_config_data(merged.data(), static_cast<int>(merged.size()));
        EXPECT_STREQ(get_config_string("settings", "music", ""), "34");
    }
}

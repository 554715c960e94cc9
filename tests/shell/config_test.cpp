#include <allegro.h>
#include <gtest/gtest.h>

#include <string>

#include "shell/config.h"
#include "support/fakes.h"

namespace {

// Each case reads a vinkla.cfg of its own, written as a player might have left it.
void use_config(const std::string &text)
{
    const std::string path = make_temp_dir() + "/vinkla.cfg";
    write_file(path, text);
    set_config_file(path.c_str());
}

}  // namespace

TEST(Config, MissingFileGivesTheDefaults)
{
    const std::string path = make_temp_dir() + "/vinkla.cfg";
    set_config_file(path.c_str());
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

TEST(Config, VolumesThatAreNoNumberFallBackToTheDefault)
{
    // get_config_int alone would read "kova" as 0 (silence) and "12abc" as 12.
    use_config("[settings]\nsound = kova\nmusic = 12abc\n");
    EXPECT_EQ(config_volume("sound"), 136);
    EXPECT_EQ(config_volume("music"), 136);

    use_config("[settings]\nsound =\nmusic = 0x80\n");
    EXPECT_EQ(config_volume("sound"), 136);
    EXPECT_EQ(config_volume("music"), 136);

    use_config("[settings]\nsound =   68  \nmusic = +17\n");
    EXPECT_EQ(config_volume("sound"), 68);
    EXPECT_EQ(config_volume("music"), 17);
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

TEST(Config, ALongLevelNameIsReadWhole)
{
    const std::string name = "tasot/" + std::string(3000, 'a') + ".vkl";
    use_config("[settings]\nlastgame = " + name + "\n");
    EXPECT_EQ(config_lastgame(), name);
}

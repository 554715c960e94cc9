#include <allegro.h>
#include <gtest/gtest.h>

#include <string>

#include "platform/library_texts.h"
#include "support/fakes.h"

TEST(LibraryTexts, TheFileChoosersButtonsAskForFinnishWords)
{
    const std::string path = make_temp_dir() + "/vinkla.cfg";
    // Even a configuration file with words of its own does not bring English back.
    write_file(path, "[language]\nOK = OK\nCancel = Cancel\n[settings]\nsound = 17\n");
    set_config_file(path.c_str());
    use_finnish_library_texts();
    EXPECT_STREQ(get_config_text("OK"), "Ok");
    EXPECT_STREQ(get_config_text("Cancel"), "Peruuta");
    // The player's settings are read and written as before, and the words are not written.
    EXPECT_EQ(get_config_int("settings", "sound", 0), 17);
    set_config_int("settings", "music", 34);
    flush_config_file();
    std::string written = read_file(path);
    EXPECT_EQ(written.find("Peruuta"), std::string::npos) << written;
    EXPECT_NE(written.find("music = 34"), std::string::npos) << written;
    hook_config_section("language", nullptr, nullptr, nullptr);
}

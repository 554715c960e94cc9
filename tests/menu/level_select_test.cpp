// The level select driven by a gamepad alone: the stick moves from card to card, the first
// button plays the card (not a locked one), the second goes back.
#include <allegro.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "menu/level_select.h"
#include "records/player_records.h"
#include "support/fakes.h"
#include "support/levels.h"

namespace fs = std::filesystem;

namespace {

// A pad whose stick and two buttons take, round by round of the screen, the states given:
// 'r' and 'l' the stick pushed right or left, 'a' and 'b' the first or second button, '.' let go.
void pad_plays(const std::string &rounds)
{
    num_joysticks = 1;
    joy[0].num_sticks = 1;
    joy[0].stick[0].num_axis = 2;
    joy[0].num_buttons = 2;
    auto at = std::make_shared<size_t>(0);
    fake::on_rest = [rounds, at] {
        const char c = *at < rounds.size() ? rounds[(*at)++] : '.';
        joy[0].stick[0].axis[0].d1 = c == 'l';
        joy[0].stick[0].axis[0].d2 = c == 'r';
        joy[0].stick[0].axis[1].d1 = joy[0].stick[0].axis[1].d2 = 0;
        joy[0].button[0].b = c == 'a';
        joy[0].button[1].b = c == 'b';
    };
}

}  // namespace

TEST(LevelSelect, AGamepadMovesPlaysAndGoesBackButNeverStartsALockedLevel)
{
    const fs::path back = fs::current_path();
    const std::string dir = make_temp_dir();
    fs::current_path(dir);
    fs::create_directories("sarjat/1_koe");
    for (int n = 1; n <= 4; n++)
        std::ofstream("sarjat/1_koe/0" + std::to_string(n) + "_taso.vkl") << levels::set_level_file(n);
    player_records = record_table();
    mouse_b = 0;
    const JOYSTICK_INFO saved = joy[0];

    // Right three times to the fourth, which is locked: the button starts nothing. Left to the
    // third, and the button plays it.
    pad_plays(".r.r.r.a.l.a");
    level_choice c = level_select("sarjat/1_koe/01_taso.vkl");
    EXPECT_EQ(level_choice::level, c.what);
    EXPECT_EQ("sarjat/1_koe/03_taso.vkl", c.path);

    // The second button goes back.
    pad_plays(".r.b");
    c = level_select("sarjat/1_koe/01_taso.vkl");
    EXPECT_EQ(level_choice::cancelled, c.what);

    fake::on_rest = nullptr;
    num_joysticks = 0;
    joy[0] = saved;
    fs::current_path(back);
    fs::remove_all(dir);
}

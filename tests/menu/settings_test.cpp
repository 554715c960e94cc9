#include <allegro.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "menu/settings.h"
#include "platform/config.h"
#include "platform/data1.h"
#include "platform/globals.h"
#include "support/fakes.h"

namespace {

using Step = std::function<int(DIALOG *)>;

// Plays the player's part: one step per run of the dialog, each returning what closed it.
void play(std::vector<Step> steps)
{
    auto runs = std::make_shared<size_t>(0);
    fake::dialog_hook = [steps, runs](DIALOG *d, int focus) {
        EXPECT_EQ(focus, -1);
        if (*runs >= steps.size()) {
            ADD_FAILURE() << "the dialog ran more often than the player acted";
            return 4;
        }
        return steps[(*runs)++](d);
    };
}

// What d_slider_proc does when a key, the wheel or a drag moves the knob: store the value,
// then call the callback with dp3 (the callback's result joins the slider's own).
int move_slider(DIALOG *d, int index, int value)
{
    d[index].d2 = value;
    auto proc = reinterpret_cast<int (*)(void *, int)>(d[index].dp2);
    return proc(d[index].dp3, value);
}

int sound_config()
{
    return get_config_int("settings", "sound", -1);
}

int music_config()
{
    return get_config_int("settings", "music", -1);
}

class Settings : public ::testing::Test {
protected:
    void SetUp() override
    {
        mouse_b = 0;
        set_config_file((make_temp_dir() + "/vinkla.cfg").c_str());
        globalsound = 136;
        globalmusic = 136;
    }
    void TearDown() override { mouse_b = 0; }

    SAMPLE *preview_sample = static_cast<SAMPLE *>(data1[OBJ_SND_SLIDER].dat);
    MIDI *preview_music = static_cast<MIDI *>(data1[OBJ_MIDI_PREVIEW].dat);
};

}  // namespace

// The values beside the labels: a volume's step as a share of the loudest, the sensitivity
// with a decimal comma, each following its slider while it moves.
TEST_F(Settings, TheValuesStandBesideTheLabelsAndFollowTheSliders)
{
    globalsound = 255;
    globalmusic = 0;
    auto shown = [](DIALOG *d) {
        return std::string(static_cast<const char *>(d[9].dp)) + "|" + static_cast<const char *>(d[10].dp) + "|" +
               static_cast<const char *>(d[11].dp);
    };
    std::vector<std::string> seen;
    play({[&](DIALOG *d) {
              seen.push_back(shown(d));
              move_slider(d, 1, 8);
              mouse_b = 1;  // a drag: no sound, no close
              move_slider(d, 7, 0);
              mouse_b = 0;
              seen.push_back(shown(d));
              return 1;
          },
          [&](DIALOG *d) {
              move_slider(d, 7, 18);
              seen.push_back(shown(d));
              return 4;
          }});
    settings();
    const std::vector<std::string> expected = {"100 %|0 %|1,0", "53 %|0 %|0,2", "53 %|0 %|2,0"};
    EXPECT_EQ(seen, expected);
}

TEST_F(Settings, OkAtOnceKeepsTheVolumesAndPlaysNothing)
{
    globalsound = 100;  // not a multiple of 17: recomputing it would show
    globalmusic = 250;
    play({[](DIALOG *) { return 4; }});
    settings();
    EXPECT_EQ(globalsound, 100);
    EXPECT_EQ(globalmusic, 250);
    EXPECT_TRUE(fake::volumes.empty());
    EXPECT_TRUE(fake::samples.empty());
    EXPECT_TRUE(fake::midis.empty());
    // Unchanged volumes are not set: another copy of the game may have written its own.
    EXPECT_EQ(sound_config(), -1);
    EXPECT_EQ(music_config(), -1);
}

TEST_F(Settings, MovingOnlyTheMusicSliderRecomputesBothVolumes)
{
    globalsound = 100;
    int shown_sound = -1, callback_result = -1;
    play({[&](DIALOG *d) {
              shown_sound = d[1].d2;
              callback_result = move_slider(d, 3, 9);  // right arrow on the music slider
              return 3;
          },
          [](DIALOG *d) {
              EXPECT_EQ(d[3].d2, 9);  // the copy keeps its values between runs
              return 4;
          }});
    settings();
    EXPECT_EQ(shown_sound, 6);
    EXPECT_EQ(callback_result, D_CLOSE | D_REDRAW);
    EXPECT_EQ(globalsound, 102);
    EXPECT_EQ(globalmusic, 153);
    ASSERT_FALSE(fake::volumes.empty());
    EXPECT_EQ(fake::volumes.back(), std::make_pair(102, 153));
    // In the callback and after the close.
    EXPECT_EQ(fake::midis.size(), 2u);
    EXPECT_TRUE(fake::samples.empty());
    EXPECT_EQ(sound_config(), 102);
    EXPECT_EQ(music_config(), 153);
}

TEST_F(Settings, DraggingTheSoundSliderIsLiveAndSilentUntilRelease)
{
    std::vector<std::pair<int, int>> live;
    size_t samples_during_drag = 99;
    play({[&](DIALOG *d) {
              mouse_b = 1;
              for (int v = 7; v >= 3; --v) {
                  EXPECT_EQ(move_slider(d, 1, v), D_CLOSE);
                  live.emplace_back(globalsound, fake::volumes.back().first);
              }
              samples_during_drag = fake::samples.size();
              mouse_b = 0;
              return 1;
          },
          [](DIALOG *) { return 4; }});
    settings();
    const std::vector<std::pair<int, int>> expected = {{119, 119}, {102, 102}, {85, 85}, {68, 68}, {51, 51}};
    EXPECT_EQ(live, expected);
    EXPECT_EQ(samples_during_drag, 0u);
    EXPECT_EQ(globalsound, 51);
    EXPECT_EQ(globalmusic, 136);
    ASSERT_EQ(fake::samples.size(), 1u);  // once, after the release closed the dialog
    EXPECT_EQ(fake::samples[0].sample, preview_sample);
    EXPECT_EQ(fake::samples[0].vol, 255);
    EXPECT_EQ(fake::samples[0].pan, 128);
    EXPECT_EQ(fake::samples[0].freq, 1000);
    EXPECT_EQ(fake::samples[0].loop, 0);
    EXPECT_EQ(fake::midis.size(), 1u);  // after the close
    EXPECT_EQ(sound_config(), 51);
    EXPECT_EQ(music_config(), -1);
}

// The music preview would restart at every step of a drag: it waits for the release too.
TEST_F(Settings, DraggingTheMusicSliderIsLiveAndSilentUntilRelease)
{
    std::vector<std::pair<int, int>> live;
    size_t midis_during_drag = 99, samples_during_drag = 99;
    play({[&](DIALOG *d) {
              mouse_b = 1;
              for (int v = 9; v <= 12; ++v) {
                  EXPECT_EQ(move_slider(d, 3, v), D_CLOSE | D_REDRAW);
                  live.emplace_back(globalmusic, fake::volumes.back().second);
              }
              midis_during_drag = fake::midis.size();
              samples_during_drag = fake::samples.size();
              mouse_b = 0;
              return 3;
          },
          [](DIALOG *) { return 4; }});
    settings();
    const std::vector<std::pair<int, int>> expected = {{153, 153}, {170, 170}, {187, 187}, {204, 204}};
    EXPECT_EQ(live, expected);
    EXPECT_EQ(midis_during_drag, 0u);
    EXPECT_EQ(samples_during_drag, 0u);
    EXPECT_EQ(globalmusic, 204);
    EXPECT_EQ(globalsound, 136);
    EXPECT_TRUE(fake::samples.empty());  // the sound preview is not the music slider's
    ASSERT_EQ(fake::midis.size(), 1u);   // after the release closed the dialog
    EXPECT_EQ(fake::midis[0].midi, preview_music);
    EXPECT_EQ(fake::midis[0].loop, 0);
    EXPECT_EQ(music_config(), 204);
    EXPECT_EQ(sound_config(), -1);
}

TEST_F(Settings, AKeyOnTheSoundSliderPlaysThePreviewTwice)
{
    play({[](DIALOG *d) {
              move_slider(d, 1, 9);
              return 1;
          },
          [](DIALOG *) { return 4; }});
    settings();
    EXPECT_EQ(fake::samples.size(), 2u);  // in the callback and after the close
    EXPECT_EQ(fake::midis.size(), 1u);
    EXPECT_EQ(globalsound, 153);
    EXPECT_EQ(sound_config(), 153);
}

// Esc and "Peruuta" put back the volumes the dialog opened with and write nothing.
TEST_F(Settings, EscAndCancelPutTheVolumesBack)
{
    for (int leave : {-1, 8}) {
        globalsound = 100;
        fake::volumes.clear();
        play({[](DIALOG *d) {
                  move_slider(d, 1, 15);
                  return 1;
              },
              [leave](DIALOG *d) {
                  d[7].d2 = 3;
                  return leave;
              }});
        settings();
        EXPECT_EQ(globalsound, 100);
        EXPECT_EQ(globalmusic, 136);
        ASSERT_FALSE(fake::volumes.empty());
        EXPECT_EQ(fake::volumes.back(), std::make_pair(100, 136));
        EXPECT_EQ(sound_config(), -1);
        EXPECT_EQ(get_config_string("settings", "mouse_sensitivity", nullptr), nullptr);
    }
}

// The close button and a logout press Esc with close_requested set: the game must get out.
TEST_F(Settings, TheCloseButtonLeavesWithTheSlidersAsTheyAre)
{
    play({[](DIALOG *d) {
              d[1].d2 = 10;
              return 1;
          },
          [](DIALOG *) {
              close_requested = true;
              return -1;
          },
          [](DIALOG *) { return 4; }});
    settings();
    close_requested = false;
    EXPECT_EQ(globalsound, 170);
    EXPECT_EQ(sound_config(), 170);
    EXPECT_EQ(fake::midis.size(), 1u);  // the third round never came
}

TEST_F(Settings, EveryCallStartsFromTheTable)
{
    // The library marks the focused slider in its flags; that must not leak into the next call.
    play({[](DIALOG *d) {
        d[1].flags |= D_GOTFOCUS;
        d[3].d1 = 3;
        return 4;
    }});
    settings();
    play({[](DIALOG *d) {
        EXPECT_EQ(d[1].flags, D_EXIT);
        EXPECT_EQ(d[3].d1, 15);
        return 4;
    }});
    settings();
}

TEST_F(Settings, TheLoudestVolumeShowsAtTheTop)
{
    globalsound = 255;
    globalmusic = 0;
    int shown_sound = -1, shown_music = -1;
    play({[&](DIALOG *d) {
        shown_sound = d[1].d2;
        shown_music = d[3].d2;
        return 4;
    }});
    settings();
    EXPECT_EQ(shown_sound, 15);
    EXPECT_EQ(shown_music, 0);
}

TEST_F(Settings, TheSensitivitySliderWritesOnlyWhenMoved)
{
    // Shown at the nearest tenth between 0.2 and 2.0.
    EXPECT_EQ(sensitivity_position(1.0f), 8);
    EXPECT_EQ(sensitivity_position(0.2f), 0);
    EXPECT_EQ(sensitivity_position(2.0f), 18);
    EXPECT_EQ(sensitivity_position(1.44f), 12);
    EXPECT_EQ(sensitivity_position(3.7f), 18);
    EXPECT_EQ(sensitivity_position(-1.0f), 0);

    set_config_string("settings", "mouse_sensitivity", "3.7");
    int shown = -1;
    play({[&](DIALOG *d) {
        shown = d[7].d2;
        return 4;
    }});
    settings();
    EXPECT_EQ(shown, 18);
    EXPECT_STREQ(get_config_string("settings", "mouse_sensitivity", ""), "3.7");

    // Moved (it needs no close of its own: the value is read when "Ok" is pressed).
    play({[&](DIALOG *d) {
        d[7].d2 = 4;
        return 4;
    }});
    settings();
    EXPECT_STREQ(get_config_string("settings", "mouse_sensitivity", ""), "0.6");

    // A value that is no number shows as the 1.0 the game uses for it.
    set_config_string("settings", "mouse_sensitivity", "kova");
    play({[&](DIALOG *d) {
        shown = d[7].d2;
        return 4;
    }});
    settings();
    EXPECT_EQ(shown, 8);
}

TEST_F(Settings, TheFileGetsTheSensitivityOnlyOnceTheSliderMoved)
{
    const std::string path = make_temp_dir() + "/vinkla.cfg";
    write_file(path, "[settings]\nmouse_sensitivity = 1.5 # hiiri\nsound = 17\n");
    config_open(path.c_str());
    play({[](DIALOG *) { return 4; }});
    settings();
    ASSERT_TRUE(config_save(path.c_str()));
    EXPECT_NE(read_file(path).find("mouse_sensitivity = 1.5 # hiiri\n"), std::string::npos)
        << read_file(path);

    play({[](DIALOG *d) {
        d[7].d2 = 12;
        return 4;
    }});
    settings();
    ASSERT_TRUE(config_save(path.c_str()));
    config_open(path.c_str());
    EXPECT_EQ(config_float("mouse_sensitivity").value_or(0), 1.4f);
    EXPECT_EQ(config_volume("sound"), 17);  // never moved here: the file's own
}

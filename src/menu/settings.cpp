#include "menu/settings.h"

#include <allegro.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "shell/config.h"
#include "shell/data1.h"
#include "shell/globals.h"

namespace {

constexpr int sound_slider = 1;
constexpr int music_slider = 3;
constexpr int ok_button = 4;
constexpr int sensitivity_slider = 7;

// The mouse's sensitivity in steps of a tenth from 0.2 to 2.0; the default 1.0 is step 8.
constexpr int sensitivity_steps = 18;
constexpr float sensitivity_low = 0.2f;
constexpr float sensitivity_step = 0.1f;

void *callback()
{
    return reinterpret_cast<void *>(slider_callback);
}

// Each slider hands its own index to slider_callback, which returns it to close the dialog.
DIALOG settings_dialog[] = {
    {d_box_proc, 256, 176, 192, 168, 0xe2e2e2, 0xcacaca, 0, 0, 0, 0, nullptr, nullptr, nullptr},
    {d_slider_proc, 264, 200, 176, 16, 0, 0xcacaca, 0, D_EXIT, 15, 8, nullptr, callback(),
     reinterpret_cast<void *>(sound_slider)},
    {d_text_proc, 264, 224, 64, 16, 0, 0xcacaca, 0, 0, 0, 0, const_cast<char *>("Musiikki"), nullptr, nullptr},
    {d_slider_proc, 264, 240, 176, 16, 0, 0xcacaca, 0, D_EXIT, 15, 8, nullptr, callback(),
     reinterpret_cast<void *>(music_slider)},
    {d_button_proc, 312, 312, 72, 24, 0, 0xcacaca, 0, D_EXIT, 0, 0, const_cast<char *>("Ok"), nullptr, nullptr},
    {d_text_proc, 264, 184, 64, 16, 0, 0xcacaca, 0, 0, 0, 0, const_cast<char *>("Äänet"), nullptr, nullptr},
    {d_text_proc, 264, 264, 64, 16, 0, 0xcacaca, 0, 0, 0, 0, const_cast<char *>("Herkkyys"), nullptr, nullptr},
    // No callback: the sensitivity has nothing to preview and is stored when "Ok" is pressed.
    {d_slider_proc, 264, 280, 176, 16, 0, 0xcacaca, 0, 0, sensitivity_steps, 8, nullptr, nullptr, nullptr},
    {nullptr, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, nullptr, nullptr, nullptr},
};
constexpr int dialog_size = sizeof settings_dialog / sizeof settings_dialog[0];

// What the next run will use.
float stored_sensitivity()
{
    return config_float("mouse_sensitivity").value_or(1.0f);
}

void play_sound_preview()
{
    play_sample(static_cast<SAMPLE *>(data1[OBJ_SND_SLIDER].dat), 255, 128, 1000, 0);
}

void play_music_preview()
{
    play_midi(static_cast<MIDI *>(data1[OBJ_MIDI_PREVIEW].dat), 0);
}

}  // namespace

int slider_callback(void *which, int value)
{
    const int slider = static_cast<int>(reinterpret_cast<intptr_t>(which));
    // While the mouse drags the knob the volume follows live, but the preview waits for a key
    // or wheel step: a drag would otherwise restart it at every pixel.
    if (slider == sound_slider) {
        globalsound = 17 * value;
        if (!mouse_b)
            play_sound_preview();
    }
    if (slider == music_slider) {
        globalmusic = 17 * value;
        if (!mouse_b)
            play_music_preview();
    }
    set_volume(globalsound, globalmusic);
    return slider;
}

int sensitivity_position(float sensitivity)
{
    float v = std::round((sensitivity - sensitivity_low) / sensitivity_step);
    if (!(v >= 0))
        return 0;
    if (v > sensitivity_steps)
        return sensitivity_steps;
    return static_cast<int>(v);
}

void settings()
{
    DIALOG dialog[dialog_size];
    std::memcpy(dialog, settings_dialog, sizeof dialog);
    clear_to_color(screen, 0);
    const int sound_was = globalsound, music_was = globalmusic;
    dialog[sound_slider].d2 = globalsound / 16;
    dialog[music_slider].d2 = globalmusic / 16;
    const int sensitivity_was = sensitivity_position(stored_sensitivity());
    dialog[sensitivity_slider].d2 = sensitivity_was;

    for (;;) {
        const int r = do_dialog(dialog, -1);
        if (r == sound_slider || r == music_slider) {
            globalsound = 17 * dialog[sound_slider].d2;
            globalmusic = 17 * dialog[music_slider].d2;
            set_volume(globalsound, globalmusic);
        }
        if (r == sound_slider)
            play_sound_preview();
        play_music_preview();
        // Esc only restarts the music; the close button and a signal end the game, keeping what
        // the sliders hold.
        if (r == ok_button || close_requested)
            break;
    }
    // Only a volume the player changed is written: another copy of the game may have set it.
    if (globalsound != sound_was)
        config_set_changed("sound", std::to_string(globalsound));
    if (globalmusic != music_was)
        config_set_changed("music", std::to_string(globalmusic));
    // A value typed into the file by hand (say 3.7) stays unless the slider was moved.
    if (dialog[sensitivity_slider].d2 != sensitivity_was) {
        char text[16];
        std::snprintf(text, sizeof text, "%.1f",
                      sensitivity_low + sensitivity_step * dialog[sensitivity_slider].d2);
        config_set_changed("mouse_sensitivity", text);
    }
    stop_midi();
}

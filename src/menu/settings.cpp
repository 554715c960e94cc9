#include "menu/settings.h"

#include <allegro.h>

#include <cstdint>
#include <cstring>

#include "shell/data1.h"
#include "shell/globals.h"

namespace {

constexpr int sound_slider = 1;
constexpr int music_slider = 3;
constexpr int ok_button = 4;

void *callback()
{
    return reinterpret_cast<void *>(slider_callback);
}

// Each slider hands its own index to slider_callback, which returns it to close the dialog.
DIALOG settings_dialog[] = {
    {d_box_proc, 256, 176, 192, 128, 0xe2e2e2, 0xcacaca, 0, 0, 0, 0, nullptr, nullptr, nullptr},
    {d_slider_proc, 264, 200, 176, 16, 0, 0xcacaca, 0, D_EXIT, 15, 8, nullptr, callback(),
     reinterpret_cast<void *>(sound_slider)},
    {d_text_proc, 264, 224, 64, 16, 0, 0xcacaca, 0, 0, 0, 0, const_cast<char *>("Musiikki"), nullptr, nullptr},
    {d_slider_proc, 264, 240, 176, 16, 0, 0xcacaca, 0, D_EXIT, 15, 8, nullptr, callback(),
     reinterpret_cast<void *>(music_slider)},
    {d_button_proc, 312, 272, 72, 24, 0, 0xcacaca, 0, D_EXIT, 0, 0, const_cast<char *>("ok"), nullptr, nullptr},
    {d_text_proc, 264, 184, 64, 16, 0, 0xcacaca, 0, 0, 0, 0, const_cast<char *>("Äänet"), nullptr, nullptr},
    {nullptr, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, nullptr, nullptr, nullptr},
};
constexpr int dialog_size = sizeof settings_dialog / sizeof settings_dialog[0];

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

void settings()
{
    DIALOG dialog[dialog_size];
    std::memcpy(dialog, settings_dialog, sizeof dialog);
    clear_to_color(screen, 0);
    dialog[sound_slider].d2 = globalsound / 16;
    dialog[music_slider].d2 = globalmusic / 16;

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
        if (r == ok_button)
            break;
    }
    set_config_int("settings", "sound", globalsound);
    set_config_int("settings", "music", globalmusic);
    stop_midi();
}

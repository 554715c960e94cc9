#include "menu/settings.h"

#include <allegro.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "menu/menu.h"
#include "platform/config.h"
#include "platform/data1.h"
#include "platform/globals.h"
#include "platform/text_encoding.h"

namespace {

constexpr int sound_slider = 1;
constexpr int music_slider = 3;
constexpr int ok_button = 4;
constexpr int sensitivity_slider = 7;
constexpr int cancel_button = 8;
// The values beside the labels, in the sliders' order.
constexpr int value_text[3] = {9, 10, 11};

// The mouse's sensitivity in steps of a tenth from 0.2 to 2.0; the default 1.0 is step 8.
constexpr int sensitivity_steps = 18;
constexpr float sensitivity_low = 0.2f;
constexpr float sensitivity_step = 0.1f;

// The panel: cream in the game's brown frame, in the middle of the window.
constexpr int px = 240, py = 170, pw = 320, ph = 260;
constexpr int cream = 0xffeedd;
constexpr int label_ink = 0x784828;
constexpr int row_x = px + 20, row_w = pw - 40;

char value_buffer[3][16];

void *callback()
{
    return reinterpret_cast<void *>(slider_callback);
}

void *value(int k)
{
    return value_buffer[k];
}

int d_settings_panel_proc(int msg, DIALOG *d, int c)
{
    (void)c;
    if (msg != MSG_DRAW)
        return D_O_K;
    BITMAP *bmp = gui_get_screen();
    rectfill(bmp, d->x, d->y, d->x + d->w - 1, d->y + d->h - 1, d->bg);
    Frame(bmp, d->x, d->y, d->x + d->w - 1, d->y + d->h - 1, makecol(32, 8, 4));
    textout_centre_ex(bmp, font, "Asetukset", d->x + d->w / 2, d->y + 12, label_ink, -1);
    hline(bmp, row_x, d->y + 34, row_x + row_w - 1, makecol(230, 208, 186));
    return D_O_K;
}

// A value right-aligned in its box; the box is cleared first, for a shorter value.
int d_value_proc(int msg, DIALOG *d, int c)
{
    (void)c;
    if (msg != MSG_DRAW)
        return D_O_K;
    BITMAP *bmp = gui_get_screen();
    rectfill(bmp, d->x, d->y, d->x + d->w - 1, d->y + d->h - 1, d->bg);
    textout_right_ex(bmp, font, static_cast<const char *>(d->dp), d->x + d->w - 1, d->y, d->fg, -1);
    return D_O_K;
}

// Each volume slider hands its own index to slider_callback, which returns it to close the
// dialog; the sensitivity slider's callback only shows its value. Return presses "Ok" wherever
// the focus is, Esc cancels.
DIALOG settings_dialog[] = {
    {d_settings_panel_proc, px, py, pw, ph, 0, cream, 0, 0, 0, 0, nullptr, nullptr, nullptr},
    {d_slider_proc, row_x, py + 70, row_w, 16, 0, cream, 0, D_EXIT, 15, 8, nullptr, callback(),
     reinterpret_cast<void *>(sound_slider)},
    {d_text_proc, row_x, py + 100, 120, 16, label_ink, cream, 0, 0, 0, 0, const_cast<char *>("Musiikki"), nullptr,
     nullptr},
    {d_slider_proc, row_x, py + 118, row_w, 16, 0, cream, 0, D_EXIT, 15, 8, nullptr, callback(),
     reinterpret_cast<void *>(music_slider)},
    {d_button_proc, px + 52, py + ph - 48, 100, 28, 0, 0xaaaaaa, '\r', D_EXIT, 0, 0, const_cast<char *>("Ok"),
     nullptr, nullptr},
    {d_text_proc, row_x, py + 52, 120, 16, label_ink, cream, 0, 0, 0, 0, const_cast<char *>(L1("Äänet")), nullptr,
     nullptr},
    {d_text_proc, row_x, py + 148, 120, 16, label_ink, cream, 0, 0, 0, 0, const_cast<char *>("Herkkyys"), nullptr,
     nullptr},
    {d_slider_proc, row_x, py + 166, row_w, 16, 0, cream, 0, 0, sensitivity_steps, 8, nullptr, callback(),
     reinterpret_cast<void *>(sensitivity_slider)},
    {d_button_proc, px + pw - 152, py + ph - 48, 100, 28, 0, 0xaaaaaa, 0, D_EXIT, 0, 0,
     const_cast<char *>("Peruuta"), nullptr, nullptr},
    {d_value_proc, row_x + row_w - 80, py + 52, 80, 16, 0, cream, 0, 0, 0, 0, value(0), nullptr, nullptr},
    {d_value_proc, row_x + row_w - 80, py + 100, 80, 16, 0, cream, 0, 0, 0, 0, value(1), nullptr, nullptr},
    {d_value_proc, row_x + row_w - 80, py + 148, 80, 16, 0, cream, 0, 0, 0, 0, value(2), nullptr, nullptr},
    {nullptr, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, nullptr, nullptr, nullptr},
};
constexpr int dialog_size = sizeof settings_dialog / sizeof settings_dialog[0];

// The dialog on the screen, for the callback's live values.
DIALOG *shown_dialog = nullptr;

// A volume's slider step as a share of the loudest, a sensitivity with a decimal comma.
void set_value_text(int k, int position)
{
    if (k < 2)
        std::snprintf(value_buffer[k], sizeof value_buffer[k], "%d %%", (position * 100 + 7) / 15);
    else
        std::snprintf(value_buffer[k], sizeof value_buffer[k], "%d,%d", (2 + position) / 10, (2 + position) % 10);
}

void show_value(int k, int position)
{
    set_value_text(k, position);
    if (!shown_dialog)
        return;
    scare_mouse();
    object_message(&shown_dialog[value_text[k]], MSG_DRAW, 0);
    unscare_mouse();
}

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
    if (slider == sensitivity_slider) {
        show_value(2, value);
        return D_O_K;
    }
    show_value(slider == sound_slider ? 0 : 1, value);
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
    BITMAP *logo = static_cast<BITMAP *>(data1[OBJ_TITLE_LOGO].dat);
    draw_sprite(screen, logo, (SCREEN_W - logo->w) / 2, (py - logo->h) / 2);
    const int sound_was = globalsound, music_was = globalmusic;
    dialog[sound_slider].d2 = globalsound / 16;
    dialog[music_slider].d2 = globalmusic / 16;
    const int sensitivity_was = sensitivity_position(stored_sensitivity());
    dialog[sensitivity_slider].d2 = sensitivity_was;
    set_value_text(0, dialog[sound_slider].d2);
    set_value_text(1, dialog[music_slider].d2);
    set_value_text(2, sensitivity_was);
    shown_dialog = dialog;

    bool keep = true;
    for (;;) {
        const int r = do_dialog(dialog, -1);
        if (r == sound_slider || r == music_slider) {
            globalsound = 17 * dialog[sound_slider].d2;
            globalmusic = 17 * dialog[music_slider].d2;
            set_volume(globalsound, globalmusic);
        }
        // The close button and a signal end the game, keeping what the sliders hold.
        if (r == ok_button || close_requested)
            break;
        if (r == cancel_button || r == -1) {
            keep = false;
            break;
        }
        if (r == sound_slider)
            play_sound_preview();
        play_music_preview();
    }
    shown_dialog = nullptr;
    stop_midi();
    if (!keep) {
        globalsound = sound_was;
        globalmusic = music_was;
        set_volume(globalsound, globalmusic);
        return;
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
}

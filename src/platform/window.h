#pragma once

#include <cstdint>
#include <vector>

// The game's window on the desktop.

// Gives the window the game's own name and class, so a desktop matches it to the launcher's
// entry and icon. Call it before the library is initialised.
void name_window();

// Gives the window what a desktop reads of it beside the library's own: the title in UTF-8,
// the process and the machine it runs on (so a window manager can offer to end a hung game),
// the game's icon in every size, and a black ground on which the picture stays centred when the
// window manager makes the window larger than the picture (fullscreen). Call it after
// set_gfx_mode and set_window_title.
void describe_window();

// Makes the window manager's close button quit like "Lopeta": it sets close_requested and
// presses Esc, which ends a run and closes any dialog, alert or chooser on the way back to the
// main loop. Call it once the keyboard is installed.
void watch_close_button();

// Sends what was drawn to the X server now. The library's own thread sends it only at its next
// round, up to 15 ms later; each wait of the game calls this before it sleeps.
void send_drawing();

// While a run is played the pointer stays inside the game's picture, so a fast move never
// leaves the window. The pointer is grabbed, confined to the window, on the library's own
// connection, which goes on receiving the pointer's events as before. A grab that cannot be had
// (another program holds the pointer) is asked for again at most four times a second by the
// next calls. hold_pointer(false) lets the pointer go.
void hold_pointer(bool hold);

// An icon's mask as X wants a bitmap's bits: one bit a pixel, set where the pixel is at least
// half opaque, the lowest bit leftmost, each row starting on a new byte. `argb` holds w by h
// pixels 0xAARRGGBB, row by row.
std::vector<unsigned char> icon_mask_bits(const std::uint32_t *argb, int w, int h);

// An ARGB pixel as the pixel value of a true-colour visual with these channel masks.
unsigned long visual_pixel(std::uint32_t argb, unsigned long red_mask, unsigned long green_mask,
                           unsigned long blue_mask);

#pragma once

// The game's window on the desktop.

// Gives the window the game's own name and class, so a desktop matches it to the launcher's
// entry and icon. Call it before the library is initialised.
void name_window();

// Makes the window manager's close button quit like "Lopeta": it sets close_requested and
// presses Esc, which ends a run and closes any dialog, alert or chooser on the way back to the
// main loop. Call it once the keyboard is installed.
void watch_close_button();

// Sends what was drawn to the X server now. The library's own thread sends it only at its next
// round, up to 15 ms later; each wait of the game calls this before it sleeps.
void send_drawing();

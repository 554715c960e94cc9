#pragma once
#include <allegro.h>

// Process-wide state shared by the screens and the game run.
extern DATAFILE *data1;            // data1.dat, from start-up to shutdown
extern volatile int teh_counter;   // counted down by my_timer on every tick
extern int globalsound;            // sample volume 0..255
extern int globalmusic;            // MIDI volume 0..255
extern bool quit;                  // set by "Lopeta"
// Set when the window manager's close button was pressed: every screen then makes its way back
// to the main loop, which quits as "Lopeta" does; the editor may ask first and clear it.
extern volatile bool close_requested;

// One tick of the 10 ms frame clock; wait_tick calls it as each tick falls due.
void my_timer();
// For mouse_callback and keyboard_lowlevel_callback: the player's input wakes the waits below.
void wake_on_mouse(int flags);
void wake_on_key(int scancode);
// Both waits first present an enlarged window (what was drawn before the wait).
// Sleeps until the frame clock's next tick falls due and counts it with my_timer, or until a
// mouse button is pressed or released first. No polling: callers test what they wait for again
// after it returns.
void wait_tick();
// Sleeps until the player presses or releases a key or a mouse button, drags the mouse, or
// `ms` milliseconds have passed: the dialog manager's pace. The call after a wake-up returns at
// once, and a call from any thread but the main one never waits.
void wait_input(int ms);
// Wakes both waits at once; safe inside a signal handler.
void wake_waits();

#pragma once
#include <allegro.h>

// Process-wide state shared by the screens and the game run.
extern DATAFILE *data1;            // data1.dat, from start-up to shutdown
extern volatile int teh_counter;   // counted down by my_timer every 10 ms
extern int globalsound;            // sample volume 0..255
extern int globalmusic;            // MIDI volume 0..255
extern bool quit;                  // set by "Lopeta"

void my_timer();

#pragma once
#include <allegro.h>

// The kind every object of data1.dat must have, by index (DAT_BITMAP, DAT_SAMPLE, ...).
int data1_kind(int index);

// True when the loaded file holds at least the 44 objects the game uses, each of its kind
// and with its contents present. A file that fails this would crash the game later.
bool data1_usable(const DATAFILE *dat);

#pragma once
#include <allegro.h>

// The kind every object of data1.dat must have, by index (DAT_BITMAP, DAT_SAMPLE, ...).
int data1_kind(int index);

// True when the loaded file holds at least the objects of the game's list (data1.h), each of
// its kind and with its contents present. A file that fails this would crash the game later.
bool data1_usable(const DATAFILE *dat);

// What a walk through a data file's object headers finds, before the library loads it: its
// loader crashes on a file cut short (it takes the end of the file for an object kind that it
// has no load function for) and on objects nested without end.
enum class data1_file { missing, damaged, whole };

// missing: no file, no regular file (a pipe, a folder), or not a data file at all; damaged: the
// objects do not add up (cut short, an object of the end kind, nested too deep, far too big);
// whole: every object and property is complete.
data1_file data1_file_state(const char *path);

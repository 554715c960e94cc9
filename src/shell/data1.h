#pragma once
// Positions of the objects in data1.dat. Code reaches object N as data1[N].dat.
enum Data1Object {
    OBJ_MARBLE = 0,          // BITMAP  the marble
    OBJ_SND_SLIDER = 1,      // SAMPLE  sound-volume slider preview
    OBJ_BUMPER_TOOL = 2,     // BITMAP  bumper as a whole square (editor, help)
    OBJ_BUMPER_KNOB = 3,     // BITMAP  bumper overlay, over the marble
    OBJ_SND_BUMPER = 4,      // SAMPLE  bumper kick
    OBJ_BOWL = 5,            // BITMAP  concave_tile
    OBJ_DOME = 6,            // BITMAP  convex_tile
    OBJ_FALL1 = 7,           // BITMAP  hole-fall frames 1..7 are 7..13
    OBJ_FALL7 = 13,          // BITMAP  last fall frame, also shrunk into the hole
    OBJ_FLAG = 14,           // BITMAP  flag_tile, not yet taken
    OBJ_SND_FLAG = 15,       // SAMPLE  flag picked up
    OBJ_FLOOR = 16,          // BITMAP  plain floor
    OBJ_HOLE = 17,           // BITMAP  hole_tile
    OBJ_SND_HOLE = 18,       // SAMPLE  the marble drops into a hole
    OBJ_TITLE_LOGO = 19,     // BITMAP  title, first part; also the menu's picture
    OBJ_TITLE_2 = 20,        // BITMAP  title, second part
    OBJ_TITLE_3 = 21,        // BITMAP  title, third part
    OBJ_FONT_MENU = 22,      // FONT    menu font, the global font from the menu on
    OBJ_MIDI_PREVIEW = 23,   // MIDI    music-volume slider preview
    OBJ_SND_SILENT = 24,     // SAMPLE  stopped before each bounce sound, never played
    OBJ_SLOPE_RIGHT = 25,    // BITMAP  slope_right_tile
    OBJ_SLOPE_UP = 26,       // BITMAP  slope_up_tile
    OBJ_SLOPE_DOWN = 27,     // BITMAP  slope_down_tile
    OBJ_SLOPE_LEFT = 28,     // BITMAP  slope_left_tile
    OBJ_CLOTH = 29,          // BITMAP  softy_tile
    OBJ_START = 30,          // BITMAP  start marker (editor and help only)
    OBJ_MIDI_RUN = 31,       // MIDI    music of a game run, looped
    OBJ_FONT_TEXT = 32,      // FONT    info and editor-help text
    OBJ_PALETTE = 33,        // PALETTE set before the info and help screens
    OBJ_TUBE_NS = 34,        // BITMAP  tube overlays 34..40
    OBJ_TUBE_NSE = 35,
    OBJ_TUBE_NSW = 36,
    OBJ_TUBE_WE = 37,
    OBJ_TUBE_WEN = 38,
    OBJ_TUBE_WES = 39,
    OBJ_TUBE_X = 40,
    OBJ_WALL = 41,           // BITMAP  wall_tile
    OBJ_SND_BOUNCE = 42,     // SAMPLE  the marble bounces off a wall
    OBJ_SHUTTER = 43,        // BITMAP  shutter_tile
    OBJ_COUNT = 44
};

#pragma once
// The objects of data1.dat in file order: code reaches OBJ_name as data1[OBJ_name].dat.
// X(name, kind, what): the kind is the DAT_ type the game checks on loading. This list is the
// one place of the order: tools/gen_data.py builds the file by it, and data_check takes the
// kinds from it, so adding an object is one line here (and its picture or sound in the tools).
#define DATA1_OBJECTS(X)                                                              \
    X(MARBLE, BITMAP, "the marble")                                                   \
    X(SND_SLIDER, SAMPLE, "sound-volume slider preview")                              \
    X(BUMPER_TOOL, BITMAP, "bumper as a whole square (editor, help)")                 \
    X(BUMPER_KNOB, BITMAP, "bumper overlay, over the marble")                         \
    X(SND_BUMPER, SAMPLE, "bumper kick")                                              \
    X(BOWL, BITMAP, "concave_tile")                                                   \
    X(DOME, BITMAP, "convex_tile")                                                    \
    X(FALL1, BITMAP, "hole-fall frames 1..7")                                         \
    X(FALL2, BITMAP, "")                                                              \
    X(FALL3, BITMAP, "")                                                              \
    X(FALL4, BITMAP, "")                                                              \
    X(FALL5, BITMAP, "")                                                              \
    X(FALL6, BITMAP, "")                                                              \
    X(FALL7, BITMAP, "last fall frame, also shrunk into the hole")                    \
    X(FLAG, BITMAP, "flag_tile, not yet taken")                                       \
    X(SND_FLAG, SAMPLE, "flag picked up")                                             \
    X(FLOOR, BITMAP, "plain floor")                                                   \
    X(HOLE, BITMAP, "hole_tile")                                                      \
    X(SND_HOLE, SAMPLE, "the marble drops into a hole")                               \
    X(TITLE_LOGO, BITMAP, "title, first part; also the menu's picture")               \
    X(TITLE_2, BITMAP, "title, second part")                                          \
    X(TITLE_3, BITMAP, "title, third part")                                           \
    X(FONT_MENU, FONT, "menu font, the global font from the menu on")                 \
    X(MIDI_PREVIEW, MIDI, "music-volume slider preview")                              \
    X(SND_SILENT, SAMPLE, "stopped before each bounce sound, never played")           \
    X(SLOPE_RIGHT, BITMAP, "slope_right_tile")                                        \
    X(SLOPE_UP, BITMAP, "slope_up_tile")                                              \
    X(SLOPE_DOWN, BITMAP, "slope_down_tile")                                          \
    X(SLOPE_LEFT, BITMAP, "slope_left_tile")                                          \
    X(CLOTH, BITMAP, "softy_tile")                                                    \
    X(START, BITMAP, "start marker (editor and help only)")                           \
    X(MIDI_RUN, MIDI, "music of a game run, looped")                                  \
    X(FONT_TEXT, FONT, "info and editor-help text")                                   \
    X(PALETTE, PALETTE, "set before the info and help screens")                       \
    X(TUBE_NS, BITMAP, "tube overlays")                                               \
    X(TUBE_NSE, BITMAP, "")                                                           \
    X(TUBE_NSW, BITMAP, "")                                                           \
    X(TUBE_WE, BITMAP, "")                                                            \
    X(TUBE_WEN, BITMAP, "")                                                           \
    X(TUBE_WES, BITMAP, "")                                                           \
    X(TUBE_X, BITMAP, "")                                                             \
    X(WALL, BITMAP, "wall_tile")                                                      \
    X(SND_BOUNCE, SAMPLE, "the marble bounces off a wall")                            \
    X(SHUTTER, BITMAP, "shutter_tile")                                                \
    X(BUBBLE, BITMAP, "the bubble of the run panel's spirit level")                   \
    X(GHOST, BITMAP, "the ghost marble racing the best run")

enum Data1Object {
#define DATA1_INDEX(name, kind, what) OBJ_##name,
    DATA1_OBJECTS(DATA1_INDEX)
#undef DATA1_INDEX
    OBJ_COUNT
};

#pragma once
// Small helpers for the marble and tile tests: boards written as 14 rows of text, cell centres,
// and a marble put down by hand.
#include <allegro.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "field/field.h"
#include "marble/bead.h"
#include "platform/grid.h"
#include "support/fakes.h"
#include "tiles/tile.h"

// What a run plays for the events of the tile calls made by hand since the last: the rules
// only report them.
inline void heard(bead &b)
{
    b.play_events();
    b.events = step_events();
}

// The 196-character level text of 14 rows.
inline std::string board(const std::vector<std::string> &rows)
{
    std::string text;
    for (const std::string &r : rows) {
        if (r.size() != grid::cells)
            ADD_FAILURE() << "level row of " << r.size() << " characters: " << r;
        text += r;
    }
    return text;
}

// A level file of the written layout, in dir; returns its path.
inline std::string write_level(const std::string &dir, const std::string &name,
                               const std::vector<std::string> &rows)
{
    std::string body;
    for (const std::string &r : rows) {
        if (r.size() != grid::cells)
            ADD_FAILURE() << "level row of " << r.size() << " characters: " << r;
        body += r + "\n";
    }
    body += "noname\n9999\n";
    std::string path = dir + "/" + name;
    write_file(path, body);
    return path;
}

// Puts the marble at rest at (x, y) with everything that moves it cleared, as a run starts.
inline void place(bead &b, float x, float y)
{
    b.x = b.old_x = x;
    b.y = b.old_y = y;
    b.stop_motion();
    b.state = bead::rolling;
    b.bounced = 0;
    b.cur_friction = b.friction;
}

// Gives the marble a board of its own (the marble deletes it).
inline void give_board(bead &b, const std::vector<std::string> &rows)
{
    delete b.current_field;
    b.current_field = new field(board(rows).c_str(), grid::cells, grid::cells);
    b.restart_tile = b.current_field->start_point;
    b.flags_left = b.current_field->flag_count;
}

// Esc held down for the life of the object.
struct esc_down {
    esc_down() { key[KEY_ESC] = 1; }
    ~esc_down() { key[KEY_ESC] = 0; }
};

// Configuration keys set for the life of the object, removed afterwards.
struct config_keys {
    std::vector<std::string> names;
    void set(const char *name, const char *value)
    {
        set_config_string("settings", name, value);
        names.push_back(name);
    }
    ~config_keys()
    {
        for (const std::string &n : names)
            set_config_string("settings", n.c_str(), nullptr);
    }
};

// True if the two rectangles hold the same pixels.
inline bool same_pixels(BITMAP *a, int ax, int ay, BITMAP *b, int bx, int by, int w, int h)
{
    for (int j = 0; j < h; j++)
        for (int i = 0; i < w; i++)
            if (getpixel(a, ax + i, ay + j) != getpixel(b, bx + i, by + j))
                return false;
    return true;
}

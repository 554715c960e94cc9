#pragma once
#include <allegro.h>
#include <string>

#include "geometry/vektor.h"

class field;
class tile;

// The marble, and the driver of one game run. Tiles read and write its members directly.
class bead {
public:
    int mickey_x;
    int mickey_y;
    int tilt_x;          // sum of mickeys since the run began or the marble restarted
    int tilt_y;
    float sensitivity;
    BITMAP *sprite;      // data file object, not owned
    BITMAP *buffer;      // 117 by 117 work bitmap, owned
    field *current_field;
    float x;             // centre, screen pixels
    float y;
    float old_x;
    float old_y;
    Vektor speed;        // pixels per frame
    Vektor tilt_acc;
    Vektor slope_acc;
    Vektor hole_pull;
    Vektor tile_push;
    char state;          // 0 stopped, 1 rolling, 2 fallen into a hole
    char bounced;        // a corner bounce happened in this motion step
    int flags_left;
    tile *restart_tile;
    float cur_friction;
    float friction;
    float softfriction;

    bead();
    ~bead();
    bead(const bead &) = delete;
    bead &operator=(const bead &) = delete;

    float distance(int y, int x);
    int start_bead(std::string file);
    void move();
    void show();
    void draw();
    void bounce_soundh();
    void bounce_soundv();
    void corner_bounce(int ky, int kx);
};

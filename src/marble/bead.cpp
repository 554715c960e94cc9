#include "marble/bead.h"

// Stub: replaced by the real marble.
bead::bead() {}
bead::~bead() {}
float bead::distance(int, int) { return 0; }
int bead::start_bead(std::string) { return 1; }
void bead::move() {}
void bead::show() {}
void bead::draw() {}
void bead::bounce_soundh() {}
void bead::bounce_soundv() {}
void bead::corner_bounce(int, int) {}

#pragma once
// The inputs of a run as the level solver finds them, before the game's run turns them into a
// run file (rules/run_file.h) of one tilt a frame.
#include <cstdint>
#include <utility>
#include <vector>

namespace levels {

// Every answer of get_mouse_mickeys in call order, from the read that start_bead makes before
// the first frame to the last read of the winning frame. The motion step skips the read while a
// hole pulls the marble, and the restart after a fall makes one read of its own, so the reads
// are not one per frame; fed back one per call they play the run exactly.
struct replay {
    long frames = 0;
    std::vector<std::pair<int, int>> reads;
};

// The arrow keys held in every frame, from the first frame to the winning one; the mouse does
// not move.
enum key_bit : uint8_t { key_left = 1, key_right = 2, key_up = 4, key_down = 8 };

struct key_replay {
    std::vector<uint8_t> frames;  // keys down in each frame
};

}  // namespace levels

#pragma once

// What one step of the rules did, for the run to play and show: the step itself plays no sound
// and draws nothing.
struct step_events {
    // The knocks on faces, in the order struck: each the volume (1 to 255) its sound plays at,
    // or 0 for a touch too soft to hear, which still cuts the previous knock short.
    static constexpr int knocks_kept = 16;
    int knocks[knocks_kept];
    int knock_count = 0;
    bool flag_taken = false;
    bool bumper_kick = false;
    bool fell = false;  // the marble dropped into a hole; it comes back on restart_tile
    bool won = false;   // the last flag was taken

    void knock(int volume)
    {
        if (knock_count < knocks_kept)
            knocks[knock_count++] = volume;
    }
};

#pragma once

// Clicks as the library's input thread sees them: where the left button went down and where it
// went up. A screen that reads mouse_b once a round loses a press and release quicker than the
// round, and the place of a release that came in during a wait. While a click_watch lives it
// hooks the library's mouse callback (the one before it is still called); one at a time.
class click_watch {
public:
    click_watch();
    ~click_watch();
    click_watch(const click_watch &) = delete;
    click_watch &operator=(const click_watch &) = delete;

    // True once for each release since the watch began or was last asked, with where the
    // button last went down and up, in the screen's coordinates.
    bool take(int &down_x, int &down_y, int &up_x, int &up_y);
};

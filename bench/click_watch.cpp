// Times how soon a press of the mouse shows on the screen, from the X server's side, for
// `make perf`: presses the first button through XTest over a button whose inside changes colour
// while held, reads that pixel back every quarter millisecond, then drags off the button before
// letting go, so nothing is chosen. The pixel read is 8 to the left of the press, clear of the
// pointer, which the game draws into the window. Prints the min, median and max in milliseconds.
// usage: vinkla_click_watch X Y AWAY_X AWAY_Y N
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>
#include <vector>

#include "x_screen.h"

namespace {

void move_to(Display *d, int x, int y)
{
    XTestFakeMotionEvent(d, -1, x, y, CurrentTime);
    XFlush(d);
}

void button(Display *d, bool down)
{
    XTestFakeButtonEvent(d, 1, down ? True : False, CurrentTime);
    XFlush(d);
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc != 6) {
        std::fprintf(stderr, "usage: %s X Y AWAY_X AWAY_Y N\n", argv[0]);
        return 2;
    }
    const int x = std::atoi(argv[1]), y = std::atoi(argv[2]);
    const int away_x = std::atoi(argv[3]), away_y = std::atoi(argv[4]);
    const int n = std::atoi(argv[5]);
    Display *d = XOpenDisplay(nullptr);
    if (!d || n < 1) {
        std::fprintf(stderr, "click_watch: no display\n");
        return 2;
    }
    std::vector<double> ms;
    for (int i = 0; i < n; i++) {
        move_to(d, x, y);
        usleep(150000);
        const unsigned long before = pixel_at(d, x - 8, y);
        button(d, true);
        const double t0 = now_ms();
        double seen = -1;
        while (now_ms() - t0 < 500) {
            if (pixel_at(d, x - 8, y) != before) {
                seen = now_ms() - t0;
                break;
            }
            usleep(250);
        }
        move_to(d, away_x, away_y);
        usleep(100000);
        button(d, false);
        usleep(100000);
        if (seen < 0) {
            std::fprintf(stderr, "click_watch: press %d never showed\n", i + 1);
            return 1;
        }
        ms.push_back(seen);
    }
    std::sort(ms.begin(), ms.end());
    std::printf("press shown after %.1f / %.1f / %.1f ms (min / median / max of %d)\n", ms.front(),
                ms[ms.size() / 2], ms.back(), n);
    XCloseDisplay(d);
    return 0;
}

// One frame of a game run (motion step, drawing and the copy to the window) and its parts (the
// rules' step alone among them), on
// the real library. With a display (`make bench` starts Xvfb) the screen is a real window and
// the copy goes through the library's X11 driver as in play; without one it is a memory bitmap.
// A frame has 10 ms; the aim is under 50 us.
#include <allegro.h>
#include <benchmark/benchmark.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>
#include <unistd.h>

#include "field/field.h"
#include "marble/bead.h"
#include "platform/globals.h"
#include "platform/grid.h"
#include "support/headless.h"
#include "support/levels.h"
#include "tiles/tile.h"

namespace {

// Every kind of tile but the hole (whose fall would measure its two-second pause).
std::string every_tile_but_holes()
{
    std::vector<std::string> rows = levels::every_tile();
    rows[2][7] = '.';
    rows[7][2] = 'B';
    rows[10][10] = '#';
    return levels::text_of(rows);
}
const std::string level = every_tile_but_holes();

// A marble rolling about the board under a hand that changes its tilt every 40 frames.
struct rolling {
    bead marble;
    unsigned step = 0;
    rolling()
    {
        marble.current_field = new field(level.c_str(), grid::cells, grid::cells);
        tile *start = marble.current_field->start_point;
        marble.x = marble.old_x = start->x;
        marble.y = marble.old_y = start->y;
        marble.state = bead::rolling;
        marble.flags_left = 1000;
        marble.restart_tile = start;
    }
    void tilt()
    {
        if (step++ % 40 == 0) {
            static const int hand[][2] = {{200, 90}, {-150, 200}, {-200, -120}, {170, -200}, {60, 200}};
            marble.tilt_x = hand[(step / 40) % 5][0];
            marble.tilt_y = hand[(step / 40) % 5][1];
        }
    }
};

void BM_Frame(benchmark::State &state)
{
    rolling r;
    for (auto _ : state) {
        r.tilt();
        r.marble.move();
        r.marble.show();
    }
}
BENCHMARK(BM_Frame);

// The marble at rest: a frame where nothing visible changed draws and copies nothing.
void BM_FrameAtRest(benchmark::State &state)
{
    rolling r;
    r.marble.show();
    for (auto _ : state) {
        r.marble.move();
        r.marble.show();
    }
}
BENCHMARK(BM_FrameAtRest);

void BM_Move(benchmark::State &state)
{
    rolling r;
    for (auto _ : state) {
        r.tilt();
        r.marble.move();
        benchmark::DoNotOptimize(r.marble.x);
    }
}
BENCHMARK(BM_Move);

// The rules alone: one step with the tilt the hand gives, no input read, nothing played or drawn.
void BM_Step(benchmark::State &state)
{
    rolling r;
    for (auto _ : state) {
        r.tilt();
        r.marble.step((float)r.marble.tilt_x, (float)r.marble.tilt_y);
        benchmark::DoNotOptimize(r.marble.x);
    }
}
BENCHMARK(BM_Step);

// Drawing the whole block and copying all of it, as a frame does when the block moves.
void BM_Show(benchmark::State &state)
{
    rolling r;
    for (auto _ : state) {
        r.marble.shown_column = 0;
        r.marble.show();
    }
}
BENCHMARK(BM_Show);

void BM_CornerBounce(benchmark::State &state)
{
    bead marble;
    for (auto _ : state) {
        marble.x = 10;
        marble.y = 0;
        marble.old_x = 0;
        marble.old_y = 0;
        marble.speed = Vektor(10, 0);
        marble.bounced = 0;
        marble.corner_bounce(0, 20);
        benchmark::DoNotOptimize(marble.x);
    }
}
BENCHMARK(BM_CornerBounce);

// The game's own start-up as far as drawing needs it: the data file is loaded after the window
// so that its pictures take the window's pixel layout.
bool start_windowed(const char *cfg)
{
    set_uformat(U_ASCII);
    if (allegro_init() != 0)
        return false;
    set_config_file(cfg);
    set_color_depth(32);
    if (set_gfx_mode(GFX_AUTODETECT_WINDOWED, 800, 600, 0, 0) != 0) {
        allegro_exit();
        return false;
    }
    data1 = load_datafile(VINKLA_DATA_FILE);
    if (!data1) {
        std::fprintf(stderr, "cannot load the data file\n");
        std::exit(1);
    }
    clear_to_color(screen, 0);
    return true;
}

}  // namespace

int main(int argc, char **argv)
{
    char cfg[] = "/tmp/vinkla-bench-XXXXXX";
    int fd = mkstemp(cfg);
    if (fd >= 0)
        close(fd);
    if (getenv("DISPLAY") && start_windowed(cfg)) {
        benchmark::AddCustomContext("screen", "800x600 window");
    } else {
        if (!start_headless(cfg, VINKLA_DATA_FILE))
            return 1;
        benchmark::AddCustomContext("screen", "memory bitmap, no display");
    }
    install_sound(DIGI_NONE, MIDI_NONE, nullptr);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    unload_datafile(data1);
    std::remove(cfg);
    return 0;
}

// One frame of a game run (motion step and drawing) and its parts, on the real library with no
// display. A frame has 10 ms; the aim is under 50 us.
#include <allegro.h>
#include <benchmark/benchmark.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>
#include <unistd.h>

#include "field/field.h"
#include "field/grid.h"
#include "marble/bead.h"
#include "shell/globals.h"
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

void BM_Show(benchmark::State &state)
{
    rolling r;
    for (auto _ : state)
        r.marble.show();
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

}  // namespace

int main(int argc, char **argv)
{
    char cfg[] = "/tmp/vinkla-bench-XXXXXX";
    int fd = mkstemp(cfg);
    if (fd >= 0)
        close(fd);
    if (!start_headless(cfg, VINKLA_DATA_FILE))
        return 1;
    install_sound(DIGI_NONE, MIDI_NONE, nullptr);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    unload_datafile(data1);
    std::remove(cfg);
    return 0;
}

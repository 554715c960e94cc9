#include "fuzz_support.h"

#include <allegro.h>

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "field/field.h"
#include "marble/bead.h"
#include "platform/globals.h"
#include "soak/soak_checks.h"
#include "support/fakes.h"
#include "tiles/tile.h"

namespace fuzz {

namespace {

std::string folder;

void remove_folder()
{
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
}

// The game run's restart after a fall (start_bead): on the restart tile, at rest.
void restart(bead &b)
{
    b.x = (float)b.restart_tile->x;
    b.y = (float)b.restart_tile->y;
    b.state = bead::rolling;
    b.stop_motion();
}

}  // namespace

void setup()
{
    set_uformat(U_ASCII);
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0)
        fail("install_allegro failed");
    set_color_depth(32);
    screen = create_bitmap(800, 600);
    char templ[] = "/dev/shm/vinkla-fuzz-XXXXXX";
    char *dir = mkdtemp(templ);
    if (!dir) {
        std::snprintf(templ, sizeof templ, "%s", "/tmp/vinkla-fuzz-XXXXXX");
        dir = mkdtemp(templ);
    }
    if (!dir)
        fail("no temporary folder");
    folder = dir;
    std::atexit(remove_folder);
    set_config_file(temp_path("vinkla.cfg").c_str());
    data1 = load_datafile(VINKLA_DATA_FILE);
    if (!data1)
        fail("cannot load %s", VINKLA_DATA_FILE);
}

std::string temp_path(const char *name)
{
    return folder + "/" + name;
}

void write_bytes(const std::string &path, const uint8_t *data, size_t size)
{
    FILE *f = std::fopen(path.c_str(), "wb");
    if (!f)
        fail("cannot write %s", path.c_str());
    if (size && std::fwrite(data, 1, size, f) != size)
        fail("short write to %s", path.c_str());
    std::fclose(f);
}

void fail(const char *format, ...)
{
    va_list args;
    va_start(args, format);
    std::fputs("\n*** vinkla fuzz finding: ", stderr);
    std::vfprintf(stderr, format, args);
    std::fputs("\n", stderr);
    va_end(args);
    std::abort();
}

void roll(bead &b, field *f, const uint8_t *bytes, size_t size, int frames)
{
    if (!f || !f->start_point)
        return;
    b.current_field = f;
    b.restart_tile = f->start_point;
    b.x = b.old_x = (float)b.restart_tile->x;
    b.y = b.old_y = (float)b.restart_tile->y;
    b.cur_friction = b.friction;
    b.bounced = 0;
    restart(b);
    b.flags_left = 0;
    for (int i = 0; i < f->rows; i++)
        for (int j = 0; j < f->columns; j++)
            b.flags_left += f->codes[i][j] == 'F';

    // VINKLA_FUZZ_TRACE=1 prints every frame, to follow a finding.
    static const bool trace = std::getenv("VINKLA_FUZZ_TRACE") != nullptr;
    if (trace)
        for (int i = 0; i < f->rows; i++)
            std::fprintf(stderr, "%2d %.*s\n", i, f->columns, f->codes[i]);
    size_t k = 0;
    for (int n = 0; n < frames && b.flags_left > 0; n++) {
        // Two bytes a frame as the hand; every 16th frame a shove far past the tilt limit.
        int mx = size ? (int8_t)bytes[k++ % size] : 1;
        int my = size ? (int8_t)bytes[k++ % size] : 1;
        if (n % 16 == 15) {
            mx *= 64;
            my *= 64;
        }
        fake::mickeys.push_back({mx, my});
        b.move();
        if (n % 32 == 0 || b.state == bead::fallen)
            b.show();
        if (trace)
            std::fprintf(stderr, "frame %d: mickeys (%d, %d) from (%g, %g) to (%g, %g) speed (%g, %g) state %d\n",
                         n, mx, my, b.old_x, b.old_y, b.x, b.y, b.speed.x, b.speed.y, b.state);
        std::string problem = soak::marble_problem(b);
        if (!problem.empty())
            fail("frame %d: %s", n, problem.c_str());
        if (b.state == bead::fallen)
            restart(b);
        if (b.state == bead::stopped)
            break;
        fake::samples.clear();
    }
    b.current_field = nullptr;
}

}  // namespace fuzz

// The configuration file: any bytes as vinkla.cfg, then everything the game reads from it
// (volumes, last level, the marble's three physics factors) and a few hundred frames of play
// with those factors on a board of every tile kind under a hand far past the tilt limit; and
// the game's keys merged into those bytes, which the game must read back.
#include <allegro.h>

#include <cmath>
#include <cstdint>
#include <string>

#include "field/field.h"
#include "fuzz_support.h"
#include "marble/bead.h"
#include "platform/config.h"
#include "platform/grid.h"
#include "support/fakes.h"
#include "support/levels.h"

namespace {

const std::string every_tile = levels::text_of(levels::every_tile());

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::setup();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fake::reset();
    const std::string path = fuzz::temp_path("fuzzed.cfg");
    fuzz::write_bytes(path, data, size);
    config_open(path.c_str());

    for (const char *key : {"sound", "music"}) {
        int v = config_volume(key);
        if (v < 0 || v > 255)
            fuzz::fail("volume %s = %d", key, v);
    }
    if (config_lastgame().empty())
        fuzz::fail("empty level name");

    bead b;
    if (!std::isfinite(b.friction) || b.friction < 0 || b.friction > 1 ||
        !std::isfinite(b.softfriction) || b.softfriction < 0 || b.softfriction > 1 ||
        !std::isfinite(b.sensitivity) || b.cur_friction != b.friction)
        fuzz::fail("factors taken: friction %g, softfriction %g, sensitivity %g", b.friction,
                   b.softfriction, b.sensitivity);

    field f(every_tile.c_str(), grid::cells, grid::cells);
    fuzz::roll(b, &f, data, size, 400);

    const setting_values values = {{"sound", "68"}, {"music", "0x22"}, {"lastgame", "omat/kierre.vkl"}};
    const std::string bytes(reinterpret_cast<const char *>(data), size);
    const std::string merged = merge_settings(bytes, values);
    if (merge_settings(merged, values) != merged)
        fuzz::fail("a second merge changed the text");
    fuzz::write_bytes(path, reinterpret_cast<const uint8_t *>(merged.data()), merged.size());
    config_open(path.c_str());
    for (const auto &v : values) {
        const char *got = get_config_string("settings", v.first.c_str(), "");
        if (v.second != got)
            fuzz::fail("%s reads back as \"%s\"", v.first.c_str(), got);
    }
    return 0;
}

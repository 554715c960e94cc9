// Level files: any bytes through both readers, the field built from them, drawn, and played for
// a few hundred frames; and the text the editor read, saved and read back.
#include <cstdint>
#include <cstring>
#include <string>

#include "field/field.h"
#include "field/level_file.h"
#include "fuzz_support.h"
#include "marble/bead.h"
#include "platform/grid.h"
#include "support/fakes.h"
#include "tiles/tile.h"

namespace {

bead *marble;
const size_t guard = 64;

bool ring(size_t k)
{
    size_t i = k / 14, j = k % 14;
    return i == 0 || i == 13 || j == 0 || j == 13;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::setup();
    marble = new bead;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fake::reset();
    const std::string path = fuzz::temp_path("level.vkl");
    fuzz::write_bytes(path, data, size);

    // The editor's reader: a regular file always reads, within its buffer.
    static char text[level_text_max + 1 + guard];
    std::memset(text, 0x5a, sizeof text);
    if (load_thedata(path, text) != 0)
        fuzz::fail("load_thedata refused a regular file");
    const size_t len = strnlen(text, sizeof text);
    if (len < 196 || len > static_cast<size_t>(level_text_max))
        fuzz::fail("level text of %zu characters", len);
    for (size_t k = len + 1; k < sizeof text; k++)
        if (text[k] != 0x5a)
            fuzz::fail("load_thedata wrote past the text, at %zu", k);
    for (size_t k = 0; k < 14; k++)
        if (text[k] != '*' || text[len - 1 - k] != '*')
            fuzz::fail("first or last row is not walls");

    // Saved and read back, the first 196 codes return with the ring made walls.
    const std::string saved = fuzz::temp_path("saved.vkl");
    if (save_file(saved, text) != 0)
        fuzz::fail("save_file failed");
    static char again[level_text_max + 1];
    if (load_thedata(saved, again) != 0 || std::strlen(again) != 196)
        fuzz::fail("saved level does not read back as 196 codes");
    for (size_t k = 0; k < 196; k++)
        if (again[k] != (ring(k) ? '*' : text[k]))
            fuzz::fail("saved level differs at %zu", k);

    // The game run's reader and the field.
    field *f = field::load_field_file(path);
    if (f) {
        if (f->status != field::built || !f->start_point || !f->tiles)
            fuzz::fail("field handed on with status %d", f->status);
        for (int i = 0; i < 14; i++)
            for (int j = 0; j < 14; j++) {
                bool edge = i == 0 || j == 0 || i == 13 || j == 13;
                if (edge && (f->codes[i][j] != '*' || !f->tiles[i][j]))
                    fuzz::fail("ring cell (%d, %d) is no wall", i, j);
                if (f->tiles[i][j] && (f->tiles[i][j]->x != grid::cell_centre(j) || f->tiles[i][j]->y != grid::cell_centre(i)))
                    fuzz::fail("tile (%d, %d) off its centre", i, j);
            }
        f->test_draw();
        fuzz::roll(*marble, f, data, size, 300);
        delete f;
    }
    return 0;
}

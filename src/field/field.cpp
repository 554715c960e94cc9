#include "field/field.h"

#include "tiles/tile.h"

// Stub: replaced by the real field.
field::field(const char *, int r, int c)
    : columns(c), rows(r), tiles(nullptr), start_point(nullptr), codes(nullptr), status(1), flag_count(0)
{
}
field::~field() {}
void field::init_tiles() {}
void field::test_draw() {}
field *field::load_field_file(std::string) { return nullptr; }

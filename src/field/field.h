#pragma once
#include <cstdint>
#include <string>

class tile;

// One level in play: a grid of tiles built from a level text of one code character per cell.
class field {
public:
    int32_t columns;
    int32_t rows;
    enum build_status : int32_t { built, no_start_point, several_start_points };

    tile ***tiles;       // rows arrays of columns pointers; null unless status is built;
                         // a cell with an invalid code holds a null pointer
    tile *start_point;   // also in tiles, not owned twice
    char **codes;        // rows arrays of columns characters, no terminators
    int32_t status;      // a build_status
    int32_t flag_count;

    // The board is the text's first rows x columns characters; cells past a short text and the
    // whole outer ring are walls.
    field(const char *text, int rows, int columns);
    ~field();
    field(const field &) = delete;
    field &operator=(const field &) = delete;

    void init_tiles();
    void test_draw();

    // Reads a level file; null when it cannot be read or holds no single start point.
    static field *load_field_file(std::string path);
    // Builds a level text; null when it holds no single start point.
    static field *from_text(const std::string &text);
};

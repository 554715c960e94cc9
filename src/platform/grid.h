#pragma once
#include <cmath>
#include <cstddef>

// The board's measures in pixels. The board is drawn from the screen's top-left corner, so a
// board pixel is a screen pixel.
namespace grid {

constexpr int cells = 14;                      // a board is cells by cells, its outer ring walls
constexpr int level_chars = cells * cells;     // one level code a cell
constexpr int cell = 39;                       // a cell's side
constexpr int pixels = cells * cell;           // the board's side, 546
constexpr int half = 20;                       // from a cell's centre to its corner points and to
                                               // a 40-pixel picture's top-left corner
constexpr int reach = 16;                      // the marble's radius: how near its centre comes
                                               // to a corner point or a side
constexpr int face = half + reach;             // a closed side, as the line the centre keeps to
constexpr int channel = 3;                     // a tube's channel either side of its axis
constexpr int block = 3 * cell;                // a cell and its eight neighbours, drawn each frame

// The one rule of a board's outer ring: the code of the cell in `row` and `column` of a rows x
// columns board built from a level text of `length` codes, row after row. The ring and every
// cell past the text's end are walls, whatever the text says: the marble's neighbour scan
// relies on the ring to stay on the board, and a malformed file can bring anything there.
inline char board_code(const char *text, size_t length, int row, int column, int rows = cells, int columns = cells)
{
    const size_t k = static_cast<size_t>(row) * static_cast<size_t>(columns) + static_cast<size_t>(column);
    const bool ring = row == 0 || column == 0 || row == rows - 1 || column == columns - 1;
    return ring || k >= length ? '*' : text[k];
}

// The centre of the cell in row or column i.
constexpr int cell_centre(int i)
{
    return i * cell + half;
}

// The row or column of the cell under a coordinate, rounded down (negative left of or above
// the board). For finite coordinates only.
inline int cell_of(float position)
{
    return (int)std::floor(position / (float)cell);
}

}  // namespace grid

#pragma once
#include "platform/grid.h"

// The row or column of the cell under a coordinate (truncated), kept off the
// outer ring so that the 3 by 3 block around it always lies on the board.
inline int board_cell(float position, int cells)
{
    float c = position / (float)grid::cell;
    if (!(c >= 1.0f))  // also NaN
        return 1;
    if (c >= (float)(cells - 2))
        return cells - 2;
    return (int)c;
}

#include "shell/data_check.h"

#include "field/grid.h"
#include "shell/data1.h"

namespace {

constexpr int B = DAT_BITMAP;
constexpr int S = DAT_SAMPLE;
constexpr int M = DAT_MIDI;
constexpr int F = DAT_FONT;
constexpr int P = DAT_PALETTE;

constexpr int kinds[OBJ_COUNT] = {
    B, S, B, B, S, B, B, B, B, B,  //  0.. 9
    B, B, B, B, B, S, B, B, S, B,  // 10..19
    B, B, F, M, S, B, B, B, B, B,  // 20..29
    B, M, F, P, B, B, B, B, B, B,  // 30..39
    B, B, S, B,                    // 40..43
};

}  // namespace

int data1_kind(int index)
{
    return index >= 0 && index < OBJ_COUNT ? kinds[index] : DAT_END;
}

bool data1_usable(const DATAFILE *dat)
{
    if (!dat)
        return false;
    // The array ends with a DAT_END entry; stop there even if it comes early.
    for (int i = 0; i < OBJ_COUNT; ++i) {
        if (dat[i].type == DAT_END || dat[i].type != kinds[i] || !dat[i].dat)
            return false;
    }
    // The fall's last frame is shrunk from its top-left cell, and the library's
    // stretch does not clip its source: a smaller picture would be read out of bounds.
    const BITMAP *last = static_cast<const BITMAP *>(dat[OBJ_FALL7].dat);
    return last->w >= grid::cell && last->h >= grid::cell;
}

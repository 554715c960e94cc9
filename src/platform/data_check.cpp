#include "platform/data_check.h"

#include "platform/data1.h"
#include "platform/grid.h"

namespace {

constexpr int kinds[OBJ_COUNT] = {
#define DATA1_KIND(name, kind, what) DAT_##kind,
    DATA1_OBJECTS(DATA1_KIND)
#undef DATA1_KIND
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

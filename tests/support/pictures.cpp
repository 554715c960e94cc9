#include "support/pictures.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include "platform/globals.h"

Pixel brightest_opaque(int object, int left, int top)
{
    BITMAP *picture = static_cast<BITMAP *>(data1[object].dat);
    Pixel best{left, top, 0};
    int best_sum = -1;
    for (int y = 0; y < picture->h; ++y)
        for (int x = 0; x < picture->w; ++x) {
            const int c = getpixel(picture, x, y);
            const int sum = getr(c) + getg(c) + getb(c);
            if (c != bitmap_mask_color(picture) && sum > best_sum) {
                best = {left + x, top + y, c};
                best_sum = sum;
            }
        }
    EXPECT_GT(best_sum, 0) << "object " << object << " has no bright opaque pixel";
    return best;
}

#include "platform/window.h"

#include <gtest/gtest.h>

// The mask X takes for the WM_HINTS icon: a bit a pixel, lowest bit leftmost, rows on whole
// bytes, set from half opacity up.
TEST(WindowIcon, MaskBitsAreXBitmapRows)
{
    std::uint32_t argb[2 * 10] = {};
    argb[0] = 0xff102030u;  // opaque
    argb[1] = 0x7fffffffu;  // just under half: left out
    argb[2] = 0x80000000u;  // half: in, whatever its colour
    argb[9] = 0xffffffffu;  // the tenth pixel: the second bit of the row's second byte
    for (int x = 0; x < 10; x++)
        argb[10 + x] = 0xff000000u;
    const std::vector<unsigned char> want = {0x05, 0x02, 0xff, 0x03};
    EXPECT_EQ(icon_mask_bits(argb, 10, 2), want);
}

// An icon pixel in the screen's own pixel format, from the visual's masks; the alpha is left out.
TEST(WindowIcon, PixelsTakeTheVisualsChannels)
{
    EXPECT_EQ(visual_pixel(0x80123456u, 0xff0000, 0x00ff00, 0x0000ff), 0x123456ul);
    EXPECT_EQ(visual_pixel(0x00123456u, 0x0000ff, 0x00ff00, 0xff0000), 0x563412ul);  // BGR
    // 5-6-5: 0xff -> 31, 0x80 -> 32, 0x40 -> 8
    EXPECT_EQ(visual_pixel(0xffff8040u, 0xf800, 0x07e0, 0x001f), (31ul << 11) | (32ul << 5) | 8ul);
    // ten bits a channel: 0x12 -> 0x48, 0x34 -> 0xd0, 0x56 -> 0x158
    EXPECT_EQ(visual_pixel(0xff123456u, 0x3ff00000, 0x000ffc00, 0x000003ff),
              (0x48ul << 20) | (0xd0ul << 10) | 0x158ul);
}

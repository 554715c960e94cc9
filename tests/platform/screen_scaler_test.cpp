#include <allegro.h>
#include <gtest/gtest.h>

#include <string>

#include "platform/screen_scaler.h"
#include "support/fakes.h"

namespace {

// A memory bitmap plays the enlarged window; the scaler's small bitmap is drawn on with the
// library's ordinary routines, as the game draws on `screen`.
class ScaledScreen : public ::testing::Test {
protected:
    BITMAP *window = create_bitmap(1600, 1200);
    screen_scaler *scaler = new screen_scaler(window, 2);
    BITMAP *small = scaler->small();
    int red = makecol(255, 0, 0);
    int green = makecol(0, 255, 0);
    int blue = makecol(0, 0, 255);

    ~ScaledScreen() override
    {
        delete scaler;
        destroy_bitmap(window);
    }
    int at(int x, int y) { return getpixel(window, x, y); }
};

TEST_F(ScaledScreen, EveryDrawingRoutineReachesTheWindowEnlargedTwice)
{
    rectfill(small, 10, 20, 29, 39, red);
    putpixel(small, 700, 500, green);
    scaler->present(nullptr, 0, 0);
    // Small pixel (x, y) covers window pixels 2x..2x+1, 2y..2y+1.
    EXPECT_EQ(at(20, 40), red);
    EXPECT_EQ(at(59, 79), red);
    EXPECT_EQ(at(19, 40), 0);
    EXPECT_EQ(at(60, 79), 0);
    EXPECT_EQ(at(20, 80), 0);
    EXPECT_EQ(at(1400, 1000), green);
    EXPECT_EQ(at(1401, 1001), green);
    EXPECT_EQ(at(1402, 1000), 0);

    // Blits, sprites, text and clears all go through the line hook.
    BITMAP *tile = create_bitmap(39, 39);
    clear_to_color(tile, blue);
    blit(tile, small, 0, 0, 100, 100, 39, 39);
    draw_sprite(small, tile, 200, 450);
    textout_ex(small, font, "Ok", 300, 100, green, -1);
    BITMAP *part = create_sub_bitmap(small, 400, 300, 50, 50);
    clear_to_color(part, red);
    scaler->present(nullptr, 0, 0);
    EXPECT_EQ(at(200, 200), blue);
    EXPECT_EQ(at(277, 277), blue);
    EXPECT_EQ(at(400, 900), blue);  // a sprite alone on its rows
    EXPECT_EQ(at(477, 977), blue);
    bool text = false;
    for (int y = 200; y < 216; y++)
        for (int x = 600; x < 632; x++)
            text |= at(x, y) == green;
    EXPECT_TRUE(text) << "the text did not reach the window";
    EXPECT_EQ(at(800, 600), red);   // the sub-bitmap's corner, at its place on the screen
    EXPECT_EQ(at(899, 699), red);
    EXPECT_EQ(at(900, 700), 0);
    part->id &= ~BMP_ID_SYSTEM;  // else handed to the graphics driver, which a test has not
    destroy_bitmap(part);
    destroy_bitmap(tile);

    clear_to_color(small, blue);
    scaler->present(nullptr, 0, 0);
    EXPECT_EQ(at(0, 0), blue);
    EXPECT_EQ(at(1599, 1199), blue);
}

TEST_F(ScaledScreen, OnlyWhatChangedIsCopied)
{
    rectfill(small, 0, 0, 799, 599, red);
    scaler->present(nullptr, 0, 0);
    // Marks on the window stand for what was shown before; a present that copied more than
    // the change would paint them over.
    putpixel(window, 0, 0, green);
    putpixel(window, 1599, 1199, green);
    putpixel(window, 800, 100, green);          // a row that is drawn, but left as it was
    putpixel(window, 100, 600, green);          // the changed row, left of the change
    rectfill(small, 400, 40, 420, 60, red);      // drawn, yet the same colour as before
    putpixel(small, 300, 300, blue);
    scaler->present(nullptr, 0, 0);
    EXPECT_EQ(at(600, 600), blue);
    EXPECT_EQ(at(0, 0), green);
    EXPECT_EQ(at(1599, 1199), green);
    EXPECT_EQ(at(800, 100), green);
    EXPECT_EQ(at(100, 600), green);
    // Nothing drawn: nothing copied.
    putpixel(window, 600, 600, green);
    scaler->present(nullptr, 0, 0);
    EXPECT_EQ(at(600, 600), green);
}

TEST_F(ScaledScreen, ThePointerIsDrawnEnlargedAndLeavesNoTrace)
{
    BITMAP *arrow = create_bitmap(4, 3);
    clear_to_color(arrow, green);
    putpixel(arrow, 3, 2, bitmap_mask_color(arrow));
    clear_to_color(small, blue);
    scaler->present(arrow, 100, 50);
    EXPECT_EQ(at(200, 100), green);
    EXPECT_EQ(at(207, 103), green);
    EXPECT_EQ(at(205, 105), green);
    EXPECT_EQ(at(206, 104), blue) << "the sprite's mask colour is see-through";
    EXPECT_EQ(at(208, 100), blue);
    // The small screen itself never holds the pointer.
    EXPECT_EQ(getpixel(small, 100, 50), blue);

    scaler->present(arrow, 101, 50);
    EXPECT_EQ(at(200, 100), blue) << "the pointer's old place is painted again";
    EXPECT_EQ(at(202, 100), green);
    // Drawing under a still pointer keeps the pointer on top.
    rectfill(small, 90, 40, 120, 60, red);
    scaler->present(arrow, 101, 50);
    EXPECT_EQ(at(202, 100), green);
    EXPECT_EQ(at(200, 100), red);
    // A hidden pointer (as in a run) takes its picture away.
    scaler->present(nullptr, 0, 0);
    EXPECT_EQ(at(202, 100), red);
    destroy_bitmap(arrow);
}

TEST(ScreenScale, LargestWholeScaleThatLeavesRoomForTheDesktop)
{
    EXPECT_EQ(fitting_scale(1920, 1080), 1);  // 1200 rows do not fit in 1080
    EXPECT_EQ(fitting_scale(1600, 1200), 1);  // exactly twice: no room for a title bar
    EXPECT_EQ(fitting_scale(2400, 1800), 2);
    EXPECT_EQ(fitting_scale(2560, 1440), 2);
    EXPECT_EQ(fitting_scale(3840, 2160), 3);
    EXPECT_EQ(fitting_scale(5120, 2880), 4);
    EXPECT_EQ(fitting_scale(7680, 4320), 4);
    EXPECT_EQ(fitting_scale(1024, 768), 1);
    EXPECT_EQ(fitting_scale(0, 0), 1);
}

TEST(ScreenScale, ConfigurationKeyChoosesOrLeavesItAutomatic)
{
    const std::string path = make_temp_dir() + "/vinkla.cfg";
    struct Case {
        const char *text;
        int scale;
    } cases[] = {
        {"", 0},           {"scale = 0\n", 0},  {"scale = 1\n", 1},   {"scale = 3\n", 3},
        {"scale = 4\n", 4}, {"scale = 5\n", 0},  {"scale = -2\n", 0}, {"scale = kaksi\n", 0},
        {"scale = 2x\n", 0}, {"scale = 2 \n", 2}, {"scale =\n", 0},
        {"scale = 99999999999999999999\n", 0},
    };
    for (const Case &c : cases) {
        write_file(path, std::string("[settings]\n") + c.text);
        set_config_file(path.c_str());
        EXPECT_EQ(config_scale(), c.scale) << c.text;
    }
}

}  // namespace

#include <allegro.h>
#include <gtest/gtest.h>

#include <vector>

#include "platform/data1.h"
#include "platform/data_check.h"
#include "platform/globals.h"

namespace {

// A copy of the loaded file's index (the objects themselves are shared, not copied).
std::vector<DATAFILE> copy_of_data1(int objects)
{
    std::vector<DATAFILE> copy(data1, data1 + objects);
    DATAFILE end{};
    end.type = DAT_END;
    copy.push_back(end);
    return copy;
}

}  // namespace

TEST(DataCheck, KindsFollowTheTableOfObjects)
{
    const int samples[] = {1, 4, 15, 18, 24, 42};
    for (int i : samples)
        EXPECT_EQ(data1_kind(i), DAT_SAMPLE) << i;
    EXPECT_EQ(data1_kind(22), DAT_FONT);
    EXPECT_EQ(data1_kind(32), DAT_FONT);
    EXPECT_EQ(data1_kind(23), DAT_MIDI);
    EXPECT_EQ(data1_kind(31), DAT_MIDI);
    EXPECT_EQ(data1_kind(33), DAT_PALETTE);
    int bitmaps = 0;
    for (int i = 0; i < OBJ_COUNT; ++i)
        bitmaps += data1_kind(i) == DAT_BITMAP;
    EXPECT_EQ(bitmaps, OBJ_COUNT - 6 - 2 - 2 - 1);
    EXPECT_EQ(data1_kind(-1), DAT_END);
    EXPECT_EQ(data1_kind(OBJ_COUNT), DAT_END);
}

TEST(DataCheck, TheGamesOwnFileIsUsable)
{
    EXPECT_TRUE(data1_usable(data1));
    // Objects past the game's (the grabber's info, say) do no harm.
    std::vector<DATAFILE> longer = copy_of_data1(OBJ_COUNT);
    longer.insert(longer.end() - 1, data1[0]);
    EXPECT_TRUE(data1_usable(longer.data()));
}

TEST(DataCheck, TooFewObjectsAreRefused)
{
    EXPECT_FALSE(data1_usable(nullptr));
    EXPECT_FALSE(data1_usable(copy_of_data1(0).data()));
    EXPECT_FALSE(data1_usable(copy_of_data1(OBJ_COUNT - 1).data()));
}

TEST(DataCheck, AWrongKindAnywhereIsRefused)
{
    for (int i : {0, 1, 22, 23, 33, 43, 44, OBJ_COUNT - 1}) {
        std::vector<DATAFILE> bad = copy_of_data1(OBJ_COUNT);
        bad[i].type = data1_kind(i) == DAT_BITMAP ? DAT_SAMPLE : DAT_BITMAP;
        EXPECT_FALSE(data1_usable(bad.data())) << i;
    }
    std::vector<DATAFILE> swapped = copy_of_data1(OBJ_COUNT);
    std::swap(swapped[31], swapped[32]);  // music where the text font should be
    EXPECT_FALSE(data1_usable(swapped.data()));
}

TEST(DataCheck, AnObjectWithoutContentsIsRefused)
{
    std::vector<DATAFILE> bad = copy_of_data1(OBJ_COUNT);
    bad[19].dat = nullptr;
    EXPECT_FALSE(data1_usable(bad.data()));
}

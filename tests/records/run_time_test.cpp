// The run's clock as the records keep it.
#include <gtest/gtest.h>

#include "platform/text_encoding.h"
#include "records/record_table.h"
#include "records/run_time.h"

// The clock stops at a thousand hours (360,000,000 hundredths) instead of running on to a time
// that overflows; a run stopped there is still read back from the records file.
TEST(RunTime, ClockStopsAtAThousandHoursAndTheRecordsReadIt)
{
    const int cap = 360000000;
    EXPECT_EQ(1, add_time(0, 1));
    EXPECT_EQ(209, add_time(1, 208));
    EXPECT_EQ(cap - 1, add_time(cap - 2, 1));
    EXPECT_EQ(cap, add_time(cap - 1, 1));
    EXPECT_EQ(cap, add_time(cap - 5, 208));
    EXPECT_EQ(cap, add_time(cap, 1));
    EXPECT_EQ(cap, add_time(cap, 208));
    EXPECT_EQ("60000:00,00", time_text(cap));  // 1000 h = 60,000 min

    record_table t;
    ASSERT_EQ(0, t.enter("00000000000000aa", {add_time(cap - 1, 208), "2026-12-08", L1("Sitkeä")}));
    record_table back;
    EXPECT_EQ(0, back.read(t.text()));
    ASSERT_EQ(1u, back.table("00000000000000aa").size());
    EXPECT_EQ(cap, back.table("00000000000000aa")[0].time);
}

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "rules/run_file.h"

namespace {

run_record three_frames()
{
    run_record r;
    r.board = "0123456789abcdef";
    r.tilts = {{0, 0}, {0, 0}, {200.0f, -1.5f}};
    return r;
}

}  // namespace

// The bytes worked out by hand: two frames level, then one at full tilt right and 1.5 up.
TEST(RunFile, WritesTheHeaderTheSpansAndASum)
{
    const std::string bytes = write_run(three_frames());
    const std::string head = "vinkla-run 1\nboard 0123456789abcdef\nrules 1\nframes 3\nspans 2\n";
    const std::string spans("\x02\x00" "\x00\x00\x00\x00" "\x00\x00\x00\x00"   // 2 x (0, 0)
                            "\x01\x00" "\x00\x00\x48\x43" "\x00\x00\xc0\xbf",  // 1 x (200, -1.5)
                            20);
    ASSERT_EQ(bytes.size(), head.size() + spans.size() + 21);
    EXPECT_EQ(bytes.substr(0, head.size()), head);
    EXPECT_EQ(bytes.substr(head.size(), spans.size()), spans);
    const std::string sum = bytes.substr(head.size() + spans.size());
    EXPECT_EQ(sum.substr(0, 4), "sum ");
    EXPECT_EQ(sum.find_first_not_of("0123456789abcdef", 4), 20u);
    EXPECT_EQ(sum.back(), '\n');

    run_record back;
    std::string why;
    ASSERT_TRUE(read_run(bytes, back, why)) << why;
    EXPECT_EQ(back.board, "0123456789abcdef");
    EXPECT_EQ(back.rules, rules_version);
    ASSERT_EQ(back.tilts.size(), 3u);
    EXPECT_TRUE(back.tilts[2] == (run_tilt{200.0f, -1.5f}));

    // A span holds at most 65535 frames.
    run_record longer;
    longer.board = "0123456789abcdef";
    longer.tilts.assign(70000, run_tilt{3, 4});
    const std::string many = write_run(longer);
    EXPECT_NE(many.find("frames 70000\nspans 2\n\xff\xff", 0), std::string::npos);
    ASSERT_TRUE(read_run(many, back, why)) << why;
    EXPECT_EQ(back.tilts.size(), 70000u);
}

// Anything but the file as written is refused: each byte changed, each shorter length, a tilt
// no player can make even under a correct sum.
TEST(RunFile, RefusesEveryChangeAndCut)
{
    const std::string bytes = write_run(three_frames());
    run_record r;
    std::string why;
    for (size_t i = 0; i < bytes.size(); i++) {
        std::string changed = bytes;
        changed[i] = static_cast<char>(changed[i] ^ 0x20);
        EXPECT_FALSE(read_run(changed, r, why)) << "byte " << i;
        EXPECT_TRUE(r.tilts.empty());
        EXPECT_FALSE(read_run(bytes.substr(0, i), r, why)) << "cut at " << i;
    }
    for (float bad : {NAN, INFINITY, 200.5f, -1e30f}) {
        run_record odd = three_frames();
        odd.tilts[1].y = bad;
        EXPECT_FALSE(read_run(write_run(odd), r, why)) << bad;
        EXPECT_EQ(why, "damaged tilts");
    }
    EXPECT_FALSE(read_run("", r, why));
    EXPECT_FALSE(read_run("vinkla-run 1\nboard 0123456789abcdef\nrules 1\nframes 999999999\nspans 1\n", r, why));
}

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "field/level_file.h"
#include "platform/fnv1a.h"
#include "platform/text_encoding.h"
#include "records/record_table.h"
#include "records/shared_run.h"
#include "support/fakes.h"

namespace {

// Two frames on the blank board: level, then right and up.
shared_run tiny()
{
    shared_run s{L1("\tTyhjä"), blank_level, run_record()};
    s.run.board = level_key(blank_level);
    s.run.tilts = {{0, 0}, {10, -2}};
    return s;
}

// `from` replaced by `to` once, under a new correct sum.
std::string changed(std::string bytes, const std::string &from, const std::string &to)
{
    bytes.replace(bytes.find(from), from.size(), to);
    bytes.resize(bytes.rfind("sum "));
    return bytes + "sum " + fnv1a_hex(bytes.data(), bytes.size()) + "\n";
}

}  // namespace

// The run file is 13 + 23 + 8 + 9 + 8 bytes of header, two 10-byte spans and a 21-byte sum: 102.
// The tab is left out of the title and the ä is one Latin-1 byte.
TEST(SharedRun, WritesTitleLevelRunAndSum)
{
    const shared_run s = tiny();
    const std::string head = "vinkla-suoritus 1\ntitle Tyhj\xe4\nlevel 196\n" + std::string(blank_level) +
                             "run 102\n" + write_run(s.run);
    const std::string bytes = write_shared_run(s);
    ASSERT_EQ(bytes.size(), 18u + 12 + 10 + 196 + 8 + 102 + 21);
    EXPECT_EQ(bytes, head + "sum " + fnv1a_hex(head.data(), head.size()) + "\n");

    // Opened as the player opens it, from a file.
    const std::string dir = make_temp_dir();
    write_file(dir + "/tyhja.vkr", bytes);
    shared_run back;
    std::string why;
    ASSERT_TRUE(load_shared_run(dir + "/tyhja.vkr", back, why)) << why;
    EXPECT_EQ(back.title, "Tyhj\xe4");
    EXPECT_EQ(back.level, blank_level);
    EXPECT_EQ(write_run(back.run), write_run(s.run));
    std::filesystem::remove_all(dir);
}

TEST(SharedRun, RefusesWhatCannotBeTrusted)
{
    const std::string good = write_shared_run(tiny());
    auto why_refused = [](const std::string &bytes) {
        shared_run r;
        std::string why;
        EXPECT_FALSE(read_shared_run(bytes, r, why));
        EXPECT_TRUE(r.level.empty() && r.run.tilts.empty());
        return why;
    };
    std::string flipped = good;
    flipped[50] ^= 1;  // a wall of the level's first row
    EXPECT_EQ(why_refused(flipped), "damaged (its sum does not match)");
    EXPECT_EQ(why_refused(good.substr(0, good.size() - 1)), "damaged or cut short");

    shared_run moved = tiny();
    moved.level[30] = 'F';  // a second flag: a board the run was not made on
    EXPECT_EQ(why_refused(write_shared_run(moved)), "the run was made on another board");
    EXPECT_EQ(why_refused(changed(good, "*AF", "*.F")), "the level has no start");
    EXPECT_EQ(why_refused(changed(good, "*AF", "*A.")), "the level cannot be played to the end");
    EXPECT_EQ(why_refused(changed(good, "*AF.", "*AF ")), "the level text holds whitespace or a NUL");
    EXPECT_EQ(why_refused(changed(good, "Tyhj\xe4", "Tyhj\x7f")), "the title holds bytes that are not printable");

    // Lengths that lie, out of bounds or not in plain decimal.
    EXPECT_EQ(why_refused(changed(good, "level 196", "level 197")), "damaged or cut short");
    EXPECT_EQ(why_refused(changed(good, "run 102", "run 101")), "damaged or cut short");
    EXPECT_EQ(why_refused(changed(good, "level 196", "level 1960")), "damaged header");
    EXPECT_EQ(why_refused(changed(good, "level 196", "level 0196")), "damaged header");
    EXPECT_EQ(why_refused(changed(good, "vinkla-run", "vinkla-ran")), "not a run file");
    EXPECT_EQ(why_refused(""), "not a shared run");

    // A file far longer than any shared run is not read at all.
    const std::string dir = make_temp_dir();
    write_file(dir + "/long.vkr", std::string(4 << 20, 'x'));
    shared_run back;
    std::string why;
    EXPECT_FALSE(load_shared_run(dir + "/long.vkr", back, why));
    EXPECT_EQ(why, "too long to be a shared run");
    std::filesystem::remove_all(dir);
}

// Soak: whole game runs on every shipped level and on random levels of every tile kind, under a
// restless random hand, with the marble checked after every frame: finite, on the inner board,
// never inside a wall, never more than a cell in one frame. A few seconds in `make test`;
// VINKLA_SOAK_FRAMES sets the frames of each test (make soak: millions), VINKLA_SOAK_SEED the
// random seed (a failure prints the seed and the level, which replay it).
#include <allegro.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "marble/bead.h"
#include "platform/globals.h"
#include "platform/grid.h"
#include "soak/soak_checks.h"
#include "support/fakes.h"

namespace {

namespace fs = std::filesystem;

long env_number(const char *name, long fallback)
{
    const char *text = std::getenv(name);
    if (!text || !*text)
        return fallback;
    char *end = nullptr;
    long v = std::strtol(text, &end, 10);
    return *end == '\0' && v > 0 ? v : fallback;
}

#if defined(__SANITIZE_ADDRESS__)
const long default_frames = 50000;  // the same checks at the sanitizers' pace
#else
const long default_frames = 100000;
#endif

long frames_per_test()
{
    return env_number("VINKLA_SOAK_FRAMES", default_frames);
}

unsigned seed()
{
    return static_cast<unsigned>(env_number("VINKLA_SOAK_SEED", 1));
}

class Soak : public ::testing::Test {
protected:
    std::string dir = make_temp_dir();
    bead b;
    soak::hand player{seed()};
    long frames = 0;    // played in this test
    int problems = 0;
    std::chrono::steady_clock::time_point began = std::chrono::steady_clock::now();

    void TearDown() override
    {
        key[KEY_ESC] = 0;
        fake::on_rest = nullptr;
        double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
        std::printf("soak: %ld frames in %.1f s (%.2f us a frame), seed %u\n", frames, s,
                    frames ? s * 1e6 / frames : 0.0, seed());
        std::error_code ec;
        fs::remove_all(dir, ec);
    }

    // One game run of the level file, Esc after `budget` frames (or won earlier); every frame
    // is checked while it waits for its tick. Returns the frames played.
    long play(const std::string &path, long budget)
    {
        long n = 0;
        int last_ticks = fake::tick_waits;
        bool fell = false;
        float last_x = 0, last_y = 0;
        fake::on_rest = [&] {
            const bool frame = fake::tick_waits != last_ticks;
            last_ticks = fake::tick_waits;
            if (!frame || teh_counter > 0)  // the fall's animation: ticks of its frame still to come
                return;
            n++;
            std::string problem = soak::marble_problem(b);
            if (problem.empty() && n > 1 && !fell &&
                (std::fabs(b.x - last_x) >= grid::cell || std::fabs(b.y - last_y) >= grid::cell)) {
                char what[120];
                std::snprintf(what, sizeof what, "jumped from (%g, %g) to (%g, %g)", last_x,
                              last_y, b.x, b.y);
                problem = what;
            }
            if (!problem.empty() && problems++ < 5)
                ADD_FAILURE() << path << ", frame " << n << " of its run, seed " << seed()
                              << ": " << problem << "\n"
                              << read_file(path);
            fell = b.state == bead::fallen;  // the next frame starts again elsewhere
            last_x = b.x;
            last_y = b.y;
            fake::mickeys.push_back(player.next(b.tilt_x, b.tilt_y));
            // The records of the fakes would grow without end.
            fake::samples.clear();
            fake::stopped.clear();
            fake::mouse_positions.clear();
            if (n >= budget)
                key[KEY_ESC] = 1;
        };
        b.start_bead(path);
        key[KEY_ESC] = 0;
        fake::on_rest = nullptr;
        fake::mickeys.clear();
        frames += n;
        return n;
    }
};

TEST_F(Soak, ShippedLevels)
{
    std::vector<std::string> levels;
    for (const auto &entry : fs::directory_iterator(VINKLA_DATA_DIR))
        if (entry.path().extension() == ".vkl")
            levels.push_back(entry.path().string());
    std::sort(levels.begin(), levels.end());
    ASSERT_GE(levels.size(), 1u);

    const long share = frames_per_test() / static_cast<long>(levels.size()) + 1;
    for (const std::string &level : levels) {
        long played = 0;
        while (played < share) {
            long n = play(level, share - played);
            ASSERT_GT(n, 0) << level << " did not start";
            played += n;
        }
        EXPECT_TRUE(fake::alerts.empty()) << level << ": " << fake::alerts[0].s1;
    }
}

TEST_F(Soak, RandomLevelsOfEveryTileKind)
{
    std::mt19937 rng(seed());
    const long budget = frames_per_test();
    const long per_level = 5000;
    int levels = 0;
    while (frames < budget) {
        std::string text = soak::random_level(rng, soak::random_kinds(rng));
        std::string path = dir + "/random.vkl";
        write_file(path, soak::level_file(text));
        long n = play(path, std::min(per_level, budget - frames));
        ASSERT_GT(n, 0) << "a random level did not start:\n" << soak::level_file(text);
        levels++;
    }
    EXPECT_TRUE(fake::alerts.empty()) << fake::alerts[0].s1;
    std::printf("soak: %d random levels\n", levels);
}

}  // namespace

namespace {

// Found by the level fuzzer: a marble rushing diagonally at the corner of a wall whose two
// orthogonal neighbours are open steps from 17.6 pixels off the corner point (157, 157), just
// outside the corner test's reach of 16, to 3.7 pixels past it, inside the wall's cell: from the
// cell (4, 4) the wall is only a diagonal neighbour. The step must not end inside the wall.
TEST(SoakFinding, DiagonalRushAtAWallCornerStaysOut)
{
    const std::string ring = "**************", open = "*............*";
    std::string text = ring + "*A...........*" + open + "*..*.........*";
    for (int i = 4; i < 13; i++)
        text += open;
    text += ring;
    bead b;
    b.current_field = new field(text.c_str(), 14, 14);
    b.x = b.old_x = 168.783f;
    b.y = b.old_y = 170.098f;
    b.speed = Vektor(-15, -15);
    b.state = bead::rolling;
    b.move();
    EXPECT_EQ("", soak::marble_problem(b));
}

}  // namespace

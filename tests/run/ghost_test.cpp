// The ghost: the best run stepped on a board of its own, in step with the run's clock.
#include <gtest/gtest.h>

#include <string>

#include "field/field.h"
#include "field/level_file.h"
#include "platform/grid.h"
#include "marble/bead.h"
#include "rules/run_file.h"
#include "run/ghost.h"
#include "support/levels.h"
#include "tiles/flag_tile.h"
#include "tiles/tile.h"

namespace {

int flags_taken(const field &f)
{
    int n = 0;
    for (int r = 0; r < f.rows; r++)
        for (int c = 0; c < f.columns; c++)
            if (auto *flag = dynamic_cast<flag_tile *>(f.tiles[r][c]))
                n += flag->taken;
    return n;
}

}  // namespace

TEST(Ghost, TakesItsLastFlagInTheRunsTimeAndLeavesThePlayersBoardAlone)
{
    std::string text, why;
    ASSERT_TRUE(read_level_text(VINKLA_DATA_DIR "/sarjat/1_alkeet/01_alku.vkl", text));
    run_record run;
    ASSERT_TRUE(load_run(VINKLA_DATA_DIR "/sarjat/1_alkeet/01_alku.vkl.mouse.run", run, why)) << why;
    const int length = static_cast<int>(run.tilts.size());  // it wins on its last frame, with no fall

    field *players = field::from_text(text);
    ghost g(run.tilts);
    g.restart(field::from_text(text));
    int last = -1;
    for (int tick = 1; tick <= length + 100; tick++) {
        g.advance(1);
        for (const auto &f : g.taken_now)
            last = g.flag_time(f.first, f.second);
    }
    EXPECT_EQ(length, last);
    EXPECT_EQ(0, flags_taken(*players));
    const int end_x = g.x(), end_y = g.y();

    // The ticks of a player's fall come in one batch: the ghost ends where it ended.
    g.restart(field::from_text(text));
    EXPECT_EQ(-1, g.flag_time(end_x, end_y));
    g.advance(1 + bead::fall_time);
    g.advance(length + 100 - 1 - bead::fall_time);
    EXPECT_EQ(end_x, g.x());
    EXPECT_EQ(end_y, g.y());
    delete players;
}

TEST(Ghost, AFallHidesItForTheFallsCostThenItStartsAgain)
{
    // A hole beside the start, a flag far off, and the board tilted fully east.
    std::vector<std::string> rows = levels::open_board({{6, "*....AO......*"}, {12, "*...........F*"}});
    rows[1][1] = '.';
    const std::string text = levels::text_of(rows);
    const std::vector<run_tilt> tilts(400, run_tilt{200, 0});
    bead alone;  // the rules alone find the frame it falls in
    alone.current_field = field::from_text(text);
    alone.place_on_start();
    int fall = 0;
    while (!alone.events.fell && fall < 400) {
        alone.step(200, 0);
        fall++;
    }
    ASSERT_TRUE(alone.events.fell);

    ghost g(tilts);
    g.restart(field::from_text(text));
    g.advance(fall - 1);
    EXPECT_TRUE(g.visible());
    g.advance(1);  // the fall: gone for 2.07 s of the clock
    EXPECT_FALSE(g.visible());
    g.advance(bead::fall_time - 1);
    EXPECT_FALSE(g.visible());
    g.advance(1);
    EXPECT_TRUE(g.visible());
    EXPECT_EQ(grid::cell_centre(5), g.x());
    EXPECT_EQ(grid::cell_centre(6), g.y());
}

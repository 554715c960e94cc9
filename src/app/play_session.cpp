#include "app/play_session.h"

#include "field/level_order.h"
#include "marble/bead.h"
#include "menu/win_dialog.h"

std::string play_session(bead &marble, std::string level)
{
    for (;;) {
        marble.start_bead(level);
        if (!marble.won)
            return level;
        switch (win_dialog(marble.level_id, marble.run_time, false, marble.played, level_title(level))) {
        case win_next:
            level = next_level_file(level);
            break;
        case win_again:
            break;
        default:
            return level;
        }
    }
}

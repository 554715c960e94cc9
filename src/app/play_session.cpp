#include "app/play_session.h"

#include <allegro.h>

#include "field/field.h"
#include "field/file_select.h"
#include "field/level_file.h"
#include "field/level_order.h"
#include "marble/bead.h"
#include "menu/win_dialog.h"
#include "platform/text_encoding.h"
#include "records/campaign.h"
#include "records/run_replay.h"
#include "records/run_time.h"
#include "records/shared_run.h"

namespace {

// The level's table, its runs watched in `marble`'s view.
table_level level_table(bead &marble, const std::string &title, const std::string &text)
{
    table_level level;
    level.title = title;
    level.text = text;
    level.watch = [&marble, title, text](const std::vector<run_tilt> &tilts, const std::string &verdict) {
        marble.watch_level(title, [text] { return field::from_text(text); }, tilts, verdict);
    };
    return level;
}

}  // namespace

std::string play_session(bead &marble, std::string level)
{
    bool won_one = false;
    for (;;) {
        marble.start_bead(level);
        if (!marble.won)
            return won_one ? next_unwon(level) : level;
        won_one = true;
        std::string text;
        if (!read_level_text(level, text))
            text.clear();  // gone meanwhile: the table shows, its runs cannot be proven
        const std::vector<run_tilt> played = marble.played;
        table_level table = level_table(marble, shown_title(level), text);
        table.medals = level_medals(level);
        switch (win_dialog(marble.level_id, marble.run_time, false, played, table)) {
        case win_next:
            level = next_in_set(level);
            break;
        case win_again:
            break;
        default:
            // Pelaa goes on from the next level not yet won.
            return next_unwon(level);
        }
    }
}

bool shared_run_file(const std::string &path)
{
    const std::string end = std::string(".") + shared_run_extension;
    return path.size() > end.size() && path.compare(path.size() - end.size(), end.size(), end) == 0;
}

void watch_shared_run(bead &marble, const std::string &path)
{
    shared_run s;
    std::string why;
    if (!load_shared_run(path, s, why)) {
        alert("Suoritusta ei voi avata:", shown_file_name(path).c_str(), "tiedosto on vioittunut tai vieras.", "Ok",
              nullptr, 0, 0);
        return;
    }
    const replay_result r = replay_run(field::from_text(s.level), s.run);
    const std::string verdict =
        r.won ? L1("Todistaa itsensä: ") + time_text(static_cast<int>(r.time()))
        : s.run.rules != rules_version ? other_rules_verdict(s.run)
                                       : "Ei todistu: ei voittoa";
    marble.watch_level(s.title.empty() ? shown_file_name(path) : s.title,
                       [&s] { return field::from_text(s.level); }, s.run.tilts, verdict);
}

void level_records(bead &marble, const std::string &level)
{
    std::string text;
    if (!read_level_text(level, text)) {
        alert(L1("Kenttää ei voi lukea:"), shown_file_name(level).c_str(), "", "Ok", nullptr, 0, 0);
        return;
    }
    records_dialog(level_table(marble, shown_title(level), text));
}

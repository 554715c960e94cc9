// The records file: any bytes as vinkla.rec, read as the game reads it at start-up (a damaged
// file copied aside, the rest written back), the tables checked, written and read back unchanged,
// and the win panel drawn with the level's table and a name typed into it.
#include <allegro.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>

#include "fuzz_support.h"
#include "menu/win_dialog.h"
#include "records/player_records.h"
#include "records/record_table.h"
#include "support/fakes.h"

namespace {

bool clean_table(const record_table &t)
{
    if (!t.last_name.empty() && clean_name(t.last_name) != t.last_name)
        return false;
    for (const auto &level : t.levels) {
        const std::vector<record_entry> &runs = level.second;
        if (level.first.size() != 16 || runs.empty() || runs.size() > record_table::kept)
            return false;
        for (size_t i = 0; i < runs.size(); i++) {
            const record_entry &r = runs[i];
            if (r.time < 1 || r.time > record_table::time_max || r.date.size() != 10 ||
                r.name.empty() || clean_name(r.name) != r.name)
                return false;
            if (i > 0 && runs[i - 1].time > r.time)
                return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::setup();
    return 0;
}

namespace {

// The game keeps its records in the working folder: each input is played in the temporary
// folder, and the fuzzer's own folder (its corpus paths are relative) is given back after.
struct in_temp_folder {
    std::filesystem::path back = std::filesystem::current_path();
    in_temp_folder() { std::filesystem::current_path(std::filesystem::path(fuzz::temp_path("x")).parent_path()); }
    ~in_temp_folder() { std::filesystem::current_path(back); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fake::reset();
    in_temp_folder here;
    std::error_code ec;
    for (const auto &e : std::filesystem::directory_iterator(".", ec))
        if (e.path().filename().string().rfind("vinkla.rec", 0) == 0)
            std::filesystem::remove(e.path(), ec);
    fuzz::write_bytes(records_file, data, size);

    record_table direct;
    const int skipped = direct.load(records_file);
    if (!clean_table(direct))
        fuzz::fail("the table read holds a run it should have skipped");

    open_player_records();
    if (fake::alerts.size() != (skipped ? 1u : 0u))
        fuzz::fail("%zu alerts for %d lines skipped", fake::alerts.size(), skipped);
    if (player_records.text() != direct.text())
        fuzz::fail("start-up read differs from a plain read");
    if (skipped) {
        // Nothing lost: the file as it was lies aside, the readable part is written back.
        std::string aside;
        for (const auto &e : std::filesystem::directory_iterator("."))
            if (e.path().filename().string().rfind("vinkla.rec.bak", 0) == 0)
                aside = e.path().string();
        if (aside.empty() || std::filesystem::file_size(aside) != size)
            fuzz::fail("the damaged file was not kept aside whole");
    }

    // What the game writes reads back as it was, with nothing skipped.
    const std::string text = player_records.text();
    if (!player_records.save(records_file).ok())
        fuzz::fail("save failed");
    record_table back;
    if (back.load(records_file) != 0 || back.text() != text)
        fuzz::fail("the written file does not read back the same");

    // The win panel over the first level's table, with a name typed from the input's bytes.
    std::string key = player_records.levels.empty() ? "0000000000000000" : player_records.levels.begin()->first;
    const int time = 1 + static_cast<int>(size % 9000);
    fake::dialog_hook = [&](DIALOG *d, int) -> int {
        d[0].proc(MSG_DRAW, &d[0], 0);
        if (!(d[1].flags & D_HIDDEN)) {
            char *name = static_cast<char *>(d[1].dp);
            const size_t n = std::min<size_t>(size, static_cast<size_t>(d[1].d1));
            std::memcpy(name, data, n);
            name[n] = '\0';
        }
        return 2;  // "Seuraava"
    };
    if (win_dialog(key, time) != win_next)
        fuzz::fail("Seuraava not returned");
    if (!clean_table(player_records))
        fuzz::fail("a typed name entered the table unclean");
    fake::dialog_hook = nullptr;
    return 0;
}

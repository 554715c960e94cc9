// Shared runs: any bytes through the reader, again with the last line made a correct sum, and
// again with the run inside summed and measured anew as well, so that the level and the run
// are read past both sums; every shared run read is written and read back the same, and its
// run stepped on its own level as vinkla-replay steps it.
#include <cstdint>
#include <string>

#include "field/field.h"
#include "field/level_file.h"
#include "fuzz_support.h"
#include "platform/fnv1a.h"
#include "platform/grid.h"
#include "records/record_table.h"
#include "records/run_replay.h"
#include "records/shared_run.h"

namespace {

std::string without_sum(std::string bytes)
{
    const size_t last = bytes.rfind("sum ");
    if (last != std::string::npos)
        bytes.resize(last);
    return bytes;
}

std::string summed(const std::string &bytes)
{
    return bytes + "sum " + fnv1a_hex(bytes.data(), bytes.size()) + "\n";
}

// The run file inside (from its first line to the sum before the file's own) given a correct
// sum, and the "run N" line before it its length.
std::string with_both_sums(const std::string &bytes)
{
    std::string b = without_sum(bytes);
    const size_t run_at = b.find("vinkla-run 1\n");
    const size_t inner = b.rfind("sum ");
    if (run_at == std::string::npos || inner == std::string::npos || inner < run_at)
        return summed(b);
    b.resize(inner);
    b += "sum " + fnv1a_hex(b.data() + run_at, inner - run_at) + "\n";
    const size_t line = b.rfind("run ", run_at);
    if (line != std::string::npos && b.find('\n', line) + 1 == run_at)
        b.replace(line, run_at - line, "run " + std::to_string(b.size() - run_at) + "\n");
    return summed(b);
}

void check(const std::string &bytes)
{
    shared_run s;
    std::string why;
    if (!read_shared_run(bytes, s, why)) {
        if (why.empty())
            fuzz::fail("refused without a reason");
        if (!s.level.empty() || !s.title.empty() || !s.run.tilts.empty())
            fuzz::fail("refused, yet something was read");
        return;
    }
    if (s.title.size() > shared_title_max || s.level.size() < static_cast<size_t>(grid::level_chars) ||
        s.level.size() > static_cast<size_t>(level_text_max) || s.run.board != level_key(s.level))
        fuzz::fail("a shared run was read that no writer makes");
    shared_run back;
    if (!read_shared_run(write_shared_run(s), back, why) || back.title != s.title || back.level != s.level ||
        write_run(back.run) != write_run(s.run))
        fuzz::fail("a shared run read does not come back the same: %s", why.c_str());

    field *board = new field(s.level.c_str(), grid::cells, grid::cells);
    if (board->status != field::built || !board->start_point)
        fuzz::fail("a level was read that the field cannot build");
    const replay_result r = replay_run(board, s.run);
    // A run of other rules is refused unstepped, with the reason.
    const long least = s.run.rules == rules_version ? 1 : 0;
    if (r.frames < least || r.frames > static_cast<long>(s.run.tilts.size()) || (!r.won && r.why.empty()))
        fuzz::fail("a stepped run came out as %ld frames of %zu", r.frames, s.run.tilts.size());
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::setup();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char *>(data), size);
    check(bytes);
    check(summed(without_sum(bytes)));
    check(with_both_sums(bytes));
    return 0;
}

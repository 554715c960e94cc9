// Run files: any bytes through the reader, and again with their last line made a correct sum so
// that the header and the tilts are read past it; every run read is written and read back the
// same, and stepped on a shipped board as vinkla-replay steps it.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

#include "field/field.h"
#include "fuzz_support.h"
#include "platform/fnv1a.h"
#include "records/record_table.h"
#include "rules/run_file.h"
#include "records/run_replay.h"

namespace {

std::string with_sum(std::string bytes)
{
    const size_t last = bytes.rfind("sum ");
    if (last != std::string::npos)
        bytes.resize(last);
    return bytes + "sum " + fnv1a_hex(bytes.data(), bytes.size()) + "\n";
}

void check(const std::string &bytes)
{
    run_record run;
    std::string why;
    if (!read_run(bytes, run, why)) {
        if (why.empty())
            fuzz::fail("refused without a reason");
        return;
    }
    for (const run_tilt &t : run.tilts)
        if (!std::isfinite(t.x) || !std::isfinite(t.y) || std::fabs(t.x) > run_tilt_limit ||
            std::fabs(t.y) > run_tilt_limit)
            fuzz::fail("a tilt no player can make was read");
    run_record back;
    if (!read_run(write_run(run), back, why) || back.board != run.board || back.rules != run.rules ||
        back.tilts.size() != run.tilts.size())
        fuzz::fail("a run read does not come back the same: %s", why.c_str());
    for (size_t i = 0; i < run.tilts.size(); i++)
        if (!(back.tilts[i] == run.tilts[i]))
            fuzz::fail("tilt %zu changed on the way back", i);

    // Stepped on a board with flags far apart, as if it had been made there.
    field *board = field::load_field_file(VINKLA_ROOT_DIR "/data/sarjat/3_mestarit/10_kampa.vkl");
    if (!board)
        fuzz::fail("the shipped board cannot be read");
    run.board = level_key(*board);
    run.rules = rules_version;
    const replay_result r = replay_run(board, run);
    if (r.frames < 1 || r.frames > static_cast<long>(run.tilts.size()) || (!r.won && r.why.empty()))
        fuzz::fail("a stepped run came out as %ld frames of %zu", r.frames, run.tilts.size());
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
    check(with_sum(bytes));
    return 0;
}

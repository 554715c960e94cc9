#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "marble/run_tilt.h"

// A run kept as the board's tilt of every frame, which is all the rules take from a player:
// stepped again on the same board it ends where it ended. The file:
//
//   vinkla-run 1\n
//   board KEY\n          the board's content key (level_key), 16 hex digits
//   rules N\n            the version of the rules it was made with
//   frames F\n           steps in the run, 1 to run_max_frames
//   spans S\n            the tilts, as S spans of frames holding one tilt:
//   (binary)              per span a 16-bit count (1 to 65535) and the tilt's x and y as
//                         32-bit floats, all little-endian: 10 bytes
//   sum HASH\n           FNV-1a (64 bits, 16 hex digits) of every byte before this line
//
// A run file comes from anywhere, so the reader trusts nothing: every count is bounded, every
// tilt finite and within the board's limit, and one byte changed anywhere fails the sum.

// The rules the game steps now; a change that moves any marble makes it one more.
constexpr int rules_version = 1;
constexpr long run_max_frames = 100L * 3600;  // an hour
constexpr float run_tilt_limit = 200.0f;
// The header's lines, a span for every frame and the sum: what a run file can fill at most.
constexpr size_t run_file_max = 256 + 10 * static_cast<size_t>(run_max_frames);

struct run_record {
    std::string board;  // level_key of the board it was made on
    int rules = rules_version;
    std::vector<run_tilt> tilts;  // one a frame
};

std::string write_run(const run_record &run);

// The run in `bytes`, or false with the reason in plain words in `why` (the
// command that reads it says it on standard error).
bool read_run(const std::string &bytes, run_record &out, std::string &why);
// The same for the file at `path` (a regular file only: a pipe is refused, never waited on),
// read no further than the longest run can reach.
bool load_run(const std::string &path, run_record &out, std::string &why);

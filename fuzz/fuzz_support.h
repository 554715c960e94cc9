#pragma once
// Shared by the fuzz harnesses: the headless set-up of the unit tests, a temporary folder of
// this process, and a few frames of play on a field with the marble's invariants checked.
#include <cstddef>
#include <cstdint>
#include <string>

class bead;
class field;

namespace fuzz {

// Headless Allegro, a 32-bit memory screen, a configuration file of this process and the
// game's data1.dat: once, from LLVMFuzzerInitialize.
void setup();

// A path in this process's own temporary folder (removed at exit).
std::string temp_path(const char *name);
void write_bytes(const std::string &path, const uint8_t *data, size_t size);

// A finding: prints what broke and aborts, so libFuzzer keeps the input.
[[noreturn]] void fail(const char *format, ...) __attribute__((format(printf, 1, 2)));

// Plays up to `frames` frames on `f` as a game run does (a fall restarts on the last flag,
// the run ends when no flag is left), with the mouse movement taken from `bytes` and the
// frame drawn now and then; fails when the marble leaves the inner board, enters a wall cell
// or stops being finite. The marble does not keep the field.
void roll(bead &b, field *f, const uint8_t *bytes, size_t size, int frames);

}  // namespace fuzz

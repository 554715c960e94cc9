#!/bin/bash
# Runs the benchmarks in a real window under Xvfb, so that a frame is timed with its copy to the
# window through the library's X11 driver.
# usage: scripts/bench.sh [BUILD_DIR] [BENCHMARK_ARGS...]
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=$(realpath "${1:-$ROOT/build}")
shift || true
source "$ROOT/tests/e2e/lib.sh"
[ -x "$BUILD/bench/vinkla_bench" ] || fail "no benchmarks at $BUILD/bench (make bench builds them)"
e2e_start "145 146 147 148" "$BUILD/bench/vinkla_bench" "$ROOT/data"
"$BUILD/bench/vinkla_bench" "$@"
# The board of records server under load; it needs no display.
bash "$ROOT/scripts/board_bench.sh" "$BUILD"

#!/bin/bash
# Frames per second and processor share of the real program during 10 s of a game run under
# Xvfb, with the marble rolling under a moving hand.
# usage: bench/measure_run.sh [EXECUTABLE] [DATA_FOLDER]   (defaults: build/vinkla, data)
# Frames are counted by preloading bench/frame_counter.c (one blit a frame); the processor time
# is that of the game's process (all its threads) from /proc.
ROOT=$(cd "$(dirname "$0")/.." && pwd)
EXE=$(realpath "${1:-$ROOT/build/vinkla}")
DATA=$(realpath "${2:-$ROOT/data}")
source "$ROOT/tests/e2e/lib.sh"
source "$ROOT/tests/e2e/menu_lib.sh"
e2e_start 95 "$EXE" "$DATA"
W=$E2E_WORK
cc -shared -fPIC -O2 -o "$W/frame_counter.so" "$ROOT/bench/frame_counter.c" -ldl || fail "cannot build the frame counter"
export VINKLA_FRAME_COUNT=$W/frames LD_PRELOAD=$W/frame_counter.so
e2e_game
unset LD_PRELOAD
menu_skip_title
menu_wait 5
e2e_click 400 300  # "Pelaa" on the default level
sleep 1

frames() { od -An -t d8 "$W/frames" | tr -d ' '; }
ticks() { awk '{print $14 + $15}' "/proc/$E2E_GAME_PID/stat"; }
hz=$(getconf CLK_TCK)
f0=$(frames); c0=$(ticks); t0=$(date +%s.%N)
for i in $(seq 1 20); do  # the hand: a new tilt every half second
    xdotool mousemove_relative -- $(( (RANDOM % 61) - 30 )) $(( (RANDOM % 61) - 30 ))
    sleep 0.5
done
f1=$(frames); c1=$(ticks); t1=$(date +%s.%N)
awk -v f=$((f1 - f0)) -v c=$((c1 - c0)) -v t0="$t0" -v t1="$t1" -v hz="$hz" 'BEGIN {
    s = t1 - t0
    printf "%.2f s: %d frames, %.2f frames/s; processor %.2f s, %.1f %% of one core\n", s, f, f / s, c / hz, 100 * c / hz / s
}'
xdotool keydown Escape sleep 0.1 keyup Escape
menu_wait 5
xdotool mousemove_relative -- 1 1
sleep 0.3
e2e_click 400 488
e2e_wait_exit 10 >/dev/null

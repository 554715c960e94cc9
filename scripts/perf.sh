#!/bin/bash
# Figures of the real program under Xvfb, one line each: the time from start to the window and to
# the title picture, frames per second and processor share over 10 s of a run under a moving hand,
# processor share over 10 s in the menu, and the peak memory.
# usage: scripts/perf.sh [BUILD_DIR] [DATA_FOLDER]   (defaults: build, data)
# Frames are counted by preloading bench/frame_counter.c (one blit a frame); processor time is
# that of the game's process (all its threads) from /proc/PID/stat, and apart from it that of the
# main thread (the game's own code; the others are the library's timer and X11 threads); memory
# is the process's VmHWM.
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=$(realpath "${1:-$ROOT/build}")
EXE=$BUILD/vinkla
DATA=$(realpath "${2:-$ROOT/data}")
source "$ROOT/tests/e2e/lib.sh"
source "$ROOT/tests/e2e/menu_lib.sh"
[ -x "$EXE" ] || fail "no program at $EXE (build it first: make build)"
e2e_start "91 92 93 94" "$EXE" "$DATA"
W=$E2E_WORK
cc -shared -fPIC -O2 -o "$W/frame_counter.so" "$ROOT/bench/frame_counter.c" -ldl || fail "cannot build the frame counter"

# An open floor to roll about on; the one flag is walled in, so the run is never won.
{
    echo '**************'
    echo '*A...........*'
    for i in $(seq 1 9); do echo '*............*'; done
    echo '*..........***'
    echo '*..........*F*'
    echo '**************'
    echo 'noname'
    echo '9999'
} >"$W/mittaus.vkl"
printf '[settings]\nlastgame = mittaus.vkl\n' >"$W/vinkla.cfg"

now() { date +%s.%N; }
frames() { od -An -t d8 "$W/frames" | tr -d ' '; }
ticks() { awk '{print $14 + $15}' "/proc/$E2E_GAME_PID/stat"; }
main_ticks() { awk '{print $14 + $15}' "/proc/$E2E_GAME_PID/task/$E2E_GAME_PID/stat"; }
hz=$(getconf CLK_TCK)

# Start to window and to the first picture of the title (not black any more).
t0=$(now)
e2e_game_under 20 env VINKLA_FRAME_COUNT="$W/frames" LD_PRELOAD="$W/frame_counter.so"
t_window=$(now)
got="0 0 0"
for i in $(seq 1 400); do
    e2e_shot "$W/title.png"
    got=$(e2e_pixel "$W/title.png" 400 195)
    [ "$got" != "0 0 0" ] && break
done
[ "$got" != "0 0 0" ] || fail "the title picture never showed"
t_title=$(now)
awk -v a="$t0" -v b="$t_window" -v c="$t_title" 'BEGIN {
    printf "start to window: %.0f ms\n", 1000 * (b - a)
    printf "start to title: %.0f ms (screenshot polling, within about 50 ms)\n", 1000 * (c - a)
}'
menu_skip_title
menu_wait 5

# measure SECONDS LABEL [hand]: frames and processor share over that time.
measure() {
    local f0 c0 m0 s0 f1 c1 m1 s1 i
    f0=$(frames); c0=$(ticks); m0=$(main_ticks); s0=$(now)
    if [ "${3:-}" = hand ]; then
        for i in $(seq 1 $(($1 * 2))); do  # a new tilt every half second
            xdotool mousemove_relative -- $(((RANDOM % 61) - 30)) $(((RANDOM % 61) - 30))
            sleep 0.5
        done
    else
        sleep "$1"
    fi
    f1=$(frames); c1=$(ticks); m1=$(main_ticks); s1=$(now)
    awk -v f=$((f1 - f0)) -v c=$((c1 - c0)) -v m=$((m1 - m0)) -v s0="$s0" -v s1="$s1" -v hz="$hz" -v what="$2" 'BEGIN {
        s = s1 - s0
        if (what == "run")
            printf "run: %.2f frames/s (%d frames in %.2f s)\n", f / s, f, s
        printf "%s: processor %.1f %% of one core (%.2f s in %.2f s), of which the main thread %.1f %%\n", what, 100 * c / hz / s, c / hz, s, 100 * m / hz / s
    }'
}

# The menu sits idle, first straight after the title (whose 10 ms timer is still installed).
xdotool mousemove 700 580
sleep 1
measure 10 "menu after the title"

# "Pelaa" on the level above, with the marble rolling under a moving hand.
e2e_press menu:Pelaa
sleep 1
measure 10 run hand
xdotool keydown Escape sleep 0.1 keyup Escape
menu_wait 5
xdotool mousemove_relative -- 1 1
sleep 0.3

# The menu again, after a run has removed the timer.
xdotool mousemove 700 580
sleep 1
measure 10 "menu after a run"

awk '/^VmHWM/ { printf "peak memory: %d KiB (VmHWM)\n", $2 }' "/proc/$E2E_GAME_PID/status"
e2e_press menu:Lopeta
e2e_wait_exit 10 >"$W/exit_status.txt"
[ "$(cat "$W/exit_status.txt")" = 0 ] || fail "exit status $(cat "$W/exit_status.txt") after Lopeta"

#!/bin/bash
# Ends the game with a signal at random moments, as a logout, Ctrl+C or kill would, across the
# title, the menu, a run (rolling, paused), the win panel while a name is typed, the editor with
# an unsaved board and its questions, the settings, info and the file chooser; then with the X
# server stopped. Every end must be exit 0 within 2 s, a volume set earlier must stay in
# vinkla.cfg, and an unsaved board must be kept.
# usage: scripts/signal_soak.sh [BUILD_DIR] [ROUNDS (500)] [STOPPED_ROUNDS (10)]
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=$(realpath "${1:-$ROOT/build}")
ROUNDS=${2:-500}
STOPPED=${3:-10}
source "$ROOT/tests/e2e/lib.sh"
source "$ROOT/tests/e2e/menu_lib.sh"
e2e_start "118 119 120 121" "$BUILD/vinkla" "$ROOT/data"
W=$E2E_WORK
XPID=${E2E_PIDS[0]}
printf '%s\n' '**************' '*AF..........*' '*............*' '*............*' '*............*' \
    '*............*' '*............*' '*............*' '*............*' '*............*' \
    '*............*' '*............*' '*............*' '**************' noname 9999 >"$W/voitto.vkl"
printf '[settings]\nlastgame = voitto.vkl\nsound = 136\n' >"$W/vinkla.cfg"
sound=136
declare -A seen=()
failures=0

# Waits up to 2 s for the game to end; past that its threads' stacks go to standard error and
# the end counts as a failure.
await_end() {
    local i
    for i in $(seq 1 20); do kill -0 "$E2E_GAME_PID" 2>/dev/null || break; sleep 0.1; done
    if kill -0 "$E2E_GAME_PID" 2>/dev/null; then
        echo "$1: still running 2 s later" >&2
        command -v gdb >/dev/null && gdb -p "$E2E_GAME_PID" -batch -ex 'thread apply all bt' 2>&1 | grep -E "^#|^Thread" >&2
        failures=$((failures + 1))
    fi
    e2e_wait_exit 10 >"$W/exit_status.txt"
}

# A random pause of up to $1 tenths of a second.
jitter() {
    sleep "0.$((RANDOM % ${1:-10}))"
}

# One round: reach a screen (or be on the way to it), wait a random moment, send the signal.
round() {
    local scenario=$1 signal=$2
    e2e_game
    case $scenario in
        title) jitter ;;
        menu) menu_skip_title; menu_wait; jitter ;;
        rolling) menu_skip_title; menu_wait; e2e_press menu:Pelaa; jitter 5
            xdotool mousemove_relative -- 0 40; jitter ;;
        paused) menu_skip_title; menu_wait; e2e_press menu:Pelaa; jitter 5; xdotool key p; jitter ;;
        win) menu_skip_title; menu_wait; e2e_press menu:Pelaa; jitter 5
            xdotool keydown Right; jitter 8; xdotool type --delay 40 "Nimi"; xdotool keyup Right; jitter ;;
        editor) menu_skip_title; menu_wait; e2e_press menu:Editori; jitter 5
            e2e_press tool:3; e2e_click 230 152; jitter ;;
        asked) menu_skip_title; menu_wait; e2e_press menu:Editori; jitter 5
            e2e_press tool:3; e2e_click 269 152; e2e_press editor:Lopeta; jitter ;;
        settings) menu_skip_title; menu_wait; e2e_press menu:Asetukset; jitter ;;
        volume) menu_skip_title; menu_wait; e2e_press menu:Asetukset
            e2e_wait_pixel "$W/settings.png" 250 300 "255 238 221" 5
            xdotool mousemove 352 248; sleep 0.3
            if [ "$sound" -lt 255 ]; then xdotool key Right; sound=$((sound + 17))
            else xdotool key Left; sound=$((sound - 17)); fi
            sleep 0.4; e2e_press settings:Ok; menu_wait; jitter ;;
        info) menu_skip_title; menu_wait; e2e_press menu:Info; jitter ;;
        chooser) menu_skip_title; menu_wait; e2e_press menu:Avaa; jitter ;;
    esac
    local t0 t1
    t0=$(date +%s%N)
    echo "round $scenario SIG$signal" >>"$W/rounds.txt"
    kill "-$signal" "$E2E_GAME_PID" || echo "round $scenario: the game had already ended" >&2
    await_end "round $scenario SIG$signal"
    t1=$(date +%s%N)
    local rc
    rc=$(cat "$W/exit_status.txt")
    if [ "$rc" != 0 ] || grep -q "due to signal\|Aborted" "$W/stderr.txt"; then
        echo "round $scenario SIG$signal: exit $rc $(tail -2 "$W/stderr.txt")" >&2
        failures=$((failures + 1))
    fi
    grep -q "^sound = $sound\$" "$W/vinkla.cfg" || {
        echo "round $scenario SIG$signal: sound is not $sound: $(cat "$W/vinkla.cfg")" >&2
        failures=$((failures + 1))
    }
    seen[$scenario]=$(( ${seen[$scenario]:-0} + 1 ))
    echo "$(( (t1 - t0) / 1000000 ))" >>"$W/end_ms.txt"
    rm -f "$W"/vinkla.palautus* "$W"/vinkla.rec
}

read -ra scenarios <<<"${SOAK_SCENARIOS:-title menu rolling paused win editor asked settings volume info chooser}"
signals=(TERM TERM TERM INT QUIT HUP)
for n in $(seq 1 "$ROUNDS"); do
    round "${scenarios[RANDOM % ${#scenarios[@]}]}" "${signals[RANDOM % ${#signals[@]}]}"
done

# The X server stopped when the signal comes, and going on half a second later.
for n in $(seq 1 "$STOPPED"); do
    e2e_game
    menu_skip_title
    menu_wait
    [ $((n % 2)) = 0 ] && { e2e_press menu:Pelaa; jitter 5; }
    kill -STOP "$XPID"
    kill -TERM "$E2E_GAME_PID" || true
    sleep 0.5
    kill -CONT "$XPID"
    await_end "stopped X"
    [ "$(cat "$W/exit_status.txt")" = 0 ] || { echo "stopped X: exit $(cat "$W/exit_status.txt")" >&2; failures=$((failures + 1)); }
done

for s in "${!seen[@]}"; do printf '%s %s; ' "$s" "${seen[$s]}"; done
echo
touch "$W/end_ms.txt"; sort -n "$W/end_ms.txt" | awk '{ a[NR] = $1 } END { printf "signal to exit: median %d ms, max %d ms over %d ends\n", a[int((NR + 1) / 2)], a[NR], NR }'
echo "failures: $failures"
[ "$failures" = 0 ]

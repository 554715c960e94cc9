#!/bin/bash
# Ends the game with a signal at random moments, as a logout, Ctrl+C or kill would, across the
# title (also with a key or a mouse button held as it ends), the menu, a run (rolling, paused),
# the win panel while a name is typed, the editor with an unsaved board and its questions, the
# settings, info and the file chooser; then with the X server stopped for 3 to 6 s, as a display
# hung at logout. Every end must be exit 0 within 2 s and a volume set earlier must stay in
# vinkla.cfg; with the server stopped, an unsaved board and a name being typed must be on the
# disk within 2 s of the signal.
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

title_shows() {
    e2e_until 10 "the title picture never showed" e2e_gone_pixel "$W/title.png" 400 195 "0 0 0"
}

# The editor with a wall painted on row 3, column 5 (at 230, 152), not saved.
paint_wall() {
    e2e_press menu:Editori
    e2e_wait_pixel "$W/editor.png" 600 364 "170 170 170" 5
    e2e_press tool:3
    e2e_click 230 152
    e2e_until 5 "no wall painted (see $W/painted.png)" wall_painted
}
wall_painted() {
    e2e_shot "$W/painted.png"
    [ "$(e2e_pixel "$W/painted.png" 230 152)" = "$(e2e_pixel "$W/painted.png" 230 35)" ]
}

# A checksum of the win panel's name field.
name_field() {
    e2e_shot "$W/field.png"
    convert "$W/field.png" -crop 180x18+119+213 +repage -format '%#' info:
}
name_typed() {
    local now
    now=$(name_field)
    [ "$now" != "$offered" ] && [ "$now" = "${typed:-}" ] && return 0
    typed=$now
    return 1
}

# Sets the sound volume one step (the value the checks then expect in vinkla.cfg) and back to
# the menu.
step_volume() {
    e2e_press menu:Asetukset
    e2e_wait_pixel "$W/settings.png" 250 300 "255 238 221" 5
    xdotool mousemove 352 248; sleep 0.3
    if [ "$sound" -lt 255 ]; then xdotool key Right; sound=$((sound + 17))
    else xdotool key Left; sound=$((sound - 17)); fi
    sleep 0.4; e2e_press settings:Ok; menu_wait
}

# One round: reach a screen (or be on the way to it), wait a random moment, send the signal.
round() {
    local scenario=$1 signal=$2 release=""
    e2e_game
    case $scenario in
        title) jitter ;;
        held_key) title_shows; held=${held_keys[RANDOM % ${#held_keys[@]}]}
            xdotool keydown "$held"; release="keyup $held"; jitter ;;
        held_button) title_shows; release="mouseup 1"; xdotool mousedown 1; jitter ;;
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
        volume) menu_skip_title; menu_wait; step_volume; jitter ;;
        info) menu_skip_title; menu_wait; e2e_press menu:Info; jitter ;;
        chooser) menu_skip_title; menu_wait; e2e_press menu:Avaa; jitter ;;
    esac
    local t0 t1
    t0=$(date +%s%N)
    echo "round $scenario SIG$signal" >>"$W/rounds.txt"
    kill "-$signal" "$E2E_GAME_PID" || echo "round $scenario: the game had already ended" >&2
    await_end "round $scenario SIG$signal"
    t1=$(date +%s%N)
    # shellcheck disable=SC2086
    [ -z "$release" ] || xdotool $release
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

held_keys=(x Return space Left Escape)
read -ra scenarios <<<"${SOAK_SCENARIOS:-title held_key held_button menu rolling paused win editor asked settings volume info chooser}"
signals=(TERM TERM TERM INT QUIT HUP)
for n in $(seq 1 "$ROUNDS"); do
    round "${scenarios[RANDOM % ${#scenarios[@]}]}" "${signals[RANDOM % ${#signals[@]}]}"
done

# The X server stopped for 3 to 6 s, and the signal up to 0.9 s after it stopped (by then the
# game's threads wait for the server). Within 2 s of the signal, while the server still does not
# answer: the unsaved board in vinkla.palautus, the name being typed with its run in vinkla.rec,
# and the game ended with 0. Nothing here speaks to the stopped server.
kept_now() {
    case $1 in
        editor) [ -f "$W/vinkla.palautus" ] && grep -qxF '*....*.......*' "$W/vinkla.palautus" ;;
        win) [ -f "$W/vinkla.rec" ] && grep -q "	Nimi	.*\.run$" "$W/vinkla.rec" ;;
        *) grep -q "^sound = $sound\$" "$W/vinkla.cfg" ;;
    esac
}
read -ra stopped_scenarios <<<"${SOAK_STOPPED_SCENARIOS:-editor win volume rolling menu}"
for n in $(seq 1 "$STOPPED"); do
    scenario=${stopped_scenarios[RANDOM % ${#stopped_scenarios[@]}]}
    e2e_game
    menu_skip_title
    menu_wait
    case $scenario in
        editor) paint_wall ;;
        win) e2e_press menu:Pelaa; jitter 5; xdotool keydown Right
            e2e_wait_pixel "$W/win.png" 70 100 "255 238 221" 10; xdotool keyup Right
            offered=$(name_field); typed=""
            xdotool type --delay 40 "Nimi"
            e2e_until 10 "the name typed does not show (see $W/field.png)" name_typed ;;
        volume) step_volume ;;
        rolling) e2e_press menu:Pelaa; jitter 5; xdotool mousemove_relative -- 0 40 ;;
    esac
    stop_s=$((3 + RANDOM % 4))
    kill -STOP "$XPID"
    stopped_at=$(date +%s%N)
    jitter
    kill -TERM "$E2E_GAME_PID" || true
    t0=$(date +%s%N)
    kept_ms=none gone_ms=none
    while [ $(( ($(date +%s%N) - stopped_at) / 1000000 )) -lt $((stop_s * 1000)) ]; do
        now=$(( ($(date +%s%N) - t0) / 1000000 ))
        [ "$kept_ms" = none ] && kept_now "$scenario" && kept_ms=$now
        [ "$gone_ms" = none ] && ! e2e_alive "$E2E_GAME_PID" && gone_ms=$now
        sleep 0.05
    done
    kill -CONT "$XPID"
    await_end "stopped X, $scenario"
    rc=$(cat "$W/exit_status.txt")
    echo "stopped $scenario ${stop_s}s: kept $kept_ms ms, gone $gone_ms ms, exit $rc" >>"$W/stopped.txt"
    if [ "$rc" != 0 ] || [ "$kept_ms" = none ] || [ "$kept_ms" -gt 2000 ] || [ "$gone_ms" = none ] ||
        [ "$gone_ms" -gt 2000 ]; then
        echo "stopped X, $scenario for ${stop_s} s: kept at $kept_ms ms, gone at $gone_ms ms, exit $rc;" \
            "$(tail -2 "$W/stderr.txt")" >&2
        failures=$((failures + 1))
    fi
    seen["stopped $scenario"]=$(( ${seen["stopped $scenario"]:-0} + 1 ))
    [ "$gone_ms" = none ] || echo "$gone_ms" >>"$W/stopped_ms.txt"
    [ "$kept_ms" = none ] || echo "$kept_ms" >>"$W/kept_ms.txt"
    rm -f "$W"/vinkla.palautus* "$W"/vinkla.rec
done

for s in "${!seen[@]}"; do printf '%s %s; ' "$s" "${seen[$s]}"; done
echo
# figures FILE WHAT: the median and the largest of a file of milliseconds.
figures() {
    touch "$1"
    sort -n "$1" | awk -v what="$2" '{ a[NR] = $1 } END { printf "%s: median %d ms, max %d ms over %d\n", what, a[int((NR + 1) / 2)], a[NR], NR }'
}
figures "$W/end_ms.txt" "signal to exit"
figures "$W/stopped_ms.txt" "X server stopped, signal to exit"
figures "$W/kept_ms.txt" "X server stopped, signal to saved"
echo "failures: $failures"
[ "$failures" = 0 ]

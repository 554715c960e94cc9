#!/bin/bash
# Two copies of the game in one folder, each in a window of its own X server, winning on two
# levels and twice on the same one: every run stays in vinkla.rec, whichever copy wrote last.
# Each copy writes only the settings it changed.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/menu_lib.sh"
e2e_start "124 125 126 127" "$1" "$2"
W=$E2E_WORK
A=$DISPLAY

# The second X server.
B=""
for n in 128 129 130 131; do
    lock=/tmp/.X$n-lock
    if [ ! -e "$lock" ] || ! kill -0 "$(tr -d ' ' <"$lock" 2>/dev/null)" 2>/dev/null; then
        B=":$n"
        break
    fi
done
[ -n "$B" ] || fail "displays 128 to 131 all busy"
rm -f "/tmp/.X${B#:}-lock" "/tmp/.X11-unix/X${B#:}"
Xvfb "$B" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
E2E_PIDS+=($!)
b_up() {
    DISPLAY=$B xdpyinfo >/dev/null 2>&1
}
e2e_until 10 "Xvfb $B did not start" b_up

# The flag is the start's east neighbour: the right arrow wins at once.
level() {
    printf '%s\n' '**************' "$1"
    for i in $(seq 1 11); do printf '%s\n' '*............*'; done
    printf '%s\n' '**************' noname 9999
}
rm -f "$W"/*.vkl "$W"/*.vkl.*.run
level '*AF..........*' >"$W/ya.vkl"
level '*A.F.........*' >"$W/yb.vkl"

# on DISPLAY: the copy that commands and helpers after it talk to.
on() {
    export DISPLAY=$1
}
declare -A PID=()
# start_copy DISPLAY LEVEL: a copy of the game whose settings name LEVEL when it starts.
start_copy() {
    on "$1"
    printf '[settings]\nlastgame = %s\n' "$2" >"$W/vinkla.cfg"
    (cd "$W" && exec "$E2E_EXE" >"$W/stdout$1.txt" 2>"$W/stderr$1.txt") &
    e2e_await_window 20
    PID[$1]=$E2E_GAME_PID
    menu_skip_title
    menu_wait
}
runs_of() {
    grep -c "^[0-9a-f]\{16\}	.*	$1	[^	]*\.run\$" "$W/vinkla.rec" 2>/dev/null || true
}
has_runs() {
    [ "$(runs_of "$1")" = "$2" ]
}
# win_as NAME RUNS: the right arrow until the win panel shows, the name typed and Enter: the
# file then holds RUNS runs of that name.
win_as() {
    xdotool keydown Right
    e2e_wait_pixel "$W/win.png" 70 100 "255 238 221" 10
    xdotool keyup Right
    xdotool type --delay 40 "$1"
    xdotool key Return
    e2e_until 10 "no run of $1 in vinkla.rec: $(cat "$W/vinkla.rec" 2>/dev/null)" has_runs "$1" "$2"
    e2e_named 10
}
# panel BUTTON: a button of the win panel, once it is shown with the table.
panel() {
    case $1 in
        Seuraava) e2e_click 140 429 ;;
        Uudestaan) e2e_click 273 429 ;;
        Valikkoon) e2e_click 406 429 ;;
    esac
}

start_copy "$A" yb.vkl
start_copy "$B" ya.vkl
on "$A"; e2e_press menu:Pelaa; win_as Aino 1
on "$B"; e2e_press menu:Pelaa; win_as Bertta 1
panel Seuraava; win_as Bertta 2          # ya, then yb
on "$A"; panel Uudestaan; win_as Aino 2  # yb again
panel Valikkoon; menu_wait
on "$B"; panel Valikkoon; menu_wait

# A's last save was made from a table read before B won anything.
[ "$(runs_of Aino)" = 2 ] && [ "$(runs_of Bertta)" = 2 ] ||
    fail "runs lost between the copies: $(cat "$W/vinkla.rec")"
[ "$(grep -c "	[0-9]*	....-..-..	" "$W/vinkla.rec")" = 4 ] || fail "not four runs: $(cat "$W/vinkla.rec")"
[ "$(cut -f1 "$W/vinkla.rec" | grep -v '^#\|^nimi' | sort -u | wc -l)" = 2 ] ||
    fail "not two levels: $(cat "$W/vinkla.rec")"

# Settings: B sets the level it plays (yb after Seuraava), A changed none and keeps it so.
for d in "$A" "$B"; do
    on "$d"
    E2E_GAME_PID=${PID[$d]}
    e2e_press menu:Lopeta
    e2e_wait_exit 10 >"$W/exit_status.txt"
    [ "$(cat "$W/exit_status.txt")" = 0 ] || fail "exit status $(cat "$W/exit_status.txt") on $d"
done
grep -qx 'lastgame = yb.vkl' "$W/vinkla.cfg" || fail "B's level is not kept: $(cat "$W/vinkla.cfg")"
echo "two copies e2e: ok"

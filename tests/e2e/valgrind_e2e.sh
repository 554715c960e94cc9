#!/bin/bash
# The real program under valgrind, played through as a player does: the menu, a run with a fall
# into a hole and a win, the editor with a save, the settings, info, and "Lopeta".
# Passes when valgrind finds no error and no definite leak.
# No suppressions are needed: the library, X11 and ALSA give no errors and no definite leaks.
# usage: tests/e2e/valgrind_e2e.sh [EXECUTABLE] [DATA_FOLDER]   (defaults: build/vinkla, data)
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
EXE=$(realpath "${1:-$ROOT/build/vinkla}")
DATA=$(realpath "${2:-$ROOT/data}")
source "$ROOT/tests/e2e/lib.sh"
source "$ROOT/tests/e2e/menu_lib.sh"
command -v valgrind >/dev/null || fail "valgrind is not installed"
# Valgrind cannot run a program built with AddressSanitizer; the sanitizer build checks memory itself.
# grep reads all its input: with -q it could stop early, and pipefail would then count the
# writer's broken pipe as "not found".
if nm -a "$EXE" 2>/dev/null | grep __asan_init >/dev/null || ldd "$EXE" 2>/dev/null | grep libasan >/dev/null; then
    echo "valgrind e2e: skipped (the program is built with AddressSanitizer)"
    exit 77
fi
e2e_start "96 97 98 99" "$EXE" "$DATA"
W=$E2E_WORK

# The start at row 1, column 1 with a hole east of it and the one flag south of it.
{
    echo '**************'
    echo '*AO***********'
    echo '*F************'
    for i in $(seq 1 11); do echo '**************'; done
    echo 'noname'
    echo '9999'
} >"$W/kuoppa.vkl"
printf '[settings]\nlastgame = kuoppa.vkl\n' >"$W/vinkla.cfg"

# press X Y: a dialog's button pressed with Return once the pointer is drawn over it, which gives
# it the focus: a key waits in the buffer, where a click can fall between two slow rounds of the
# dialog under valgrind.
press() {
    e2e_point "$1" "$2" 60
    xdotool key Return
}

# A hand moves the mouse in small steps, as X11 reports them to a slow program (moves close
# together can be merged or lost).
tilt() {
    local i
    for i in 1 2 3; do
        xdotool mousemove_relative -- "$1" "$2"
        sleep 0.1
    done
}

e2e_game_under 120 valgrind --error-exitcode=99 --leak-check=full --errors-for-leak-kinds=definite \
    --show-leak-kinds=definite --log-file="$W/valgrind.log"
t_start=$SECONDS
menu_skip_title
menu_wait 60

# "Pelaa": east into the hole; after the fall the marble is back on the start; south onto the flag.
press 400 288  # "Pelaa"
at=""
for i in $(seq 1 120); do
    at=$(e2e_marble)
    [ "$at" = "59 59" ] && break
    sleep 0.5
done
[ "$at" = "59 59" ] || fail "the marble is not on the start (59, 59) but at '$at'"
tilt 20 0
left=""
for i in $(seq 1 120); do
    at=$(e2e_marble)
    [ "$at" != "59 59" ] && left=1
    [ -n "$left" ] && [ "$at" = "59 59" ] && break
    sleep 0.5
done
[ -n "$left" ] || fail "tilted east, the marble never left the start"
[ "$at" = "59 59" ] || fail "after the fall the marble is not back on the start but at '$at'"
tilt 0 20
# The flag was the only one: the run is won, the win panel asks for a name; typed, then Esc
# (a key waits in the buffer, where a click can fall between two slow rounds under valgrind)
# returns to the menu.
e2e_wait_pixel "$W/win.png" 70 100 "255 238 221" 60
xdotool type --delay 100 'Valgrind'
xdotool key Return
e2e_until 60 "the run is not in the records file" grep -qE "	Valgrind	[^	]+\.run$" "$W/vinkla.rec"
e2e_named 60
xdotool key Escape
menu_wait 60
e2e_hand_back 1 60

# "Editori": "Uusi", "Tallenna" with the offered name, "Lopeta".
press 400 368
e2e_wait_pixel "$W/editor.png" 600 364 "170 170 170" 60
press 636 363
press 636 427
e2e_wait_pixel "$W/selector.png" 210 160 "255 255 255" 60
xdotool mousemove 780 590
xdotool key Return
e2e_until 60 "the editor did not write nimeton.vkl" test -f "$W/nimeton.vkl"
e2e_decline_basis 60  # the solver's offer, after it won the saved board
# The editor again where the selector was.
e2e_wait_pixel "$W/editor.png" 600 364 "170 170 170" 60
press 636 523
menu_wait 60

# "Asetukset" and its "Ok".
press 400 408
e2e_wait_pixel "$W/settings.png" 250 300 "255 238 221" 60
press 342 396  # "Ok"
menu_wait 60

# "Info" and its "Ok".
press 400 448
e2e_wait_pixel "$W/info.png" 690 540 "255 238 221" 60
press 400 575
menu_wait 60

# "Lopeta".
press 400 488
e2e_wait_exit 120 >"$W/exit_status.txt"
rc=$(cat "$W/exit_status.txt")
grep -q '^lastgame = kuoppa.vkl$' "$W/vinkla.cfg" || fail "vinkla.cfg lacks lastgame = kuoppa.vkl"
echo "play-through under valgrind: $((SECONDS - t_start)) s"
grep -E 'ERROR SUMMARY|definitely lost|indirectly lost|possibly lost|still reachable' "$W/valgrind.log" || true
[ "$rc" = 0 ] || { cat "$W/valgrind.log" >&2; fail "exit status $rc under valgrind (99: valgrind found errors)"; }
echo "valgrind play-through: ok"

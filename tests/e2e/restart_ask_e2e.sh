#!/bin/bash
# R after more than 10 s of a run asks first: the alert stands over the board and the clock
# stands with it; Esc answers "Ei", the board is whole again and the run goes on; R and Return
# start it again from 0:00.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/menu_lib.sh"
e2e_start "134 135 136 137" "$1" "$2"
W=$E2E_WORK
HERE=$(dirname "$0")
e2e_level '*A..........F*' '*...........F*' >"$W/kulma.vkl"
printf '[settings]\nlastgame = kulma.vkl\n' >"$W/vinkla.cfg"

# crop SHOT W H X Y: a checksum of that part of the screenshot.
crop() {
    convert "$1" -crop "$2x$3+$4+$5" +repage -format '%#' info:
}
# The panel's time, "M:SS,HH" ending at x 769: its minute and seconds ("M:SS"), the tens and
# the units of the seconds.
minutes_seconds() { e2e_shot "$W/clock.png"; crop "$W/clock.png" 37 16 710 128; }
tens() { e2e_shot "$W/clock.png"; crop "$W/clock.png" 9 16 729 128; }
units() { e2e_shot "$W/clock.png"; crop "$W/clock.png" 9 16 738 128; }
whole_clock() { e2e_shot "$W/clock.png"; crop "$W/clock.png" 92 16 680 128; }
is_not() { [ "$("$1")" != "$2" ]; }
is() { [ "$("$1")" = "$2" ]; }
WHITE="255 255 255"

e2e_game
menu_skip_title
menu_wait 5
e2e_click 400 288
e2e_wait_pixel "$W/panel.png" 566 20 "255 238 221" 5
zero=$(minutes_seconds)   # "0:00"
tens0=$(tens)

# Past 10 s from the first tilt (a tap of an arrow key): the tens of the seconds turn, then
# the units.
xdotool keydown Right; sleep 0.1; xdotool keyup Right  # a short press, held over frames
e2e_until 20 "the clock did not reach 0:10" is_not tens "$tens0"
units10=$(units)
e2e_until 5 "the clock did not reach 0:11" is_not units "$units10"

# R: the question over the board, the clock standing.
[ "$(e2e_pixel "$W/clock.png" 320 300)" != "$WHITE" ] || fail "white on the board before R"
xdotool key r
e2e_wait_pixel "$W/alert.png" 320 300 "$WHITE" 5
t1=$(whole_clock)
sleep 0.5  # nothing to wait for: the clock must stand a while
[ "$(whole_clock)" = "$t1" ] || fail "the clock ran during the question"

# Esc: "Ei". The board is whole where the alert stood, and the run goes on.
xdotool key Escape
e2e_until 5 "the question stays after Esc (see $W/gone.png)" e2e_gone_pixel "$W/gone.png" 320 300 "$WHITE"
e2e_until 5 "the clock did not go on after Esc" is_not whole_clock "$t1"
cells=""
for i in 6 7 8 9; do for j in 8 9 10 11 12; do cells="$cells $i,$j"; done; done
# shellcheck disable=SC2086
got=$($E2E_PY "$HERE/board_cells.py" "$W/clock.png" "$W/kulma.vkl" "$W/data1.dat" $cells)
[ "$got" = ok ] || fail "the board is not whole after the question: $got"
is_not tens "$tens0" || fail "Esc started the run again"

# R and Return: "Kyllä", the clock from 0:00.
xdotool key r
e2e_wait_pixel "$W/alert2.png" 320 300 "$WHITE" 5
xdotool key Return
e2e_until 5 "after Return the clock is not back at 0:00 (see $W/clock.png)" is minutes_seconds "$zero"
e2e_is_pixel "$W/clock.png" 320 300 "$WHITE" && fail "the question stays after Return"

menu_leave_run
echo "restart question e2e: ok"

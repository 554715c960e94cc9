#!/bin/bash
# "Pelaa" plays the level last played, standardfile.vkl: the whole board drawn and the marble on its start; relative
# mouse movements tilt the board and roll the marble (its picture moves); Esc returns to the
# menu, which works as before.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/menu_lib.sh"
e2e_start 90 "$1" "$2"
W=$E2E_WORK
HERE=$(dirname "$0")
PY=$E2E_PY
printf '[settings]\nlastgame = standardfile.vkl\n' >"$W/vinkla.cfg"

e2e_game
menu_skip_title
menu_wait 5
# The start is row 1, column 1 of standardfile.vkl: centre (59, 59).
e2e_press menu:Pelaa
for i in $(seq 1 20); do
    at=$(e2e_marble "$W/run.png")
    [ "$at" = "59 59" ] && break
    sleep 0.25
done
[ "$at" = "59 59" ] || fail "the marble is not on the start (59, 59) but at '$at'"
# Every cell but the start's block shows its tile; the block shows them around the marble.
cells=""
for i in $(seq 0 13); do
    for j in $(seq 0 13); do
        [ $i -le 2 ] && [ $j -le 2 ] && continue
        cells="$cells $i,$j"
    done
done
# shellcheck disable=SC2086
got=$($PY "$HERE/board_cells.py" "$W/run.png" "$W/standardfile.vkl" "$W/data1.dat" $cells)
[ "$got" = "ok" ] || fail "cells differ from the level's tiles: $got"

# East: the marble rolls right along row 1 up to the wall at column 4 and rests against it:
# seen at the same place east of x 100 twice in a row. Two moves a moment apart: moves close
# together can be merged or lost.
xdotool mousemove_relative -- 30 0
sleep 0.04
xdotool mousemove_relative -- 30 0
positions=""
at_rest_east() {
    local before=${positions##* } now
    now=$(e2e_marble | tr ' ' ',')
    positions="$positions $now"
    [ "$now" = "$before" ] && [ "${now%,*}" -gt 100 ] 2>/dev/null
}
e2e_until 20 "tilted east, the marble did not come to rest east of x 100 (see $W/marble_shot.png)" at_rest_east
echo "east:$positions"
last=${positions##* }
[ "${last#*,}" = "59" ] || fail "tilted east only, the marble left its row: $positions"
[ "${last%,*}" -gt 100 ] || fail "tilted east, the marble did not roll east: $positions"
[ "${last%,*}" -le 140 ] || fail "the marble is past the wall east of it: $positions"
# Down as well: column 3 is open down to row 3.
xdotool mousemove_relative -- 0 30
sleep 0.04
xdotool mousemove_relative -- 0 30
rolled_south() {
    at=$(e2e_marble "$W/run.png")
    [ "${at#* }" -gt 100 ] 2>/dev/null
}
e2e_until 10 "tilted south, the marble did not roll down (see $W/run.png)" rolled_south
echo "south: $at"

# Esc, held as a hand does until the menu shows, ends the run; the menu works as before.
menu_leave_run
echo "run e2e: ok"

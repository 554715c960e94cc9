#!/bin/bash
# A record that proves itself, played as a player: a run won by hand enters the table with a
# green tick; "Katso" plays it back in the run's view with no input (the marble moves, the
# clock runs, every flag is taken, the panel says it is over) and Esc returns to the panel.
# The next run of the level races a ghost, which moves while the player's marble rests on its
# start. A byte changed in the kept run makes the record unproven: a red cross in the table
# that "Ennätykset" shows, and the menu's line no longer names it as the best.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/menu_lib.sh"
e2e_start "160 161 162 163" "$1" "$2"
W=$E2E_WORK

# Flags at row 1, column 3 and at row 12, column 12: east takes the first and rests against
# the east wall, south then rolls down to the second.
rm -f "$W"/*.vkl "$W"/*.vkl.*.run
e2e_level '*A.F.........*' '*...........F*' >"$W/01_pieni.vkl"
printf '[settings]\nlastgame = 01_pieni.vkl\n' >"$W/vinkla.cfg"

marble() { e2e_marble "$W/run.png"; }
tilt() {
    xdotool mousemove_relative -- "$1" "$2"
    sleep 0.05
    xdotool mousemove_relative -- "$1" "$2"
}
east_wall() {
    at=$(marble)
    [ "${at%% *}" -gt 450 ] 2>/dev/null
}
# The first row's proof mark (left of the name): green tick, red cross.
mark_has() {
    e2e_shot "$W/mark.png"
    [ "$(e2e_count "$W/mark.png" 14x14+110+216 "$1")" -ge 6 ]
}
# The board's first row, right of the start, where the ghost rolls east.
row_one() {
    e2e_shot "$W/row.png"
    e2e_crop "$W/row.png" 460x40+80+39
}
moved_off() {
    [ "$(row_one)" != "$1" ]
}
# The end's notice, in red where the spirit level was.
ended() {
    e2e_shot "$W/end.png"
    [ "$(e2e_count "$W/end.png" 190x20+580+375 "160 30 20")" -gt 20 ]
}
clock_is_not() {
    [ "$(e2e_clock)" != "$1" ]
}
marble_not() {
    [ "$(marble)" != "$1" ]
}

e2e_game
menu_skip_title
menu_wait 5
e2e_shot "$W/menu1.png"
line_before=$(e2e_crop "$W/menu1.png" 400x22+200+522)

# Won by hand: east, then south.
e2e_click 400 288
e2e_wait_pixel "$W/panel.png" 566 20 "255 238 221" 5
tilt 30 0
e2e_until 10 "tilted east, the marble did not reach the east wall (see $W/run.png)" east_wall
tilt 0 30
e2e_wait_pixel "$W/win.png" 70 100 "255 238 221" 10
xdotool type --delay 60 'Todistaja'
xdotool key Return
e2e_until 5 "the run is not in the records" grep -q "	Todistaja	01_pieni_.*\.run$" "$W/vinkla.rec"
e2e_named 10
kept="$W/suoritukset/$(grep "	Todistaja	" "$W/vinkla.rec" | cut -f5)"
[ -f "$kept" ] || fail "no kept run at $kept"
e2e_until 5 "the new record has no green tick (see $W/mark.png)" mark_has "30 130 40"

# "Katso": the run again with no input, the clock running, every flag taken.
e2e_click 140 466
e2e_wait_pixel "$W/watch.png" 566 20 "255 238 221" 5
start=$(marble)
e2e_until 5 "the watched marble does not move (see $W/run.png)" marble_not "$start"
t1=$(e2e_clock)
e2e_until 5 "the watched run's clock does not run" clock_is_not "$t1"
# Over: the notice stands where the spirit level was, and both flags are taken.
e2e_until 20 "the watched run did not end (see $W/end.png)" ended
[ "$(e2e_cells "$W/01_pieni.vkl" 1,3 12,12)" != ok ] || fail "the watched run left flags on the board"
xdotool key Escape
e2e_wait_pixel "$W/back.png" 70 100 "255 238 221" 5

# "Tallenna suoritus": the board and the run in one file the player names.
e2e_click 306 466
e2e_type_path "$W/jaettu.vkr"
e2e_until 5 "no shared run was written" test -s "$W/jaettu.vkr"
e2e_wait_pixel "$W/back.png" 70 100 "255 238 221" 5

# The next run races the ghost: it moves east along row one while the marble rests on its start.
e2e_click 273 429
e2e_wait_pixel "$W/panel2.png" 566 20 "255 238 221" 5
e2e_until 5 "the marble is not on its start" eval '[ "$(marble)" = "59 59" ]'
before=$(row_one)
e2e_until 5 "no ghost moves along the first row (see $W/row.png)" moved_off "$before"
e2e_shot "$W/ghost.png"
[ "$(marble)" = "59 59" ] || fail "the player's marble moved with the ghost"
xdotool key Escape
menu_wait 5
e2e_hand_back
e2e_click 400 488
e2e_wait_exit 10 >"$W/exit_status.txt"

# One byte of the kept run changed: after a restart the record is unproven.
printf 'X' | dd of="$kept" bs=1 seek=40 conv=notrunc 2>/dev/null
e2e_game
menu_skip_title
menu_wait 5
e2e_shot "$W/menu2.png"
[ "$(e2e_crop "$W/menu2.png" 400x22+200+522)" = "$line_before" ] ||
    fail "the menu's line still names the changed run's time as the best (see $W/menu2.png)"
e2e_click 400 561
e2e_until 5 "the changed run has no red cross in the table (see $W/mark.png)" mark_has "190 30 20"
xdotool key Escape
menu_wait 5

# The shared file, opened with "Avaa", plays back on its own board to the end.
e2e_other_file
e2e_type_path "$W/jaettu.vkr"
e2e_wait_pixel "$W/shared.png" 566 20 "255 238 221" 5
e2e_until 20 "the shared run did not play to its end (see $W/end.png)" ended
xdotool key Escape
menu_wait 5
! grep -q "due to signal" "$W/stderr.txt" || fail "the game crashed"
echo "proof e2e: ok"

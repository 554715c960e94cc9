#!/bin/bash
# The clock and the tables of the fastest runs, played as a player: the side panel's time runs,
# P stops it, R puts the marble back on its start with the flags restored; the run is played to
# its last flag, the win panel asks for a name while the side panel shows the record just set,
# the records file holds the run and names its run file, which vinkla-replay steps to a win in
# the run's time; "Seuraava" plays the next level of the folder, which "Pelaa" then plays; after
# a restart the best time is shown in the menu's line and in the panel. A record another copy
# wrote meanwhile is kept.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/menu_lib.sh"
e2e_start "110 111 112 113" "$1" "$2"
W=$E2E_WORK

# Flags at row 1, column 3 and at row 12, column 12: east takes the first and rests against
# the east wall, south then rolls down to the second.
# The folder holds only these two levels, in this name order.
rm -f "$W"/*.vkl "$W"/*.vkl.*.run
e2e_level '*A.F.........*' '*...........F*' >"$W/01_pieni.vkl"
e2e_level '*A...*.......*' '*.....F......*' >"$W/02_toinen.vkl"
printf '[settings]\nlastgame = 01_pieni.vkl\n' >"$W/vinkla.cfg"

marble() { e2e_marble "$W/run.png"; }
# Two moves a moment apart: moves close together can be merged or lost.
tilt() {
    xdotool mousemove_relative -- "$1" "$2"
    sleep 0.05
    xdotool mousemove_relative -- "$1" "$2"
}
clock_is_not() {
    [ "$(e2e_clock)" != "$1" ]
}
marble_is() {
    [ "$(marble)" = "$1" ]
}
east_wall() {
    at=$(marble)
    [ "${at%% *}" -gt 450 ] 2>/dev/null
}
flag_taken() {
    [ "$(e2e_cells "$W/01_pieni.vkl" 1,3)" != ok ]
}
plays() {
    [ "$(e2e_cells "$1" "${@:2}")" = ok ]
}

e2e_game
menu_skip_title
menu_wait 5
# Another copy of the game in this folder wins a level while this one runs: this one's win must
# keep that record.
printf 'nimi\tToinen\n0123456789abcdef\t4321\t2026-01-02\tToinen\n' >"$W/vinkla.rec"
e2e_shot "$W/menu1.png"
line_before=$(e2e_crop "$W/menu1.png" 400x22+200+522)
[ "$(convert "$W/menu1.png" -crop 400x22+200+522 +repage -format '%[fx:maxima]' info:)" != 0 ] ||
    fail "no line under the menu's buttons"

# "Pelaa": the panel is drawn; its time stands until the board is first tilted (a tap of an
# arrow key, after which the board eases back to level), then advances.
e2e_click 400 288
e2e_wait_pixel "$W/panel.png" 566 20 "255 238 221" 5
best_before=$(e2e_crop "$W/panel.png" 92x16+680+156)
t1=$(e2e_clock)
sleep 0.7  # nothing to wait for: the clock must stand a while
[ "$(e2e_clock)" = "$t1" ] || fail "the clock ran before the board was tilted"
xdotool keydown Right; sleep 0.1; xdotool keyup Right  # a short press, held over frames
e2e_until 5 "the panel's time does not advance" clock_is_not "$t1"

# P stops the clock and says so over the spirit level; P again goes on, the level's bubble (at
# the vial's centre, the board still level) back.
xdotool key p
e2e_wait_pixel "$W/pause.png" 727 416 "255 238 221" 3
t3=$(e2e_clock)
sleep 0.7  # nothing to wait for: the clock must stand a while
t4=$(e2e_clock)
[ "$t3" = "$t4" ] || fail "the clock ran during the pause"
xdotool key p
e2e_wait_pixel "$W/resumed.png" 727 416 "246 250 222" 3
e2e_until 5 "the clock did not go on after the pause" clock_is_not "$t4"

# East: the first flag is taken, the marble rests against the east wall.
tilt 30 0
e2e_until 10 "tilted east, the marble did not reach the east wall (see $W/run.png)" east_wall
e2e_until 5 "the flag at row 1, column 3 was not taken" flag_taken

# R: the marble back on its start at rest, the flag back, the clock from zero.
xdotool key r
e2e_until 5 "after R the marble is not on the start (59, 59) (see $W/run.png)" marble_is "59 59"
[ "$(e2e_cells "$W/01_pieni.vkl" 1,3 12,12)" = ok ] || fail "after R the flags are not back"
sleep 1  # nothing to wait for: the marble must stay a while
[ "$(marble)" = "59 59" ] || fail "after R the marble did not stay at rest"

# To the end: east, then south; the win panel shows over the board.
tilt 30 0
e2e_until 10 "tilted east again, the marble did not reach the east wall (see $W/run.png)" east_wall
tilt 0 30
# The panel is drawn by the dialog that reads the keys.
e2e_wait_pixel "$W/win.png" 70 100 "255 238 221" 10
xdotool type --delay 60 'Testaaja'
xdotool key Return
e2e_until 5 "the name is not kept (see $W/vinkla.rec)" grep -q "^nimi	Testaaja$" "$W/vinkla.rec"
e2e_named 10
run=$(grep -E "^[0-9a-f]{16}	[0-9]+	$(date +%Y-%m-%d)	Testaaja	01_pieni_$(date +%Y-%m-%d)_[-0-9,]+\.run$" \
    "$W/vinkla.rec") || fail "the records file lacks the run and its run file: $(cat "$W/vinkla.rec")"
grep -q "^0123456789abcdef	4321	2026-01-02	Toinen$" "$W/vinkla.rec" ||
    fail "the other copy's record was lost: $(cat "$W/vinkla.rec")"
time=$(echo "$run" | cut -f2)
[ "$time" -gt 100 ] && [ "$time" -lt 3000 ] || fail "a run of $time hundredths"
# The run kept beside the records wins when stepped again, with no display, in its time (no fall).
kept="$W/suoritukset/$(echo "$run" | cut -f5)"
said=$(cd / && env -u DISPLAY "$(dirname "$1")/vinkla-replay" "$W/01_pieni.vkl" "$kept" 2>&1) ||
    fail "the kept run does not prove itself: $said"
[ "$said" = "won in $time frames, 0 falls" ] || fail "the kept run says '$said' for a time of $time"
e2e_shot "$W/win_named.png"
# The side panel beside the win panel: "Ennätys" no longer "ei vielä", the record just set.
[ "$(e2e_crop "$W/win_named.png" 92x16+680+156)" != "$best_before" ] ||
    fail "the side panel's Ennätys does not show the record just set (see $W/win_named.png)"

# "Seuraava": the next level of the folder, 02_toinen.vkl, is played.
e2e_click 140 429
e2e_until 10 "Seuraava did not play 02_toinen.vkl (see $W/cells.png)" plays "$W/02_toinen.vkl" 1,5 12,6
xdotool key Escape
menu_wait 5
e2e_hand_back
e2e_click 400 488
e2e_wait_exit 10 >"$W/exit_status.txt"
grep -q '^lastgame = 02_toinen.vkl$' "$W/vinkla.cfg" ||
    fail "Pelaa does not play the next level now: $(cat "$W/vinkla.cfg")"

# After a restart on the first level its best time is in the menu's line and in the panel.
sed -i 's/^lastgame = .*/lastgame = 01_pieni.vkl/' "$W/vinkla.cfg"
e2e_game
menu_skip_title
menu_wait 5
e2e_shot "$W/menu2.png"
[ "$(e2e_crop "$W/menu2.png" 400x22+200+522)" != "$line_before" ] ||
    fail "the menu's line does not show the best time"
e2e_click 400 288
e2e_wait_pixel "$W/panel2.png" 566 20 "255 238 221" 5
[ "$(e2e_crop "$W/panel2.png" 92x16+680+156)" != "$best_before" ] || fail "the panel does not show the best time"
xdotool key Escape
menu_wait 5
! grep -q "due to signal" "$W/stderr.txt" || fail "the game crashed"
echo "records e2e: ok"

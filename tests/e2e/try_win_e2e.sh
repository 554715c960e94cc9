#!/bin/bash
# A board tried from the editor and won shows the win panel as a run would, with the place the
# run would take, stores nothing, and Esc returns to the editor. Space tapped up to the moment
# the flag is taken does not press the panel's "Editoriin".
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/menu_lib.sh"
e2e_start "150 151 152 153" "$1" "$2"
W=$E2E_WORK
e2e_level '*F..........A*' >"$W/lansi.vkl"
GREY="170 170 170"
CREAM="255 238 221"

menu_editor_opens "$W/lansi.vkl"
e2e_press editor:Kokeile
e2e_until 10 "no run on the screen" e2e_gone_pixel "$W/try.png" 600 364 "$GREY"
xdotool keydown Left
e2e_tap_to_win space
e2e_wait_pixel "$W/win.png" 70 100 "$CREAM" 10
xdotool keyup Left
# "Seuraava" has no place in a trial: its button is not there, "Uudestaan" is.
e2e_wait_still 546x546+0+0 5
[ "$(e2e_pixel "$W/still.png" 140 429)" = "$CREAM" ] || fail "Seuraava shows in a trial"
[ "$(e2e_pixel "$W/still.png" 273 429)" = "$GREY" ] || fail "no Uudestaan in a trial"
# The run's row, first in the empty table, is marked as the chosen place; no name is asked.
[ "$(e2e_pixel "$W/still.png" 75 215)" = "255 214 140" ] || fail "the trial's place is not marked"
xdotool key Escape
e2e_wait_pixel "$W/back.png" 600 364 "$GREY" 5
[ ! -s "$W/vinkla.rec" ] || ! grep -q lansi "$W/vinkla.rec" || fail "the trial was stored"
e2e_press editor:Lopeta
menu_wait
menu_quit
[ ! -e "$W/vinkla.rec" ] || [ "$(grep -vc '^nimi' "$W/vinkla.rec")" = 0 ] ||
    fail "the trial was stored: $(cat "$W/vinkla.rec")"
echo "try win e2e: ok"

#!/bin/bash
# The panel's spirit level shows the tilt: a relative mouse move takes the bubble off the vial's
# centre, a tap of Space levels the board and brings it back. The marble rests in a walled cell
# meanwhile, so the run goes on whatever the tilt.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/menu_lib.sh"
e2e_start 142 "$1" "$2"
W=$E2E_WORK

printf '%s\n' '**************' '*F...........*' '*............*' '*............*' '*............*' \
    '*....***.....*' '*....*A*.....*' '*....***.....*' '*............*' '*............*' \
    '*............*' '*............*' '*............*' '**************' noname 9999 >"$W/vaaka.vkl"
printf '[settings]\nlastgame = vaaka.vkl\n' >"$W/vinkla.cfg"

# The vial's centre is (727, 414); two pixels below a bubble's centre lies its light middle,
# elsewhere the glass.
light="246 250 222"
glass="190 214 104"

e2e_game
menu_skip_title
menu_wait 5
e2e_click 352 291
e2e_wait_marble "254 254" 5 >/dev/null || fail "the marble is not on its start (254, 254): $(e2e_marble)"
e2e_wait_pixel "$W/level.png" 727 416 "$light" 5
xdotool mousemove_relative -- 100 0
# 100 / 200 of the way to the rim, 27 pixels: the bubble 14 pixels right of the centre.
e2e_wait_pixel "$W/tilted.png" 741 416 "$light" 5
[ "$(e2e_pixel "$W/tilted.png" 727 416)" = "$glass" ] || fail "the bubble is still at the centre (see $W/tilted.png)"
xdotool key space
e2e_wait_pixel "$W/levelled.png" 727 416 "$light" 5
[ "$(e2e_pixel "$W/levelled.png" 741 416)" = "$glass" ] || fail "the bubble stayed right (see $W/levelled.png)"

xdotool key Escape
menu_wait 5
e2e_hand_back
menu_quit
echo "spirit level e2e: ok"
